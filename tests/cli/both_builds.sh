#!/usr/bin/env bash
# qizi.exe and the native qizi give the same bytes for a picture in an
# explicit ramp, dithered or not: both read it with our decoders and take the
# core's area means. Skipped (77) where the native qizi was not built.
set -uo pipefail
exe=$1 native=$2 root=$3
if [ ! -x "$native" ]; then
    echo "no native qizi at $native"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for picture in "$root/docs/screenshot.png" "$root/docs/qizi-ramp.png"; do
    for dither in "" --dither; do
        args=(--source ramp --ramp " .:-=+*#%@" --width 60 --height 30 --encoding gbk $dither)
        wine "$exe" --picture "$(winepath -w "$picture")" "${args[@]}" >"$work/exe.txt" 2>"$work/exe.err"
        "$native" --picture "$picture" "${args[@]}" >"$work/native.txt" 2>"$work/native.err"
        if [ ! -s "$work/native.txt" ] || ! cmp -s "$work/exe.txt" "$work/native.txt"; then
            echo "differ: $(basename "$picture") ${dither:-plain}"
            cat "$work/exe.err" "$work/native.err"
            diff <(od -c "$work/exe.txt") <(od -c "$work/native.txt") | head -20
            failed=1
        fi
    done
done
exit $failed
