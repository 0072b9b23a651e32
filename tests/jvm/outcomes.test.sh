#!/bin/bash
# Real JVMs through the host launcher: how each end of the Java side
# becomes the report and the exit status.
source "$(dirname "$0")/common.sh"

# expect_failure NAME APP MESSAGE: exit status 1, MESSAGE as the last line
# of standard error, and main never called.
expect_failure() {
    local name="$1" app="$2" message="$3"
    expect_status "$name" 1
    checks=$((checks + 1))
    [ "$(last_line "$app/err")" = "$message" ] || fail "$name: the last error line is not '$message'"
}

for jdk in "${jdks[@]}"; do
    name=$(basename "$jdk")
    app=$(jdk_app "$jdk")

    # The virtual machine describes its exception; our own line is not needed.
    configure "$app" "mainclass=NoSuchClass" "classpath=classes"
    run_host "$app"
    expect_failure "$name missing class" "$app" "Could not find the startup class. Program will exit!"
    expect_contains "$name missing class" "$app/err" "java.lang.NoClassDefFoundError: NoSuchClass"
    expect_absent "$name missing class" "$app/err" "Can't find startup class!"
    expect_absent "$name missing class" "$app/out" "CallStaticVoidMethod"

    configure "$app" "mainclass=NoMain" "classpath=classes"
    run_host "$app"
    expect_failure "$name no main" "$app" "Could not find the startup method. Program will exit!"
    expect_contains "$name no main" "$app/err" "java.lang.NoSuchMethodError"
    expect_absent "$name no main" "$app/err" "Can't find startup method!"
    expect_absent "$name no main" "$app/out" "CallStaticVoidMethod"

    # The stack trace, then the virtual machine destroyed (its shutdown hook
    # runs), then the report.
    configure "$app" "mainclass=Thrower" "classpath=classes"
    run_host "$app"
    expect_failure "$name main throws" "$app" "Program returned with exception."
    expect_contains "$name main throws" "$app/err" \
        'Exception in thread "main" java.lang.IllegalStateException: boom from main'
    expect_contains "$name main throws" "$app/err" "at Thrower.main(Thrower.java:"
    expect_text "$name main throws stdout" "$(after_separator "$app")" <<'OUT'
===========================================

main throws
shutdown hook ran
OUT

    # With a log in force, what the application and the virtual machine
    # write on both streams lands in the log, in order, up to the report.
    configure "$app" "logfilename=app.log" "mainclass=Interleaved" "classpath=classes"
    run_host "$app"
    expect_status "$name log" 1
    grep -E '^(Logging Filename|java (out|err)|Exception in thread|Program returned)' "$app/app.log" \
        >"$app/log-order" || true
    expect_text "$name log" "$app/log-order" <<'LOG'
Logging Filename = app.log
java out 1
java err 1
java out 2
java err 2
java out 3
java err 3
Exception in thread "main" java.lang.IllegalStateException: interleaved
Program returned with exception.
LOG
    rm -f "$app/app.log"

    configure "$app" "mainclass=Returns" "classpath=classes"
    run_host "$app"
    expect_status "$name main returns" 0
    expect_text "$name main returns stderr" "$app/err" </dev/null
    expect_text "$name main returns stdout" "$(after_separator "$app")" <<'OUT'
===========================================

main returns
shutdown hook ran
OUT

    # The virtual machine waits for the application's other threads.
    configure "$app" "mainclass=Worker" "classpath=classes"
    run_host "$app"
    expect_status "$name worker thread" 0
    expect_text "$name worker thread stderr" "$app/err" </dev/null
    expect_text "$name worker thread stdout" "$(after_separator "$app")" <<'OUT'
===========================================

main returns
worker finished
OUT

    # System.exit ends the process inside main: its status, and no report.
    configure "$app" "mainclass=Exits" "classpath=classes"
    run_host "$app"
    expect_status "$name System.exit" 3
    expect_text "$name System.exit stderr" "$app/err" </dev/null
    expect_contains "$name System.exit" "$app/out" "exiting with 3"
done

finish
