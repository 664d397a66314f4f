#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The
# layers, bottom up; a folder may include its own layer and those below it.
# Every include counts whatever its spelling: quoted or angled, from the
# root or relative to the including file. The engines stand apart: they are
# loaded from memory as DLLs of their own, so an engine includes nothing of
# ours but its own headers.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT="$PWD"
layers=(core runtime media window units commands styling forms app)
# Generated headers take the layer of the target that makes and links them:
# the asset and skin makers' output and the embedded engines belong to the
# program alone.
declare -A generated=([assets]=app [skins]=app [embedded]=app)
# Folders of ours that no layer may include.
outside=(engines tests tools bench build deps)

declare -A RANK=()
for i in "${!layers[@]}"; do RANK[${layers[$i]}]=$i; done
for g in "${!generated[@]}"; do RANK[$g]=${RANK[${generated[$g]}]}; done
for o in "${outside[@]}"; do RANK[$o]=outside; done

# Drops "." and folds ".." in a relative path; sets $path.
normalise() {
    local part out=() IFS=/
    for part in $1; do
        case "$part" in
            ""|.) ;;
            ..) if [ "${#out[@]}" -gt 0 ] && [ "${out[-1]}" != .. ]; then unset 'out[-1]'; else out+=(..); fi ;;
            *) out+=("$part") ;;
        esac
    done
    path="${out[*]}"
}

# The included file as a path from the root, in $path: a quoted include is
# looked up beside the including file first, as the compiler does, then from
# the root.
resolve() { # file target quoted
    local beside="${1%/*}/$2"
    if [ "$3" = 1 ] && [ -e "$beside" ]; then normalise "$beside"; else normalise "$2"; fi
}

includes() { # folder: file:line:quoted:target
    grep -rnoE --include='*.c' --include='*.cpp' --include='*.h' --include='*.inc' --include='*.S' \
        '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^">]+[">]' "$1" |
        sed -E 's/^([^:]+):([0-9]+):.*([<"])([^">]+)[">]$/\1:\2:\3:\4/; s/:"(:[^:]*)$/:1\1/; s/:<(:[^:]*)$/:0\1/'
}

status=0
fail() { echo "$1"; status=1; }

for layer in "${layers[@]}"; do
    [ -d "$layer" ] || continue
    own=${RANK[$layer]}
    while IFS=: read -r file line quoted target; do
        resolve "$file" "$target" "$quoted"
        case "$path" in
            ../*) fail "$file:$line: $layer/ includes $target from outside the tree"; continue ;;
            */*) top=${path%%/*} other=${RANK[$top]:-} ;;
            *) other="" ;;
        esac
        if [ -z "$other" ]; then
            # A name that is no file of ours is a system or library header.
            continue
        elif [ "$other" = outside ]; then
            fail "$file:$line: $layer/ includes $target from $top/, which no layer may include"
        elif [ "$other" -gt "$own" ]; then
            fail "$file:$line: $layer/ includes $target from the higher layer $top/"
        fi
    done < <(includes "$layer")
done

for engine in engines/*/; do
    engine=${engine%/}
    while IFS=: read -r file line quoted target; do
        resolve "$file" "$target" "$quoted"
        case "$path" in
            "$engine"/*) ;;
            */*) [ -n "${RANK[${path%%/*}]:-}" ] && fail "$file:$line: ${engine}/ includes $target; an engine includes only its own headers" ;;
        esac
    done < <(includes "$engine")
done

[ "$status" = 0 ] && echo "layers: every include points down or sideways"
exit "$status"
