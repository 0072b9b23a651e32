# What the real-JVM tests share: the JDKs to run on and, for each, an
# application folder with the test programs compiled by that JDK's javac.
source "$(dirname "${BASH_SOURCE[0]}")/../lib/host.sh"
java_sources="$(cd "$(dirname "${BASH_SOURCE[0]}")/java" && pwd)"

mapfile -t jdks < <(host_jdks)
have17=no
for jdk in "${jdks[@]}"; do [ "$(jdk_feature "$jdk")" = 17 ] && have17=yes; done
if [ "$have17" = no ]; then
    echo "OpenJDK 17 not found under /usr/lib/jvm: install openjdk-17-jdk-headless (make deps)" >&2
    exit 1
fi

# jdk_app JDK: the application folder for JDK, its classes in ./classes;
# prints its path.
jdk_app() {
    local jdk="$1" app
    app=$(new_host_app "$(basename "$jdk")" "$jdk")
    find "$java_sources" -name '*.java' -print0 | xargs -0 "$jdk/bin/javac" -d "$app/classes"
    echo "$app"
}

# configure APP LINES...: writes APP/Vintral.cfg, one line per argument.
configure() {
    local app="$1"
    shift
    printf '%s\n' "$@" >"$app/Vintral.cfg"
}

# windows_path PATH: the backslash form in which the launcher sees a path.
windows_path() {
    printf '%s' "$1" | tr / '\\'
}

# last_line FILE
last_line() {
    tail -n 1 "$1"
}

# after_separator APP: standard output from the separator line on, in a
# file of its own; prints the file's path.
after_separator() {
    sed -n '/^=====/,$p' "$1/out" >"$1/java-out"
    echo "$1/java-out"
}
