#!/usr/bin/env bash
# Prints how faithfully qizi, jp2a and chafa render tones, on pictures made
# here (see quality.py). Installs the two tools from Debian's packages; needs
# a build (bash tools/test.sh or tools/run.sh makes one).
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tools/env.sh"
qy_bench_packages
[ -f "$BUILD/bin/qizi.exe" ] || { echo "no $BUILD/bin/qizi.exe: build first" >&2; exit 1; }
trap qy_cleanup EXIT
qy_display
qy_wine_prefix
# The packaged modules belong to the system interpreter.
/usr/bin/python3 "$ROOT/bench/quality.py" "$BUILD/bin/qizi.exe" wine
