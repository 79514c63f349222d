#!/bin/sh
# Renders the parameter sheets, the colour dialog, the Edit Value dialog, the
# image chooser, a grid of every cell kind, the progress window mid-task and
# the conversion windows into PNG files.
# Usage: tests/ui/screenshots.sh [build folder] [output folder]
set -e
build=${1:-build/default}
out=${2:-/tmp/quillop-screenshots}
mkdir -p "$out"
# The pictures are taken by the interface test programs of the windows they show.
programs="test_ui_params test_ui_tools test_ui_app"
for program in $programs; do
    cmake --build "$build" --target "$program" -j2
done
for program in $programs; do
    QUILLOP_SCREENSHOTS="$out" QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
        "$build/tests/$program" --gtest_filter='Screenshots.*'
done
ls -l "$out"
