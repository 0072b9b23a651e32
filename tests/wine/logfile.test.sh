#!/bin/bash
# The log redirection and bad configurations, on the Windows build.
source "$(dirname "$0")/../lib/wine.sh"
reset_registry

# Both streams go into the log from the logfilename line on; an existing
# log is emptied; what came before stays on the inherited streams.
app=$(new_app log)
echo "stale content of an earlier run" >"$app/app.log"
cat >"$app/Vintral.cfg" <<'CFG'
mainclass=Before
logfilename=app.log
no equals sign
mainclass=After
CFG
run_launcher "$app" arg
expect_status "log" 1
expect_text "log: inherited stdout" "$app/out" <<'OUT'
Executing launcher.exe.
Creating options array.
Adding option <-Djava.class.path=.;>
Adding option <-noverbose>
Reading configuration file Vintral.cfg...
param 'mainclass'='Before'
Main class = Before
param 'logfilename'='app.log'
OUT
expect_text "log: inherited stderr" "$app/err" </dev/null
expect_contains "log: file" "$app/app.log" "Logging Filename = app.log"
expect_contains "log: file" "$app/app.log" "Unparseable line in configuration file: 'no equals sign' !"
expect_contains "log: file" "$app/app.log" "Main class = After"
expect_contains "log: file" "$app/app.log" "Application arguments = arg "
expect_contains "log: file" "$app/app.log" "Could not find required Java 2 Runtime Environment. Program will exit!"
grep -q stale "$app/app.log" && fail "log: the old log was not emptied"
# The report's line is the last one, after every progress line.
[ "$(tail -n 1 "$app/app.log" | tr -d '\r')" = "Could not find required Java 2 Runtime Environment. Program will exit!" ] ||
    fail "log: the report's line is not the last"

# A log in a folder that does not exist: everything stays on the inherited streams.
app=$(new_app nolog)
printf 'logfilename=nowhere\\app.log\nmainclass=A\n' >"$app/Vintral.cfg"
run_launcher "$app"
expect_status "unopenable log" 1
expect_contains "unopenable log" "$app/err" 'Could not open logfile nowhere\app.log!'
expect_contains "unopenable log" "$app/out" 'Logging Filename = nowhere\app.log'
expect_contains "unopenable log" "$app/out" "Main class = A"
expect_contains "unopenable log" "$app/err" "Could not find required Java 2 Runtime Environment. Program will exit!"

# The virtual machine writes through the process's standard handles, as a
# real Windows VM does; with a log in force its lines land there too, in
# order, and neither stream overwrites what the other wrote.
stub="$LAUNCHER_WIN64_BUILD/tests/stubvm/jvm.dll"
app=$(new_app vmlog)
mkdir -p "$app/jre/bin/client"
: >"$app/jre/bin/java.dll"
cp "$stub" "$app/jre/bin/client/jvm.dll"
cat >"$app/Vintral.cfg" <<'CFG'
logfilename=app.log
mainclass=App
vmargs=stubvm.handles=1
vmargs=stubvm.interleave=1
CFG
run_launcher "$app"
expect_status "VM output in the log" 0
tr -d '\r' <"$app/app.log" | grep -E '^(Logging Filename|CallStaticVoidMethod|main (out|err)|stubvm: DestroyJavaVM)' |
    sed 's/, at most.*//' >"$app/order"
expect_text "VM output in the log" "$app/order" <<'LOG'
Logging Filename = app.log
CallStaticVoidMethod <main> with 0 arg(s)
main out 1
main err 1
main out 2
main err 2
main out 3
main err 3
stubvm: DestroyJavaVM
LOG

# Bad configurations never crash it.
app=$(new_app binary)
head -c 65536 /dev/urandom >"$app/Vintral.cfg"
run_launcher "$app"
expect_status "binary bytes" 1
expect_contains "binary bytes" "$app/out" "lines read."

app=$(new_app nul)
head -c 4096 /dev/zero >"$app/Vintral.cfg"
run_launcher "$app"
expect_status "NUL bytes" 1
expect_contains "NUL bytes" "$app/out" "0 lines read."
expect_contains "NUL bytes" "$app/err" "Could not open configuration file. Program will exit!"

app=$(new_app longline)
{ printf 'classpath='; head -c 1048576 /dev/zero | tr '\0' 'c'; printf '\nmainclass=Long\n'; } >"$app/Vintral.cfg"
run_launcher "$app"
expect_status "1 MB line" 1
expect_contains "1 MB line" "$app/out" "2 lines read."
expect_contains "1 MB line" "$app/out" "Main class = Long"
[ "$(grep -c '^Adding option <-Djava.class.path=ccc' "$app/out")" = 1 ] || fail "1 MB line: not one option"

app=$(new_app manylines)
seq 1 100000 | sed 's/^/unknown=/' >"$app/Vintral.cfg"
run_launcher "$app"
expect_status "100,000 lines" 1
expect_contains "100,000 lines" "$app/out" "100000 lines read."

app=$(new_app directory)
mkdir "$app/Vintral.cfg"
run_launcher "$app"
expect_status "directory" 1
expect_text "directory stderr" "$app/err" <<'ERR'
Error: could not open `.\Vintral.cfg'
Could not open configuration file. Program will exit!
ERR

finish
