# Shared helpers for the script tests that run the Windows build under Wine.
# Source it; each test then works in its own temporary folder ($work).
set -euo pipefail
: "${LAUNCHER_DIST:?}" "${WINEPREFIX:?}"
export WINEDEBUG=-all
WINE=/usr/lib/wine/wine64
LAUNCHER_EXE="$LAUNCHER_DIST/win64/launcher.exe"
[ -f "$LAUNCHER_EXE" ] || { echo "missing $LAUNCHER_EXE: run make first" >&2; exit 1; }
work=$(mktemp -d /tmp/launcher-wine-XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
checks=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# new_app DIR: a folder under $work with launcher.exe in it; prints its path.
new_app() {
    local dir="$work/$1"
    mkdir -p "$dir"
    cp "$LAUNCHER_EXE" "$dir/launcher.exe"
    echo "$dir"
}

# run_in DIR EXE [ARGS...]: runs EXE (a path relative to DIR or absolute)
# with DIR as the working directory. Standard output and standard error
# land in DIR/out and DIR/err with Windows line ends turned into LF; the
# exit status is in $status. No DISPLAY: a message box returns at once.
run_in() {
    local dir="$1" exe="$2"
    shift 2
    status=0
    (cd "$dir" && env -u DISPLAY "$WINE" "$exe" "$@" >"$dir/out.raw" 2>"$dir/err.raw") || status=$?
    tr -d '\r' <"$dir/out.raw" >"$dir/out"
    tr -d '\r' <"$dir/err.raw" >"$dir/err"
}

# run_launcher DIR [ARGS...]: runs DIR/launcher.exe.
run_launcher() {
    local dir="$1"
    shift
    run_in "$dir" launcher.exe "$@"
}

# expect_text NAME FILE: FILE (CR removed) must equal standard input.
expect_text() {
    local name="$1" file="$2" expected
    checks=$((checks + 1))
    expected=$(mktemp "$work/expected.XXXXXX")
    cat >"$expected"
    if ! tr -d '\r' <"$file" | cmp -s - "$expected"; then
        fail "$name: $file differs from what was expected"
        tr -d '\r' <"$file" | diff -u "$expected" - | head -40 >&2 || true
    fi
}

# expect_start NAME FILE: the first lines of FILE (CR removed) must equal
# standard input; later lines (a later step's account) may follow.
expect_start() {
    local name="$1" file="$2" expected
    checks=$((checks + 1))
    expected=$(mktemp "$work/expected.XXXXXX")
    cat >"$expected"
    if ! tr -d '\r' <"$file" | head -n "$(wc -l <"$expected")" | cmp -s - "$expected"; then
        fail "$name: $file does not start as expected"
        tr -d '\r' <"$file" | diff -u "$expected" - | head -40 >&2 || true
    fi
}

# expect_contains NAME FILE TEXT
expect_contains() {
    checks=$((checks + 1))
    grep -qF -- "$3" "$2" || { fail "$1: '$3' not in $2"; head -40 "$2" >&2; }
}

expect_status() {
    checks=$((checks + 1))
    [ "$status" = "$2" ] || fail "$1: exit status $status, expected $2"
}

reg() { "$WINE" reg "$@" >/dev/null 2>&1; }

# The Java keys and the Windows version go back to Wine's defaults.
reset_registry() {
    reg delete 'HKLM\Software\JavaSoft' /f || true
    reg delete 'HKCU\Software\Wine' /v Version /f || true
}

# finish: the test's verdict, in the plain closing form.
finish() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
