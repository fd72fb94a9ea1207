# SET LINESIZE, PAGESIZE, NEWPAGE, HEADING, UNDERLINE, FEEDBACK: the output must match
# report_pages.expected (SQL*Plus page layout).
source "$(dirname "$0")/lib.bash" "$@"
run "$DB" scott tiger -f "$HERE/report_pages.sql"
expect_status 0 "report_pages.sql"
[ ! -s "$WORK/err" ] || fail "the script wrote errors"
diff -u "$HERE/report_pages.expected" "$WORK/out" >&2 || fail "output differs from report_pages.expected"
echo "report pages: ok"
