#!/bin/bash
# make bench: start-up figures of the launcher, written to docs/performance.md.
#
#  1. A Hello class started by the host launcher on each JDK under
#     /usr/lib/jvm, from a Windows-shaped private runtime, against the JDK's
#     own `java -cp <dir> Hello`: several hyperfine runs of both, each
#     giving the ratio of its medians.
#  2. The launcher's own cost before the virtual machine, with the stand-in
#     VM: configurations of 1, 1,000 and 100,000 lines and 500 arguments, as
#     whole-process time (hyperfine) and as instruction counts (callgrind).
#  3. The sizes of both Windows executables.
#
# Environment: BUILD and DIST as for make; BENCH_ROUNDS, BENCH_RUNS (per
# round), BENCH_WARMUP; BENCH_OUT, the file to write (default
# docs/performance.md).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BUILD:-$root/build}"
dist="${DIST:-$root/dist}"
out="${BENCH_OUT:-$root/docs/performance.md}"
rounds="${BENCH_ROUNDS:-9}"
runs="${BENCH_RUNS:-20}"
warmup="${BENCH_WARMUP:-3}"

launcher="$dist/host/launcher"
stubvm="$build/host/tests/stubvm/libstubvm.so"
for file in "$launcher" "$stubvm" "$dist/win32/launcher.exe" "$dist/win64/launcher.exe"; do
    [ -f "$file" ] || { echo "bench.sh: missing $file (run make all)" >&2; exit 1; }
done
for tool in hyperfine valgrind callgrind_annotate; do
    command -v "$tool" >/dev/null || { echo "bench.sh: $tool not found (make deps)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/launcher-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
report="$work/performance.md"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

source "$root/tests/lib/runtime-layout.sh"

# new_app DIR VMLIB: the launcher in a Windows-shaped application folder
# whose private runtime's jvm.dll is VMLIB.
new_app() {
    local dir="$work/$1"
    lay_out_app "$dir" "$launcher" "$2"
    echo "$dir"
}

# hyperfine over the commands, run in DIR; the CSV (command, mean, stddev,
# median, ...) lands in CSV.
time_commands() { # DIR CSV COMMAND...
    local dir="$1" csv="$2"
    shift 2
    (cd "$dir" && hyperfine -N --style basic --warmup "$warmup" --runs "$runs" \
        --export-csv "$csv" "$@" >"$csv.log" 2>&1) ||
        { cat "$csv.log" >&2; exit 1; }
}

median_of() { # CSV COMMAND: the median in seconds
    awk -F, -v c="$2" '$1 == c { print $4 }' "$1"
}
cpu_of() { # CSV COMMAND: the mean of user and system time together
    awk -F, -v c="$2" '$1 == c { print $5 + $6 }' "$1"
}

ms() { awk -v s="$1" 'BEGIN { printf "%.1f", s * 1000 }'; }
# The median of the numbers on standard input, one a line.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'; }
r3() { awk -v x="$1" 'BEGIN { printf "%.3f", x }'; }
thousands() { sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$1"; }

# A command must do what it is timed for: exit 0 with the expected output.
expect_run() { # DIR TEXT COMMAND...
    local dir="$1" text="$2"
    shift 2
    local output
    output=$(cd "$dir" && "$@" 2>&1) || { echo "bench.sh: '$*' failed in $dir:" >&2; echo "$output" | tail -5 >&2; exit 1; }
    grep -qF -- "$text" <<<"$output" || { echo "bench.sh: '$*' did not write '$text'" >&2; exit 1; }
}

# Instructions of a whole run under callgrind, every thread and every
# program it may exec included.
count_instructions() { # DIR COMMAND...
    local dir="$1"
    shift
    (cd "$dir" && valgrind --tool=callgrind --trace-children=yes --callgrind-out-file=/dev/null \
        "$@" 2>&1 >/dev/null) | awk '/Collected :/ { n += $NF } END { print n + 0 }'
}

echo "bench: the launcher against the JDKs' own launchers" >&2
jdk_rows=""
ir_jdk_rows=""
mapfile -t jdks < <(host_jdks)
[ ${#jdks[@]} -gt 0 ] || { echo "bench.sh: no JDK under /usr/lib/jvm" >&2; exit 1; }
for jdk in "${jdks[@]}"; do
    name=$(basename "$jdk")
    app=$(new_app "$name" "$jdk/lib/server/libjvm.so")
    mkdir -p "$app/src" "$app/classes"
    cat >"$app/src/Hello.java" <<'JAVA'
public class Hello {
    public static void main(String[] args) {
        System.out.println("Hello, world");
    }
}
JAVA
    "$jdk/bin/javac" -d "$app/classes" "$app/src/Hello.java"
    printf 'mainclass=Hello\nclasspath=classes\n' >"$app/Vintral.cfg"
    java_command="$jdk/bin/java -cp classes Hello"
    expect_run "$app" "Hello, world" ./launcher
    expect_run "$app" "Hello, world" $java_command
    # Several hyperfine runs, each timing both, the one or the other first;
    # each run gives a ratio of its two medians.
    rm -f "$work/$name.launcher" "$work/$name.java" "$work/$name.ratio" "$work/$name.cpu"
    for round in $(seq "$rounds"); do
        csv="$work/$name.$round.csv"
        if [ $((round % 2)) = 1 ]; then
            time_commands "$app" "$csv" ./launcher "$java_command"
        else
            time_commands "$app" "$csv" "$java_command" ./launcher
        fi
        l=$(median_of "$csv" ./launcher)
        j=$(median_of "$csv" "$java_command")
        echo "$l" >>"$work/$name.launcher"
        echo "$j" >>"$work/$name.java"
        echo "$(ratio "$l" "$j")" >>"$work/$name.ratio"
        echo "$(ratio "$(cpu_of "$csv" ./launcher)" "$(cpu_of "$csv" "$java_command")")" >>"$work/$name.cpu"
    done
    # Instructions do not depend on what else the machine is doing.
    li=$(for _ in 1 2 3; do count_instructions "$app" ./launcher; done | median)
    ji=$(for _ in 1 2 3; do count_instructions "$app" $java_command; done | median)
    ir_jdk_rows+="| $name | $(thousands "$li") | $(thousands "$ji") | $(ratio "$li" "$ji") |"$'\n'
    version=$(sed -n 's/^JAVA_VERSION="\(.*\)"/\1/p' "$jdk/release")
    jdk_rows+="| $name ($version) | $(ms "$(median <"$work/$name.launcher")") | $(ms "$(median <"$work/$name.java")")"
    jdk_rows+=" | $(r3 "$(median <"$work/$name.ratio")") | $(sort -g "$work/$name.ratio" | head -n 1) to $(sort -g "$work/$name.ratio" | tail -n 1)"
    jdk_rows+=" | $(r3 "$(median <"$work/$name.cpu")") |"$'\n'
done

echo "bench: the launcher's own cost, with the stand-in VM" >&2
app=$(new_app stub "$stubvm")
printf 'mainclass=Hello\n' >"$app/lines1.cfg"
for n in 1000 100000; do
    { echo "mainclass=Hello"; seq 2 "$n" | awk '{ print "vmargs=bench.property." $1 "=value" $1 }'; } >"$app/lines$n.cfg"
done
args500=$(seq -f 'argument%g' 1 500 | tr '\n' ' ')
cases=("1 line|-f lines1.cfg" "1,000 lines|-f lines1000.cfg" "100,000 lines|-f lines100000.cfg"
    "1 line, 500 arguments|-f lines1.cfg $args500")
commands=()
for entry in "${cases[@]}"; do
    command="./launcher ${entry#*|}"
    expect_run "$app" "stubvm: DestroyJavaVM" $command
    commands+=("$command")
done
time_commands "$app" "$work/stub.csv" "${commands[@]}"

# Instructions: the whole process, and the part inside runJavaMain (loading
# the stand-in VM and everything it does); the difference is the cost
# before the virtual machine. readConfig is shown on its own.
inclusive_ir() { # ANNOTATION FUNCTION
    awk -v f="$2" 'index($0, ":" f "(") { gsub(",", "", $1); if ($1 + 0 > max) max = $1 + 0 }
        END { print max + 0 }' "$1"
}
ir_rows=""
declare -A before
i=0
for entry in "${cases[@]}"; do
    command="${commands[$i]}"
    cg="$work/callgrind.$i"
    (cd "$app" && valgrind --tool=callgrind --callgrind-out-file="$cg" $command >/dev/null 2>"$cg.log")
    callgrind_annotate --inclusive=yes "$cg" >"$cg.txt" 2>/dev/null
    total=$(sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$cg.log")
    vm=$(inclusive_ir "$cg.txt" runJavaMain)
    config=$(inclusive_ir "$cg.txt" readConfig)
    [ -n "$total" ] && [ "$vm" -gt 0 ] && [ "$config" -gt 0 ] ||
        { echo "bench.sh: no callgrind figures for '$command'" >&2; exit 1; }
    before[$i]=$((total - vm))
    t=$(median_of "$work/stub.csv" "$command")
    ir_rows+="| ${entry%%|*} | $(ms "$t") | $(thousands "$total") | $(thousands "${before[$i]}") | $(thousands "$config") |"$'\n'
    i=$((i + 1))
done
per_line_small=$(((before[1] - before[0]) / 999))
per_line_large=$(((before[2] - before[1]) / 99000))
per_argument=$(((before[3] - before[0]) / 500))

size32=$(stat -c %s "$dist/win32/launcher.exe")
size64=$(stat -c %s "$dist/win64/launcher.exe")

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
{
    cat <<EOF
# Performance

Written by \`make bench\` (scripts/bench.sh); every figure below was measured in that run.

Machine: $(nproc) processors, $cpu; Linux $(uname -r); $(date -u '+%Y-%m-%d %H:%M UTC');
load average $load_before at the start. Tools: $(hyperfine --version), $(valgrind --version).
Times are medians of $runs runs after $warmup warm-up runs, with the output thrown away.

## Hello world: the launcher against the JDK's own launcher

The host launcher from a Windows-shaped application folder (\`jre\\bin\\java.dll\` and
\`jre\\bin\\client\\jvm.dll\`, a link to the JDK's \`lib/server/libjvm.so\`) with
\`mainclass=Hello\` and \`classpath=classes\`, against \`java -cp classes Hello\` of the same JDK,
timed by $rounds hyperfine runs, each of both commands (in turns the one or the other first). Each
run gives the ratio of its two medians; the table shows the median over the runs of each time and
of the ratio, and the lowest and highest ratio of a run; the last column is the median ratio of the
processor time (user and system) that the two took. The goal is a ratio at or below 1.

| JDK | launcher (ms) | java (ms) | ratio launcher/java | ratios of the runs | processor time ratio |
|---|---|---|---|---|---|
$jdk_rows
The same two commands under \`valgrind --tool=callgrind\`: instructions of all threads, the median of
three runs each.

| JDK | launcher | java | ratio launcher/java |
|---|---|---|---|
$ir_jdk_rows
## The launcher's own cost before the virtual machine

The host launcher with the stand-in VM (tests/stubvm) as its \`jvm.dll\`. The configurations are a
\`mainclass\` line followed by \`vmargs=bench.property.<n>=value<n>\` lines, each of which becomes a
JVM option; the 500 arguments are given on the command line. Time is the whole process (hyperfine).
Instructions are counted by \`valgrind --tool=callgrind\`: the whole process, the part before the
virtual machine (the whole process without \`runJavaMain\`, which loads the stand-in VM and runs
it), and \`readConfig\` alone. The host build reads the configuration through its stand-in for
Windows text mode, which is part of these figures.

| Case | time (ms) | instructions, whole process | before the VM | in readConfig |
|---|---|---|---|---|
$ir_rows
Cost before the VM per configuration line: $(thousands "$per_line_small") instructions from 1 to
1,000 lines, $(thousands "$per_line_large") from 1,000 to 100,000 lines; per command-line argument:
$(thousands "$per_argument").

## Executables

| Build | Size (bytes) |
|---|---|
| dist/win32/launcher.exe | $size32 |
| dist/win64/launcher.exe | $size64 |
EOF
} >"$report"
mkdir -p "$(dirname "$out")"
cp "$report" "$out"
echo "bench: written to $out" >&2
cat "$out"
