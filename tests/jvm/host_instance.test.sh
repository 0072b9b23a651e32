#!/bin/bash
# The host build answers as a platform of neither Windows family: the
# instance guard says so on standard output, counts 1, and the launch goes
# on (here to the missing configuration, code 11). Needs neither Wine nor
# a Java runtime.
set -euo pipefail
: "${LAUNCHER_DIST:?}"
launcher="${LAUNCHER_HOST_EXE:-$LAUNCHER_DIST/host/launcher}"
[ -x "$launcher" ] || { echo "missing $launcher: run make first" >&2; exit 1; }
work=$(mktemp -d /tmp/launcher-host-XXXXXX)
trap 'rm -rf "$work"' EXIT
checks=0
failures=0

check() {
    checks=$((checks + 1))
    if ! eval "$2"; then
        echo "FAIL: $1" >&2
        failures=$((failures + 1))
    fi
}

# A folder without configuration.
status=0
(cd "$work" && "$launcher" >out 2>err) || status=$?

check "exit status 1 for code 11" '[ "$status" = 1 ]'
check "the guard's line follows the first line" \
    '[ "$(sed -n 2p "$work/out")" = "countRunning requires Windows NT or Windows 95" ]'
check "the line is written once" '[ "$(grep -c "countRunning requires" "$work/out")" = 1 ]'
check "the launch goes on to the configuration" 'grep -qx "0 lines read." "$work/out"'
check "the report is code 11" \
    '[ "$(tail -n 1 "$work/err")" = "Could not open configuration file. Program will exit!" ]'
check "no instance message" '! grep -q "Another instance" "$work/err"'

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
