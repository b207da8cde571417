# pixquill-cli.exe against the Linux pixquill-cli, sourced by run-under-wine
# (which gives check, win, winpath, $work, $build, $linux_build, $source_dir).
# Both programs get the same inputs in this run; BMP outputs must be byte for
# byte the same, PNG outputs pixel for pixel, and stdout, stderr's error
# numbers and exit codes must agree.

cli_exe="$build/pixquill-cli.exe"
cli_linux=${linux_build:+$linux_build/bin/pixquill-cli}
pictures="$source_dir/tests/data/pictures"
cli_dir="$work/cli"
mkdir -p "$cli_dir/win" "$cli_dir/linux"

# make_bmp <path> <width> <height>: a 24-bit bottom-up BMP of random pixels.
make_bmp() {
    local path=$1 width=$2 height=$3
    local row=$(((width * 3 + 3) / 4 * 4))
    local size=$((row * height))
    le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
    {
        printf 'BM'; le32 $((54 + size)); le32 0; le32 54
        le32 40; le32 "$width"; le32 "$height"; printf '\x01\x00\x18\x00'; le32 0; le32 "$size"
        le32 2835; le32 2835; le32 0; le32 0
        head -c "$size" /dev/urandom
    } >"$path"
}

# cli_both <name> <expected status> <arguments...>: runs both programs with the
# same arguments, where {in:FILE} names an input, {out:FILE} an output file
# in each program's own folder and {device} the null device (NUL, /dev/null);
# checks the status and that stdout agrees.
cli_both() {
    local name=$1 expected=$2
    shift 2
    local win_args=() linux_args=() argument
    for argument in "$@"; do
        case $argument in
            {in:*}) argument=${argument#\{in:}; argument=${argument%\}}
                    win_args+=("$(winpath "$argument")"); linux_args+=("$argument") ;;
            {out:*}) argument=${argument#\{out:}; argument=${argument%\}}
                     win_args+=("$(winpath "$cli_dir/win/$argument")"); linux_args+=("$cli_dir/linux/$argument") ;;
            {device}) win_args+=("NUL"); linux_args+=("/dev/null") ;;
            *) win_args+=("$argument"); linux_args+=("$argument") ;;
        esac
    done
    win "$cli_exe" "${win_args[@]}" >"$cli_dir/win.out" 2>"$cli_dir/win.err" </dev/null
    local win_status=$?
    if [ "$win_status" -eq "$expected" ]; then pass "$name: pixquill-cli.exe exits $expected"; else
        fail "$name: pixquill-cli.exe exits $win_status, not $expected"; head -5 "$cli_dir/win.err"; fi
    [ -n "$cli_linux" ] || return 0
    "$cli_linux" "${linux_args[@]}" >"$cli_dir/linux.out" 2>"$cli_dir/linux.err" </dev/null
    local linux_status=$?
    if [ "$linux_status" -eq "$win_status" ] && cmp -s "$cli_dir/win.out" "$cli_dir/linux.out"; then
        pass "$name: the same output and status as on Linux"
    else
        fail "$name: Linux exits $linux_status, output differs or status does"
        diff <(od -c "$cli_dir/linux.out") <(od -c "$cli_dir/win.out") | head -6
    fi
    # Errors are "error N: ..." with paths spelled per platform: the numbers must agree.
    if ! diff -q <(grep -o 'error [0-9]*' "$cli_dir/win.err") <(grep -o 'error [0-9]*' "$cli_dir/linux.err") >/dev/null; then
        fail "$name: the error numbers differ"; cat "$cli_dir/win.err" "$cli_dir/linux.err" | head -4
    fi
}

# same_file <name> <file>: the Windows and Linux outputs are byte for byte the same.
same_file() {
    [ -n "$cli_linux" ] || return 0
    check "$1" cmp "$cli_dir/win/$2" "$cli_dir/linux/$2"
}

# same_bytes <file> <other>...: every other file is byte for byte the file.
same_bytes() {
    local first=$1 other
    shift
    for other in "$@"; do cmp "$first" "$other" || return 1; done
}

make_bmp "$cli_dir/carrier.bmp" 160 120
make_bmp "$cli_dir/odd.bmp" 37 29
head -c 3000 /dev/urandom >"$cli_dir/secret.bin"
message="Greetings from Wine (and Linux): 1, 2, 3!"
printf '%s' "$message" >"$cli_dir/message.txt"

cli_both "hide-message in a BMP" 0 hide-message --image "{in:$cli_dir/carrier.bmp}" --output "{out:hidden.bmp}" \
    --key 4711 --text-file "{in:$cli_dir/message.txt}"
same_file "hide-message writes the same BMP as on Linux" hidden.bmp
cli_both "extract-message from it" 0 extract-message --image "{in:$cli_dir/linux/hidden.bmp}" --key 4711
check "the extracted message is the one hidden" test "$(cat "$cli_dir/win.out")" = "$message"
cli_both "extract-message under another key" 0 extract-message --image "{in:$cli_dir/linux/hidden.bmp}" --key 4712
check "another key gives another text" test "$(cat "$cli_dir/win.out")" != "$message"
cli_both "extract-message from a picture with nothing hidden" 3 extract-message --image "{in:$cli_dir/carrier.bmp}"
cli_both "hide-message in an odd-sized BMP" 0 hide-message --image "{in:$cli_dir/odd.bmp}" --output "{out:odd-hidden.bmp}" \
    --text "row padding"
same_file "odd widths are padded as on Linux" odd-hidden.bmp

cli_both "hide-file in a BMP" 0 hide-file --image "{in:$cli_dir/carrier.bmp}" --output "{out:file.bmp}" \
    --key 99 --file "{in:$cli_dir/secret.bin}"
same_file "hide-file writes the same BMP as on Linux" file.bmp
cli_both "extract-file from it" 0 extract-file --image "{in:$cli_dir/win/file.bmp}" --key 99 --output "{out:secret.out}"
check "the extracted file is the one hidden" cmp "$cli_dir/win/secret.out" "$cli_dir/secret.bin"

# JPEG decoders differ between platforms: the hidden item must still come back.
cli_both "hide-message in a JPEG" 0 hide-message --image "{in:$pictures/baseline.jpg}" --output "{out:jpeg.bmp}" --text "Hi"
cli_both "extract-message from the JPEG's output" 0 extract-message --image "{in:$cli_dir/win/jpeg.bmp}"
check "the message hidden in the JPEG comes back" test "$(cat "$cli_dir/win.out")" = "Hi"
# JPEG would destroy the hidden bits: a .jpg name is refused, and nothing is written under it.
cli_both "a .jpg output name" 2 hide-message --image "{in:$cli_dir/carrier.bmp}" --output "{out:refused.jpg}" --text "Hi"
jpeg_refusal() { sed -n 's/.*refused\.jpg: //p' "$cli_dir/$1.err"; }
check "the refusal says why" grep -q "JPEG compression changes pixels" "$cli_dir/win.err"
[ -z "$cli_linux" ] || check "in the Linux program's words" test "$(jpeg_refusal win)" = "$(jpeg_refusal linux)"
check "and nothing is written under the .jpg name" test ! -e "$cli_dir/win/refused.jpg"

# PNG outputs: zlib compresses them on Windows, libdeflate on Linux, so the
# files differ; their pixels must be those of the BMPs above, and each program
# must read the other's.
cli_both "hide-message in a PNG" 0 hide-message --image "{in:$cli_dir/carrier.bmp}" --output "{out:hidden.png}" \
    --key 4711 --text-file "{in:$cli_dir/message.txt}"
cli_both "hide-message in an odd-sized PNG" 0 hide-message --image "{in:$cli_dir/odd.bmp}" \
    --output "{out:odd-hidden.png}" --text "row padding"
cli_both "hide-file in a PNG" 0 hide-file --image "{in:$cli_dir/carrier.bmp}" --output "{out:file.png}" \
    --key 99 --file "{in:$cli_dir/secret.bin}"
for from in win linux; do
    cli_both "extract-message from the $from PNG" 0 extract-message --image "{in:$cli_dir/$from/hidden.png}" --key 4711
    check "the message comes back from the $from PNG" test "$(cat "$cli_dir/win.out")" = "$message"
    cli_both "extract-file from the $from PNG" 0 extract-file --image "{in:$cli_dir/$from/file.png}" --key 99 \
        --output "{out:secret-$from-png.out}"
    check "the file comes back from the $from PNG" same_bytes "$cli_dir/secret.bin" \
        "$cli_dir/win/secret-$from-png.out" ${cli_linux:+"$cli_dir/linux/secret-$from-png.out"}
    # Hiding the same message again changes no pixel: both programs must read
    # the PNG as the pixels of the BMP written from the same input.
    cli_both "hide-message again over the $from PNG" 0 hide-message --image "{in:$cli_dir/$from/hidden.png}" \
        --output "{out:again-$from-png.bmp}" --key 4711 --text-file "{in:$cli_dir/message.txt}"
    same_file "both read the $from PNG as the same pixels" "again-$from-png.bmp"
    check "they are the pixels of the BMP written from the same input ($from PNG)" \
        cmp "$cli_dir/win/again-$from-png.bmp" "$cli_dir/win/hidden.bmp"
done
cli_both "capacity of a BMP" 0 capacity --image "{in:$cli_dir/carrier.bmp}"
cli_both "capacity of a grey JPEG" 0 capacity --image "{in:$pictures/greyscale.jpg}"

cli_both "encrypt-text" 0 encrypt-text --key 408127 --text "Hello, World"
cli_both "decrypt-text" 0 decrypt-text --key 408127 --text "38HmO!H 7eAz"
cli_both "encrypt-file" 0 encrypt-file --key 5 --input "{in:$cli_dir/secret.bin}" --output "{out:secret.enc}"
same_file "encrypt-file writes the same bytes as on Linux" secret.enc

cli_both "a missing picture" 1 capacity --image "{in:$cli_dir/missing.bmp}"
cli_both "a folder as the picture" 1 capacity --image "{in:$cli_dir}"
cli_both "a folder as the output" 1 hide-message --image "{in:$cli_dir/carrier.bmp}" --output "{out:}" --text x
cli_both "a device as the picture" 1 capacity --image "{device}"
cli_both "a device as the output" 1 hide-message --image "{in:$cli_dir/carrier.bmp}" --output "{device}" --text x
cli_both "a text file as the picture" 1 capacity --image "{in:$cli_dir/message.txt}"
cli_both "a key that is not digits" 2 encrypt-text --key 12a --text x
cli_both "an unknown sub-command" 2 rotate

cli_unregistered_tests() {
    win "$cli_exe" encrypt-text --text x >"$cli_dir/win.out" 2>"$cli_dir/win.err"
    local status=$?
    check "pixquill-cli.exe without Corvid registered exits 1 with error 429" \
        test "$status" -eq 1 -a -n "$(grep 'error 429' "$cli_dir/win.err")"
}

# File names beyond ASCII reach the Windows program as wide characters.
cp "$cli_dir/carrier.bmp" "$cli_dir/Bild-Grüße-€.bmp"
cli_both "a picture whose name is not ASCII" 0 hide-message --image "{in:$cli_dir/Bild-Grüße-€.bmp}" \
    --output "{out:Ausgabe-ß-€.bmp}" --text "wide names"
check "the output is written under its wide name" test -f "$cli_dir/win/Ausgabe-ß-€.bmp"
same_file "it is the same picture as on Linux" "Ausgabe-ß-€.bmp"
# The cipher opens such names itself in the file commands.
cp "$cli_dir/secret.bin" "$cli_dir/Geheimnis-€.bin"
cli_both "hide-file from a file whose name is not ASCII" 0 hide-file --image "{in:$cli_dir/carrier.bmp}" \
    --output "{out:Datei-€.bmp}" --file "{in:$cli_dir/Geheimnis-€.bin}"
same_file "it hides the same bytes as on Linux" "Datei-€.bmp"
cli_both "extract-file to a name that is not ASCII" 0 extract-file --image "{in:$cli_dir/win/Datei-€.bmp}" \
    --output "{out:Zurück-€.bin}"
check "the file comes back under its wide name" cmp "$cli_dir/win/Zurück-€.bin" "$cli_dir/secret.bin"
cli_both "encrypt-file between names that are not ASCII" 0 encrypt-file --input "{in:$cli_dir/Geheimnis-€.bin}" \
    --output "{out:Verschlüsselt-€.bin}"
same_file "it writes the same bytes as on Linux" "Verschlüsselt-€.bin"

# Other BMP layouts give the same output pictures as on Linux (16-bit pixels
# included, which both widen by the same rule), and a PNG of a BMP's pixels
# gives the same picture as that BMP. Python writes them, when it is at hand,
# and decodes the programs' PNGs.
if command -v python3 >/dev/null; then
    python3 "$source_dir/tests/windows/make-pictures.py" "$cli_dir/carrier.bmp" "$cli_dir"
    for layout in palette8 palette4 palette1 rgb555 rgb565 topdown32 topdown24; do
        cli_both "hide-message in a BMP of layout $layout" 0 hide-message --image "{in:$cli_dir/$layout.bmp}" \
            --output "{out:$layout-hidden.bmp}" --text "layout $layout"
        same_file "a BMP of layout $layout gives the same picture as on Linux" "$layout-hidden.bmp"
    done
    for broken in cut huge empty-row; do
        cli_both "a broken BMP ($broken) is refused" 1 capacity --image "{in:$cli_dir/$broken.bmp}"
    done
    win "$cli_exe" hide-message --image "$(winpath "$cli_dir/carrier.png")" --output "$(winpath "$cli_dir/win/png.bmp")" \
        --key 4711 --text-file "$(winpath "$cli_dir/message.txt")" >/dev/null 2>&1
    check "a PNG gives the same picture as the BMP of its pixels" cmp "$cli_dir/win/png.bmp" "$cli_dir/win/hidden.bmp"
    # Decoded apart from either program: the PNGs hold exactly the BMPs' pixels.
    for written in hidden odd-hidden file; do
        check "the $written PNGs of both programs hold the pixels of the BMP" python3 \
            "$source_dir/tests/windows/picture_pixels.py" "$cli_dir/win/$written.bmp" "$cli_dir/win/$written.png" \
            ${cli_linux:+"$cli_dir/linux/$written.png"}
    done
fi
