#!/bin/bash
# The Windows resources of both executables, read back out of the files:
# the version information (names, and the version of the project line of
# CMakeLists.txt), the manifest (asInvoker, the supportedOS entries), the
# icon, and the 32-bit build's acceptance by the Windows 95 family and NT 4.
source "$(dirname "$0")/../lib/wine.sh"
: "${LAUNCHER_SOURCE:?}" "${LAUNCHER_WIN32_BUILD:?}" "${LAUNCHER_WIN64_BUILD:?}"

version=$(sed -n 's/^project(launcher VERSION \([0-9][0-9.]*\).*/\1/p' "$LAUNCHER_SOURCE/CMakeLists.txt")
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }
IFS=. read -r major minor patch <<<"$version"

expect() { # NAME ACTUAL EXPECTED
    checks=$((checks + 1))
    [ "$2" = "$3" ] || fail "$1: '$2', expected '$3'"
}

# The value of KEY in the string table of a version resource. Each entry is
# its length, the value's length and the type 1 (three 16-bit words), the
# key, NUL padding, then the value.
version_string() { # FILE KEY
    iconv -f UTF-16LE -t UTF-8 <"$1" | tr '\0' '\n' | awk -v key="$2" '
        found && $0 != "" { print; exit }
        substr($0, length($0) - length(key)) == "\001" key { found = 1 }'
}

# The icons of the icon file that the build took, as icotool lists them.
build_icon() { # BUILD_DIR
    sed -n 's/^LAUNCHER_ICON:FILEPATH=//p' "$1/CMakeCache.txt"
}

check_executable() { # ARCH BUILD_DIR MANIFEST_ARCH
    local arch="$1" build="$2" manifest_arch="$3"
    local exe="$LAUNCHER_DIST/$arch/launcher.exe" res="$work/$arch"
    mkdir -p "$res"
    [ -f "$exe" ] || { fail "$arch: $exe missing"; return; }

    # Version information: the fixed part, then the strings.
    wrestool -x --raw --type=16 --name=1 "$exe" >"$res/version" 2>/dev/null || true
    checks=$((checks + 1))
    [ -s "$res/version" ] || { fail "$arch: no version resource"; return; }
    # VS_FIXEDFILEINFO follows the header and the key "VS_VERSION_INFO".
    local signature file_ms file_ls product_ms product_ls
    read -r signature _ file_ms file_ls product_ms product_ls \
        <<<"$(od -An -v -t x4 -j 40 -N 24 "$res/version" | tr -s ' \n' '  ')"
    expect "$arch: fixed version signature" "$signature" feef04bd
    local ms ls
    ms=$(printf '%08x' $((major << 16 | minor)))
    ls=$(printf '%08x' $((patch << 16)))
    expect "$arch: FILEVERSION" "$file_ms $file_ls" "$ms $ls"
    expect "$arch: PRODUCTVERSION" "$product_ms $product_ls" "$ms $ls"
    expect "$arch: FileVersion" "$(version_string "$res/version" FileVersion)" "$version"
    expect "$arch: ProductVersion" "$(version_string "$res/version" ProductVersion)" "$version"
    expect "$arch: ProductName" "$(version_string "$res/version" ProductName)" "Java Application Launcher"
    expect "$arch: FileDescription" "$(version_string "$res/version" FileDescription)" "Java Application Launcher"
    expect "$arch: OriginalFilename" "$(version_string "$res/version" OriginalFilename)" "launcher.exe"

    # The application manifest, resource 1 of type 24.
    wrestool -x --raw --type=24 --name=1 "$exe" >"$res/manifest" 2>/dev/null || true
    checks=$((checks + 1))
    [ -s "$res/manifest" ] || { fail "$arch: no manifest resource"; return; }
    expect_contains "$arch: manifest" "$res/manifest" '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>'
    expect_contains "$arch: manifest" "$res/manifest" "version=\"$version.0\""
    expect_contains "$arch: manifest" "$res/manifest" "processorArchitecture=\"$manifest_arch\""
    local id
    for id in e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
        4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
        8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
        expect_contains "$arch: supportedOS" "$res/manifest" "<supportedOS Id=\"{$id}\"/>"
    done

    # The icon: the group rebuilt as an icon file holds the images of the
    # icon the build was given, 256-colour ones for the oldest systems too.
    wrestool -x --type=14 "$exe" >"$res/icon.ico" 2>/dev/null || true
    checks=$((checks + 1))
    [ -s "$res/icon.ico" ] || { fail "$arch: no icon group"; return; }
    local icon
    icon=$(build_icon "$build")
    icotool -l "$res/icon.ico" >"$res/icons"
    expect "$arch: icon images" "$(cat "$res/icons")" "$(icotool -l "$icon")"
    expect_contains "$arch: a 256-colour 32x32 icon" "$res/icons" "--width=32 --height=32 --bit-depth=8"
}

check_executable win32 "$LAUNCHER_WIN32_BUILD" x86
check_executable win64 "$LAUNCHER_WIN64_BUILD" amd64

# The resources change nothing of the Windows 95 family's requirements.
headers=$(i686-w64-mingw32-objdump -p "$LAUNCHER_DIST/win32/launcher.exe")
for field in MajorOSystemVersion MajorSubsystemVersion; do
    expect "win32: $field" "$(awk -v f="$field" '$1 == f { print $2 }' <<<"$headers")" 4
done
for field in MinorOSystemVersion MinorSubsystemVersion; do
    expect "win32: $field" "$(awk -v f="$field" '$1 == f { print $2 }' <<<"$headers")" 0
done

# Both builds carry the same manifest but for the processor.
expect "one manifest for both builds" \
    "$(sed 's/processorArchitecture="x86"/processorArchitecture="amd64"/' "$work/win32/manifest")" \
    "$(cat "$work/win64/manifest")"

# Wine's loader parses the manifest as it starts the 64-bit build (Windows
# would refuse to start a program whose manifest it cannot parse).
app=$(new_app starts)
WINEDEBUG=trace+actctx run_launcher "$app"
expect_status "starts with its manifest" 1
expect_contains "starts with its manifest" "$app/out" "Executing launcher.exe."
expect_contains "manifest parsed" "$app/err" \
    "parse_assembly_identity_elem name=L\"launcher\" version=$version.0 arch=L\"amd64\""
checks=$((checks + 1))
! grep -q "failed to parse manifest" "$app/err" || fail "Wine could not parse the manifest"

finish
