# VARIABLE, PRINT, EXECUTE and SET AUTOPRINT: bind variables a block assigns (its OUT binds)
# take the values it gave them. The whole output must match bind_variables.expected.
source "$(dirname "$0")/lib.bash" "$@"
run "$DB" scott tiger -f "$HERE/bind_variables.sql"
expect_status 1 "bind_variables.sql (some commands fail)"
expect_err "bind_variables.sql:32: ERROR: ORA-06502: PL/SQL: numeric or value error: character string buffer too small" \
    "text past VARCHAR2(10)"
expect_err "bind_variables.sql:40: ERROR: SP2-0552: Bind variable \"MISSING\" not declared." \
    "VARIABLE of an undeclared name"
expect_err "bind_variables.sql:41: ERROR: SP2-0552: Bind variable \"MISSING\" not declared." \
    "PRINT of an undeclared name"
expect_err "bind_variables.sql:42: ERROR: REFCURSOR variables are not supported" "REFCURSOR"
expect_err "bind_variables.sql:43: ERROR: VARCHAR2 needs a length" "VARCHAR2 without a length"
diff -u "$HERE/bind_variables.expected" "$WORK/out" >&2 || fail "output differs from bind_variables.expected"
echo "bind variables: ok"
