#!/bin/sh
# Renders the parameter sheets, the colour dialog, the Edit Value dialog, the
# image chooser, a grid of every cell kind and the progress window mid-task into PNG files.
# Usage: tests/ui/screenshots.sh [build folder] [output folder]
set -e
build=${1:-build/default}
out=${2:-/tmp/quillop-screenshots}
mkdir -p "$out"
cmake --build "$build" --target test_ui_app -j2
QUILLOP_SCREENSHOTS="$out" QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    "$build/tests/test_ui_app" --gtest_filter='Screenshots.*'
ls -l "$out"
