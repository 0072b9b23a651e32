#!/bin/bash
# Writes docs/reliability.md from measurements made now: the fault
# injection of the unit tests, the last fuzz run, and bad inputs tried end
# to end through the host launcher.
# Usage: reliability.sh BUILD_DIR DIST_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$1"
dist="$2"
out="$root/docs/reliability.md"
launcher="$dist/host/launcher"
tests="$build/host/tests/unit/unit_tests"
source "$root/tests/lib/runtime-layout.sh"
work=$(mktemp -d /tmp/launcher-reliability-XXXXXX)
trap 'rm -rf "$work"' EXIT

# ---- Fault injection --------------------------------------------------------------
report="$work/faults.tsv"
LAUNCHER_FAULTS_REPORT="$report" "$tests" --gtest_filter='Faults.*' >"$work/faults.log" 2>&1 ||
    { cat "$work/faults.log"; echo "the fault injection tests fail" >&2; exit 1; }
platform_injections=$(grep -c '^platform' "$report" || true)
platform_sites=$(grep '^platform' "$report" | cut -f3 | sort -u | wc -l)
platform_kinds=$(grep '^platform' "$report" | cut -f3 | cut -d' ' -f1 | sort -u | wc -l)
jni_injections=$(grep -c '^jni' "$report" || true)
jni_functions=$(grep '^jni' "$report" | cut -f2 | cut -d: -f1 | sort -u | wc -l)

# ---- Bad inputs, end to end ------------------------------------------------------------
# try NAME SETUP ARGS...: SETUP fills the folder $app; the launcher runs there,
# with the stand-in VM as its private runtime's jvm.dll, so that a launch
# that gets through the configuration runs a main that returns.
stub="$build/host/tests/stubvm/libstubvm.so"
rows="$work/rows"
: >"$rows"
try() {
    local name="$1" setup="$2"
    shift 2
    app="$work/case-$(wc -l <"$rows")"
    lay_out_app "$app" "$launcher" "$stub"
    (cd "$app" && eval "$setup")
    local status=0
    local started=$(date +%s%N)
    (cd "$app" && timeout 60 ./launcher "$@" >"$app/.out" 2>"$app/.err") || status=$?
    local ms=$(( ($(date +%s%N) - started) / 1000000 ))
    local last
    last=$(tail -n 1 "$app/.err" | tr -d '\r\000' | cut -c1-90)
    [ -f "$app/app.log" ] && last="$(tail -n 1 "$app/app.log" | tr -d '\000' | cut -c1-90) (in the log)"
    local what
    case "$status" in
    0) what="exit status 0: main returned" ;;
    1) what="exit status 1: ${last:-no report}" ;;
    124) what="TIMED OUT" ;;
    *) what="exit status $status (crash?): $last" ;;
    esac
    printf '| %s | %s | %s ms |\n' "$name" "$what" "$ms" >>"$rows"
}

try "no configuration file" ":"
try "an empty configuration file" ": > Vintral.cfg"
try "only comments and blank lines" "printf '#a\n\n#b\r\n\r\n' > Vintral.cfg"
try "64 KiB of random bytes" "head -c 65536 /dev/urandom > Vintral.cfg"
try "4 KiB of NUL bytes" "head -c 4096 /dev/zero > Vintral.cfg"
try "a 1 MB classpath line" '{ printf "classpath="; head -c 1048576 /dev/zero | tr "\000" c; echo; } > Vintral.cfg'
try "100,000 lines" "seq 1 100000 | sed 's/^/vmargs=k/' > Vintral.cfg"
try "a directory named Vintral.cfg" "mkdir Vintral.cfg"
try "a link to nothing named Vintral.cfg" "ln -s /nonexistent Vintral.cfg"
try "a log file in a folder that does not exist" 'printf "logfilename=no\\\\such\\\\app.log\nmainclass=A\n" > Vintral.cfg'
try "a log file that is a directory" "mkdir app.log.d && printf 'logfilename=app.log.d\n' > Vintral.cfg"
try "501 application arguments" "seq -s ' ' 1 500 | sed 's/^/appargs=/' > Vintral.cfg" extra
try "a configuration name of 300 bytes (-f)" ":" -f "$(printf 'n%.0s' $(seq 300))"
try "a required version of 300 bytes" 'printf "requiredVM=%s\n" "$(printf "v%.0s" $(seq 300))" > Vintral.cfg'
try "a main class of 10,000 bytes" 'printf "mainclass=%s\n" "$(head -c 10000 /dev/zero | tr "\000" A)" > Vintral.cfg'
try "CR only line ends" "printf 'mainclass=A\rappargs=x\r' > Vintral.cfg"
try "a byte-order mark before the first key" "printf '\xef\xbb\xbfmainclass=A\n' > Vintral.cfg"
try "a line of one '='" "printf '=\n' > Vintral.cfg"
try "a Ctrl-Z in the middle" "printf 'mainclass=A\n\x1amainclass=B\n' > Vintral.cfg"
bad_inputs=$(wc -l <"$rows")

# ---- Fuzzing ------------------------------------------------------------------------------
fuzz_summary="$build/fuzz/summary.txt"

{
    echo "# Reliability figures"
    echo
    echo "Written by \`make reliability\` on $(date -u '+%Y-%m-%d %H:%M UTC') ($(nproc) cores, $(uname -sr))."
    echo "Every figure below was measured by that command; none is written by hand."
    echo
    echo "## Fault injection"
    echo
    echo "The unit tests record whole launches against the fake platform, then fail each recorded call"
    echo "alone in a launch of its own and check its outcome, that nothing crashed and that every"
    echo "registry key was closed (\`tests/unit/faults_test.cpp\`)."
    echo
    echo "- Platform calls: $platform_injections injected failures over $platform_sites call sites"
    echo "  (a call kind with what it was about) of $platform_kinds kinds, in two launches (NT family with a registered"
    echo "  runtime, 95 family with a private runtime)."
    echo "- JNI calls, with the stand-in VM: $jni_injections injected failures over $jni_functions functions that can fail,"
    echo "  plus the virtual machine refusing to be created."
    echo
    echo "| Injected failure | Outcomes seen |"
    echo "|---|---|"
    awk -F'\t' '$1=="platform" { split($3, w, " "); key=w[1]; o[key]=o[key] "\n" $4 }
                $1=="jni" { split($2, w, ":"); key="JNI " w[1]; o[key]=o[key] "\n" $3 }
                END { for (k in o) { n=split(substr(o[k],2), l, "\n"); delete seen; s="";
                      for (i=1;i<=n;i++) if (!(l[i] in seen)) { seen[l[i]]=1; s = s (s==""?"":"; ") l[i] }
                      print "| " k " | " s " |" } }' "$report" | sort
    echo
    echo "## Fuzzing"
    echo
    if [ -s "$fuzz_summary" ]; then
        echo "libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, last \`make fuzz\` run:"
        echo
        sed 's/^/- /' "$fuzz_summary"
    else
        echo "No fuzz run was found in $build/fuzz; run \`make fuzz\` first."
    fi
    echo
    echo "## Bad inputs, end to end"
    echo
    echo "$bad_inputs inputs, each through the host launcher (\`dist/host/launcher\`) in a folder of its own, with"
    echo "the stand-in VM as its private runtime's \`jvm.dll\`."
    echo "The last line is the report's line on standard error (or in the log), after its message box."
    echo
    echo "| Input | What happened | Time |"
    echo "|---|---|---|"
    cat "$rows"
} >"$out"
echo "wrote $out"
