#!/bin/bash
# Both Windows builds load on NT 4, whose KERNEL32 has no tool help: the
# snapshot functions are looked up by name at run time, never imported,
# and the executables import from the system's base libraries only.
source "$(dirname "$0")/../lib/wine.sh"

allowed="KERNEL32.DLL ADVAPI32.DLL USER32.DLL MSVCRT.DLL"

check_imports() {
    local build="$1" objdump="$2" exe="$LAUNCHER_DIST/$1/launcher.exe"
    checks=$((checks + 1))
    if [ ! -f "$exe" ]; then
        fail "$build: $exe missing"
        return
    fi
    if ! command -v "$objdump" >/dev/null; then
        fail "$build: $objdump not installed"
        return
    fi
    local table="$work/$build.imports"
    # The import tables only: from their heading to the next table.
    "$objdump" -p "$exe" | sed -n '/^The Import Tables/,/^The [A-Z][a-z]* Table\|^PE File/p' >"$table"

    checks=$((checks + 1))
    grep -q 'DLL Name' "$table" || fail "$build: no import table found"

    local dll
    while read -r dll; do
        checks=$((checks + 1))
        case " $allowed " in
        *" $(echo "$dll" | tr '[:lower:]' '[:upper:]') "*) ;;
        *) fail "$build: imports from $dll" ;;
        esac
    done < <(sed -n 's/^[[:space:]]*DLL Name: //p' "$table")

    checks=$((checks + 1))
    if grep -Eq '\b(CreateToolhelp32Snapshot|Process32First|Process32Next)W?\b' "$table"; then
        fail "$build: tool help imported statically"
        grep -E 'Toolhelp|Process32' "$table" >&2
    fi

    # They are looked up by name instead, so their names are in the file.
    local name
    for name in CreateToolhelp32Snapshot Process32First Process32Next KERNEL32.DLL; do
        checks=$((checks + 1))
        grep -qaF "$name" "$exe" || fail "$build: the name $name is not in the executable"
    done
}

check_imports win32 i686-w64-mingw32-objdump
check_imports win64 x86_64-w64-mingw32-objdump
finish
