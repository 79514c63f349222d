#!/bin/sh
# Pictures of the editor on the demo document, written as PNG files:
#   apps/quillop/screenshots.sh [build folder] [output folder]
set -e
build=${1:-build/default}
out=${2:-screenshots}
SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/apps/quillop" --screenshots "$out" examples/demo.mrc
ls "$out"
