#!/usr/bin/env bash
# Checks the bash completion of quillop-cli: what it offers for a table of
# command lines, and that its commands and options are the ones the program
# itself names in its usage texts; and that the manual page and the README
# list the same commands as the program.
# usage: completion_test.sh COMPLETION_FILE QUILLOP_CLI MAN_PAGE.gz README
set -uo pipefail
completion="$1"
cli="$2"
man_page="$3"
readme="$4"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# shellcheck source=/dev/null
source "$completion"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir out
touch demo.mrc other.mrc manifest.json drum.wav pitch.awa tune.mid picture.png notes.txt

# What completing the last word of a command line offers, sorted, one line.
offered()
{
    read -r -a COMP_WORDS <<<"$1"
    [[ "$1" == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _quillop_cli 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

while IFS='|' read -r line expected; do
    [ -z "$line" ] && continue
    got="$(offered "$line")"
    [ "$got" = "$expected" ] || fail "'$line' offers '$got', expected '$expected'"
done <<'TABLE'
quillop-cli re|render-world resave
quillop-cli info |demo.mrc other.mrc out
quillop-cli info demo.mrc --|--json
quillop-cli pack |manifest.json out
quillop-cli pack manifest.json |demo.mrc other.mrc out
quillop-cli extract demo.mrc |out
quillop-cli to-midi pitch.awa |drum.wav out
quillop-cli to-midi pitch.awa drum.wav |out tune.mid
quillop-cli to-midi --tempo 90 |out pitch.awa
quillop-cli mix demo.mrc drum -o |drum.wav out
quillop-cli mix demo.mrc |
quillop-cli render-world demo.mrc World 10 |out picture.png
quillop-cli render-world demo.mrc --size |
quillop-cli texture-maps |out picture.png
quillop-cli bass-drum --pre|--preview
quillop-cli split-sounds drum.wav |out
quillop-cli convert-resources demo.mrc |demo.mrc other.mrc out
TABLE

# The program names the same commands and options as the completion.
help="$("$cli" --help 2>&1)"
commands="$(printf '%s\n' "$help" | sed -n 's/^  \([a-z-]*\) .*/\1/p' | sort | tr '\n' ' ')"
completed="$(offered "quillop-cli " | tr ' ' '\n' | grep -v '^--' | sort | tr '\n' ' ')"
[ "$commands" = "$completed" ] || fail "the program's commands are '$commands', the completion offers '$completed'"
in_man="$(zcat "$man_page" | sed 's/\\-/-/g' | sed -n 's/^\.SS "\([a-z-]*\) .*/\1/p' | sort | tr '\n' ' ')"
[ "$commands" = "$in_man" ] || fail "the program's commands are '$commands', the manual page lists '$in_man'"
in_readme="$(sed -n '/^## Command line/,/^## /s/^    \([a-z-]*\) .*/\1/p' "$readme" | sort | tr '\n' ' ')"
[ "$commands" = "$in_readme" ] || fail "the program's commands are '$commands', the README lists '$in_readme'"
for command in $commands; do
    # A command run without arguments prints its usage with every option.
    usage="$("$cli" "$command" 2>&1 </dev/null)"
    named="$( (printf '%s\n' "$usage" | grep -o -- ' -o \|--[a-z-]*' | tr -d ' '; true) | sort -u | grep -v '^--key$' | tr '\n' ' ')"
    listed="$(_quillop_cli_options "$command" | tr ' ' '\n' | sed '/^$/d' | sort -u | tr '\n' ' ')"
    [ "$named" = "$listed" ] || fail "$command: the program names options '$named', the completion '$listed'"
done

[ "$failures" -eq 0 ] && echo "completion: all checks passed"
exit $((failures > 0))
