#!/bin/bash
# The Windows build under Wine with the stand-in VM (tests/stubvm) as a
# private runtime's jvm.dll: the whole account of a successful launch in
# its order, and each failure of the JVM invocation with its code.
source "$(dirname "$0")/../lib/wine.sh"
: "${LAUNCHER_WIN64_BUILD:?}"
STUB_VM="$LAUNCHER_WIN64_BUILD/tests/stubvm/jvm.dll"
STUB_VM_WITHOUT_CREATE="$LAUNCHER_WIN64_BUILD/tests/stubvm/jvm_nocreate.dll"
[ -f "$STUB_VM" ] || { echo "missing $STUB_VM: run make first" >&2; exit 1; }
reset_registry

# stub_app DIR [LIBRARY]: an application with a private runtime in jre\
# whose client VM is LIBRARY (the stand-in by default); prints its path.
stub_app() {
    local dir
    dir=$(new_app "$1")
    mkdir -p "$dir/jre/bin/client"
    : >"$dir/jre/bin/java.dll"
    cp "${2:-$STUB_VM}" "$dir/jre/bin/client/jvm.dll"
    echo "$dir"
}

# The account of a successful launch, from the configuration on: the
# instance guard's lines before it are its own.
app=$(stub_app success)
cat >"$app/Vintral.cfg" <<'CFG'
mainclass=com.example.App
classpath=lib\app.jar
vmargs=app.mode=test
vmargsnative=-Xmx64m
appargs=alpha  beta
CFG
run_launcher "$app" "" "two words"
home='Z:'$(printf '%s' "$app" | tr / '\\')
expect_status "success" 0
expect_text "success stderr" "$app/err" </dev/null
sed -n '/^Reading configuration file/,$p' "$app/out" >"$app/account"
expect_text "success stdout" "$app/account" <<OUT
Reading configuration file Vintral.cfg...
param 'mainclass'='com.example.App'
Main class = com.example.App
param 'classpath'='lib\\app.jar'
Classpath = lib\\app.jar
Adding option <-Djava.class.path=lib\\app.jar>
param 'vmargs'='app.mode=test'
VM option = app.mode=test
Adding option <-Dapp.mode=test>
param 'vmargsnative'='-Xmx64m'
VM option native = -Xmx64m
Adding option <-Xmx64m>
param 'appargs'='alpha  beta'
readConfig ended.
5 lines read.
Application arguments = alpha beta  two words 
Application Home is $home
JRE found at $home\\jre
no JVM found at $home\\jre\\bin\\hotspot\\jvm.dll
no JVM found at $home\\jre\\bin\\classic\\jvm.dll
JVM found at $home\\jre\\bin\\client\\jvm.dll
JNI_GetDefaultJavaVMInitArgs from DLL
stubvm: JNI_GetDefaultJavaVMInitArgs version 0x10002
JNI_CreateJavaVM from DLL
stubvm: JNI_CreateJavaVM version 0x10002, 5 option(s), ignoreUnrecognized 1
stubvm: option 0 <-Djava.class.path=.;>
stubvm: option 1 <-noverbose>
stubvm: option 2 <-Djava.class.path=lib\\app.jar>
stubvm: option 3 <-Dapp.mode=test>
stubvm: option 4 <-Xmx64m>
FindClass
Searching for class <com/example/App>
GetStaticMethodID
CallStaticVoidMethod <main> with 4 arg(s)

===========================================

stubvm: main com/example/App with 4 arg(s)
stubvm: arg 0 <alpha>
stubvm: arg 1 <beta>
stubvm: arg 2 <>
stubvm: arg 3 <two words>
stubvm: DestroyJavaVM, at most 6 local references were live
OUT

# Each failure: its lines on standard error, then the report; status 1.
# run_case NAME CONFIGURATION [LIBRARY]: one launch with one argument; the
# configuration's lines are separated by "|".
run_case() {
    app=$(stub_app "$1" "${3:-}")
    printf '%s\n' "$2" | tr '|' '\n' >"$app/Vintral.cfg"
    run_launcher "$app" "one"
    expect_status "$1" 1
    jvm_path="Z:$(printf '%s' "$app" | tr / '\\')\\jre\\bin\\client\\jvm.dll"
}
describe() {
    printf 'Exception in thread "main" %s\n\tat stubvm.StandIn.call(StandIn.java)\n' "$1"
}

printf 'not a library\n' >"$work/not-a-library.dll"
run_case "code 1, no library" "mainclass=App" "$work/not-a-library.dll"
expect_text "code 1, no library stderr" "$app/err" <<ERR
Error loading: $jvm_path
Reason: error 193: Bad EXE format for %1.
Could not load the Java virtual machine. Program will exit!
ERR

run_case "code 1, no JNI_CreateJavaVM" "mainclass=App" "$STUB_VM_WITHOUT_CREATE"
expect_text "code 1, no JNI_CreateJavaVM stderr" "$app/err" <<ERR
Error loading: $jvm_path
Reason: error 127: Procedure not found.
Could not load the Java virtual machine. Program will exit!
ERR
grep -q '^stubvm:\|^JNI_' "$app/out" && fail "code 1, no JNI_CreateJavaVM: an entry point was called"

run_case "code 3" "mainclass=App|vmargs=stubvm.create=fail"
expect_text "code 3 stderr" "$app/err" <<'ERR'
Error: the stand-in VM was told not to start.
Could not initialize the Java virtual machine. Program will exit!
ERR

run_case "code 4" "mainclass=com.example.MissingApp"
expect_text "code 4 stderr" "$app/err" <<ERR
$(describe "java.lang.NoClassDefFoundError: com/example/MissingApp")
Could not find the startup class. Program will exit!
ERR

run_case "code 5" "mainclass=NoMainApp"
expect_text "code 5 stderr" "$app/err" <<ERR
$(describe "java.lang.NoSuchMethodError: main")
Could not find the startup method. Program will exit!
ERR

run_case "code 8" "mainclass=App|vmargs=stubvm.fail=NewObject:1"
expect_text "code 8 stderr" "$app/err" <<ERR
$(describe "java.lang.OutOfMemoryError: NewObject failed as asked")
Invalid class arguments given. Program will exit!
ERR

run_case "code 9" "mainclass=Throws"
expect_text "code 9 stderr" "$app/err" <<ERR
$(describe "java.lang.IllegalStateException: thrown by main")
Program returned with exception.
ERR
expect_contains "code 9" "$app/out" "stubvm: DestroyJavaVM"

finish
