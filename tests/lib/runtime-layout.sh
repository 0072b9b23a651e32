# The JDKs of this machine and the Windows-shaped application folder that
# the host launcher starts them from. Sourced by tests/lib/host.sh and by
# scripts/bench.sh.

# host_jdks: the home of every JDK under /usr/lib/jvm with a server VM and
# javac, one line each; folders that are links to the same JDK count once.
host_jdks() {
    local dir lib seen=" "
    for dir in /usr/lib/jvm/*/; do
        dir=${dir%/}
        lib="$dir/lib/server/libjvm.so"
        [ -f "$lib" ] && [ -x "$dir/bin/javac" ] || continue
        lib=$(readlink -f "$lib")
        case "$seen" in *" $lib "*) continue ;; esac
        seen="$seen$lib "
        echo "$dir"
    done
}

# lay_out_app DIR LAUNCHER VMLIB: DIR holds a copy of LAUNCHER and a
# private runtime: jre/bin/java.dll (an empty marker) and
# jre/bin/client/jvm.dll, a link to VMLIB.
lay_out_app() {
    local dir="$1"
    mkdir -p "$dir/jre/bin/client"
    cp "$2" "$dir/launcher"
    : >"$dir/jre/bin/java.dll"
    ln -s "$3" "$dir/jre/bin/client/jvm.dll"
}
