# Rows stream through a bounded look-ahead: widths come from the first 100 rows, so a wider value
# later does not re-lay out what was printed, and the rows all arrive.
source "$(dirname "$0")/lib.bash" "$@"

rows=""
for i in $(seq 1 150); do rows+="INSERT INTO t VALUES ($i, 'r$i');"$'\n'; done
run_stdin "CREATE TABLE t (id NUMBER(5), name VARCHAR2(300));
$rows
UPDATE t SET name = 'a-much-longer-value-than-before' WHERE id = 140;
SELECT id, name FROM t ORDER BY id;
" "file:$WORK/look.db?mode=rwc" scott tiger
expect_status 0 "script"
expect_out "(150 rows)" "all rows"
expect_out "   1 | r1" "narrow first rows"
expect_out " 140 | a-much-longer-value-than-before" "a later wide value is printed whole"
expect_out " 150 | r150" "rows after the wide one keep the first widths"
header=$(grep -m1 "ID" "$WORK/out")
[ "$header" = " ID  | NAME" ] || fail "header from the first 100 rows: <$header>"
echo "look-ahead: ok"
