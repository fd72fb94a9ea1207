# q-quoted and ordinary literals holding ";" and "--" through the shell: statements end only
# outside them, and each literal's text arrives whole (quoted_text.expected).
source "$(dirname "$0")/lib.bash" "$@"

run "$DB" scott tiger -f "$HERE/quoted_text.sql"
expect_status 0 "script"
[ ! -s "$WORK/err" ] || fail "the script wrote errors"
if ! diff -u "$HERE/quoted_text.expected" "$WORK/out" >"$WORK/diff"; then
    cat "$WORK/diff" >&2
    fail "output differs from quoted_text.expected"
fi
echo "quoted text: ok"
