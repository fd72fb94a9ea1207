# Scripts written for SQL*Plus and SQLcl run under --stop-on-error: every setting and formatting
# command is accepted (those without effect with a one-line note on stderr, never an error), each
# line command ends at its line, and DESCRIBE inside an unfinished statement runs at once.
source "$(dirname "$0")/lib.bash" "$@"
cd "$WORK"
printf 'ID,NAME\n1,one\n2,two\n' > items.csv
cat > install.sql <<'SQL'
SET ECHO OFF VERIFY OFF
SET LINESIZE 120
SET PAGESIZE 50000
SET FEEDBACK 1
SET NUMWIDTH 12
SET TRIMSPOOL ON
SET TAB OFF
SET SERVEROUTPUT ON SIZE 1000000 FORMAT WRAPPED
SET AUTOTRACE OFF
SET SQLBLANKLINES ON
SET MADEUP 3 WORDS
COLUMN name FORMAT a20 HEADING 'Item|Name'
TTITLE LEFT 'Items' SKIP 1
BTITLE OFF
BREAK ON id SKIP 1
COMPUTE SUM OF id ON REPORT
HOST echo never
CREATE TABLE items (id NUMBER(4), name VARCHAR2(30));
LOAD items items.csv
REM the next LOAD names the same file
LOAD items items.csv
ALTER TABLE items ADD (note VARCHAR2(10));
SELECT COUNT(*) AS n
DESC items
FROM items;
SHOW NOTHING
CLEAR BREAKS
CLEAR COMPUTES
CLEAR COLUMNS
SQL
run "$DB" scott tiger -e -f install.sql
expect_status 0 "a SQL*Plus install script under -e"
[ "$(grep -c 'ERROR' "$WORK/err")" -eq 0 ] || fail "no command is an error"
grep -q SERVEROUTPUT "$WORK/err" && fail "SET SERVEROUTPUT ON SIZE n FORMAT WRAPPED is taken without a note"
expect_err "install.sql:11: note: SET MADEUP 3 WORDS is not a setting kavex-sql knows" "an unknown setting"
expect_err "install.sql:13: note: TTITLE is accepted" "TTITLE"
expect_err "install.sql:17: note: HOST is accepted and has no effect" "HOST does not run"
expect_no_out "never" "HOST does not run"
expect_err "install.sql:26: note: SHOW NOTHING" "an unknown SHOW"
[ "$(grep -c 'note:' "$WORK/err")" -eq 4 ] || fail "one note per command without effect"
expect_out "2 rows loaded into items." "LOAD ends at its line"
[ "$(grep -c 'rows loaded' "$WORK/out")" -eq 2 ] || fail "both LOADs ran"
expect_out "Table altered." "the ALTER after the LOADs and the REM ran"
# DESCRIBE ran in the middle of the SELECT, which then counted the four rows.
expect_out "NOTE" "DESCRIBE inside the statement"
grep -qE '^ +4$' "$WORK/out" || fail "the statement around DESCRIBE ran"

# Commands that would need the database in ways the library cannot are still errors.
run "$DB" scott tiger -e -c "STARTUP
SELECT 1 FROM dual;"
expect_status 1 "STARTUP"
expect_err "-c:1: ERROR: STARTUP is a SQL*Plus command that kavex-sql does not have" "STARTUP"
echo "Oracle scripts: ok"
