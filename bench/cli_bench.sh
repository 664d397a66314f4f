#!/usr/bin/env bash
# Prints the native qizi's whole-process time against jp2a's at 80 x 40 on a
# photograph-like picture made here (median ratio of 20 alternating runs), and
# its time and peak memory for a 1000 x 1000 grid, and, where build/bin/qizi.exe
# is built, qizi.exe under Wine against Wine starting an empty console program.
# Builds build/native first.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${QY_BUILD_DIR:-$ROOT/build}"
missing=()
for package in jp2a imagemagick time; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
cmake -S "$ROOT/native" -B "$BUILD/native" -G Ninja >/dev/null
cmake --build "$BUILD/native" --target qizi >/dev/null
QIZI="$BUILD/native/bin/qizi"
WORK="$BUILD/cli-bench"
mkdir -p "$WORK"
# Fractal plasma, softened: tones and edges much like a photograph's.
[ -f "$WORK/photo.jpg" ] || convert -size 512x512 -seed 7 plasma:fractal -blur 0x1.5 -quality 90 "$WORK/photo.jpg"
[ -f "$WORK/large.jpg" ] || convert -size 2000x2000 -seed 11 plasma:fractal -blur 0x2 -quality 90 "$WORK/large.jpg"

/usr/bin/python3 - "$QIZI" "$WORK" <<'PY'
import statistics, subprocess, sys, time
qizi, work = sys.argv[1], sys.argv[2]
photo = work + "/photo.jpg"
def seconds(command):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start
runs = {
    "qizi default ramp": [qizi, "-p", photo, "-S", "ramp", "-W", "80", "-H", "40"],
    "qizi jp2a's ramp": [qizi, "-p", photo, "-S", "ramp", "-W", "80", "-H", "40", "--ramp", "   ...',;:clodxkO0KXNWM"],
}
jp2a = ["jp2a", "--width=80", "--height=40", photo]
print("| run, 80 x 40 on a 512 x 512 JPEG | median ms | jp2a median ms | median ratio (20 alternating runs) |")
print("|---|---|---|---|")
for name, command in runs.items():
    ours, theirs, ratios = [], [], []
    for _ in range(20):
        a = seconds(command)
        b = seconds(jp2a)
        ours.append(a), theirs.append(b), ratios.append(a / b)
    print(f"| {name} | {statistics.median(ours) * 1000:.1f} | {statistics.median(theirs) * 1000:.1f} | "
          f"{statistics.median(ratios):.2f} |")
PY

echo
# Wall time counts a busy machine's waits too; user plus system time does not.
echo "| run, 1000 x 1000 cells | seconds | user + system seconds | peak memory MB |"
echo "|---|---|---|---|"
for run in "photo.jpg ramp" "photo.jpg ramp2" "photo.jpg double" "large.jpg ramp"; do
    set -- $run
    /usr/bin/time -v "$QIZI" -p "$WORK/$1" -S "$2" -W 1000 -H 1000 -o /dev/null 2>"$WORK/time.txt"
    elapsed=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$WORK/time.txt")
    peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$WORK/time.txt")
    cpu=$(awk -F': ' '/User time|System time/ {sum += $2} END {printf "%.2f", sum}' "$WORK/time.txt")
    echo "| $1 ($( [ "$1" = photo.jpg ] && echo 512 x 512 || echo 2000 x 2000 )), --source $2 | ${elapsed#0:} | $cpu | $((peak / 1024)) |"
done

# Wine's own start-up is the floor for qizi.exe: an empty console program of
# ours, built here with the same cross compiler, measures it.
EXE="$BUILD/bin/qizi.exe"
if [ -f "$EXE" ] && command -v i686-w64-mingw32-gcc >/dev/null; then
    source "$ROOT/tools/env.sh"
    trap qy_cleanup EXIT
    qy_display >/dev/null
    qy_wine_prefix >/dev/null
    printf 'int main(void) { return 0; }\n' >"$WORK/empty.c"
    i686-w64-mingw32-gcc -O2 -o "$WORK/empty.exe" "$WORK/empty.c"
    echo
    /usr/bin/python3 - "$EXE" "$WORK" <<'PY'
import statistics, subprocess, sys, time
exe, work = sys.argv[1], sys.argv[2]
def seconds(command):
    start = time.perf_counter()
    subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start
empty = ["wine", work + "/empty.exe"]
runs = {
    "start-up only (--version)": ["wine", exe, "--version"],
    "ramp, 80 x 40 on a 512 x 512 JPEG": ["wine", exe, "-p", work + "/photo.jpg", "-S", "ramp", "-W", "80", "-H", "40"],
    "shape text 砌字成图, size 12": ["wine", exe, "--size", "12", "砌字成图"],
}
print("| qizi.exe under Wine, 7 alternating runs | median s | empty program median s | difference s |")
print("|---|---|---|---|")
for name, command in runs.items():
    ours, theirs = [], []
    for _ in range(7):
        ours.append(seconds(command)), theirs.append(seconds(empty))
    a, b = statistics.median(ours), statistics.median(theirs)
    print(f"| {name} | {a:.2f} | {b:.2f} | {a - b:+.2f} |")
PY
fi
