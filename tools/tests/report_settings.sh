# SET COLSEP, NULL, NUMWIDTH, NUMFORMAT, WRAP, TRIMOUT, ECHO, VERIFY: the output must match
# report_settings.expected.
source "$(dirname "$0")/lib.bash" "$@"
run "$DB" scott tiger -f "$HERE/report_settings.sql"
expect_status 0 "report_settings.sql"
[ ! -s "$WORK/err" ] || fail "the script wrote errors"
diff -u "$HERE/report_settings.expected" "$WORK/out" >&2 || fail "output differs from report_settings.expected"

# SET TERMOUT OFF: a script's results go only to the spool file.
cd "$WORK"
run "$DB" scott tiger -c "SPOOL quiet.txt
SET TERMOUT OFF
SELECT 1 AS hidden FROM dual;
SET TERMOUT ON
SPOOL OFF
PROMPT shown"
expect_status 0 "TERMOUT"
[ "$(cat "$WORK/out")" = "shown" ] || fail "TERMOUT OFF kept the result off the terminal"
grep -q "HIDDEN" quiet.txt || fail "TERMOUT OFF still spools"
echo "report settings: ok"
