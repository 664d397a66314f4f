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

qy_build() {
    "$ROOT/tools/setup.sh"
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$BUILD" ${QY_JOBS:+-j "$QY_JOBS"}
}

QY_STARTED_XVFB=""
qy_display() {
    if [ -z "${DISPLAY:-}" ]; then
        local n=91
        while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        QY_STARTED_XVFB=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
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

qy_cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$QY_STARTED_XVFB" ]; then kill "$QY_STARTED_XVFB" 2>/dev/null || true; fi
}
