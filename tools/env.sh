# Sourced by run.sh and test.sh: builds the project, makes sure a display and
# an initialised Wine prefix exist, and cleans up what it started on exit.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# QY_BUILD_DIR lets several work trees of one machine keep separate builds,
# each with its own Wine prefix.
BUILD="${QY_BUILD_DIR:-$ROOT/build}"
export WINEPREFIX="$BUILD/wineprefix"
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8
# Sound tests get ALSA's null device through a HOME of their own.
export QY_SOUND_HOME="$BUILD/sound-home"

# Where 32-bit programs run emulated (tools/setup.sh) they are about ten
# times slower; fixed waits of the scripts scale by this.
qy_slowdown() {
    if grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then echo 10; else echo 1; fi
}

# A compiler cache, once set-up has installed it, makes a fresh clone's build
# reuse what an earlier clone on this machine compiled.
qy_compiler_cache() {
    if command -v ccache >/dev/null 2>&1; then
        export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$ROOT"
    fi
}

# Builds the targets named, or every target without a name.
qy_build() {
    "$ROOT/tools/setup.sh"
    qy_compiler_cache
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" ${QY_JOBS:+-j "$QY_JOBS"} ${1:+--target "$@"}
}

QY_STARTED_XVFB="" QY_STARTED_WM=""
# With "wm", a display started here also gets a minimal window manager:
# without one Wine waits on every window it shows or hides.
qy_display() {
    if [ -z "${DISPLAY:-}" ]; then
        local n=91 fonts=()
        # A display killed without clean-up leaves its socket behind.
        while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
        # evilwm needs a core font, which Xvfb finds only on an explicit font path.
        if [ "${1:-}" = wm ]; then fonts=(-fp /usr/share/fonts/X11/misc); fi
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp "${fonts[@]}" >/dev/null 2>&1 &
        QY_STARTED_XVFB=$!
        export DISPLAY=":$n"
        for _ in $(seq 100); do xprop -root >/dev/null 2>&1 && break; sleep 0.1; done
        if [ "${1:-}" = wm ]; then
            evilwm -fn fixed >/dev/null 2>&1 </dev/null &
            QY_STARTED_WM=$!
            # The window manager announces itself on the root window once it manages the screen.
            local tries=0
            until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
                tries=$((tries + 1))
                if [ "$tries" -gt 300 ] || ! kill -0 "$QY_STARTED_WM" 2>/dev/null; then
                    echo "evilwm did not start on $DISPLAY" >&2
                    return 1
                fi
                sleep 0.1
            done
        fi
    fi
}

qy_wine_prefix() {
    mkdir -p "$QY_SOUND_HOME"
    echo 'pcm.!default { type null }' >"$QY_SOUND_HOME/.asoundrc"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
    fi
    # One wineserver for the whole run keeps process starts fast. Wine's own
    # background services start with the first program; start them here, away
    # from ctest's output pipes, which they would otherwise hold open.
    wineserver -p >/dev/null 2>&1 </dev/null &
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

QY_WATCHDOG=""
qy_cleanup() {
    if [ -n "$QY_WATCHDOG" ]; then kill "$QY_WATCHDOG" 2>/dev/null || true; fi
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$QY_STARTED_WM" ]; then kill "$QY_STARTED_WM" 2>/dev/null || true; fi
    if [ -n "$QY_STARTED_XVFB" ]; then kill "$QY_STARTED_XVFB" 2>/dev/null || true; fi
}

# Under qemu-i386 a forked child of a multithreaded Wine process can deadlock
# before it execs, and the parent's CreateProcess then waits forever. Such a
# child is an idle twin of a running process (same command line, two threads,
# orphaned); ending it makes that CreateProcess fail, which callers retry.
qy_fork_watchdog() {
    [ "$(qy_slowdown)" = 10 ] || return 0
    (
        declare -A idle
        while sleep 10; do
            declare -A next=() running=()
            for cmdline in /proc/[0-9]*/cmdline; do
                command="$({ tr '\0' ' ' <"$cmdline"; } 2>/dev/null)" || continue
                case "$command" in *qemu-i386*) running[$command]=$((${running[$command]:-0} + 1)) ;; esac
            done
            for status in /proc/[0-9]*/status; do
                dir="${status%/status}"
                pid="${dir#/proc/}"
                grep -qx 'PPid:[[:space:]]*1' "$status" 2>/dev/null || continue
                grep -qx 'Threads:[[:space:]]*[12]' "$status" 2>/dev/null || continue
                command="$({ tr '\0' ' ' <"$dir/cmdline"; } 2>/dev/null)" || continue
                case "$command" in *qemu-i386*) ;; *) continue ;; esac
                # A twin: another process of the same command line.
                [ "${running[$command]:-0}" -gt 1 ] || continue
                ticks="$(awk '{ print $14 + $15 }' "$dir/stat" 2>/dev/null)"
                before="${idle[$pid]:-}"
                # Ended only once it has stayed idle across three looks.
                if [ "$before" = "$ticks:2" ]; then
                    echo "qy: ending a forked Wine process that never started (pid $pid)" >&2
                    kill -9 "$pid" 2>/dev/null || true
                    running[$command]=$((running[$command] - 1))
                elif [ "${before%%:*}" = "$ticks" ]; then
                    next[$pid]="$ticks:2"
                else
                    next[$pid]="$ticks:1"
                fi
            done
            idle=()
            for pid in "${!next[@]}"; do idle[$pid]="${next[$pid]}"; done
            unset next running
        done
    ) &
    QY_WATCHDOG=$!
}

# The benches' tools from Debian's packages, installed when missing.
qy_bench_packages() {
    local missing=() package
    for package in jp2a chafa python3-pil python3-numpy fonts-dejavu-core fonts-wqy-zenhei; do
        dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
}
