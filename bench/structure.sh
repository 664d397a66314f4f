#!/usr/bin/env bash
# Prints how well qizi's shape source keeps a picture's structure beside jp2a
# and chafa, on pictures made here (see structure.py). Installs the tools from
# Debian's packages; needs the native build (bash tools/test.sh makes one).
# With an argument, saves one rendering there as PNG.
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tools/env.sh"
missing=()
for package in jp2a chafa python3-pil python3-numpy fonts-dejavu-core fonts-wqy-zenhei; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
[ -x "$BUILD/native/bin/qizi" ] || { echo "no $BUILD/native/bin/qizi: build first" >&2; exit 1; }
# The packaged modules belong to the system interpreter.
/usr/bin/python3 "$ROOT/bench/structure.py" "$BUILD/native/bin/qizi" "$@"
