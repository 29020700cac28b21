#!/usr/bin/env bash
# Makes the README's picture of Quillmoor's main window: the window tests
# draw every tab offscreen; the file list tab is copied to docs/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default
cmake --build --preset default -j4 --target splitprint_gui_tests
QT_QPA_PLATFORM=offscreen build/default/tests/splitprint_gui_tests --gtest_filter='Screenshots.*'
mkdir -p docs
cp build/default/screenshots/main-window-tab-1.png docs/quillmoor-main-window.png
echo "docs/quillmoor-main-window.png"
