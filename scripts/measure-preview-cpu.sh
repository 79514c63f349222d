#!/bin/bash
# The editor playing a document's first world against the least a window
# repainting at every game step costs (bench/reference/preview_floor), in
# one run: each measured in turn, `rounds` times, then the ratio of their
# totals. Both under the same virtual display and the same load.
# Usage: scripts/measure-preview-cpu.sh <build dir> <document> [seconds] [rounds]
set -euo pipefail
build=$1 doc=$2 window=${3:-20} rounds=${4:-2}
here=$(dirname "$0")
share() { bash "$here/measure-idle-cpu.sh" "$@" 2>/dev/null | awk '/^CPU:/ { print $2 } /^interface/ { print $4 }' | paste -sd' '; }
editor_cpu=0 floor_cpu=0
for round in $(seq "$rounds"); do
    read -r e ew <<<"$(share "$build/apps/quillop" "$doc" "$window" 9)"
    read -r f fw <<<"$(share "$build/bench/preview_floor" "$doc" "$window")"
    echo "round $round: editor $e % ($ew wake-ups/s), floor $f % ($fw wake-ups/s)"
    editor_cpu=$(awk -v a="$editor_cpu" -v b="$e" 'BEGIN { print a + b }')
    floor_cpu=$(awk -v a="$floor_cpu" -v b="$f" 'BEGIN { print a + b }')
done
awk -v e="$editor_cpu" -v f="$floor_cpu" -v n="$rounds" 'BEGIN {
    printf "editor %.2f %% of a core, floor %.2f %%, editorOverFloor %.2f\n", e / n, f / n, e / f }'
