# The start every test that drives the editor on a virtual screen shares,
# sourced with the test's arguments: QUILLOP QUILLOP_CLI DEMO.mrc. Skips the
# test (77) when xvfb-run or xdotool is missing; makes a scratch folder
# ($work, removed at exit unless QUILLOP_TEST_KEEP is set) with a home of its
# own, so no settings or recovery copies of the user's come up.
quillop="$1"
cli="$2"
demo="$3"
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || { echo "needs xvfb-run and xdotool"; exit 77; }
work="$(mktemp -d)"
[ -n "${QUILLOP_TEST_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
export HOME="$work/home" SDL_AUDIODRIVER=dummy
# The editor is shown on the virtual screen, whatever the caller chose for
# the other tests.
unset QT_QPA_PLATFORM
