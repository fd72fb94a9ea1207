# The output and transaction options: --autocommit, --timing, --null, --max-column-size, --quiet,
# --csv, and the \ commands that switch them during a session.
source "$(dirname "$0")/lib.bash" "$@"

run "$DB" scott tiger -c "CREATE TABLE t (id NUMBER(3), doc CLOB)"
expect_status 0 "create"

# Without --autocommit a ROLLBACK undoes the insert; with it each statement has committed.
run "$DB" scott tiger -c "INSERT INTO t VALUES (1, 'abcdefghij'); ROLLBACK; SELECT COUNT(*) AS n FROM t"
expect_out "(1 row)" "count"
[ "$(grep -A2 ' N$' "$WORK/out" | tail -1 | tr -d ' ')" = "0" ] || fail "ROLLBACK kept the row"
run "$DB" scott tiger --autocommit -c "INSERT INTO t VALUES (1, 'abcdefghij'); ROLLBACK; SELECT COUNT(*) AS n FROM t"
[ "$(grep -A2 ' N$' "$WORK/out" | tail -1 | tr -d ' ')" = "1" ] || fail "--autocommit did not commit"
run "$DB" scott tiger -c "\\autocommit on
INSERT INTO t VALUES (2, NULL);
ROLLBACK;
\\autocommit off
INSERT INTO t VALUES (3, NULL);
ROLLBACK;
SELECT id FROM t ORDER BY id"
expect_out "(2 rows)" "\\autocommit on, then off"

run "$DB" scott tiger --timing --null '<none>' --max-column-size 4 -c "SELECT id, doc FROM t ORDER BY id"
expect_status 0 "options"
expect_out " abcd" "--max-column-size cuts the CLOB"
expect_no_out "abcde" "--max-column-size cuts the CLOB"
expect_out "<none>" "--null"
grep -qE '^Time: [0-9]+\.[0-9]{3} ms$' "$WORK/out" || fail "--timing"

run "$DB" scott tiger -q --csv -c "SELECT id FROM t ORDER BY id; \\maxsize 2
SELECT doc FROM t WHERE id = 1"
expect_status 0 "quiet csv"
[ "$(cat "$WORK/out")" = "$(printf 'ID\n1\n2\nDOC\nab')" ] || fail "--quiet --csv output"

run "$DB" scott tiger --max-column-size 2147483647 --csv -c "SELECT doc FROM t WHERE id = 1"
expect_status 0 "the largest maximum column size"
expect_out "abcdefghij" "the largest maximum column size"

# --timing and \timing also time \load and DESCRIBE; the switches say what they did.
printf 'ID\n7\n' > "$WORK/ids.csv"
run "$DB" scott tiger --timing -c "\\load $WORK/ids.csv t
DESCRIBE t
\\echo untimed"
[ "$(grep -cE '^Time: [0-9]+\.[0-9]{3} ms$' "$WORK/out")" -eq 2 ] || fail "--timing of \\load and DESCRIBE"
run "$DB" scott tiger -c "\\timing
\\timing off
\\csv on
\\autocommit off
\\csv"
[ "$(cat "$WORK/out")" = "$(printf 'Timing is on.\nTiming is off.\nCSV output is on.\nAutocommit is off.\nCSV output is off.')" ] \
    || fail "the switches' feedback"

run "$DB" scott tiger --max-column-size=0 -c "SELECT 1 FROM dual"
expect_status 2 "a bad option value"
expect_err "option --max-column-size needs a number from 1 to 2147483647, not '0'" "a bad option value"

run "$DB" scott tiger -c "\\set -int n notanumber"
expect_status 1 "a bad variable"
expect_err "\\set -int needs a 32-bit integer" "a bad variable"
run "$DB" scott tiger -c "SELECT :missing FROM dual"
expect_status 1 "an unset variable"
expect_err "bind variable :MISSING is not set" "an unset variable"
echo "options: ok"
