#!/usr/bin/env bash
# Builds the byte-level picture decoders natively with the address and
# undefined-behaviour checkers and runs the robustness program on them.
# Not part of the Wine test run; needs the host's g++, libpng and libjpeg.
# Usage: native_robustness.sh [ROUNDS] [SEED]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
OUT="${QY_BUILD_DIR:-$ROOT/build}/native-robustness"
mkdir -p "$OUT"
P="$ROOT/media/picture"
g++ -std=c++17 -O1 -g -fsanitize=address,undefined -fno-sanitize-recover=all -Wall -Wextra -I"$ROOT" \
    "$P/bmp_decoder.cpp" "$P/gif_decoder.cpp" "$P/icon_directory.cpp" "$P/jpeg_decoder.cpp" \
    "$P/pcx_decoder.cpp" "$P/picture_format.cpp" "$P/png_decoder.cpp" \
    "$ROOT/tests/fuzz/picture_input.cpp" "$ROOT/tests/fuzz/picture_seeds.cpp" \
    "$ROOT/tests/media/picture/test_pictures.cpp" "$ROOT/tests/media/picture/native_robustness.cpp" \
    -lpng -ljpeg -lz -o "$OUT/native_robustness"
"$OUT/native_robustness" "$@"
