# Shared helpers for the script tests that run the Windows build under Wine.
# Source it; each test then works in its own temporary folder ($work).
set -euo pipefail
: "${LAUNCHER_DIST:?}" "${WINEPREFIX:?}"
export WINEDEBUG=-all
WINE=/usr/lib/wine/wine64
LAUNCHER_EXE="$LAUNCHER_DIST/win64/launcher.exe"
[ -f "$LAUNCHER_EXE" ] || { echo "missing $LAUNCHER_EXE: run make first" >&2; exit 1; }
work_prefix=launcher-wine
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
# What a Windows program writes in text mode ends its lines in CR LF.
as_compared() { tr -d '\r' <"$1"; }

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

reg() { "$WINE" reg "$@" >/dev/null 2>&1; }

# The Java keys and the Windows version go back to Wine's defaults.
reset_registry() {
    reg delete 'HKLM\Software\JavaSoft' /f || true
    reg delete 'HKCU\Software\Wine' /v Version /f || true
}
