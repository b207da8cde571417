# Bash completion for pixquill-cli: its sub-commands, each one's options, and
# file names where an option takes a file (pictures for --image).

_pixquill_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="hide-message extract-message hide-file extract-file capacity
        encrypt-text decrypt-text encrypt-file decrypt-file"

    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
        -*) ;;
        *)
            command=${words[i]}
            break
            ;;
        esac
    done

    case $prev in
    --image)
        _filedir '@(bmp|BMP|jpg|JPG|jpeg|JPEG)'
        return
        ;;
    --output | --file | --text-file | --input | --key-file | --passphrase-file)
        _filedir
        return
        ;;
    --key | --text)
        # Free text: nothing sensible to offer.
        return
        ;;
    esac

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi

    local options
    case $command in
    hide-message) options="--image --output --key --key-file --text --text-file --seal --passphrase-file" ;;
    extract-message) options="--image --key --key-file --seal --passphrase-file" ;;
    hide-file) options="--image --output --file --key --key-file --seal --passphrase-file" ;;
    extract-file) options="--image --output --key --key-file --seal --passphrase-file" ;;
    capacity) options="--image --seal --passphrase-file" ;;
    encrypt-text | decrypt-text) options="--text --key --key-file" ;;
    encrypt-file | decrypt-file) options="--input --output --key --key-file" ;;
    *) return ;;
    esac
    COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
} &&
    complete -F _pixquill_cli pixquill-cli
