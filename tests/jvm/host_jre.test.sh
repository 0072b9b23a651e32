#!/bin/bash
# The runtime search of the host build: a Windows-shaped private runtime
# beside the launcher is found and its jvm.dll (a link to a real libjvm.so)
# chosen; without one the registry, which the host does not have, fails
# the launch with code 6. Only the search's lines are checked, not what
# the virtual machine does afterwards. Needs no Wine.
source "$(dirname "$0")/../lib/host.sh"
libjvm=/usr/lib/jvm/java-17-openjdk-amd64/lib/server/libjvm.so
[ -f "$libjvm" ] || { echo "missing $libjvm: install openjdk-17-jdk-headless (make deps)" >&2; exit 1; }

# win PATH: the backslash form in which the launcher sees a path.
win() {
    printf '%s' "$1" | tr / '\\'
}

# run_from DIR LAUNCHER: runs LAUNCHER with DIR (holding Vintral.cfg) as
# the working directory; output in DIR/out and DIR/err.
run_from() {
    local dir="$1" launcher="$2"
    status=0
    (cd "$dir" && timeout 60 "$launcher" >"$dir/out" 2>"$dir/err") || status=$?
}

# expect_search NAME DIR: the account from the application home to the
# chosen library must equal standard input.
expect_search() {
    sed -n '/^Application Home is /,/^JVM found at /p' "$2/out" >"$2/search"
    expect_text "$1: runtime search" "$2/search"
}

# The launcher in app\bin, the runtime in app\jre, the client VM linked in.
app="$work/app"
mkdir -p "$app/bin" "$app/jre/bin/client" "$work/cwd"
cp "$HOST_LAUNCHER" "$app/bin/launcher"
: >"$app/jre/bin/java.dll"
ln -s "$libjvm" "$app/jre/bin/client/jvm.dll"
echo mainclass=Hello >"$work/cwd/Vintral.cfg"
run_from "$work/cwd" "$app/bin/launcher"
h=$(win "$app")
expect_search "private runtime in jre" "$work/cwd" <<OUT
Application Home is $h
JRE found at $h\\jre
no JVM found at $h\\jre\\bin\\hotspot\\jvm.dll
no JVM found at $h\\jre\\bin\\classic\\jvm.dll
JVM found at $h\\jre\\bin\\client\\jvm.dll
OUT
expect_absent "private runtime in jre" "$work/cwd/err" "Could not find required Java 2 Runtime Environment"
expect_absent "private runtime in jre" "$work/cwd/err" "Error opening registry key"

# The marker in app\bin as well: the application home itself is the runtime.
: >"$app/bin/java.dll"
mkdir -p "$app/bin/hotspot"
ln -s "$libjvm" "$app/bin/hotspot/jvm.dll"
run_from "$work/cwd" "$app/bin/launcher"
expect_search "private runtime in bin" "$work/cwd" <<OUT
Application Home is $h
JRE found at $h
JVM found at $h\\bin\\hotspot\\jvm.dll
OUT

# No private runtime: the registry is all that is left, and it fails.
bare="$work/bare"
mkdir -p "$bare"
cp "$HOST_LAUNCHER" "$bare/launcher"
run_from "$work/cwd" "$bare/launcher"
expect_status "no runtime" 1
checks=$((checks + 1))
[ "$(tail -n 1 "$work/cwd/out")" = "Application Home is $(win "$bare")" ] ||
    fail "no runtime: standard output does not end with the application home"
expect_text "no runtime: stderr" "$work/cwd/err" <<'ERR'
Error opening registry key 'Software\JavaSoft\Java Runtime Environment'
Error opening registry key 'Software\JavaSoft\JRE'
Error opening registry key 'Software\JavaSoft\JDK'
Error: could not find java.dll
Could not find required Java 2 Runtime Environment. Program will exit!
ERR

finish
