#!/usr/bin/env bash
# Making things by name and with the mouse, driven as a user would on a
# virtual screen and checked in the saved file. Each case is one edit: a
# world element's bitmap picked by typing part of its ID, a bitmap dragged
# from the Bitmaps grid onto the map and onto the world (the panel opened on
# the way by holding the drag over its button), a frame delay typed in
# milliseconds, a frame's bitmap picked by name. After each, Ctrl+S and the
# saved file must hold it; then Ctrl+Z, Ctrl+S and the saved file must be as
# it was before the edit.
# usage: driven_edits_test.sh QUILLOP QUILLOP_CLI DEMO.mrc
# Exits 77 (skipped) when xvfb-run or xdotool is missing.
# QUILLOP_TEST_SHOTS=FOLDER keeps the screen (XWD) after each step.
set -uo pipefail
. "$(dirname "$0")/driven_setup.sh"
mkdir -p "$HOME" "$work/screen"
cp "$demo" "$work/work.mrc"

# The screen's pixels (the server keeps them in a file) tell when a panel is
# up; the saved file tells what an edit did.
cat >"$work/look.py" <<'LOOK'
import json, struct, sys, time
def colour(screen, x, y):
    with open(screen, 'rb') as f:
        head = struct.unpack('>25I', f.read(100))
        # header, colour map, then rows of 32-bit pixels (blue, green, red, pad)
        f.seek(head[0] + head[19] * 12 + y * head[12] + x * 4)
        b, g, r = f.read(3)
    return r, g, b
if sys.argv[1] == 'wait':  # wait SCREEN X Y RRGGBB SECONDS: until the point shows that colour
    screen, x, y, want, seconds = sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5], float(sys.argv[6])
    want = tuple(int(want[i:i + 2], 16) for i in (0, 2, 4))
    end = time.monotonic() + seconds
    while True:
        seen = colour(screen, x, y)
        if max(abs(a - b) for a, b in zip(seen, want)) <= 24:
            sys.exit(0)
        if time.monotonic() > end:
            print('at %d,%d: %02x%02x%02x, not %s' % (x, y, *seen, sys.argv[5]))
            sys.exit(1)
        time.sleep(0.05)
elif sys.argv[1] == 'check':  # check DUMP.json EXPRESSION
    g = json.load(open(sys.argv[2]))['groups']
    W = g['worlds'][0]['elements']
    sys.exit(0 if eval(sys.argv[3]) else 1)
else:  # same DUMP.json DUMP.json: the groups alike, or where they first differ
    def differ(a, b, path):
        if type(a) != type(b) or not isinstance(a, (dict, list)):
            return None if a == b else path
        keys = sorted(set(a) | set(b)) if isinstance(a, dict) else range(max(len(a), len(b)))
        for k in keys:
            if isinstance(a, list) and k >= min(len(a), len(b)):
                return path + '[%d] (one list is longer)' % k
            found = differ(a.get(k) if isinstance(a, dict) else a[k], b.get(k) if isinstance(b, dict) else b[k], path + '[%r]' % k)
            if found:
                return found
        return None
    found = differ(*(json.load(open(f))['groups'] for f in sys.argv[2:4]), 'groups')
    found and print('differs at', found)
    sys.exit(1 if found else 0)
LOOK

# Where things are in the editor's first layout (fresh settings, its
# 1200 x 800 window at the screen's corner), relative to the window:
#   command bar: the panel buttons, Bitmaps first, 33 pixels apart;
#   Bitmaps grid rows 22 pixels apart, row 0 at y 121;
#   the map fitted in its canvas, cell (0, 0) at 587..644 x 123..180;
#   the world preview showing the island map below x 651..1021 x 432..691;
#   the world elements grid, row 1 ("ball") at y 189;
#   the frame list, frame 0 at y 101, frame 1 at y 119.
water=3b7dd8      # the map's water tile, under both drop points
ball=d64541       # the ball's thumbnail in the Bitmaps grid
chosen=ffd900     # a chosen row's face, here frame 0 in the frame list

# Each case: its name and what the saved file holds after it (g: the dumped
# groups, W: the elements of the Island World). After its undo the file's
# groups must be as they were before it, every field.
cases=(
  "pick|W[1]['objectIndex'] == 4"
  "map|g['maps'][0]['columns'][0][0] == 4"
  "world|len(W) == 6 and W[5]['id'] == 'Ball' and W[5]['objectTypeText'] == 'Bitmap' and W[5]['objectIndex'] == 1 and 0 <= W[5]['offsetX'] < 160 and 0 <= W[5]['offsetY'] < 112"
  "delay|g['animations'][0]['frames'][0]['delay'] == 7"
  "frame|g['animations'][0]['frames'][1]['bitmap'] == 2"
)
printf '%s\n' "${cases[@]}" >"$work/cases"

cat >"$work/drive.sh" <<DRIVE
set -u
work="$work"
screen="\$work/screen/Xvfb_screen0"
fails=0
shot() { [ -n "\${QUILLOP_TEST_SHOTS:-}" ] && cp "\$screen" "\$QUILLOP_TEST_SHOTS/\$1.xwd"; true; }
at() { echo \$((X + \$1)) \$((Y + \$2)); }
# Up to 20 s for a panel or a picture to show: the machine may be busy.
seen() { python3 "\$work/look.py" wait "\$screen" \$(at \$1 \$2) \$3 20; }
# Waits (up to 20 s) until the window whose title holds the text has the
# keyboard: a prompt before it is typed into, the editor after it closes.
focused() {
  local name
  for i in \$(seq 80); do
    name="\$(xdotool getwindowfocus getwindowname 2>/dev/null)"
    case "\$name" in *"\$1"*) return 0 ;; esac
    sleep 0.25
  done
  echo "the keyboard is with \"\$name\", not \"\$1\""; return 1
}
panel() { xdotool key ctrl+\$1; }
# A real drag: press, a few steps to start it, then to each point in turn.
# The short pauses let each move arrive as its own event, so that the drag
# starts and the last point is where it is dropped.
# A point "hold X Y COLOUR" stays until the screen shows COLOUR at X Y.
drag() {
  xdotool mousemove \$(at \$1 \$2); sleep 0.2; xdotool mousedown 1; shift 2
  for step in 4 8 16; do xdotool mousemove \$(at \$((\$1 + step)) \$((\$2 - step))); sleep 0.1; done
  while [ \$# -gt 0 ]; do
    if [ "\$1" = hold ]; then seen \$2 \$3 \$4 || { xdotool mouseup 1; return 1; }; shift 4; continue; fi
    xdotool mousemove \$(at \$1 \$2); sleep 0.1; shift 2
  done
  sleep 0.2; xdotool mouseup 1
}
# Ctrl+S, and the file replaced (saving renames a new file over it).
save() {
  local before=\$(stat -c '%i %y' "\$work/work.mrc")
  xdotool key ctrl+s
  for i in \$(seq 80); do [ "\$(stat -c '%i %y' "\$work/work.mrc")" != "\$before" ] && return 0; sleep 0.25; done
  return 1
}

# The edits. Each must leave the keyboard with the editor's window, where
# Ctrl+S and Ctrl+Z go.
do_pick() {
  # The Object Index of the world's element "ball": F4 opens the picker,
  # "ston" leaves only bitmap 4, Stone; Enter takes it.
  panel 0; seen 700 650 $water || return 1
  xdotool mousemove \$(at 692 189) click 1
  for i in \$(seq 9); do xdotool key Right; done
  xdotool key F4; focused "Pick Bitmap" || return 1
  xdotool type --delay 50 ston; shot pick-typed
  xdotool key Return; focused work.mrc
}
do_map() {
  # Stone, carried from the Bitmaps grid over the Maps button (held there
  # until the map shows) onto the map's first cell.
  panel 1; seen 498 143 $ball || return 1
  drag 160 209  250 80  305 19  hold 600 160 $water  400 100  590 158  600 160
}
do_world() {
  # The ball, over the Worlds button and onto the water near the map's
  # lower left corner in the world preview.
  panel 1; seen 498 143 $ball || return 1
  drag 160 143  300 80  536 19  hold 700 650 $water  600 300  690 640  700 650
}
do_delay() {
  # Frame 0 of the spinning star (4 steps of 16 ms): F2, then 112 ms.
  panel 2; seen 600 101 $chosen || return 1
  xdotool mousemove \$(at 660 101) click 1
  xdotool key F2; focused "Frame Delay" || return 1
  xdotool key ctrl+a; xdotool type --delay 50 112; shot delay-typed
  xdotool key Return; focused work.mrc
}
do_frame() {
  # Frame 1's bitmap (Star 1) picked by name: F4, "gras", Enter.
  panel 2; seen 600 101 $chosen || return 1
  xdotool mousemove \$(at 660 119) click 1
  xdotool key F4; focused "Pick Bitmap" || return 1
  xdotool type --delay 50 gras; shot frame-typed
  xdotool key Return; focused work.mrc
}

"$quillop" --new-instance "\$work/work.mrc" >"\$work/editor.log" 2>&1 &
editor=\$!
for i in \$(seq 80); do xdotool search --onlyvisible --name work.mrc >/dev/null 2>&1 && break; sleep 0.25; done
main=\$(xdotool search --onlyvisible --name work.mrc | head -1)
[ -n "\$main" ] || { echo "FAIL: the editor showed no window"; exit 1; }
eval "\$(xdotool getwindowgeometry --shell \$main)"
[ "\$WIDTH x \$HEIGHT" = "1200 x 800" ] ||
  { echo "FAIL: the window is \$WIDTH x \$HEIGHT, the points driven at are for 1200 x 800"; exit 1; }
# Painted, then a click on the empty grid gives the window the keyboard.
seen 498 143 $ball || { echo "FAIL: the Bitmaps grid did not show"; exit 1; }
xdotool mousemove \$(at 640 500) click 1
focused work.mrc || { echo "FAIL: the editor did not take the keyboard"; exit 1; }
dump() { "$cli" dump "\$work/work.mrc" >"\$work/\$1.json"; }
failed() { echo "FAIL \$name: \$1"; shot \$name-failed; fails=\$((fails + 1)); }
while IFS='|' read -r name after <&3; do
  dump before
  do_\$name || { failed "the editor did not respond as expected"; continue; }
  shot \$name-done
  save || { failed "Ctrl+S saved nothing"; continue; }
  dump after && python3 "\$work/look.py" check "\$work/after.json" "\$after" ||
    { failed "not in the saved file: \$after"; continue; }
  xdotool key ctrl+z
  save || { failed "Ctrl+S after Ctrl+Z saved nothing"; continue; }
  dump undone && python3 "\$work/look.py" same "\$work/before.json" "\$work/undone.json" ||
    { failed "Ctrl+Z did not bring the file back"; continue; }
  echo "\$name: done, saved, undone, saved"
done 3<"\$work/cases"
kill \$editor; wait \$editor 2>/dev/null
exit \$fails
DRIVE
timeout 150 xvfb-run -a -s "-screen 0 1280x800x24 -noreset -fbdir $work/screen" bash "$work/drive.sh"
status=$?
[ "$status" -eq 0 ] && { echo "every edit saved and undone"; exit 0; }
[ "$status" -eq 124 ] && echo "FAIL: the drive did not finish"
cat "$work/editor.log" 2>/dev/null
exit 1
