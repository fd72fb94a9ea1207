# KAVEX_TRACE_REWRITE shows the embedded database's SQL after each rewriting pass that changed it,
# on standard error, and nothing when unset.
source "$(dirname "$0")/lib.bash" "$@"

export KAVEX_TRACE_REWRITE=1
run "$DB" scott tiger -c "SELECT 'a' || 'b' AS x FROM dual WHERE 1 + 1 = 2"
expect_status 0 "traced query"
expect_out "ab" "traced query's row"
expect_err 'rewrite operators: SELECT ORA$CAT('"'a' , 'b'"') AS x FROM dual WHERE ORA$ADD(1 , 1) = 2' \
  "the SQL after the operators pass"

unset KAVEX_TRACE_REWRITE
run "$DB" scott tiger -c "SELECT 'a' || 'b' AS x FROM dual"
expect_status 0 "untraced query"
if grep -q "^rewrite " "$WORK/err"; then fail "a trace without KAVEX_TRACE_REWRITE"; fi
echo "rewrite trace: ok"
