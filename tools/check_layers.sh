#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The
# layers, bottom up; a folder may include its own layer and those below it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
layers=(runtime media window units commands styling forms app)
rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done; echo -1; }
status=0
for layer in "${layers[@]}"; do
    [ -d "$layer" ] || continue
    own=$(rank "$layer")
    while IFS=: read -r file line target; do
        top=${target%%/*}
        other=$(rank "$top")
        if [ "$other" -gt "$own" ]; then
            echo "$file:$line: $layer/ includes $target from the higher layer $top/"
            status=1
        fi
    done < <(grep -rnoE --include='*.c' --include='*.cpp' --include='*.h' --include='*.S' \
                 '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^"]+"' "$layer" |
             sed -E 's/^([^:]+):([0-9]+):.*"([^"]+)"/\1:\2:\3/')
done
[ "$status" = 0 ] && echo "layers: every include points down or sideways"
exit "$status"
