#!/bin/bash
# The Windows build under Wine: the account of a launch on both streams,
# the -f option and the exit statuses of the launch-control failures.
source "$(dirname "$0")/../lib/wine.sh"
reset_registry

# A configuration with every kind of line; no runtime, so code 6.
app=$(new_app full)
cat >"$app/Vintral.cfg" <<'CFG'
# comment
mainclass = com.example.App
classpath=lib\app.jar
vmargs=app.mode=test
vmargsnative=-Xmx64m
requiredVM=1.4
appargs=alpha  beta
unknown=ignored
no equals here
CFG
run_launcher "$app" "" "two words"
expect_status "full configuration" 1
expect_start "full configuration stdout" "$app/out" <<'OUT'
Executing launcher.exe.
Creating options array.
Adding option <-Djava.class.path=.;>
Adding option <-noverbose>
Reading configuration file Vintral.cfg...
param 'mainclass'='com.example.App'
Main class = com.example.App
param 'classpath'='lib\app.jar'
Classpath = lib\app.jar
Adding option <-Djava.class.path=lib\app.jar>
param 'vmargs'='app.mode=test'
VM option = app.mode=test
Adding option <-Dapp.mode=test>
param 'vmargsnative'='-Xmx64m'
VM option native = -Xmx64m
Adding option <-Xmx64m>
param 'requiredVM'='1.4'
JRE release = 1.4
param 'appargs'='alpha  beta'
param 'unknown'='ignored'
readConfig ended.
8 lines read.
Application arguments = alpha beta  two words 
OUT
expect_contains "full configuration stderr" "$app/err" "Unparseable line in configuration file: 'no equals here' !"
expect_contains "full configuration stderr" "$app/err" "Could not find required Java 2 Runtime Environment. Program will exit!"

# -f names another file in the working directory.
app=$(new_app option)
printf 'mainclass=Other\n' >"$app/other.cfg"
run_launcher "$app" -f other.cfg a
expect_status "-f" 1
expect_start "-f stdout" "$app/out" <<'OUT'
Executing launcher.exe.
Creating options array.
Adding option <-Djava.class.path=.;>
Adding option <-noverbose>
Configuration Filename = other.cfg
Reading configuration file other.cfg...
param 'mainclass'='Other'
Main class = Other
readConfig ended.
1 lines read.
Application arguments = a 
OUT

# No configuration: code 11.
app=$(new_app missing)
run_launcher "$app"
expect_status "missing configuration" 1
expect_text "missing configuration stderr" "$app/err" <<'ERR'
Error: could not open `.\Vintral.cfg'
Could not open configuration file. Program will exit!
ERR

# 501 arguments: code 2, and nothing of the Java side starts.
app=$(new_app many)
words=$(seq -s ' ' 1 499)
printf 'appargs=%s\n' "$words" >"$app/Vintral.cfg"
run_launcher "$app" x y
expect_status "501 arguments" 1
expect_text "501 arguments stderr" "$app/err" <<'ERR'
Too many application arguments: at most 500 are allowed.
Could not parse the command arguments. Program will exit!
ERR
grep -q "Application Home" "$app/out" && fail "501 arguments: the runtime search ran"

finish
