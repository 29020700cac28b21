#!/usr/bin/env bash
# Installs what is needed, builds, and starts Quillmoor (arguments are passed on).
set -euo pipefail
cd "$(dirname "$0")/.."
[ "${SKIP_SETUP:-0}" = 1 ] || bash tools/setup.sh
cmake --preset default
cmake --build --preset default -j "$(nproc)" --target quillmoor tollwick
exec build/default/splitprint/quillmoor "$@"
