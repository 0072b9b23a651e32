#!/bin/bash
# Sets up (or ends) the Wine prefix that the wine and ui tests share.
set -eu
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEDEBUG=-all
case "${1:-}" in
setup)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        rm -rf "$WINEPREFIX"
        /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
    fi
    # Keep the server up for the whole run: each test then starts in a blink.
    /usr/lib/wine/wineserver -p >/dev/null 2>&1 || true
    echo "Wine prefix ready at $WINEPREFIX"
    ;;
cleanup)
    /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
    echo "Wine server ended"
    ;;
*)
    echo "usage: $0 setup|cleanup" >&2
    exit 2
    ;;
esac
