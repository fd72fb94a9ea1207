# BREAK ON and COMPUTE: the whole output must match
# report_breaks.expected, whose first result is the User's Guide's COMPUTE example.
source "$(dirname "$0")/lib.bash" "$@"
run "$DB" scott tiger -f "$HERE/report_breaks.sql"
expect_status 0 "report_breaks.sql"
[ ! -s "$WORK/err" ] || fail "the script wrote errors"
diff -u "$HERE/report_breaks.expected" "$WORK/out" >&2 || fail "output differs from report_breaks.expected"
echo "report breaks: ok"
