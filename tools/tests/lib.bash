# Shared by the shell's tests: each test runs kavex-sql from the outside, as a user does, against a
# database in a fresh temporary directory.
# Usage inside a test: source lib.bash "$@"   (arguments: KAVEX_SQL TEST_DIR)
set -euo pipefail
SQL=$1
HERE=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
DB="file:$WORK/test.db?mode=rwc"
unset KAVEX_PASSWORD
# The distribution's interpreter: version-manager shims on PATH can take seconds to start.
PYTHON=$(command -v /usr/bin/python3 || command -v python3 || true)

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$WORK/out" ]; then echo "--- stdout" >&2; cat "$WORK/out" >&2; fi
    if [ -f "$WORK/err" ]; then echo "--- stderr" >&2; cat "$WORK/err" >&2; fi
    exit 1
}

# run ARGS... : runs kavex-sql with stdin from /dev/null; sets $status, $WORK/out and $WORK/err.
run() {
    set +e
    "$SQL" "$@" </dev/null >"$WORK/out" 2>"$WORK/err"
    status=$?
    set -e
}

# run_stdin TEXT ARGS... : the same with TEXT on standard input.
run_stdin() {
    local text=$1
    shift
    set +e
    printf '%s' "$text" | "$SQL" "$@" >"$WORK/out" 2>"$WORK/err"
    status=$?
    set -e
}

expect_status() {
    [ "$status" -eq "$1" ] || fail "$2: exit status $status, expected $1"
}

expect_out() {
    grep -qF -- "$1" "$WORK/out" || fail "$2: stdout lacks <$1>"
}

expect_err() {
    grep -qF -- "$1" "$WORK/err" || fail "$2: stderr lacks <$1>"
}

expect_no_out() {
    if grep -qF -- "$1" "$WORK/out"; then fail "$2: stdout has <$1>"; fi
}
