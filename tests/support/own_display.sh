# Sourced by the runners of the desktop drivers. Each driver's virtual
# desktop gets an X display of its own, so no window, focus, pointer or
# selection owner left by an earlier test program can reach it.
qy_own_display() {
    local number
    number="$(mktemp)"
    # Xvfb picks a free display itself and writes its number once it serves it.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
    QY_OWN_XVFB=$!
    for _ in $(seq 300); do
        [ -s "$number" ] && break
        if ! kill -0 "$QY_OWN_XVFB" 2>/dev/null; then break; fi
        sleep 0.1
    done
    if [ ! -s "$number" ]; then
        echo "Xvfb did not start" >&2
        rm -f "$number"
        return 1
    fi
    export DISPLAY=":$(cat "$number")"
    rm -f "$number"
}

qy_end_own_display() {
    if [ -n "${QY_OWN_XVFB:-}" ]; then kill "$QY_OWN_XVFB" 2>/dev/null || true; fi
}
