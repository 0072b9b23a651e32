# The checks that every script test shares, and its verdict in the plain
# closing form. Source it with work_prefix set; each test then works in its
# own temporary folder ($work). A library whose files need changing before
# they are compared (Windows line ends) redefines as_compared.
work=$(mktemp -d "/tmp/${work_prefix:-launcher-test}-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
checks=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# as_compared FILE: FILE as the checks compare it.
as_compared() { cat "$1"; }

# expect_text NAME FILE: FILE must equal standard input.
expect_text() {
    local name="$1" file="$2" expected
    checks=$((checks + 1))
    expected=$(mktemp "$work/expected.XXXXXX")
    cat >"$expected"
    if ! as_compared "$file" | cmp -s - "$expected"; then
        fail "$name: $file differs from what was expected"
        as_compared "$file" | diff -u "$expected" - | head -40 >&2 || true
    fi
}

# expect_start NAME FILE: the first lines of FILE must equal standard
# input; later lines (a later step's account) may follow.
expect_start() {
    local name="$1" file="$2" expected
    checks=$((checks + 1))
    expected=$(mktemp "$work/expected.XXXXXX")
    cat >"$expected"
    if ! as_compared "$file" | head -n "$(wc -l <"$expected")" | cmp -s - "$expected"; then
        fail "$name: $file does not start as expected"
        as_compared "$file" | diff -u "$expected" - | head -40 >&2 || true
    fi
}

# expect_contains NAME FILE TEXT
expect_contains() {
    checks=$((checks + 1))
    grep -qF -- "$3" "$2" || { fail "$1: '$3' not in $2"; head -40 "$2" >&2; }
}

# expect_absent NAME FILE TEXT
expect_absent() {
    checks=$((checks + 1))
    if grep -qF -- "$3" "$2"; then
        fail "$1: '$3' in $2"
        grep -F -- "$3" "$2" | head -5 >&2
    fi
}

# expect_status NAME STATUS: the last run's exit status ($status).
expect_status() {
    checks=$((checks + 1))
    [ "$status" = "$2" ] || fail "$1: exit status $status, expected $2"
}

# finish: the test's verdict.
finish() {
    echo "$((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
