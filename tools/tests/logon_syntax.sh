# SQL*Plus's command line: user/password@connect, user@connect (password from KAVEX_PASSWORD or
# the prompt), CONNECT USER/PASSWORD, /nolog, -s / -S, and "@script args" after the logon.
source "$(dirname "$0")/lib.bash" "$@"
cd "$WORK"
run "$DB" admin x -c "CREATE USER scott IDENTIFIED BY tiger"
expect_status 0 "an account"
FILE=$WORK/test.db

run "scott/tiger@$FILE" -c "SHOW USER"
expect_status 0 "user/password@connect"
expect_out 'USER is "SCOTT"' "user/password@connect"
run "$FILE" scott/tiger -c "SHOW USER"
expect_status 0 "CONNECT user/password"
expect_out 'USER is "SCOTT"' "user/password as USER is a user and a password"
run "scott/wrong@$FILE" -c "SHOW USER"
expect_status 3 "a wrong password"
expect_err "ORA-01017" "a wrong password"
expect_no_out "wrong" "the password is never printed"
KAVEX_PASSWORD=tiger run "scott@$FILE" -c "SHOW USER"
expect_status 0 "user@connect takes the password from the environment"
run "scott/tiger"
expect_status 2 "a logon without a connect string"
expect_err "CONNECT and USER are required" "a logon without a connect string"

# /nolog: no session until CONNECT; -s prints no banner and no prompt.
run_stdin "SELECT 1 FROM dual;
CONNECT scott/tiger@$FILE
SHOW USER
" /nolog -s
expect_status 1 "/nolog"
expect_err "<stdin>:1: ERROR: not connected" "/nolog has no session"
[ "$(cat "$WORK/out")" = "$(printf 'Connected.\nUSER is "SCOTT"')" ] || fail "-s prints only results"

# @script after the logon, with its arguments.
printf 'PROMPT &1 and &2\nSELECT COUNT(*) AS n FROM dual;\n' > report.sql
run -S "scott/tiger@$FILE" @report one "two words"
expect_status 0 "@script"
expect_out "one and two words" "@script arguments"
expect_out "(1 row)" "@script runs its statements"
echo "logon syntax: ok"
