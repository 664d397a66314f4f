#!/usr/bin/env bash
# Prints how faithfully qizi, jp2a and chafa render tones, on pictures made
# here (see quality.py). Installs the two tools from Debian's packages; needs
# a build (bash tools/test.sh or tools/run.sh makes one).
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
[ -f "$BUILD/bin/qizi.exe" ] || { echo "no $BUILD/bin/qizi.exe: build first" >&2; exit 1; }
trap qy_cleanup EXIT
qy_display
qy_wine_prefix
# The packaged modules belong to the system interpreter.
/usr/bin/python3 "$ROOT/bench/quality.py" "$BUILD/bin/qizi.exe" wine
