#!/usr/bin/env bash
# Installs, builds and runs every test: the normal build, the Windows program
# under Wine, the whole suite again under AddressSanitizer +
# UndefinedBehaviorSanitizer, then a bounded fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${SKIP_SETUP:-0}" = 1 ] || bash tools/setup.sh
jobs=$(nproc)

cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default

# tollwick.exe, cross-built with mingw-w64 and tested under Wine.
bash tools/test-windows.sh

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan

bash tools/fuzz.sh "${FUZZ_SECONDS:-60}"
echo "all tests passed"
