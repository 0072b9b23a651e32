#!/bin/bash
# Today's runtimes on the Windows build, with the stand-in VM: bin\server,
# the registry keys of Java 9 and later, a jvm.dll that needs a library of
# the runtime's bin folder, and the reason for a library that does not load.
# First of all: where the older search completes a launch, with all of
# those present as decoys, the launch writes what it always wrote.
source "$(dirname "$0")/../lib/wine.sh"
: "${LAUNCHER_WIN64_BUILD:?}" "${LAUNCHER_WIN32_BUILD:?}"
stubs="$LAUNCHER_WIN64_BUILD/tests/stubvm"
for f in jvm.dll jvm_withdep.dll stubdep.dll loadprobe.exe; do
    [ -f "$stubs/$f" ] || { echo "missing $stubs/$f: run make first" >&2; exit 1; }
done
STUB_VM_32="$LAUNCHER_WIN32_BUILD/tests/stubvm/jvm.dll"
[ -f "$STUB_VM_32" ] || { echo "missing $STUB_VM_32: run make first" >&2; exit 1; }
reset_registry
old_key='HKLM\Software\JavaSoft\Java Runtime Environment'
jre_key='HKLM\Software\JavaSoft\JRE'
jdk_key='HKLM\Software\JavaSoft\JDK'
k='Software\JavaSoft\Java Runtime Environment'

# win PATH: the path as the launcher sees it under Wine.
win() {
    printf 'Z:%s' "$1" | tr / '\\'
}

# place FILE TARGET...: copies FILE to each TARGET, with its folders.
place() {
    local file="$1" target
    shift
    for target in "$@"; do
        mkdir -p "$(dirname "$target")"
        cp "$file" "$target"
    done
}

# A file that no loader takes for a library.
printf 'not a library\n' >"$work/not-a-library.dll"

# registered_runtime DIR: a runtime folder with the stand-in as its
# bin\server\jvm.dll and stubdep.dll in its bin, as a JDK 17 has its
# vcruntime140.dll.
registered_runtime() {
    place "$stubs/jvm_withdep.dll" "$1/bin/server/jvm.dll"
    place "$stubs/stubdep.dll" "$1/bin/stubdep.dll"
}

# invocation_lines [uses]: the lines of a successful launch with the
# stand-in after the runtime search; "uses" adds the stand-in's line about
# stubdep.dll.
invocation_lines() {
    echo "JNI_GetDefaultJavaVMInitArgs from DLL"
    [ "${1:-}" = uses ] && echo "stubvm: uses stubdep.dll"
    cat <<'OUT'
stubvm: JNI_GetDefaultJavaVMInitArgs version 0x10002
JNI_CreateJavaVM from DLL
stubvm: JNI_CreateJavaVM version 0x10002, 2 option(s), ignoreUnrecognized 1
stubvm: option 0 <-Djava.class.path=.;>
stubvm: option 1 <-noverbose>
FindClass
Searching for class <App>
GetStaticMethodID
CallStaticVoidMethod <main> with 0 arg(s)

===========================================

stubvm: main App with 0 arg(s)
stubvm: DestroyJavaVM, at most 3 local references were live
OUT
}

# opening_lines [VERSION]: the account up to the runtime search, for the
# configuration "mainclass=App" and, when given, "requiredVM=VERSION".
opening_lines() {
    cat <<'OUT'
Executing launcher.exe.
Creating options array.
Adding option <-Djava.class.path=.;>
Adding option <-noverbose>
Reading configuration file Vintral.cfg...
param 'mainclass'='App'
Main class = App
OUT
    if [ -n "${1:-}" ]; then
        printf "param 'requiredVM'='%s'\nJRE release = %s\nreadConfig ended.\n2 lines read.\n" "$1" "$1"
    else
        printf 'readConfig ended.\n1 lines read.\n'
    fi
    echo "Application arguments = "
}

# ---- Launches that the older search completes ------------------------------
# Whole transcripts, both streams. Present as decoys: a bin\server\jvm.dll
# that does not load, and the keys of Java 9 and later naming a runtime
# whose library does not load either.

decoy="$work/decoy"
place "$work/not-a-library.dll" "$decoy/bin/server/jvm.dll" "$decoy/bin/jvm.dll"
for key in "$jre_key" "$jdk_key"; do
    reg add "$key" /v CurrentVersion /d 17 /f
    reg add "$key\\17" /v JavaHome /d "$(win "$decoy")" /f
    reg add "$key\\17" /v RuntimeLib /d "$(win "$decoy/bin/server/jvm.dll")" /f
done

# A private runtime in jre with its client VM; server and registry decoys.
app=$(new_app written-private)
place "$stubs/jvm.dll" "$app/jre/bin/client/jvm.dll"
place "$work/not-a-library.dll" "$app/jre/bin/java.dll" "$app/jre/bin/server/jvm.dll"
echo mainclass=App >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$app")
expect_status "written, private runtime" 0
{
    opening_lines
    cat <<OUT
Application Home is $h
JRE found at $h\\jre
no JVM found at $h\\jre\\bin\\hotspot\\jvm.dll
no JVM found at $h\\jre\\bin\\classic\\jvm.dll
JVM found at $h\\jre\\bin\\client\\jvm.dll
OUT
    invocation_lines
} >"$work/expected"
expect_text "written, private runtime: stdout" "$app/out" <"$work/expected"
expect_text "written, private runtime: stderr" "$app/err" </dev/null

# The old key with an older current version: its notice on standard error,
# the required version's plain bin\jvm.dll, the runtime's server decoy.
j13="$work/written-j13"
place "$stubs/jvm.dll" "$j13/bin/jvm.dll"
place "$work/not-a-library.dll" "$j13/bin/server/jvm.dll"
reg add "$old_key" /v CurrentVersion /d 1.10 /f
reg add "$old_key\\1.3" /v JavaHome /d "$(win "$j13")" /f
reg add "$old_key\\1.3" /v MicroVersion /d 1 /f
app=$(new_app written-registry)
echo mainclass=App >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$app") w=$(win "$j13")
expect_status "written, registered runtime" 0
{
    opening_lines
    cat <<OUT
Application Home is $h
Version major.minor.micro = 1.3.1
JRE found at $w
no JVM found at $w\\bin\\hotspot\\jvm.dll
no JVM found at $w\\bin\\classic\\jvm.dll
no JVM found at $w\\bin\\client\\jvm.dll
JVM found at $w\\bin\\jvm.dll
OUT
    invocation_lines
} >"$work/expected"
expect_text "written, registered runtime: stdout" "$app/out" <"$work/expected"
expect_text "written, registered runtime: stderr" "$app/err" <<ERR
Registry key '$k\\CurrentVersion'
has value '1.10', but '1.3' or greater is required.
Trying to find 1.3 nevertheless.
ERR

# The old key's RuntimeLib, taken at once, in a runtime that has a
# bin\server library too.
j14="$work/written-j14"
registered_runtime "$j14"
place "$stubs/jvm.dll" "$j14/bin/client/jvm.dll"
reg add "$old_key" /v CurrentVersion /d 1.4 /f
reg add "$old_key\\1.4" /v JavaHome /d "$(win "$j14")" /f
reg add "$old_key\\1.4" /v MicroVersion /d 2 /f
reg add "$old_key\\1.4" /v RuntimeLib /d "$(win "$j14/bin/client/jvm.dll")" /f
printf 'mainclass=App\nrequiredVM=1.4\n' >"$app/Vintral.cfg"
run_launcher "$app"
w=$(win "$j14")
expect_status "written, RuntimeLib" 0
{
    opening_lines 1.4
    cat <<OUT
Application Home is $h
Version major.minor.micro = 1.4.2
Found RuntimeLib path in registry: $w\\bin\\client\\jvm.dll
JRE found at $w
JVM found at $w\\bin\\client\\jvm.dll
OUT
    invocation_lines
} >"$work/expected"
expect_text "written, RuntimeLib: stdout" "$app/out" <"$work/expected"
expect_text "written, RuntimeLib: stderr" "$app/err" </dev/null

# ---- bin\server --------------------------------------------------------------
reset_registry

# A private runtime that has only bin\server: tried after the other four.
app=$(new_app server-private)
registered_runtime "$app/jre"
: >"$app/jre/bin/java.dll"
echo mainclass=App >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$app")
expect_status "server, private runtime" 0
{
    opening_lines
    cat <<OUT
Application Home is $h
JRE found at $h\\jre
no JVM found at $h\\jre\\bin\\hotspot\\jvm.dll
no JVM found at $h\\jre\\bin\\classic\\jvm.dll
no JVM found at $h\\jre\\bin\\client\\jvm.dll
no JVM found at $h\\jre\\bin\\jvm.dll
JVM found at $h\\jre\\bin\\server\\jvm.dll
OUT
    invocation_lines uses
} >"$work/expected"
expect_text "server, private runtime: stdout" "$app/out" <"$work/expected"
expect_text "server, private runtime: stderr" "$app/err" </dev/null

# A runtime without any library: five lines, then code 6.
app=$(new_app server-none)
mkdir -p "$app/bin/server"
: >"$app/bin/java.dll"
echo mainclass=App >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$app")
expect_status "no library at all" 1
sed -n '/^Application Home is /,$p' "$app/out" >"$app/search"
expect_text "no library at all: stdout" "$app/search" <<OUT
Application Home is $h
JRE found at $h
no JVM found at $h\\bin\\hotspot\\jvm.dll
no JVM found at $h\\bin\\classic\\jvm.dll
no JVM found at $h\\bin\\client\\jvm.dll
no JVM found at $h\\bin\\jvm.dll
no JVM found at $h\\bin\\server\\jvm.dll
OUT
expect_text "no library at all: stderr" "$app/err" <<'ERR'
Could not find required Java 2 Runtime Environment. Program will exit!
ERR

# ---- The registry keys of Java 9 and later ------------------------------------

# JDK 17: only the JDK key, its RuntimeLib in bin\server, no MicroVersion.
j17="$work/jdk-17"
registered_runtime "$j17"
reg add "$jdk_key" /v CurrentVersion /d 17 /f
reg add "$jdk_key\\17" /v JavaHome /d "$(win "$j17")" /f
reg add "$jdk_key\\17" /v RuntimeLib /d "$(win "$j17/bin/server/jvm.dll")" /f
app=$(new_app jdk-key)
echo mainclass=App >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$app") w=$(win "$j17")
expect_status "JDK key" 0
{
    opening_lines
    cat <<OUT
Application Home is $h
Registry key 'Software\\JavaSoft\\JDK\\CurrentVersion'
has value '17', but '1.3' is expected.
Trying to use '17'.
Warning: Can't read MicroVersion
Version major.minor.micro = 17.
Found RuntimeLib path in registry: $w\\bin\\server\\jvm.dll
JRE found at $w
JVM found at $w\\bin\\server\\jvm.dll
OUT
    invocation_lines uses
} >"$work/expected"
expect_text "JDK key: stdout" "$app/out" <"$work/expected"
expect_text "JDK key: stderr" "$app/err" <<ERR
Error opening registry key '$k'
Error opening registry key 'Software\\JavaSoft\\JRE'
ERR

# The JRE key comes before the JDK key; without RuntimeLib, bin\server is
# found as the last candidate.
j10="$work/jre-10"
registered_runtime "$j10"
reg add "$jre_key" /v CurrentVersion /d 10 /f
reg add "$jre_key\\10" /v JavaHome /d "$(win "$j10")" /f
reg add "$jre_key\\10" /v MicroVersion /d 2 /f
printf 'mainclass=App\nrequiredVM=10\n' >"$app/Vintral.cfg"
run_launcher "$app"
w=$(win "$j10")
expect_status "JRE key" 0
sed -n '/^Application Home is /,/^JVM found at /p' "$app/out" >"$app/search"
expect_text "JRE key: search" "$app/search" <<OUT
Application Home is $h
Version major.minor.micro = 10.2
JRE found at $w
no JVM found at $w\\bin\\hotspot\\jvm.dll
no JVM found at $w\\bin\\classic\\jvm.dll
no JVM found at $w\\bin\\client\\jvm.dll
no JVM found at $w\\bin\\jvm.dll
JVM found at $w\\bin\\server\\jvm.dll
OUT
expect_contains "JRE key" "$app/out" "stubvm: main App with 0 arg(s)"
expect_text "JRE key: stderr" "$app/err" <<ERR
Error opening registry key '$k'
ERR

# The JRE key opens but names no usable version: the search ends there,
# as it does for the old key; the JDK key is not read.
reg delete "$jre_key\\10" /f
run_launcher "$app"
expect_status "JRE key without the version" 1
expect_text "JRE key without the version: stderr" "$app/err" <<ERR
Error opening registry key '$k'
Error opening registry key 'Software\\JavaSoft\\JRE\\10'
Error: could not find java.dll
Could not find required Java 2 Runtime Environment. Program will exit!
ERR
reset_registry

# ---- The runtime's bin folder in the search for jvm.dll's libraries ---------

# The premise, shown with a bare LoadLibraryA from a folder of its own: the
# stand-in that imports stubdep.dll does not load while stubdep.dll lies
# only in the runtime's bin, and loads once that folder is in the search.
probe="$work/probe"
place "$stubs/loadprobe.exe" "$probe/loadprobe.exe"
rt="$work/dependent"
registered_runtime "$rt"
run_in "$probe" loadprobe.exe "$(win "$rt/bin/server/jvm.dll")"
expect_text "plain load" "$probe/out" <<<"error 126"
run_in "$probe" loadprobe.exe "$(win "$rt/bin/server/jvm.dll")" "$(win "$rt/bin")"
expect_text "load with bin in the search" "$probe/out" <<<"loaded"

# Through the launcher, the same runtime (launched above as jre-10 and
# jdk-17) loads; with stubdep.dll moved out of bin it does not, and the
# reason says so.
app=$(new_app dependency)
mkdir -p "$app/jre"
cp -r "$rt/bin" "$app/jre/bin"
: >"$app/jre/bin/java.dll"
echo mainclass=App >"$app/Vintral.cfg"
run_launcher "$app"
expect_status "dependency in bin" 0
expect_contains "dependency in bin" "$app/out" "stubvm: uses stubdep.dll"
mv "$app/jre/bin/stubdep.dll" "$app/jre/stubdep.dll"
run_launcher "$app"
h=$(win "$app")
expect_status "dependency not in bin" 1
expect_text "dependency not in bin: stderr" "$app/err" <<ERR
Error loading: $h\\jre\\bin\\server\\jvm.dll
Reason: error 126: Module not found.
Could not load the Java virtual machine. Program will exit!
ERR

# Neither build imports SetDllDirectoryA (Windows before XP SP1 lacks it):
# it is looked up by name.
for build in win32 win64; do
    case $build in
    win32) objdump=i686-w64-mingw32-objdump ;;
    win64) objdump=x86_64-w64-mingw32-objdump ;;
    esac
    exe="$LAUNCHER_DIST/$build/launcher.exe"
    checks=$((checks + 1))
    if "$objdump" -p "$exe" | sed -n '/^The Import Tables/,/^The [A-Z][a-z]* Table\|^PE File/p' |
        grep -q 'SetDllDirectory'; then
        fail "$build: SetDllDirectoryA imported statically"
    fi
    checks=$((checks + 1))
    grep -qaF SetDllDirectoryA "$exe" || fail "$build: the name SetDllDirectoryA is not in the executable"
done

# ---- Why a library does not load -------------------------------------------

# A 32-bit runtime for the 64-bit launcher (the other way round on Windows).
app=$(new_app other-width)
place "$STUB_VM_32" "$app/jre/bin/client/jvm.dll"
: >"$app/jre/bin/java.dll"
echo mainclass=App >"$app/Vintral.cfg"
run_launcher "$app"
h=$(win "$app")
expect_status "other width" 1
expect_text "other width: stderr" "$app/err" <<ERR
Error loading: $h\\jre\\bin\\client\\jvm.dll
Reason: error 193: Bad EXE format for %1.
Could not load the Java virtual machine. Program will exit!
ERR

reset_registry
finish
