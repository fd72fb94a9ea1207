# Statements fed on standard input: errors are reported and the session goes on; statements span
# lines, contain ";" inside quotes and comments, and may end with a "/" line.
source "$(dirname "$0")/lib.bash" "$@"

run_stdin "CREATE TABLE notes (id NUMBER(5), text VARCHAR2(100));
INSERT INTO notes VALUES (1, 'semi;colon');
INSERT INTO nosuch VALUES (1);
-- a comment; with a semicolon
INSERT INTO notes
  VALUES (2, 'two /* not a comment */ lines');
SELEKT oops;
INSERT INTO notes VALUES (3, 'it''s quoted')
/
SELECT * FROM notes ORDER BY id; DESCRIBE notes
\\set
SELECT COUNT(*) AS n FROM notes
" "$DB" scott tiger
expect_status 1 "errors on standard input give status 1 at the end"
expect_err "<stdin>:3: ERROR: ORA-00942" "first error, with its line"
expect_err "<stdin>:7: ERROR: ORA-00900" "second error, with its line"
expect_out " semi;colon" "a ; inside quotes"
expect_out " two /* not a comment */ lines" "comment markers inside quotes"
expect_out " it's quoted" "a doubled quote and a / line"
expect_out "(3 rows)" "all three rows arrived despite the errors"
expect_out " TEXT " "DESCRIBE after a statement on the same line"
expect_out "VARCHAR2(100)" "DESCRIBE type"
expect_out "  3" "the last statement ends at the end of input without ;"
[ "$(grep -c 'ERROR' "$WORK/err")" -eq 2 ] || fail "exactly two errors"
echo "stdin session: ok"
