#!/bin/bash
# The instance guard on the Windows build. On the 95 family a second start
# of launcher.exe is refused while the first runs, before it reads any
# configuration; once the first has ended, a start goes on. On the NT
# family Wine has no process counters, so the count is not taken and the
# launch goes on.
source "$(dirname "$0")/../lib/wine.sh"
source "$(dirname "$0")/../lib/xvfb.sh"
reset_registry
start_xvfb

caption="Java Virtual Machine Launcher"
first_pid=""
# Whatever happens, the first instance and the display do not outlive the test.
end_first() {
    if [ -n "$first_pid" ] && kill -0 "$first_pid" 2>/dev/null; then
        local window
        window=$(xdotool search --name "^$caption\$" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && xdotool key --window "$window" Return 2>/dev/null
        sleep 1
        kill "$first_pid" 2>/dev/null || true
        wait "$first_pid" 2>/dev/null || true
    fi
    first_pid=""
}
trap 'end_first; reset_registry; kill $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT

family_95() { reg add 'HKCU\Software\Wine' /v Version /d win98 /f; }
family_nt() { reg delete 'HKCU\Software\Wine' /v Version /f || true; }

# A configuration that the guard must keep a second start from reading.
write_config() {
    printf 'logfilename=guard.log\nmainclass=App\n' >"$1/Vintral.cfg"
}

family_95
app=$(new_app guard)

# The first instance finds no configuration and stays in its message box
# (code 11) until the box is closed.
(cd "$app" && exec "$WINE" launcher.exe >"$app/out1.raw" 2>"$app/err1.raw") &
first_pid=$!
window=$(find_window "$caption" || true)
checks=$((checks + 1))
[ -n "$window" ] || fail "the first instance shows no message box"
write_config "$app"

# The second start from the same folder is refused.
run_launcher "$app" -f Vintral.cfg arg
expect_status "second start" 1
expect_text "second start stdout" "$app/out" <<'OUT'
Executing launcher.exe.
OUT
expect_text "second start stderr" "$app/err" <<'ERR'
Another instance process is already running!
ERR
checks=$((checks + 1))
[ -e "$app/guard.log" ] && fail "second start: the configuration was read (guard.log exists)"

# On the NT family the count cannot be taken under Wine: a start goes on
# while the first instance still runs.
family_nt
nt=$(new_app nt)
write_config "$nt"
run_launcher "$nt"
expect_status "NT family" 1
expect_text "NT family stdout" "$nt/out" <<'OUT'
Executing launcher.exe.
Creating options array.
Adding option <-Djava.class.path=.;>
Adding option <-noverbose>
Reading configuration file Vintral.cfg...
param 'logfilename'='guard.log'
OUT
expect_contains "NT family log" "$nt/guard.log" "2 lines read."
expect_contains "NT family log" "$nt/guard.log" "Could not find required Java 2 Runtime Environment. Program will exit!"
family_95

# The first instance ends with its own report once its box is closed.
checks=$((checks + 1))
kill -0 "$first_pid" 2>/dev/null || fail "the first instance ended before its box was closed"
[ -n "$window" ] && xdotool key --window "$window" Return 2>/dev/null
status=0
wait "$first_pid" || status=$?
first_pid=""
expect_status "first instance" 1
tr -d '\r' <"$app/err1.raw" >"$app/err1"
expect_text "first instance stderr" "$app/err1" <<'ERR'
Error: could not open `.\Vintral.cfg'
Could not open configuration file. Program will exit!
ERR

# With the first gone, a new start goes on and reads its configuration.
run_launcher "$app"
expect_status "start after the first ended" 1
expect_contains "start after the first ended" "$app/out" "Reading configuration file Vintral.cfg..."
expect_contains "start after the first ended: log" "$app/guard.log" "2 lines read."

reset_registry
finish
