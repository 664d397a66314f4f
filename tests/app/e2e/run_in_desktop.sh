#!/usr/bin/env bash
# Runs an end-to-end driver inside a Wine virtual desktop of its own and hands
# on its output and result, which the desktop's exit status does not carry.
set -u
driver="$1"
shift
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
log="$out/log.txt"
# timeout signals the whole process group, so the programs the driver started
# end with it should it hang.
timeout -k 5 "${QY_E2E_SECONDS:-900}" wine explorer "/desktop=qy_e2e_$$,1280x1024" "$driver" \
    "--log=$(winepath -w "$log")" "$@" </dev/null >/dev/null 2>&1
status=$?
if [ ! -f "$log" ]; then
    echo "the driver wrote no log (desktop status $status)" >&2
    exit 1
fi
# The driver writes the program's own texts, which are GBK, in DOS lines.
iconv -f GBK -t UTF-8 -c "$log" | tr -d '\r' >"$out/log.utf8"
cat "$out/log.utf8"
if [ "$status" -ne 0 ]; then
    echo "the virtual desktop ended with status $status" >&2
    exit 1
fi
last="$(tail -n 1 "$out/log.utf8")"
[ "$last" = "exit code 0" ]
