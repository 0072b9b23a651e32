#!/bin/bash
# Real JVMs through the host launcher: a program that nobody here wrote
# (the JDK's own compiler), and the full 500 arguments under -Xcheck:jni.
source "$(dirname "$0")/common.sh"

for jdk in "${jdks[@]}"; do
    name=$(basename "$jdk")
    app=$(jdk_app "$jdk")
    version=$("$jdk/bin/javac" -version 2>&1)

    configure "$app" "mainclass=com.sun.tools.javac.Main" "appargs=-version"
    run_host "$app"
    expect_status "$name javac" 0
    expect_text "$name javac stderr" "$app/err" </dev/null
    expect_text "$name javac stdout" "$(after_separator "$app")" <<OUT
===========================================

$version
OUT

    # Each argument gives back its local references; -Xcheck:jni counts them.
    configure "$app" "mainclass=Count" "classpath=classes" "vmargsnative=-Xcheck:jni" \
        "appargs=$(seq -s ' ' 1 499)"
    run_host "$app" "the last one"
    expect_status "$name 500 arguments" 0
    expect_contains "$name 500 arguments" "$app/out" "CallStaticVoidMethod <main> with 500 arg(s)"
    expect_contains "$name 500 arguments" "$app/out" "count 500 first <1> last <the last one>"
    expect_absent "$name 500 arguments stdout" "$app/out" "WARNING"
    expect_absent "$name 500 arguments stderr" "$app/err" "WARNING"
done

finish
