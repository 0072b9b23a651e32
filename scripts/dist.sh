#!/bin/bash
# The release: launcher-<version>-win32.zip and -win64.zip, each a folder
# with launcher.exe, a commented sample Vintral.cfg, the user guide and the
# licence, the text files with Windows line ends.
#   scripts/dist.sh DIST [OUT]
# DIST holds the builds (DIST/win32/launcher.exe, DIST/win64/launcher.exe);
# the zips go to OUT (default DIST). The version is the one of the project
# line of CMakeLists.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$(cd "${1:?usage: dist.sh DIST [OUT]}" && pwd)
out="${2:-$dist}"
mkdir -p "$out"
out=$(cd "$out" && pwd)

version=$(sed -n 's/^project(launcher VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "dist.sh: no project version in CMakeLists.txt" >&2; exit 1; }

# Every file gets the time of the last commit, so that the same sources
# give the same zip.
stamp=$(git -C "$root" log -1 --format=%cd --date=format:%Y%m%d%H%M.%S 2>/dev/null || date +%Y%m%d%H%M.%S)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

crlf() { sed 's/\r$//; s/$/\r/' "$1" >"$2"; }

for arch in win32 win64; do
    exe="$dist/$arch/launcher.exe"
    [ -f "$exe" ] || { echo "dist.sh: missing $exe (run make $arch)" >&2; exit 1; }
    name="launcher-$version-$arch"
    dir="$stage/$name"
    mkdir -p "$dir"
    cp "$exe" "$dir/launcher.exe"
    crlf "$root/packaging/Vintral.cfg" "$dir/Vintral.cfg"
    crlf "$root/docs/user-guide.md" "$dir/user-guide.md"
    crlf "$root/LICENSE" "$dir/LICENSE.txt"
    find "$dir" -exec touch -t "$stamp" {} +
    rm -f "$out/$name.zip"
    (cd "$stage" && zip -q -X "$out/$name.zip" "$name/" "$name/launcher.exe" "$name/Vintral.cfg" \
        "$name/user-guide.md" "$name/LICENSE.txt")
    echo "$out/$name.zip"
done
