# bash completion for kestrix-convert. Options, formats and settings keys are
# read from the program's --help (in English, whatever the user's language),
# so they follow the installed version.
_kestrix_convert()
{
    local cur prev words cword split
    # Preset names hold colons: a colon does not split the word.
    _init_completion -s -n : || return

    case $prev in
        --to)
            COMPREPLY=($(compgen -W "$(LANGUAGE= LC_ALL=C.UTF-8 "$1" --help 2>/dev/null |
                sed -n 's/^ *--to FORMAT *target format: //p')" -- "$cur"))
            return ;;
        --existing)
            COMPREPLY=($(compgen -W 'skip overwrite rename' -- "$cur"))
            return ;;
        --raw)
            COMPREPLY=($(compgen -W 'full half preview' -- "$cur"))
            return ;;
        --pages)
            COMPREPLY=($(compgen -W 'first each animate' -- "$cur"))
            return ;;
        --colours)
            COMPREPLY=($(compgen -W 'keep srgb' -- "$cur"))
            return ;;
        --metadata)
            COMPREPLY=($(compgen -W 'all no-location profile none' -- "$cur"))
            return ;;
        --fit)
            COMPREPLY=($(compgen -W 'stretch inside cover cover-smart pad' -- "$cur"))
            return ;;
        --resample)
            COMPREPLY=($(compgen -W 'smooth lanczos sharp' -- "$cur"))
            return ;;
        --preset)
            # One name a line, spaces kept; quoted on insertion as file names are.
            local IFS=$'\n'
            COMPREPLY=($(compgen -W "$("$1" --list-presets 2>/dev/null)" -- "$(dequote "$cur")"))
            compopt -o filenames 2>/dev/null
            __ltrim_colon_completions "$cur"
            return ;;
        --set)
            COMPREPLY=($(compgen -S = -W "$(LANGUAGE= LC_ALL=C.UTF-8 "$1" --help 2>/dev/null |
                sed -n '/^Keys for --set/,/^[^ ]/s/^  \([A-Za-z][A-Za-z0-9]*\) .*/\1/p')" -- "$cur"))
            compopt -o nospace
            return ;;
        -o | --output | --watch)
            _filedir -d
            return ;;
        --settings | --pdf)
            _filedir
            return ;;
        --quality | --scale | --width | --height | --pdf-dpi | --jobs | --shard | --max-size | --min-quality | --background)
            return ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '$(_parse_help "$1")' -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    _filedir
}
complete -F _kestrix_convert kestrix-convert
