#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the native core
# tests (with sanitizers) and fuzzers, then the Windows tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset native
cmake --build --preset native
ctest --preset native
cmake --preset windows
cmake --build --preset windows
ctest --preset windows
echo "test.sh: all tests passed"
