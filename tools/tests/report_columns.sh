# COLUMN ... HEADING / FORMAT / NEW_VALUE / CLEAR: the whole output must match
# report_columns.expected, whose first three results are the SQL*Plus User's Guide's own.
source "$(dirname "$0")/lib.bash" "$@"
run "$DB" scott tiger -f "$HERE/report_columns.sql"
expect_status 0 "report_columns.sql"
[ ! -s "$WORK/err" ] || fail "the script wrote errors"
diff -u "$HERE/report_columns.expected" "$WORK/out" >&2 || fail "output differs from report_columns.expected"
echo "report columns: ok"
