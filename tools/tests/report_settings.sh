# SET COLSEP, NULL, NUMWIDTH, NUMFORMAT, WRAP, TRIMOUT, ECHO, VERIFY: the output must match
# report_settings.expected.
source "$(dirname "$0")/lib.bash" "$@"
run "$DB" scott tiger -f "$HERE/report_settings.sql"
expect_status 0 "report_settings.sql"
[ ! -s "$WORK/err" ] || fail "the script wrote errors"
diff -u "$HERE/report_settings.expected" "$WORK/out" >&2 || fail "output differs from report_settings.expected"
echo "report settings: ok"
