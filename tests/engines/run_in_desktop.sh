#!/usr/bin/env bash
# Runs a GoogleTest program inside a Wine virtual desktop of its own, where
# Wine draws window frames itself and reads them back from a window's DC.
# The desktop's exit status does not carry the program's, so its summary does.
set -u
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
timeout -k 5 "${QY_DESKTOP_SECONDS:-900}" wine explorer "/desktop=qy_tests_$$,1280x1024" "$@" </dev/null >"$out" 2>&1
cat "$out"
grep -q '^\[  PASSED  \]' "$out" && ! grep -q '^\[  FAILED  \]' "$out"
