# NUMBER results past a double's 15 digits show every digit Oracle keeps, in the default table
# and in --csv: 1/3 to 40 significant digits, exact integer arithmetic past 2^63, and a bound
# 38-digit value through arithmetic; and the SQL*Plus report layout when its width allows.
source "$(dirname "$0")/lib.bash" "$@"

third=0.3333333333333333333333333333333333333333
bound=12345678901234567890123456789012345678
queries="\\set p ${bound}
SELECT 1/3 AS third FROM dual;
SELECT 12345678901234567890 + 1 AS next FROM dual;
SELECT POWER(2, 64) AS two64 FROM dual;
SELECT :p + 0 AS p, -:p AS neg FROM dual;
SELECT 2/3 AS two_thirds FROM dual"

run "file:$WORK/n.db?mode=rwc" scott tiger -q -c "$queries"
expect_status 0 "table output"
[ ! -s "$WORK/err" ] || fail "the queries wrote errors"
# Each value as the only field of its row, so a value cut or rounded to a prefix does not match.
for value in "$third" 12345678901234567891 18446744073709551616 \
             "${bound} | -${bound}" 0.6666666666666666666666666666666666666667; do
    grep -qE "^ *${value//|/\\|} *$" "$WORK/out" || fail "table output lacks the row <$value>"
done

run "file:$WORK/n.db?mode=rwc" scott tiger -q --csv -c "$queries"
expect_status 0 "CSV output"
expected="THIRD
${third}
NEXT
12345678901234567891
TWO64
18446744073709551616
P,NEG
${bound},-${bound}
TWO_THIRDS
0.6666666666666666666666666666666666666667"
[ "$(cat "$WORK/out")" = "$expected" ] || fail "CSV output differs; expected:
$expected"
# SQL*Plus's report layout shows a number as wide as NUMWIDTH or its COLUMN FORMAT allows, without
# the leading zero of a fraction; wide enough, every digit.
run "file:$WORK/n.db?mode=rwc" scott tiger -q -c "SET NUMWIDTH 45
SELECT 1/3 AS third FROM dual;
SET NUMWIDTH 10
COLUMN two64 FORMAT 99999999999999999999999
SELECT POWER(2, 64) AS two64, 1/3 AS third FROM dual;"
expect_status 0 "report layout"
grep -qE "^ +\\${third#0} *$" "$WORK/out" || fail "NUMWIDTH 45 lacks every digit of 1/3"
grep -qE "^ +18446744073709551616 \\.333333333 *$" "$WORK/out" || fail "COLUMN FORMAT lacks digits, or NUMWIDTH 10 is not kept"
# A table keeps every digit: a literal, a bound text and arithmetic stored into NUMBER columns
# read back whole, and compare and sort by value.
run "file:$WORK/n.db?mode=rwc" scott tiger -q --csv -c "\\set p -${bound}
CREATE TABLE digits (id NUMBER(2), n NUMBER, p NUMBER(38));
INSERT INTO digits VALUES (1, ${bound}, ${bound});
INSERT INTO digits VALUES (2, :p, :p);
INSERT INTO digits VALUES (3, 1/3, POWER(2, 64));
SELECT id, n, p FROM digits ORDER BY n;
SELECT id FROM digits WHERE n > 0.3333333333333333 AND p < 18446744073709551617 ORDER BY id;"
expect_status 0 "stored digits"
expected="ID,N,P
2,-${bound},-${bound}
3,${third},18446744073709551616
1,${bound},${bound}
ID
3"
[ "$(cat "$WORK/out")" = "$expected" ] || fail "stored digits differ; expected:
$expected
got:
$(cat "$WORK/out")"
echo "number digits: ok"
