# The embedded database's limits on what one statement may take, met from the shell as a user
# meets them: the process's memory limit (KAVEX_MEMORY_LIMIT) and a session's temporary disk
# (temp_limit in the connect string). Past either the statement fails with Oracle's error and
# the session goes on; a value the setting cannot take refuses the session.
source "$(dirname "$0")/lib.bash" "$@"

# 200,000 rows of about 210 bytes sorted: some 42 MB held by the sort.
SORT="SELECT COUNT(*) FROM (SELECT LEVEL l, RPAD('x', 200, 'y') || LEVEL p FROM dual CONNECT BY LEVEL <= 200000 ORDER BY p DESC);"

# A database in memory sorts in memory: the process's limit stops it.
KAVEX_MEMORY_LIMIT=16M run "file:/limits?vfs=memdb" scott tiger -c "$SORT SELECT 'alive' AS state FROM dual;"
expect_err "ORA-04030: out of process memory when trying to allocate memory (limit: 16777216 bytes)" "memory limit"
expect_out "alive" "the session after the memory limit"
KAVEX_MEMORY_LIMIT=256M run "file:/limits?vfs=memdb" scott tiger -c "$SORT"
expect_status 0 "within the memory limit"
expect_out "200000" "within the memory limit"
KAVEX_MEMORY_LIMIT=lots run "file:/limits?vfs=memdb" scott tiger -c "SELECT 1 FROM dual;"
expect_status 3 "an unreadable memory limit"
expect_err "ORA-00096: invalid value lots for parameter KAVEX_MEMORY_LIMIT" "an unreadable memory limit"

# A database file spills the sort to temporary files: the session's temp_limit stops it.
if [ "$(uname -s)" = Linux ]; then
    run "file:$WORK/limits.db?mode=rwc&temp_limit=8M" scott tiger -c "$SORT SELECT 'alive' AS state FROM dual;"
    expect_err "ORA-01652: unable to extend temp segment by" "temp limit"
    expect_err "in tablespace TEMP" "temp limit"
    expect_out "alive" "the session after the temp limit"
    run "file:$WORK/limits.db?temp_limit=64M" scott tiger -c "$SORT"
    expect_status 0 "within the temp limit"
    expect_out "200000" "within the temp limit"
fi
