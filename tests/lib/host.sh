# Shared helpers for the script tests that run the host build of the
# launcher (Linux) against the JDKs of this machine. Source it; each test
# then works in its own temporary folder ($work).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/runtime-layout.sh"
: "${LAUNCHER_DIST:?}"
HOST_LAUNCHER="${LAUNCHER_HOST_EXE:-$LAUNCHER_DIST/host/launcher}"
[ -x "$HOST_LAUNCHER" ] || { echo "missing $HOST_LAUNCHER: run make first" >&2; exit 1; }
# The virtual machine decodes the arguments with the locale's character set.
export LC_ALL=C.UTF-8
work_prefix=launcher-host
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

# jdk_feature JDK: the feature release of a JDK (17, 25, ...).
jdk_feature() {
    sed -n 's/^JAVA_VERSION="\([0-9]*\).*/\1/p' "$1/release"
}

# new_host_app DIR JDK: a folder $work/DIR shaped like a Windows
# application with a private runtime: the launcher, jre/bin/java.dll
# (an empty marker) and jre/bin/client/jvm.dll, a link to the JDK's
# libjvm.so. Prints its path.
new_host_app() {
    local dir="$work/$1"
    lay_out_app "$dir" "$HOST_LAUNCHER" "$2/lib/server/libjvm.so"
    echo "$dir"
}

# run_host DIR [ARGS...]: runs DIR/launcher with DIR as the working
# directory; standard output and standard error land in DIR/out and
# DIR/err, the exit status in $status.
run_host() {
    local dir="$1"
    shift
    status=0
    (cd "$dir" && ./launcher "$@" >"$dir/out" 2>"$dir/err") || status=$?
}
