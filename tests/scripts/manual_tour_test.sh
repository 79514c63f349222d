#!/usr/bin/env bash
# The screenshot tour still runs headless and makes every picture the manual
# shows, so that "apps/quillop/screenshots.sh build/default docs/manual/images"
# renews them all.
# usage: manual_tour_test.sh QUILLOP MANUAL_DIR DEMO.mrc
set -uo pipefail
quillop="$1"
manual="$2"
demo="$3"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy timeout 120 "$quillop" --screenshots "$out" "$demo" >/dev/null 2>&1 ||
  { echo "FAIL: the tour did not run"; exit 1; }
missing=0
for picture in $(grep -oh 'images/[A-Za-z0-9_.-]*\.png' "$manual"/*.md | sort -u); do
  [ -s "$out/${picture#images/}" ] || { echo "FAIL: the tour made no $picture"; missing=$((missing + 1)); }
done
pages=$(ls "$manual"/*.md | wc -l)
shown=$(grep -l 'images/' "$manual"/*.md | wc -l)
[ "$pages" -eq "$shown" ] || { echo "FAIL: $((pages - shown)) manual page(s) show no picture"; missing=$((missing + 1)); }
[ "$missing" -eq 0 ] && echo "manual tour: every picture made"
exit $((missing > 0))
