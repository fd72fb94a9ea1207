# Bind variables are checked when they are set, and a refused \set, \clob or \blob leaves the
# variable unset; \load keeps the bytes of quoted fields; BINARY_FLOAT / BINARY_DOUBLE text.
source "$(dirname "$0")/lib.bash" "$@"
[ -n "$PYTHON" ] || { echo "python3 missing: skipped"; exit 0; }
cd "$WORK"
printf 'first file' > ok.txt

# A failed \clob after a good one: the INSERT that names the variable fails instead of binding
# the earlier file.
run "$DB" scott tiger -c "CREATE TABLE d (c CLOB);
\\clob b ok.txt
\\clob b missing.txt
INSERT INTO d VALUES (:b);
\\blob b ok.txt
\\blob b missing.txt
INSERT INTO d VALUES (:b);
\\set v kept
\\set -int v 12x
INSERT INTO d VALUES (:v);
SELECT COUNT(*) AS n FROM d;"
expect_status 1 "failed \\clob"
expect_err "-c:3: ERROR: cannot open missing.txt: No such file or directory (:B is now unset)" "failed \\clob"
expect_err "-c:4: ERROR: bind variable :B is not set" "the INSERT after a failed \\clob"
expect_err "-c:7: ERROR: bind variable :B is not set" "the INSERT after a failed \\blob"
expect_err "-c:9: ERROR: \\set -int needs a 32-bit integer, not '12x'" "a refused \\set"
expect_err "-c:10: ERROR: bind variable :V is not set" "the INSERT after a refused \\set"
[ "$(grep -A2 ' N$' "$WORK/out" | tail -1 | tr -d ' ')" = "0" ] || fail "a stale value was bound"

# Values are checked when they are set.
run "$DB" scott tiger -c "\\set -timestamp t 2024-13-45
\\set -timestamp t 2023-02-29 10:00
\\set -timestamp t 2024-01-01 24:00
\\set -timestamp t 2024-01-01 10:00 +15:00
\\set -timestamp t 0000-01-01
\\set -double x 1e400
\\set -double x -inf
\\set -double x 1e-400
\\set -timestamp ok 2024-02-29 23:59:59.5 +14:00
\\set -double tiny 5e-324
\\set"
expect_status 1 "refused values"
expect_err "-c:1: ERROR: \\set -timestamp: '2024-13-45' has no month 13" "month 13"
expect_err "-c:2: ERROR: \\set -timestamp: '2023-02-29 10:00' has no day 29 in month 2" "29 February 2023"
expect_err "-c:3: ERROR: \\set -timestamp: '2024-01-01 24:00' is not a time of day" "hour 24"
expect_err "-c:4: ERROR: \\set -timestamp: '2024-01-01 10:00 +15:00' has a time zone outside -12:00 to +14:00" "zone"
expect_err "-c:5: ERROR: \\set -timestamp: '0000-01-01' has a year outside -4712 to 9999 (or 0)" "year 0"
expect_err "-c:6: ERROR: \\set -double: 1e400 is outside the range of BINARY_DOUBLE" "1e400"
expect_err "-c:7: ERROR: \\set -double: -inf is outside the range of BINARY_DOUBLE" "-inf"
expect_err "-c:8: ERROR: \\set -double: 1e-400 is outside the range of BINARY_DOUBLE" "1e-400"
[ "$(grep -c ERROR "$WORK/err")" -eq 8 ] || fail "good values refused"
expect_out "TINY = 5E-324" "a denormal double"
expect_out "OK = TIMESTAMP '2024-02-29 23:59:59.500000000 +14:00'" "a good timestamp"
[ "$(grep -c ' = ' "$WORK/out")" -eq 2 ] || fail "refused variables were listed"

# \load: a CRLF (and a lone CR) inside a quoted field arrives byte for byte; records end at CRLF.
printf 'ID,TEXT\r\n1,"two\r\nlines"\r\n2,"cr\ronly"\r\n3,plain\r\n' > crlf.csv
run "$DB" scott tiger --csv -q -c "CREATE TABLE notes (id NUMBER(3), text VARCHAR2(20));
\\load crlf.csv notes
SELECT text FROM notes ORDER BY id;"
expect_status 0 "\\load with CRLF"
"$PYTHON" - "$WORK/out" <<'PY' || fail "bytes of quoted fields changed"
import sys
out = open(sys.argv[1], "rb").read()
assert out == b'TEXT\n"two\r\nlines"\n"cr\ronly"\nplain\n', out
PY
printf 'ID,TEXT\n1,"never closed\n' > open.csv
run "$DB" scott tiger -c "\\load open.csv notes"
expect_status 1 "\\load of an unterminated quote"
expect_err "open.csv:2: a quoted field is not closed by the end of the file" "the error names the file"

# BINARY_DOUBLE / BINARY_FLOAT: the shortest exact digits, written out from 1E-7 to 1E+21.
run "$DB" scott tiger --csv -q -c "CREATE TABLE f (id NUMBER(2), d BINARY_DOUBLE, r BINARY_FLOAT);
INSERT INTO f VALUES (1, 1e308, 1e38);
INSERT INTO f VALUES (2, 1.5e-10, 0.1);
INSERT INTO f VALUES (3, 0.00000015, 16777217);
INSERT INTO f VALUES (4, 123456789012345678, -2.5);
INSERT INTO f VALUES (5, -0.0, 0);
SELECT d, r FROM f ORDER BY id;"
expect_status 0 "float text"
[ "$(cat "$WORK/out")" = "$(printf 'D,R\n1E+308,1E+38\n1.5E-10,0.1\n0.00000015,16777216\n123456789012345680,-2.5\n0,0')" ] \
    || fail "BINARY_DOUBLE / BINARY_FLOAT text"
echo "variables and values: ok"
