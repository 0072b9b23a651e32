#!/bin/bash
# The release zips: what each holds, and that what it holds works: the
# sample configuration is read by the launcher from the unpacked folder
# without a complaint, and the guide names every key and every message.
source "$(dirname "$0")/../lib/wine.sh"
: "${LAUNCHER_SOURCE:?}"
reset_registry

version=$(sed -n 's/^project(launcher VERSION \([0-9][0-9.]*\).*/\1/p' "$LAUNCHER_SOURCE/CMakeLists.txt")
bash "$LAUNCHER_SOURCE/scripts/dist.sh" "$LAUNCHER_DIST" "$work/zips" >/dev/null

for arch in win32 win64; do
    name="launcher-$version-$arch"
    zip="$work/zips/$name.zip"
    checks=$((checks + 1))
    [ -f "$zip" ] || { fail "$arch: $zip was not made"; continue; }
    unzip -Z1 "$zip" | sort >"$work/$arch.list"
    expect_text "$arch: zip contents" "$work/$arch.list" <<LIST
$name/
$name/LICENSE.txt
$name/Vintral.cfg
$name/launcher.exe
$name/user-guide.md
LIST
    unzip -q "$zip" -d "$work/$arch"
    dir="$work/$arch/$name"
    checks=$((checks + 1))
    cmp -s "$dir/launcher.exe" "$LAUNCHER_DIST/$arch/launcher.exe" || fail "$arch: launcher.exe is not the build's"
    for file in Vintral.cfg user-guide.md LICENSE.txt; do
        checks=$((checks + 1))
        # Windows line ends on every line, for Notepad.
        [ "$(grep -c $'\r$' "$dir/$file")" = "$(wc -l <"$dir/$file")" ] || fail "$arch: $file has LF line ends"
    done
    expect_text "$arch: the guide" "$dir/user-guide.md" <"$LAUNCHER_SOURCE/docs/user-guide.md"
    expect_contains "$arch: the licence" "$dir/LICENSE.txt" "Copyright (c)"
    expect_contains "$arch: the licence" "$dir/LICENSE.txt" "The launcher authors"
    expect_contains "$arch: the licence" "$dir/LICENSE.txt" "MIT License"
done

# The sample configuration, as shipped, in the unpacked 64-bit folder: every
# setting line is taken, none is unparseable; no runtime, so code 6.
app="$work/win64/launcher-$version-win64"
run_launcher "$app"
expect_status "sample configuration" 1
expect_start "sample configuration" "$app/out" <<'OUT'
Executing launcher.exe.
Creating options array.
Adding option <-Djava.class.path=.;>
Adding option <-noverbose>
Reading configuration file Vintral.cfg...
param 'mainclass'='com.example.Main'
Main class = com.example.Main
param 'classpath'='lib\app.jar;lib\util.jar'
Classpath = lib\app.jar;lib\util.jar
Adding option <-Djava.class.path=lib\app.jar;lib\util.jar>
param 'requiredVM'='1.4'
JRE release = 1.4
readConfig ended.
3 lines read.
OUT
checks=$((checks + 1))
! grep -q Unparseable "$app/err" || fail "sample configuration: a line is unparseable"
expect_contains "sample configuration" "$app/err" "Could not find required Java 2 Runtime Environment. Program will exit!"

# Every commented-out key of the sample is one that the launcher knows.
for key in $(sed -n 's/^#\([a-zA-Z]*\)=.*/\1/p' "$LAUNCHER_SOURCE/packaging/Vintral.cfg"); do
    expect_contains "sample key $key" "$LAUNCHER_SOURCE/src/config/config.cpp" "{\"$key\","
done

# The guide describes every key and every message of the failure report.
guide="$LAUNCHER_SOURCE/docs/user-guide.md"
for key in $(grep -o '{"[a-zA-Z]*", [a-zA-Z]*}' "$LAUNCHER_SOURCE/src/config/config.cpp" | cut -d'"' -f2); do
    expect_contains "guide: key $key" "$guide" "#### $key"
done
grep -o '"[A-Z][^"]*[.!]"' "$LAUNCHER_SOURCE/src/launcher/report.cpp" | tr -d '"' >"$work/messages"
checks=$((checks + 1))
[ "$(wc -l <"$work/messages")" -ge 13 ] || fail "fewer than 13 report messages found"
while read -r message; do
    expect_contains "guide: message" "$guide" "\"$message\""
done <"$work/messages"

finish
