#!/bin/bash
# The failure report is a real message box: caption, text, error icon and
# an OK button. The standard error line comes only after it is closed.
source "$(dirname "$0")/../lib/wine.sh"
source "$(dirname "$0")/../lib/xvfb.sh"
reset_registry
start_xvfb

app=$(new_app box)
caption="Java Virtual Machine Launcher"
(cd "$app" && exec "$WINE" launcher.exe >"$app/out.raw" 2>"$app/err.raw") &
launcher_pid=$!

window=$(find_window "$caption" || true)
checks=$((checks + 1))
[ -n "$window" ] || fail "no window captioned '$caption'"

if [ -n "$window" ]; then
    sleep 1 # let it paint
    import -window root "$work/box.png" 2>/dev/null || true
    # While the box is up, the process runs and has not written its line.
    checks=$((checks + 1))
    kill -0 "$launcher_pid" 2>/dev/null || fail "the launcher ended while its box was up"
    grep -q "Could not open configuration file" "$app/err.raw" && fail "stderr line written before the box was closed"
    # The text and the OK button are the box's own child windows.
    checks=$((checks + 1))
    geometry=$(xdotool getwindowgeometry "$window" 2>/dev/null || true)
    [ -n "$geometry" ] || fail "box has no geometry"
    xdotool key --window "$window" Return
fi

status=0
wait "$launcher_pid" || status=$?
expect_status "message box" 1
tr -d '\r' <"$app/err.raw" >"$app/err"
expect_text "stderr after the box" "$app/err" <<'ERR'
Error: could not open `.\Vintral.cfg'
Could not open configuration file. Program will exit!
ERR

# The screenshot shows the box; keep it for the documentation.
if [ -s "$work/box.png" ]; then
    convert "$work/box.png" -trim +repage "$work/box-trim.png" 2>/dev/null || cp "$work/box.png" "$work/box-trim.png"
    cp "$work/box-trim.png" "${LAUNCHER_BUILD}/messagebox.png"
    echo "screenshot: ${LAUNCHER_BUILD}/messagebox.png"
else
    fail "no screenshot taken"
fi
finish
