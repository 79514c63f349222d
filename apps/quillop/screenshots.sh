#!/bin/sh
# Pictures of the editor on the demo document, written as PNG files:
#   apps/quillop/screenshots.sh [build folder] [output folder]
# The manual's pictures are renewed with
#   apps/quillop/screenshots.sh build/default docs/manual/images
# QT_SCALE_FACTOR=2 pictures a 2x screen, QUILLOP_PALETTE=dark a dark desktop.
set -e
build=${1:-build/default}
out=${2:-screenshots}
SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/apps/quillop" --screenshots "$out" examples/demo.mrc
ls "$out"
