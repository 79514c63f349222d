#!/bin/bash
# Share of one core an editor uses, and how often its interface thread wakes
# up, while it sits on a document: starts it under a virtual display with
# fresh settings, lets it settle, then reads its user and system time from
# /proc/<pid>/stat and the context switches of its main thread over a window.
# With a panel number the editor opens on that panel (9: Game Worlds, which
# plays the first world), and a picture of the screen taken at the end of the
# window shows the preview's frame counter.
# Usage: scripts/measure-idle-cpu.sh <quillop executable> <document> [seconds] [panel] [picture.png]
set -euo pipefail
exe=$1 doc=$2 window=${3:-30} panel=${4:-} picture=${5:-}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
# Its own data folder too: no recovery copy another editor left behind
# comes up over the window while it is measured.
export XDG_DATA_HOME=$work/data
if [ -n "$panel" ]; then
    mkdir -p "$XDG_CONFIG_HOME/Local AppWizard-Generated Applications"
    printf '[Settings]\nPanel=%s\n' "$panel" >"$XDG_CONFIG_HOME/Local AppWizard-Generated Applications/Quillop.conf"
fi
# The shell notes its display, the display's key and its process number,
# which the editor keeps.
xvfb-run -a -s "-screen 0 1280x800x24" \
    sh -c 'echo "$DISPLAY" >"$0/display"; echo "$XAUTHORITY" >"$0/xauth"; echo $$ >"$0/pid"; exec "$1" "$2"' \
    "$work" "$exe" "$doc" &
runner=$!
for _ in $(seq 50); do
    [ -s "$work/pid" ] && break
    sleep 0.2
done
[ -s "$work/pid" ] || { echo "editor did not start" >&2; kill $runner; exit 1; }
pid=$(cat "$work/pid")
sleep 5
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
# A wake-up is the thread going to sleep and being woken: a voluntary switch
# (the others are other programs taking the core away).
switches() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$pid/task/$pid/status"; }
t0=$(ticks) s0=$(switches)
sleep "$window"
t1=$(ticks) s1=$(switches)
if [ -n "$picture" ]; then
    XAUTHORITY=$(cat "$work/xauth") ffmpeg -loglevel error -y -f x11grab -video_size 1280x800 -i "$(cat "$work/display")" -frames:v 1 "$picture"
fi
kill "$pid"
wait $runner 2>/dev/null || true
hz=$(getconf CLK_TCK)
awk -v d=$((t1 - t0)) -v hz="$hz" -v w="$window" -v s=$((s1 - s0)) 'BEGIN {
    printf "CPU: %.3f %% of a core over %d s (%d ticks)\n", 100 * d / hz / w, w, d
    printf "interface thread wake-ups: %.1f a second (%d)\n", s / w, s }'
[ -z "$picture" ] || echo "screen: $picture"
