# Exit codes and messages: usage errors, connection failures, statement failures, EXIT codes.
source "$(dirname "$0")/lib.bash" "$@"

run --help
expect_status 0 "--help"
expect_out "Usage: kavex-sql" "--help"

run --no-such-option "$DB" scott
expect_status 2 "unknown option"
expect_err "unknown option --no-such-option" "unknown option"

run "$DB"
expect_status 2 "missing USER"
expect_err "CONNECT and USER are required" "missing USER"

run "$DB" scott tiger -f "$WORK/missing.sql"
expect_status 2 "missing script"
expect_err "cannot open $WORK/missing.sql" "missing script"

run "$WORK/none.db" scott tiger -c "SELECT 1 FROM dual"
expect_status 3 "missing database file"
expect_err "ORA-12154" "missing database file"
expect_err "kavex-sql: hint: there is no database file $WORK/none.db; to create it, connect to file:$WORK/none.db?mode=rwc" "what to try"
run "file:$WORK/none.db" scott tiger -c "SELECT 1 FROM dual"
expect_status 3 "missing database file, as a URI"
expect_err "kavex-sql: hint: there is no database file $WORK/none.db; add mode=rwc to the URI's options to create it" "what to try with a URI"
printf 'just some text\n' > "$WORK/notes.txt"
run "$WORK/notes.txt" scott tiger -c "SELECT 1 FROM dual"
expect_status 3 "a file that is not a database"
expect_err "kavex-sql: hint: $WORK/notes.txt is not a database file" "a file that is not a database"
run "$WORK" scott tiger -c "SELECT 1 FROM dual"
expect_status 3 "a directory"
expect_err "kavex-sql: hint: $WORK is a directory, not a database file" "a directory"
run "file:$WORK/no/such/dir.db?mode=rwc" scott tiger -c "SELECT 1 FROM dual"
expect_status 3 "a missing directory"
expect_err "kavex-sql: hint: there is no directory $WORK/no/such for the database file $WORK/no/such/dir.db" "a missing directory"

# An account, then a wrong password: status 3, ORA-01017, and the password never printed.
run "$DB" setup setup -c "CREATE USER alice IDENTIFIED BY wonderland"
expect_status 0 "CREATE USER"
run "$DB" alice s3cr3t-guess -c "SELECT 1 FROM dual"
expect_status 3 "wrong password"
expect_err "ORA-01017" "wrong password"
if grep -q "s3cr3t-guess" "$WORK/err"; then fail "the password appears in the message"; fi

# The password from the environment.
export KAVEX_PASSWORD=wonderland
run "$DB" alice -c "SELECT 'in' AS status FROM dual"
expect_status 0 "password from KAVEX_PASSWORD"
expect_out " in" "password from KAVEX_PASSWORD"
unset KAVEX_PASSWORD

run "$DB" alice wonderland -c "SELECT 1 AS one FROM dual; SELECT * FROM missing_table; SELECT 2 AS two FROM dual"
expect_status 1 "a failing statement in -c"
expect_err "-c:1: ERROR: ORA-00942: table or view does not exist" "error text and place"
expect_out " TWO" "the statement after the error still runs"

run "$DB" alice wonderland --stop-on-error -c "SELECT * FROM missing_table; SELECT 2 AS two FROM dual"
expect_status 1 "--stop-on-error"
expect_no_out "TWO" "--stop-on-error stops at the first error"

run "$DB" alice wonderland -c "SELECT 1 FROM dual;
EXIT 7"
expect_status 7 "EXIT 7"

run "$DB" alice wonderland -c "SELECT * FROM missing_table;
EXIT 0"
expect_status 0 "EXIT 0 overrides an earlier failure"

run "$DB" alice wonderland -c "\\nosuch"
expect_status 1 "unknown command"
expect_err "unknown command \\nosuch" "unknown command"
# -c and -f run in command-line order; "-f -" reads standard input.
run_stdin "SELECT 'second' AS word FROM dual;" "$DB" alice wonderland -c "SELECT 'first' AS word FROM dual" -f -
expect_status 0 "-c then -f -"
[ "$(grep -E ' (first|second)$' "$WORK/out" | tr -d ' ' | tr '\n' ,)" = "first,second," ] || fail "inputs out of order"
echo "exit codes: ok"
