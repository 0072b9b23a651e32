#!/bin/bash
# The runtime search on the Windows build: private runtimes laid out as
# empty files, registered runtimes written with reg add, and the choice of
# jvm.dll. An empty jvm.dll does not load, so a found library ends in
# code 1 with "Error loading: <path>": that line shows which one was taken.
source "$(dirname "$0")/../lib/wine.sh"
reset_registry
key='HKLM\Software\JavaSoft\Java Runtime Environment'

# win PATH: the path as the launcher sees it under Wine.
win() {
    printf 'Z:%s' "$1" | tr / '\\'
}

# touch_all FILE...: empty files, with their folders.
touch_all() {
    local f
    for f in "$@"; do
        mkdir -p "$(dirname "$f")"
        : >"$f"
    done
}

# search_lines DIR: the account of the runtime search on standard output,
# from the application home to the first chosen library.
search_lines() {
    sed -n '/^Application Home is /,/^JVM found at /p' "$1/out"
}

# expect_search NAME DIR: those lines must equal standard input.
expect_search() {
    search_lines "$2" >"$2/search"
    expect_text "$1: runtime search" "$2/search"
}

# expect_loaded NAME DIR PATH [ERR_LINES]: the launch took the library at
# PATH (standard error begins with the given lines, then its load error)
# and ended with code 1.
expect_loaded() {
    local name="$1" dir="$2" path="$3" lines="${4:-}" expected
    expect_status "$name" 1
    expected="${lines}Error loading: $path"
    checks=$((checks + 1))
    local count
    count=$(printf '%s\n' "$expected" | wc -l)
    [ "$(head -n "$count" "$dir/err")" = "$expected" ] ||
        { fail "$name: standard error does not begin with the search lines and the load error"; cat "$dir/err" >&2; }
    checks=$((checks + 1))
    [ "$(tail -n 1 "$dir/err")" = "Could not load the Java virtual machine. Program will exit!" ] ||
        fail "$name: not ended with code 1"
}

# A registered runtime that the private ones must win over.
registered="$work/registered"
touch_all "$registered/bin/client/jvm.dll"
reg add "$key" /v CurrentVersion /d 1.3 /f
reg add "$key\\1.3" /v JavaHome /d "$(win "$registered")" /f

# ---- Private runtimes -------------------------------------------------------

# home\bin: the launcher in bin, the runtime is the application home.
app="$work/inbin"
mkdir -p "$app/bin"
cp "$LAUNCHER_EXE" "$app/bin/launcher.exe"
touch_all "$app/bin/java.dll" "$app/bin/client/jvm.dll" "$app/bin/jvm.dll"
echo mainclass=Hello >"$app/bin/Vintral.cfg"
run_in "$app/bin" launcher.exe
h=$(win "$app")
expect_search "home\\bin" "$app/bin" <<OUT
Application Home is $h
JRE found at $h
no JVM found at $h\\bin\\hotspot\\jvm.dll
no JVM found at $h\\bin\\classic\\jvm.dll
JVM found at $h\\bin\\client\\jvm.dll
OUT
expect_loaded "home\\bin" "$app/bin" "$h\\bin\\client\\jvm.dll"
grep -q "Version major" "$app/bin/out" && fail "home\\bin: the registry was read"

# home\jre\bin: the runtime is home\jre.
app=$(new_app injre)
touch_all "$app/jre/bin/java.dll" "$app/jre/bin/hotspot/jvm.dll" "$app/jre/bin/client/jvm.dll"
echo mainclass=Hello >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$app")
expect_search "home\\jre\\bin" "$app" <<OUT
Application Home is $h
JRE found at $h\\jre
JVM found at $h\\jre\\bin\\hotspot\\jvm.dll
OUT
expect_loaded "home\\jre\\bin" "$app" "$h\\jre\\bin\\hotspot\\jvm.dll"

# Both: home\bin wins; a folder named java.dll counts as the marker.
app=$(new_app both)
mkdir -p "$app/bin/java.dll"
touch_all "$app/jre/bin/java.dll" "$app/jre/bin/hotspot/jvm.dll" "$app/bin/jvm.dll"
echo mainclass=Hello >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$app")
expect_search "both" "$app" <<OUT
Application Home is $h
JRE found at $h
no JVM found at $h\\bin\\hotspot\\jvm.dll
no JVM found at $h\\bin\\classic\\jvm.dll
no JVM found at $h\\bin\\client\\jvm.dll
JVM found at $h\\bin\\jvm.dll
OUT
expect_loaded "both" "$app" "$h\\bin\\jvm.dll"

# ...\binaries\: the first "\bin" cuts there too, so the home is its parent.
app="$work/outer/binaries"
mkdir -p "$app"
cp "$LAUNCHER_EXE" "$app/launcher.exe"
touch_all "$work/outer/bin/java.dll" "$work/outer/bin/classic/jvm.dll" "$app/bin/java.dll"
echo mainclass=Hello >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$work/outer")
expect_search "binaries" "$app" <<OUT
Application Home is $h
JRE found at $h
no JVM found at $h\\bin\\hotspot\\jvm.dll
JVM found at $h\\bin\\classic\\jvm.dll
OUT
expect_loaded "binaries" "$app" "$h\\bin\\classic\\jvm.dll"

# ---- Registered runtimes ----------------------------------------------------

reset_registry
j13="$work/jre13" j14="$work/jre14" j110="$work/jre110"
touch_all "$j13/bin/client/jvm.dll" "$j14/bin/hotspot/jvm.dll" "$j110/bin/jvm.dll" "$work/lib/jvm.dll"
for v in 1.3 1.4 1.10; do
    reg add "$key\\$v" /v JavaHome /d "$(win "$work/jre${v//./}")" /f
done
reg add "$key\\1.3" /v MicroVersion /d 1 /f
reg add "$key\\1.4" /v MicroVersion /d 2 /f
app=$(new_app reg)
h=$(win "$app")
k="Software\\JavaSoft\\Java Runtime Environment"

# Newer than required: the notice on standard output, the newer one used.
reg add "$key" /v CurrentVersion /d 1.4 /f
echo mainclass=Hello >"$app/Vintral.cfg"
run_launcher "$app"
w=$(win "$j14")
expect_search "newer" "$app" <<OUT
Application Home is $h
Registry key '$k\\CurrentVersion'
has value '1.4', but '1.3' is expected.
Trying to use '1.4'.
Version major.minor.micro = 1.4.2
JRE found at $w
JVM found at $w\\bin\\hotspot\\jvm.dll
OUT
expect_loaded "newer" "$app" "$w\\bin\\hotspot\\jvm.dll"

# Equal: no notice at all.
printf 'mainclass=Hello\nrequiredVM=1.4\n' >"$app/Vintral.cfg"
run_launcher "$app"
expect_search "equal" "$app" <<OUT
Application Home is $h
Version major.minor.micro = 1.4.2
JRE found at $w
JVM found at $w\\bin\\hotspot\\jvm.dll
OUT
expect_loaded "equal" "$app" "$w\\bin\\hotspot\\jvm.dll"

# Older in strcmp order (1.10 before 1.3): the notice on standard error,
# the required version's key used.
reg add "$key" /v CurrentVersion /d 1.10 /f
echo mainclass=Hello >"$app/Vintral.cfg"
run_launcher "$app"
w=$(win "$j13")
expect_search "older" "$app" <<OUT
Application Home is $h
Version major.minor.micro = 1.3.1
JRE found at $w
no JVM found at $w\\bin\\hotspot\\jvm.dll
no JVM found at $w\\bin\\classic\\jvm.dll
JVM found at $w\\bin\\client\\jvm.dll
OUT
expect_loaded "older" "$app" "$w\\bin\\client\\jvm.dll" "Registry key '$k\\CurrentVersion'
has value '1.10', but '1.3' or greater is required.
Trying to find 1.3 nevertheless.
"

# CurrentVersion of another type: read as missing, the required version
# used; 1.10 has no MicroVersion.
reg add "$key" /v CurrentVersion /t REG_EXPAND_SZ /d 1.4 /f
printf 'mainclass=Hello\nrequiredVM=1.10\n' >"$app/Vintral.cfg"
run_launcher "$app"
w=$(win "$j110")
expect_search "current version not a string" "$app" <<OUT
Application Home is $h
Warning: Can't read MicroVersion
Version major.minor.micro = 1.10.
JRE found at $w
no JVM found at $w\\bin\\hotspot\\jvm.dll
no JVM found at $w\\bin\\classic\\jvm.dll
no JVM found at $w\\bin\\client\\jvm.dll
JVM found at $w\\bin\\jvm.dll
OUT
expect_loaded "current version not a string" "$app" "$w\\bin\\jvm.dll" "Failed reading value of registry key:
	$k\\CurrentVersion
Trying version 1.10 instead.
"

# RuntimeLib is taken over every candidate below the home.
reg add "$key" /v CurrentVersion /d 1.4 /f
reg add "$key\\1.4" /v RuntimeLib /d "$(win "$work/lib/jvm.dll")" /f
printf 'mainclass=Hello\nrequiredVM=1.4\n' >"$app/Vintral.cfg"
run_launcher "$app"
w=$(win "$j14")
lib=$(win "$work/lib/jvm.dll")
expect_search "RuntimeLib" "$app" <<OUT
Application Home is $h
Version major.minor.micro = 1.4.2
Found RuntimeLib path in registry: $lib
JRE found at $w
JVM found at $lib
OUT
expect_loaded "RuntimeLib" "$app" "$lib"

# A RuntimeLib that names a missing file: the search goes on below the home.
reg add "$key\\1.4" /v RuntimeLib /d "$(win "$work/lib/missing.dll")" /f
run_launcher "$app"
expect_search "RuntimeLib missing" "$app" <<OUT
Application Home is $h
Version major.minor.micro = 1.4.2
Found RuntimeLib path in registry: $(win "$work/lib/missing.dll")
JRE found at $w
no JVM found at $(win "$work/lib/missing.dll")
JVM found at $w\\bin\\hotspot\\jvm.dll
OUT
expect_loaded "RuntimeLib missing" "$app" "$w\\bin\\hotspot\\jvm.dll"

# ---- No runtime: code 6 -----------------------------------------------------

# Older than required and no key for the required version.
reg add "$key" /v CurrentVersion /d 1.2 /f
printf 'mainclass=Hello\nrequiredVM=1.5\n' >"$app/Vintral.cfg"
run_launcher "$app"
expect_status "no key for the required version" 1
expect_text "no key for the required version: stderr" "$app/err" <<ERR
Registry key '$k\\CurrentVersion'
has value '1.2', but '1.5' or greater is required.
Trying to find 1.5 nevertheless.
Error opening registry key '$k\\1.5'
Error: could not find java.dll
Could not find required Java 2 Runtime Environment. Program will exit!
ERR

# A JavaHome of the expandable type is refused.
reg add "$key\\1.5" /v JavaHome /t REG_EXPAND_SZ /d "$(win "$j14")" /f
run_launcher "$app"
expect_status "JavaHome expandable" 1
expect_text "JavaHome expandable: stderr" "$app/err" <<ERR
Registry key '$k\\CurrentVersion'
has value '1.2', but '1.5' or greater is required.
Trying to find 1.5 nevertheless.
Failed reading value of registry key:
	$k\\1.5\\JavaHome
Error: could not find java.dll
Could not find required Java 2 Runtime Environment. Program will exit!
ERR

# Nothing at all.
reset_registry
app=$(new_app none)
echo mainclass=Hello >"$app/Vintral.cfg"
run_launcher "$app"
expect_status "no runtime" 1
h=$(win "$app")
checks=$((checks + 1))
[ "$(tail -n 1 "$app/out")" = "Application Home is $h" ] || fail "no runtime: the search account does not end with the home"
expect_text "no runtime: stderr" "$app/err" <<ERR
Error opening registry key '$k'
Error opening registry key 'Software\\JavaSoft\\JRE'
Error opening registry key 'Software\\JavaSoft\\JDK'
Error: could not find java.dll
Could not find required Java 2 Runtime Environment. Program will exit!
ERR

reset_registry
finish
