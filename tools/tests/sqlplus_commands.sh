# SQL*Plus habits: SET / SHOW, SPOOL, PROMPT, @ / @@ / START with arguments, DEFINE and &name,
# WHENEVER SQLERROR, CONNECT within a session, and psql's \d and \dt.
source "$(dirname "$0")/lib.bash" "$@"
cd "$WORK"

run "$DB" scott tiger -c "SET FEEDBACK OFF
SET NULL 'n/a'
SET AUTOCOMMIT ON
SET TIMING ON
SET TIMING OFF
SET LONG 3
SET ECHO OFF
SHOW ALL
SET SERVEROUTPUT ON SIZE UNLIMITED
SHOW ERRORS
CREATE TABLE t (a VARCHAR2(5), c CLOB);
INSERT INTO t VALUES (NULL, 'abcdef');
ROLLBACK;
SELECT a, c FROM t;"
expect_status 0 "SET and SHOW"
[ "$(sed -n 1,8p "$WORK/out")" = "$(printf 'autocommit ON\ndefine ON\nfeedback OFF\nlong 3\nnull "n/a"\nspool OFF\ntiming OFF\nUSER is "SCOTT"')" ] \
    || fail "SHOW ALL"
expect_out "No errors." "SHOW ERRORS with no unit created"
expect_no_out "created" "FEEDBACK OFF"
expect_out " n/a | abc" "NULL text, LONG, and AUTOCOMMIT (ROLLBACK kept the row)"
expect_err "Warning: values of column C reached the maximum column size of 3" "LONG cuts"
[ "$(grep -c "ERROR:" "$WORK/err")" -eq 0 ] || fail "settings without effect are not errors"

# SPOOL copies output and errors to a file (.lst added), PROMPT prints, DEFINE and &name / &&name /
# &name. substitute, SET DEFINE OFF leaves "&" alone.
mkdir sub
printf 'PROMPT inner: &1 and &2\n@@leaf x\n' > sub/inner.sql
printf "SELECT '&prefix._&1' AS name FROM dual;\n" > sub/leaf.sql
run "$DB" scott tiger -q -c "DEFINE prefix = app
DEFINE prefix
SPOOL run
PROMPT spooled &prefix
SELECT * FROM nosuch;
SPOOL OFF
PROMPT not spooled
@sub/inner one 'two words'
START sub/leaf.sql y
SELECT '&undefined' FROM dual;
SET DEFINE OFF
SELECT 'R&D' AS rd FROM dual;
UNDEFINE prefix
SET DEFINE ON
PROMPT &prefix"
expect_status 1 "SPOOL, PROMPT, DEFINE, @"
[ "$(head -1 "$WORK/out")" = 'DEFINE PREFIX = "app" (CHAR)' ] || fail "DEFINE name shows the value"
[ "$(cat run.lst)" = "$(printf 'spooled app\n-c:5: ERROR: ORA-00942: table or view does not exist')" ] || fail "the spool file"
expect_out "not spooled" "PROMPT"
expect_out "inner: one and two words" "@ with arguments"
expect_out " app_x" "@@ runs a script next to the running one, with its own arguments"
expect_out " app_y" "START"
expect_err "-c:10: ERROR: substitution variable &undefined is not defined" "an undefined variable"
expect_out " R&D" "SET DEFINE OFF"
expect_err "-c:15: ERROR: substitution variable &prefix is not defined" "UNDEFINE"

# WHENEVER SQLERROR: CONTINUE ROLLBACK undoes the open transaction; EXIT leaves with its code
# (FAILURE unless told otherwise) after a failing statement, not after a failing command.
run "$DB" scott tiger -q -c "CREATE TABLE w (a NUMBER(3));
WHENEVER SQLERROR CONTINUE ROLLBACK
INSERT INTO w VALUES (1);
INSERT INTO nosuch VALUES (1);
SELECT COUNT(*) AS n FROM w;
WHENEVER SQLERROR EXIT
SET NOSUCH ON
STARTUP
SELECT * FROM nosuch;
PROMPT not reached"
expect_status 1 "WHENEVER SQLERROR EXIT"
[ "$(grep -A2 ' N$' "$WORK/out" | tail -1 | tr -d ' ')" = "0" ] || fail "CONTINUE ROLLBACK kept the row"
expect_err "-c:7: note: SET NOSUCH ON is not a setting kavex-sql knows; accepted without effect" "an unknown setting"
expect_err "-c:8: ERROR: STARTUP is a SQL*Plus command that kavex-sql does not have" "a failing command does not exit"
expect_err "-c:9: ERROR: ORA-00942" "the statement error exits"
expect_no_out "not reached" "nothing after the exit runs"
run "$DB" scott tiger -q -c "WHENEVER SQLERROR EXIT SQL.SQLCODE
SELECT * FROM nosuch;"
expect_status $((942 % 256)) "EXIT SQL.SQLCODE"
run "$DB" scott tiger -q -c "WHENEVER SQLERROR EXIT 9 ROLLBACK
INSERT INTO w VALUES (2);
SELECT :unset FROM dual;"
expect_status 9 "EXIT 9 after a statement the shell refused"
run "$DB" scott tiger -q -c "SELECT COUNT(*) AS n FROM w; EXIT WARNING"
expect_status 2 "EXIT WARNING"
[ "$(grep -A2 ' N$' "$WORK/out" | tail -1 | tr -d ' ')" = "0" ] || fail "EXIT ... ROLLBACK committed"

# CONNECT replaces the session; a failed CONNECT leaves none, so nothing runs as the old user.
run "$DB" scott tiger -c "CONNECT alice/secret@file:$WORK/other.db?mode=rwc
SHOW USER
CREATE TABLE only_here (a NUMBER(1));
CONNECT bob/pw@$WORK/missing.db
SELECT 1 FROM dual;
SHOW USER
CONNECT scott/tiger
\\dt
\\d
\\d only_here"
expect_status 1 "CONNECT"
expect_out "Connected." "CONNECT"
expect_out 'USER is "ALICE"' "the new user"
expect_err "-c:4: ERROR: Cannot open connection" "a failed CONNECT"
expect_err "Hint: there is no database file $WORK/missing.db; to create it, connect to file:$WORK/missing.db?mode=rwc" "its hint"
expect_err "-c:5: ERROR: not connected" "no session after a failed CONNECT"
expect_out "not connected" "SHOW USER without a session"
# "CONNECT user/password" keeps the last connect string: other.db, with its one table.
[ "$(grep -c ' ONLY_HERE ' "$WORK/out")" -eq 2 ] || fail "\\dt and \\d list the table of other.db"
expect_out " A    | NUMBER(1)" "\\d NAME describes"
run "$DB" scott tiger -c "\\dt W*"
expect_out " W    | TABLE" "\\dt PATTERN"
expect_no_out " T    |" "\\dt PATTERN leaves others out"
echo "SQL*Plus commands: ok"
