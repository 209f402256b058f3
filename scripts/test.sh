#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test: the native core
# tests (with sanitizers) and fuzzers, then the Windows tests under Wine; last, the
# Windows in-process tests again on the debug build, with the C++ library's own
# checks. Every compiler warning is an error here.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset native -DRUDOZ_WARNINGS_AS_ERRORS=ON
cmake --build --preset native
ctest --preset native
cmake --preset windows -DRUDOZ_WARNINGS_AS_ERRORS=ON
cmake --build --preset windows
ctest --preset windows
cmake --preset windows-debug -DRUDOZ_WARNINGS_AS_ERRORS=ON
cmake --build --preset windows-debug
ctest --preset windows-debug --tests-regex '^win_'
echo "test.sh: all tests passed"
