# Starts a private Xvfb display for a ui test and ends it when the test ends.
# Source after wine.sh.
#
# Wine's desktop process keeps the display it was started with, so the
# prefix's server is ended before and after: the windows of this test then
# go to this display, and later tests start again without one.
stop_wineserver() { /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; }

start_xvfb() {
    local n
    stop_wineserver
    for n in $(seq 90 130); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.1
        done
        export DISPLAY=":$n"
        trap 'stop_wineserver; kill $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
        return 0
    done
    echo "no free X display" >&2
    return 1
}

# find_window CAPTION: the id of the window with exactly that caption, once
# it exists (printed), or nothing after 30 seconds.
find_window() {
    local window
    for _ in $(seq 150); do
        window=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.2
    done
    return 1
}
