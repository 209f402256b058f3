#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the native core
# tests (with sanitizers) and fuzzers, then the Windows tests under Wine; last, the
# Windows in-process tests again on the debug build, with the C++ library's own
# checks. Every compiler warning is an error (the presets say so).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset native
cmake --build --preset native
ctest --preset native
cmake --preset windows
cmake --build --preset windows
ctest --preset windows
cmake --preset windows-debug
cmake --build --preset windows-debug
ctest --preset windows-debug --tests-regex '^win_'
echo "test.sh: all tests passed"
