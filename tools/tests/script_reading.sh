# How scripts written for Oracle are cut into statements: "/" lines, PL/SQL units sent whole,
# q-quotes, an unterminated literal at the end, a backslash command after a statement without its
# ";", and bind names in any case.
source "$(dirname "$0")/lib.bash" "$@"
cd "$WORK"

# A "/" line after a statement that ended with ";" runs it again; the next statement still runs.
run "$DB" scott tiger -q -c "SELECT 1 AS x FROM dual;
/
SELECT 2 AS y FROM dual;"
expect_status 0 "/ runs the last statement again"
[ "$(tr -d ' ' <"$WORK/out" | tr '\n' ,)" = "X,---,1,X,---,1,Y,---,2," ] || fail "/ did not run SELECT 1 twice then SELECT 2"
run "$DB" scott tiger -c "/"
expect_status 1 "/ with nothing before it"
expect_err '-c:1: ERROR: nothing to run again: no statement before this "/"' "/ with nothing before it"

# A PL/SQL unit is one statement ended by its "/" line: a procedure is created whole, neither the
# INSERT nor the COMMIT inside it runs then, nor does a package's; a unit the database refuses (a
# type) fails once; the statement after the "/" runs. A block that fails undoes what it did (its DELETE).
run "$DB" scott tiger -c "CREATE TABLE t (a NUMBER(3));
INSERT INTO t VALUES (1);
CREATE OR REPLACE PROCEDURE p AS
BEGIN
    INSERT INTO t VALUES (2);
    COMMIT;
END;
/
SELECT COUNT(*) AS n FROM t WHERE a = 2;
BEGIN
    DELETE FROM t;
    no_such_procedure;
END;
/
CREATE OR REPLACE FUNCTION f RETURN NUMBER IS BEGIN RETURN 1; END;
/
CREATE OR REPLACE PACKAGE pk AS PROCEDURE q; END pk;
/
CREATE TYPE point AS OBJECT (x NUMBER, y NUMBER);
/
SELECT 'after' AS w FROM dual;"
expect_status 1 "PL/SQL units fail"
[ "$(grep -c ERROR "$WORK/err")" -eq 2 ] || fail "each PL/SQL unit fails once, as one statement"
expect_out "Procedure created." "the procedure is created"
expect_out "Function created." "the function is created"
expect_out "Package created." "the package is created"
for line in 10 19; do
    grep -qE "^-c:$line: ERROR: ORA-[0-9]{5}" "$WORK/err" || fail "no ORA error for the unit on line $line"
done
expect_no_out "Statement processed" "no fragment of a body runs"
expect_no_out "Commit complete" "COMMIT inside the body does not run"
[ "$(grep -A2 ' N$' "$WORK/out" | tail -1 | tr -d ' ')" = "0" ] || fail "the INSERT inside the body ran"
expect_out " after" "the statement after the last / runs"
run "$DB" scott tiger -q --csv -c "SELECT COUNT(*) AS n FROM t;"
[ "$(tail -1 "$WORK/out")" = "1" ] || fail "the failed block's DELETE was undone"

# q-quotes: the quote and ";" inside are text, every delimiter pair works, and nq'...' too.
run "$DB" scott tiger --csv -q -c "SELECT q'[it's; fine]' AS a, Q'{b}' AS b, q'(c)' AS c, q'<d>' AS d, q'!e'!' AS e, nq'#f#' AS f FROM dual;
SELECT 'next' AS n FROM dual;"
expect_status 0 "q-quotes"
[ "$(cat "$WORK/out")" = "$(printf "A,B,C,D,E,F\nit's; fine,b,c,d,e',f\nN\nnext")" ] || fail "q-quoted values"

# An unterminated literal at the end: an error naming the line where it opened and the lines not
# run; everything before it ran.
run "$DB" scott tiger -c "SELECT 'one' AS w FROM dual;
SELECT 'it''s open FROM dual;
SELECT 3 AS w FROM dual;"
expect_status 1 "unterminated literal"
expect_out " one" "the statement before it runs"
expect_err "-c:2: ERROR: a quoted text opened on line 2 is not closed at the end of the input; lines 2 to 3 were not run" "unterminated literal"

# A line starting with a backslash command ends a statement that lacks its ";".
run "$DB" scott tiger -c "SELECT 'pending' AS w FROM dual
\\echo after the statement
SELECT 'last' AS w FROM dual"
expect_status 0 "backslash line ends the statement"
[ "$(grep -E 'pending|after the statement|last' "$WORK/out" | tr -d ' ' | tr '\n' ,)" = "pending,afterthestatement,last," ] \
    || fail "the statement runs before the command"

# Bind names compare case-insensitively: :a and :A are one variable.
run "$DB" scott tiger --csv -q -c "\\set a 1
SELECT :a AS x, :A AS y FROM dual"
expect_status 0 ":a and :A"
[ "$(cat "$WORK/out")" = "$(printf 'X,Y\n1,1')" ] || fail ":a and :A bind one value"
echo "script reading: ok"
