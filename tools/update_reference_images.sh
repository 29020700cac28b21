#!/usr/bin/env bash
# Draws the reference images of tests/data/reference afresh: every drawing of
# tests/data/realdata and the showcase drawing, at 320 x 240 and A3 300 dpi.
# Look at every changed image before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j4 --target platform_tests
REFERENCE_IMAGES_UPDATE=1 QT_QPA_PLATFORM=offscreen \
  build/default/tests/platform_tests --gtest_filter='ReferenceImages.*'
git status --short tests/data/reference
