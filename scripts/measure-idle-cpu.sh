#!/bin/bash
# Share of one core an editor uses while it sits idle on a document:
# starts it under a virtual display, lets it settle, then reads its user and
# system time from /proc/<pid>/stat over a window.
# Usage: scripts/measure-idle-cpu.sh <quillop executable> <document> [seconds]
set -euo pipefail
exe=$1 doc=$2 window=${3:-30}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
xvfb-run -a "$exe" "$doc" &
runner=$!
pid=""
for _ in $(seq 50); do
    pid=$(pgrep -n -P "$(pgrep -n -P $runner || true)" -f "$(basename "$exe")" 2>/dev/null || true)
    [ -z "$pid" ] && pid=$(pgrep -n -f "^$exe " || true)
    [ -n "$pid" ] && break
    sleep 0.2
done
[ -n "$pid" ] || { echo "editor did not start" >&2; kill $runner; exit 1; }
sleep 5
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
t0=$(ticks)
sleep "$window"
t1=$(ticks)
kill "$pid"
wait $runner 2>/dev/null || true
hz=$(getconf CLK_TCK)
awk -v d=$((t1 - t0)) -v hz="$hz" -v w="$window" 'BEGIN { printf "idle CPU: %.3f %% of a core over %d s (%d ticks)\n", 100 * d / hz / w, w, d }'
