# bash completion for kestrix-convert. Options, formats and settings keys are
# read from the program's --help, so they follow the installed version.
_kestrix_convert()
{
    local cur prev words cword split
    _init_completion -s || return

    case $prev in
        --to)
            COMPREPLY=($(compgen -W "$("$1" --help 2>/dev/null |
                sed -n 's/^ *--to FORMAT *target format: //p')" -- "$cur"))
            return ;;
        --existing)
            COMPREPLY=($(compgen -W 'skip overwrite rename' -- "$cur"))
            return ;;
        --raw)
            COMPREPLY=($(compgen -W 'full half preview' -- "$cur"))
            return ;;
        --set)
            COMPREPLY=($(compgen -S = -W "$("$1" --help 2>/dev/null |
                sed -n '/^Keys for --set/,/^[^ ]/s/^  \([A-Za-z][A-Za-z0-9]*\) .*/\1/p')" -- "$cur"))
            compopt -o nospace
            return ;;
        -o | --output)
            _filedir -d
            return ;;
        --settings | --pdf)
            _filedir
            return ;;
        --quality | --scale | --width | --height | --pdf-dpi | --jobs | --shard)
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
