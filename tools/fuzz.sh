#!/usr/bin/env bash
# Builds the fuzz targets natively with libFuzzer and the address and
# undefined-behaviour checkers, writes their seed corpora from our own
# encoders and the program's template segment, and runs each target in turn.
# Inputs that stop a target land in build/fuzz/findings/. Exits non-zero on
# any finding; with "smoke" a time-out alone passes, since a slow machine can
# cause one. Usage: fuzz.sh [SECONDS] [smoke]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QY_BUILD_DIR:-$ROOT/build}"
OUT="$BUILD/fuzz"
SECONDS_EACH="${1:-60}"
SMOKE="${2:-}"
mkdir -p "$OUT/findings"

# The seeds need the template segment that the form compiler generates; the
# configuration also writes the parsers' sources by group (qy_parser_sources
# in the CMakeLists), as the arrays PICTURE, CURSOR, WAVE, TEMPLATE, OWN_DATA.
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$BUILD" generated/forms/template_segment.cpp >/dev/null
source "$BUILD/parser_sources.sh"

CXX=(clang++ -std=c++17 -g -Wall -Wextra -I"$ROOT" -I"$BUILD/generated")
SANITIZE=(-O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)

build() { # name sources... (relative to the tree); rebuilt when any source or the source lists are newer
    local name="$1"; shift
    if [ -x "$OUT/$name" ] && [ -z "$(find "$ROOT"/{media,runtime,window,tests/fuzz,tests/media} "$BUILD/generated/forms" \
            "$BUILD/parser_sources.sh" "${BASH_SOURCE[0]}" -newer "$OUT/$name" \( -name '*.[ch]*' -o -name '*.sh' \) |
            head -1)" ]; then
        return 0
    fi
    echo "fuzz: building $name"
    # Groups share sources (byte_io), and each may be named once only.
    local args=()
    mapfile -t args < <(printf '%s\n' "$@" | awk '!seen[$0]++')
    (cd "$ROOT" && "${CXX[@]}" "${args[@]}" -lpng -ljpeg -lz -o "$OUT/$name")
}
build picture_fuzz "${SANITIZE[@]}" "${PICTURE[@]}" tests/fuzz/picture_input.cpp tests/fuzz/picture_fuzz.cpp
build cursor_fuzz "${SANITIZE[@]}" "${CURSOR[@]}" tests/fuzz/cursor_fuzz.cpp
build wave_fuzz "${SANITIZE[@]}" "${WAVE[@]}" tests/fuzz/wave_fuzz.cpp
build template_fuzz "${SANITIZE[@]}" "${TEMPLATE[@]}" tests/fuzz/template_fuzz.cpp
build own_data_fuzz "${SANITIZE[@]}" "${OWN_DATA[@]}" tests/fuzz/own_data_fuzz.cpp
build make_seeds -O1 "${TEMPLATE[@]}" "${OWN_DATA[@]}" tests/fuzz/picture_seeds.cpp \
    tests/media/picture/test_pictures.cpp "$BUILD/generated/forms/template_segment.cpp" tests/fuzz/make_seeds.cpp
rm -rf "$OUT/seeds"
"$OUT/make_seeds" "$OUT/seeds"

failed=0
summary=""
for name in picture cursor wave template own_data; do
    mkdir -p "$OUT/corpus/$name"
    echo "fuzz: running ${name}_fuzz for ${SECONDS_EACH}s (log: $OUT/$name.log)"
    # Only pictures may honestly need more memory than the input's size.
    limit=64
    [ "$name" = picture ] && limit=512
    status=0
    # Inputs that once stopped a target run first, every time.
    regressions=()
    [ -d "$ROOT/tests/fuzz/regressions/$name" ] && regressions=("$ROOT/tests/fuzz/regressions/$name")
    "$OUT/${name}_fuzz" "$OUT/corpus/$name" "$OUT/seeds/$name" "${regressions[@]}" -max_total_time="$SECONDS_EACH" \
        -max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=$limit -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$OUT/findings/$name-" >"$OUT/$name.log" 2>&1 || status=$?
    execs="$(grep -o 'number_of_executed_units: *[0-9]*' "$OUT/$name.log" | grep -o '[0-9]*$' || echo '?')"
    rate="$(grep -o 'average_exec_per_sec: *[0-9]*' "$OUT/$name.log" | grep -o '[0-9]*$' || echo '?')"
    cov="$(grep -o 'cov: [0-9]*' "$OUT/$name.log" | tail -1 | grep -o '[0-9]*$' || echo '?')"
    line="$(printf '%-10s %10s execs %7s exec/s  cov %5s' "$name" "$execs" "$rate" "$cov")"
    if [ "$status" != 0 ]; then
        if [ "$SMOKE" = smoke ] && grep -q 'ERROR: libFuzzer: timeout' "$OUT/$name.log"; then
            line="$line  (tolerated in smoke)"
        else
            failed=1
        fi
        line="$line  FINDING: $(grep -m1 -o 'ERROR: .*\|runtime error: .*' "$OUT/$name.log" || echo "exit $status")"
        line="$line; $(grep -o "Test unit written to .*" "$OUT/$name.log" | tail -1)"
    fi
    summary="$summary$line"$'\n'
done
printf '%s' "$summary"
exit "$failed"
