#!/usr/bin/env bash
# A killed editor gives its work back. Driven as a user would, on a virtual
# screen: two texts and a colour added in two panels, a wait past the
# recovery interval, kill -9; at the next start Recover (the default answer)
# and Save; the saved file then holds the three new items.
# usage: recovery_kill_test.sh QUILLOP QUILLOP_CLI DEMO.mrc
# Exits 77 (skipped) when xvfb-run or xdotool is missing.
set -uo pipefail
. "$(dirname "$0")/driven_setup.sh"
settings="$HOME/.config/Local AppWizard-Generated Applications"
mkdir -p "$settings"
printf '[Settings]\nRecovery%%20Seconds=1\n' >"$settings/Quillop.conf"
cp "$demo" "$work/work.mrc"

count() { "$cli" dump "$1" | python3 -c "import json,sys; print(len(json.load(sys.stdin)['groups']['$2']))"; }
texts_before=$(count "$work/work.mrc" texts)
colors_before=$(count "$work/work.mrc" colors)

cat >"$work/drive.sh" <<DRIVE
set -u
center() { xdotool mousemove 640 400 click 1; sleep 0.5; }
# QUILLOP_TEST_SHOTS=FOLDER keeps a picture of each step, to see what went wrong.
shot() { [ -n "\${QUILLOP_TEST_SHOTS:-}" ] && import -window root "\$QUILLOP_TEST_SHOTS/\$1.png"; true; }
# Waits (up to 60 s, for a busy machine) until the editor shows a window
# narrower than the given width; prints its geometry as shell variables.
shown() {
  for i in \$(seq 240); do
    for window in \$(xdotool search --onlyvisible --pid \$editor 2>/dev/null); do
      geometry="\$(xdotool getwindowgeometry --shell \$window)"
      eval "\$geometry"
      [ "\$WIDTH" -lt "\$1" ] && { echo "\$geometry"; return 0; }
    done
    sleep 0.25
  done
  return 1
}
"$quillop" --new-instance "$work/work.mrc" >"$work/first.log" 2>&1 &
editor=\$!
shown 100000 >/dev/null
for i in \$(seq 120); do xdotool search --onlyvisible --name "work.mrc" >/dev/null 2>&1 && break; sleep 0.25; done
sleep 1; center
xdotool key ctrl+4; sleep 0.5; xdotool key Insert; sleep 0.3; xdotool key Insert; sleep 0.3
xdotool key ctrl+8; sleep 0.5; xdotool key Insert; sleep 0.3
shot 1-edited
sleep 3  # past the interval after the last change: the copy holds all three
ls "$HOME"/.local/share/*/Quillop/recovery/*.mrc >/dev/null 2>&1 || { shot 1-no-copy; echo "no recovery copy was written"; }
kill -9 \$editor; wait \$editor 2>/dev/null
"$quillop" --new-instance >"$work/second.log" 2>&1 &
editor=\$!
# The question's own window, clicked in its corner (not on a button), then
# Return for its default answer, Recover.
eval "\$(shown 1000)"; sleep 1; shot 2-offer
xdotool mousemove \$((X + 12)) \$((Y + 12)) click 1
sleep 0.5; xdotool key Return; sleep 2; shot 3-recovered; center
saved=\$(stat -c %Y.%s "$work/work.mrc")
xdotool key ctrl+s
for i in \$(seq 40); do [ "\$(stat -c %Y.%s "$work/work.mrc")" != "\$saved" ] && break; sleep 0.25; done
sleep 0.5; shot 4-saved
kill \$editor; wait \$editor 2>/dev/null
true
DRIVE
# -noreset: the screen must outlive the killed editor, its only client then.
timeout 200 xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash "$work/drive.sh" || { echo "FAIL: the drive did not finish"; exit 1; }

texts_after=$(count "$work/work.mrc" texts)
colors_after=$(count "$work/work.mrc" colors)
if [ "$texts_after" -eq $((texts_before + 2)) ] && [ "$colors_after" -eq $((colors_before + 1)) ]; then
  echo "recovered: texts $texts_before -> $texts_after, colours $colors_before -> $colors_after"
  exit 0
fi
echo "FAIL: texts $texts_before -> $texts_after (2 added), colours $colors_before -> $colors_after (1 added)"
cat "$work/first.log" "$work/second.log"
exit 1
