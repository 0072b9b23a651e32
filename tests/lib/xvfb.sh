# Starts a private Xvfb display for a ui test and ends it when the test ends.
# Source after wine.sh.
start_xvfb() {
    local n
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        export DISPLAY=":$n"
        trap 'kill $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
        return 0
    done
    echo "no free X display" >&2
    return 1
}
