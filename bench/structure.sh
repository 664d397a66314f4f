#!/usr/bin/env bash
# Prints how well qizi's shape source keeps a picture's structure beside jp2a
# and chafa, on pictures made here (see structure.py). Installs the tools from
# Debian's packages; needs the native build (bash tools/test.sh makes one).
# With an argument, saves one rendering there as PNG.
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tools/env.sh"
qy_bench_packages
[ -x "$BUILD/native/bin/qizi" ] || { echo "no $BUILD/native/bin/qizi: build first" >&2; exit 1; }
# The packaged modules belong to the system interpreter.
/usr/bin/python3 "$ROOT/bench/structure.py" "$BUILD/native/bin/qizi" "$@"
