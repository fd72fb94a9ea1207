# An install script written for SQL*Plus, run whole: tables, a sequence, a view, q-quoted literals, "/" lines
# (ending a statement, running the last query again, ending a package body), substitution, a
# package created whole (nothing inside its body runs), and WHENEVER SQLERROR EXIT with its
# code. Output must match install_script.expected.
source "$(dirname "$0")/lib.bash" "$@"

cd "$WORK"
run "file:$WORK/install.db?mode=rwc" scott tiger -f "$HERE/install_script.sql"
expect_status 3 "WHENEVER SQLERROR EXIT 3 at the missing table"
if ! diff -u "$HERE/install_script.expected" "$WORK/out" >"$WORK/diff"; then
    cat "$WORK/diff" >&2
    fail "output differs from install_script.expected"
fi
[ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "exactly one error"
expect_err "$HERE/install_script.sql:48: ERROR: ORA-00942" "the failure that ends the script"
echo "install script: ok"
