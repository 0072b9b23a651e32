#!/bin/bash
# The main job, shown: the launcher started in a sample application folder,
# with its whole account on standard output and standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist="${DIST:-$root/dist}"
build="${BUILD:-$root/build}"
export WINEPREFIX="$build/demo-wineprefix" WINEDEBUG=-all
WINE=/usr/lib/wine/wine64
demo=$(mktemp -d /tmp/launcher-demo-XXXXXX)
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; rm -rf "$demo"' EXIT

banner() { printf '\n=== %s ===\n' "$*"; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing a Wine prefix (once) in $WINEPREFIX ..."
    "$WINE" wineboot -i >/dev/null 2>&1
fi

# A sample application: the launcher, its configuration, no Java runtime.
app="$demo/SampleApp"
mkdir -p "$app"
cp "$dist/win64/launcher.exe" "$app/launcher.exe"
cat >"$app/Vintral.cfg" <<'CFG'
# Sample application
mainclass=com.example.Hello
classpath=lib\hello.jar
vmargs=sample.greeting=Hello
vmargsnative=-Xmx64m
requiredVM=1.4
appargs=from the configuration
CFG

banner "Windows build (x86_64) under Wine: launcher.exe in $app, no Java runtime installed"
echo "Vintral.cfg:"
sed 's/^/    /' "$app/Vintral.cfg"
status=0
(cd "$app" && env -u DISPLAY "$WINE" launcher.exe "and the command line" 2>"$demo/err" | tr -d '\r') || status=$?
echo "--- standard error:"
tr -d '\r' <"$demo/err"
echo "--- exit status: $status"
