# A script against a fresh database: the whole output must match script_output.expected (tables,
# NULLs, numbers, dates, timestamps, bytes, binds, a batch load, CSV, DESCRIBE, update counts).
source "$(dirname "$0")/lib.bash" "$@"

cp "$HERE/samples.csv" "$WORK/"
cd "$WORK"
run "file:$WORK/script.db?mode=rwc" scott tiger -f "$HERE/script_output.sql"
expect_status 0 "script"
[ ! -s "$WORK/err" ] || fail "the script wrote errors"
if ! diff -u "$HERE/script_output.expected" "$WORK/out" >"$WORK/diff"; then
    cat "$WORK/diff" >&2
    fail "output differs from script_output.expected"
fi
echo "script output: ok"
