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
work=$(mktemp -d /tmp/launcher-host-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
checks=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

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

# expect_text NAME FILE: FILE must equal standard input.
expect_text() {
    local name="$1" file="$2" expected
    checks=$((checks + 1))
    expected=$(mktemp "$work/expected.XXXXXX")
    cat >"$expected"
    if ! cmp -s "$file" "$expected"; then
        fail "$name: $file differs from what was expected"
        diff -u "$expected" "$file" | head -40 >&2 || true
    fi
}

# expect_contains NAME FILE TEXT
expect_contains() {
    checks=$((checks + 1))
    grep -qF -- "$3" "$2" || { fail "$1: '$3' not in $2"; head -40 "$2" >&2; }
}

# expect_absent NAME FILE TEXT
expect_absent() {
    checks=$((checks + 1))
    if grep -qF -- "$3" "$2"; then
        fail "$1: '$3' in $2"
        grep -F -- "$3" "$2" | head -5 >&2
    fi
}

expect_status() {
    checks=$((checks + 1))
    [ "$status" = "$2" ] || fail "$1: exit status $status, expected $2"
}

# finish: the test's verdict, in the plain closing form.
finish() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
