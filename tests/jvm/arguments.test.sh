#!/bin/bash
# Real JVMs through the host launcher: the whole account of a launch, the
# arguments in order with their bytes decoded by the virtual machine, the
# configuration's options, and dotted and nested main classes.
source "$(dirname "$0")/common.sh"
accented=$'\xc3\xa9t\xc3\xa9' # "été" in UTF-8
lone=$'\xe9'                    # no UTF-8 at all

for jdk in "${jdks[@]}"; do
    name=$(basename "$jdk")
    app=$(jdk_app "$jdk")
    home=$(windows_path "$app")

    configure "$app" "mainclass=Args" "classpath=classes" "appargs=first  second"
    run_host "$app" "" "with blank" "$accented" "$lone"
    expect_status "$name arguments" 0
    expect_text "$name arguments stderr" "$app/err" </dev/null
    # From the configuration on: what comes before it is the instance
    # guard's, which has nothing to count on this host.
    sed -n '/^Reading configuration file/,$p' "$app/out" >"$app/account"
    expect_text "$name arguments stdout" "$app/account" <<OUT
Reading configuration file Vintral.cfg...
param 'mainclass'='Args'
Main class = Args
param 'classpath'='classes'
Classpath = classes
Adding option <-Djava.class.path=classes>
param 'appargs'='first  second'
readConfig ended.
3 lines read.
Application arguments = first second  with blank $accented $lone 
Application Home is $home
JRE found at $home\\jre
no JVM found at $home\\jre\\bin\\hotspot\\jvm.dll
no JVM found at $home\\jre\\bin\\classic\\jvm.dll
JVM found at $home\\jre\\bin\\client\\jvm.dll
JNI_GetDefaultJavaVMInitArgs from DLL
JNI_CreateJavaVM from DLL
FindClass
Searching for class <Args>
GetStaticMethodID
CallStaticVoidMethod <main> with 6 arg(s)

===========================================

args 6
0: 0066 0069 0072 0073 0074
1: 0073 0065 0063 006f 006e 0064
2:
3: 0077 0069 0074 0068 0020 0062 006c 0061 006e 006b
4: 00e9 0074 00e9
5: fffd
OUT

    # vmargs and vmargsnative reach the virtual machine; the classpath
    # key's option comes after the fixed one and wins.
    configure "$app" "mainclass=Props" "classpath=classes" "vmargs=demo.prop=set by vmargs" \
        "vmargsnative=-Xmx40m"
    run_host "$app"
    expect_status "$name options" 0
    expect_contains "$name options" "$app/out" "demo.prop=<set by vmargs>"
    expect_contains "$name options" "$app/out" "java.class.path=<classes>"
    heap=$(sed -n 's/^max heap MB=//p' "$app/out")
    checks=$((checks + 1))
    [ -n "$heap" ] && [ "$heap" -le 40 ] && [ "$heap" -ge 20 ] ||
        fail "$name options: a heap of '$heap' MB after -Xmx40m"

    configure "$app" "mainclass=com.example.Hello" "classpath=classes"
    run_host "$app"
    expect_status "$name dotted class" 0
    expect_contains "$name dotted class" "$app/out" "Searching for class <com/example/Hello>"
    expect_contains "$name dotted class" "$app/out" "Hello from com.example.Hello"

    configure "$app" 'mainclass=demo.Outer$Inner' "classpath=classes"
    run_host "$app"
    expect_status "$name nested class" 0
    expect_contains "$name nested class" "$app/out" 'Searching for class <demo/Outer$Inner>'
    expect_contains "$name nested class" "$app/out" 'Hello from demo.Outer$Inner'
done

finish
