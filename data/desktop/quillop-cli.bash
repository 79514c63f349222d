# Bash completion for quillop-cli: commands, their options, and file names
# of the kind each argument takes.

# The options of each command, as its usage text lists them.
_quillop_cli_options()
{
    case "$1" in
        info | dump | diff) echo "--json" ;;
        mix) echo "-o --seconds --rate --loop --buffers --length" ;;
        play) echo "--loop --rate --buffers --length" ;;
        render-world) echo "--size --origin" ;;
        bass-drum) echo "--bits --rate --start --end --deceleration --initial-speed --levels --width --height --preview" ;;
        analyze) echo "--smooth --pre-rate --width --height --margins --extra --rate --bounds --preview --threads" ;;
        to-midi) echo "--tempo --black --note --controllers --bend-range --tolerance" ;;
        images-to-avi) echo "--fps --width --height --codec --quality" ;;
        avi-to-images) echo "--no-alpha" ;;
        convert-resources) echo "--workers" ;;
        split-sounds) echo "--threshold --min-silence --min-sound" ;;
        merge) echo "-o" ;;
        import-tmx) echo "--layer -o" ;;
        export-sheet) echo "--json --gif --apng" ;;
        import-sheet) echo "--json --grid --margin --spacing --delay -o" ;;
    esac
}

# The kind of the Nth file argument of a command (counting from 1):
# an extension pattern, "dir", or nothing for a free value.
_quillop_cli_argument_kind()
{
    local kinds
    local images="@(png|bmp|jpg|jpeg|tif|tiff|webp|tga)"
    # Commands that take any number of files of one kind.
    case "$1" in
        images-to-avi) [ "$2" -eq 1 ] && echo "avi" || echo "$images"; return ;;
        convert-resources) echo "mrc"; return ;;
    esac
    case "$1" in
        info | dump | mix | play | textconv) kinds="mrc" ;;
        diff) kinds="mrc mrc" ;;
        merge) kinds="mrc mrc mrc" ;;
        export-tmx) kinds="mrc - tmx" ;;
        import-tmx) kinds="mrc tmx" ;;
        export-world-tmx) kinds="mrc - tmx" ;;
        export-sheet) kinds="mrc - png" ;;
        import-sheet) kinds="mrc png" ;;
        render-world) kinds="mrc - - png" ;;
        pack) kinds="json mrc" ;;
        extract) kinds="mrc dir" ;;
        resave) kinds="mrc mrc" ;;
        bass-drum) kinds="wav" ;;
        analyze) kinds="wav awa" ;;
        to-midi) kinds="awa wav mid" ;;
        texture-maps) kinds="$images" ;;
        avi-to-images) kinds="@(avi|mp4|mkv|mov|webm) @(bmp|png)" ;;
        split-sounds) kinds="wav dir" ;;
    esac
    local -a list=($kinds)
    echo "${list[$(($2 - 1))]}"
}

_quillop_cli()
{
    local cur prev
    cur="${COMP_WORDS[COMP_CWORD]}"
    prev="${COMP_WORDS[COMP_CWORD - 1]}"
    if [ "$COMP_CWORD" -eq 1 ]; then
        COMPREPLY=($(compgen -W "info dump pack extract resave mix play bass-drum render-world analyze to-midi texture-maps images-to-avi avi-to-images convert-resources split-sounds diff textconv merge export-tmx import-tmx export-world-tmx export-sheet import-sheet --help" -- "$cur"))
        return
    fi
    local command="${COMP_WORDS[1]}"

    # Values of options: files where the option names one, else nothing to offer.
    case "$prev" in
        -o)
            local written=wav
            case "$command" in merge | import-tmx | import-sheet) written=mrc ;; esac
            COMPREPLY=($(compgen -f -X "!*.$written" -- "$cur") $(compgen -d -- "$cur")); compopt -o filenames; return ;;
        --preview | --apng) COMPREPLY=($(compgen -f -X '!*.png' -- "$cur") $(compgen -d -- "$cur")); compopt -o filenames; return ;;
        --gif) COMPREPLY=($(compgen -f -X '!*.gif' -- "$cur") $(compgen -d -- "$cur")); compopt -o filenames; return ;;
        --json)
            case "$command" in export-sheet | import-sheet)
                COMPREPLY=($(compgen -f -X '!*.json' -- "$cur") $(compgen -d -- "$cur")); compopt -o filenames; return ;;
            esac ;;
        --*) [[ " $(_quillop_cli_options "$command") " == *" $prev "* && "$prev" != "--json" && "$prev" != "--loop" && "$prev" != "--no-alpha" ]] && return ;;
    esac
    if [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W "$(_quillop_cli_options "$command")" -- "$cur"))
        return
    fi

    # Count the file arguments before this one, skipping options and their values.
    local i position=1
    for ((i = 2; i < COMP_CWORD; i++)); do
        case "${COMP_WORDS[i]}" in
            --json | --loop | --no-alpha) ;;
            -*) ((i++)) ;;
            *) ((position++)) ;;
        esac
    done
    local kind
    kind="$(_quillop_cli_argument_kind "$command" "$position")"
    case "$kind" in
        "" | -) return ;;
        dir) COMPREPLY=($(compgen -d -- "$cur")) ;;
        *)
            local restore
            restore="$(shopt -p extglob)"
            shopt -s extglob
            COMPREPLY=($(compgen -f -X "!*.$kind" -- "$cur") $(compgen -d -- "$cur"))
            eval "$restore"
            ;;
    esac
    compopt -o filenames 2>/dev/null
}

complete -F _quillop_cli quillop-cli
