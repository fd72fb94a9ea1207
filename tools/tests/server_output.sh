# SET SERVEROUTPUT ON: the lines a block writes with DBMS_OUTPUT are printed after it, before
# "PL/SQL procedure successfully completed.", and also when the block failed; with it OFF they
# are not. The whole output must match server_output.expected.
source "$(dirname "$0")/lib.bash" "$@"
run "$DB" scott tiger -f "$HERE/server_output.sql"
expect_status 1 "server_output.sql (one block fails)"
expect_err "server_output.sql:16: ERROR: ORA-20042: the block failed" "the failing block's error"
expect_err "ORA-06512: at line 3" "the line the error left the block at"
diff -u "$HERE/server_output.expected" "$WORK/out" >&2 || fail "output differs from server_output.expected"
echo "server output: ok"
