#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a virtual display.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$ROOT/tools/check_layers.sh"
qy_build
"$ROOT/tools/check_imports.sh" "$BUILD/bin/砌字成图.exe"
"$ROOT/tools/check_imports.sh" "$BUILD/bin/qizi.exe"
"$ROOT/tools/fuzz.sh" 5 smoke
# The native qizi and the core's tests build with the host compiler and run
# without Wine.
cmake -S "$ROOT/native" -B "$BUILD/native" -G Ninja >/dev/null
cmake --build "$BUILD/native" ${QY_JOBS:+-j "$QY_JOBS"}
ctest --test-dir "$BUILD/native" --output-on-failure
trap qy_cleanup EXIT
qy_display wm
qy_wine_prefix
qy_fork_watchdog
cd "$BUILD"
# One test program at a time: some tests drive real input on the shared display.
ctest --output-on-failure --timeout "${QY_TEST_TIMEOUT:-1800}" "$@"
