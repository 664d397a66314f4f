#!/usr/bin/env bash
# Prints how much of one core the window program uses at rest: started
# maximised in a virtual desktop of its own, left untouched, measured over
# ten seconds once it has settled. Needs a build (tools/run.sh or
# tools/test.sh makes one). Usage: idle_cpu.sh [PROGRAM.exe]
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tools/env.sh"
exe="${1:-$BUILD/bin/砌字成图.exe}"
[ -f "$exe" ] || { echo "no $exe: build first" >&2; exit 1; }
folder="$(mktemp -d)"
trap 'qy_cleanup; rm -rf "$folder"' EXIT
qy_display
qy_wine_prefix
# A folder of its own names the program's process among Wine's; the desktop's
# explorer names it too, as its argument.
cp "$exe" "$folder/砌字成图.exe"
wine explorer "/desktop=qy_idle_$$,1280x1024" "$folder/砌字成图.exe" </dev/null >/dev/null 2>&1 &
slow="$(qy_slowdown)"
program() {
    for candidate in $(pgrep -f "$(basename "$folder")" || true); do
        tr '\0' ' ' <"/proc/$candidate/cmdline" 2>/dev/null | grep -qi explorer || echo "$candidate"
    done | tail -n 1
}
for _ in $(seq $((300 * slow))); do
    [ -n "$(program)" ] && break
    sleep 0.1
done

# Clock ticks a process has run, in user and kernel mode together.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
# Start-up, the first layout and the first paint are over well before this.
sleep $((5 * slow))
# Found again now: the process seen first can be a stage of the start.
pid="$(program)"
[ -n "$pid" ] || { echo "the program did not start" >&2; exit 1; }
seconds=10
before="$(ticks "$pid")"
sleep "$seconds"
after="$(ticks "$pid")"
kill -0 "$pid" 2>/dev/null || { echo "the program ended while measured" >&2; exit 1; }
hz="$(getconf CLK_TCK)"
percent() { awk -v t="$1" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / (hz * s) }'; }
echo "idle: $(percent $((after - before))) % of a core ($((after - before)) clock ticks in ${seconds} s)"
if [ "$slow" -gt 1 ]; then echo "(32-bit code runs emulated here, about ${slow} times slower than native)"; fi
