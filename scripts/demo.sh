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

# The same application with a Java runtime beside it. The host build runs a
# real Java program on this machine's JDK: the folder is shaped like a
# Windows application with a private runtime, whose jre\bin\client\jvm.dll
# is a link to the JDK's libjvm.so.
jdk=""
for candidate in /usr/lib/jvm/java-17-openjdk-amd64 /usr/lib/jvm/*/; do
    candidate=${candidate%/}
    if [ -f "$candidate/lib/server/libjvm.so" ] && [ -x "$candidate/bin/javac" ]; then
        jdk=$candidate
        break
    fi
done
host_app="$demo/HostApp"
mkdir -p "$host_app/jre/bin/client" "$host_app/src/com/example"
cp "$dist/host/launcher" "$host_app/launcher"
: >"$host_app/jre/bin/java.dll"
sed 's/^classpath=.*/classpath=classes/' "$app/Vintral.cfg" >"$host_app/Vintral.cfg"
cat >"$host_app/src/com/example/Hello.java" <<'JAVA'
package com.example;

public class Hello {
    public static void main(String[] args) {
        System.out.println(System.getProperty("sample.greeting") + " from Java "
                + System.getProperty("java.version") + " (" + System.getProperty("java.vm.name") + ")");
        for (int i = 0; i < args.length; i++) System.out.println("  args[" + i + "] = " + args[i]);
        System.out.println("  max heap: " + Runtime.getRuntime().maxMemory() / (1024 * 1024) + " MB");
    }
}
JAVA
if [ -z "$jdk" ]; then
    banner "Host build (Linux): no JDK with lib/server/libjvm.so under /usr/lib/jvm (make deps installs one)"
else
    ln -s "$jdk/lib/server/libjvm.so" "$host_app/jre/bin/client/jvm.dll"
    "$jdk/bin/javac" -d "$host_app/classes" "$host_app/src/com/example/Hello.java"
    banner "Host build (Linux) on this machine's JDK, $jdk: a real Java program, com.example.Hello"
    echo "Vintral.cfg:"
    sed 's/^/    /' "$host_app/Vintral.cfg"
    status=0
    (cd "$host_app" && ./launcher "and the command line" 2>"$demo/host-err") || status=$?
    echo "--- standard error:"
    cat "$demo/host-err"
    echo "--- exit status: $status"
fi

# The Windows build cannot load a Linux JVM, so under Wine it gets the
# stand-in VM of the tests as its private runtime's jvm.dll.
stub_vm="$build/win64/tests/stubvm/jvm.dll"
if [ ! -f "$stub_vm" ]; then
    banner "Windows build under Wine with the stand-in VM: $stub_vm is missing (make win64)"
else
    mkdir -p "$app/jre/bin/client"
    : >"$app/jre/bin/java.dll"
    cp "$stub_vm" "$app/jre/bin/client/jvm.dll"
    banner "Windows build (x86_64) under Wine with the STAND-IN VM of the tests (tests/stubvm), not a real Java: its lines begin with 'stubvm:'"
    status=0
    (cd "$app" && env -u DISPLAY "$WINE" launcher.exe "and the command line" 2>"$demo/err" | tr -d '\r') || status=$?
    echo "--- standard error:"
    tr -d '\r' <"$demo/err"
    echo "--- exit status: $status"
fi
