# Files streamed into LOB parameters in chunks (multi-byte characters across chunk boundaries), read
# back whole after \maxsize; a CSV batch load with a failing row keeps the rows before it.
source "$(dirname "$0")/lib.bash" "$@"
[ -n "$PYTHON" ] || { echo "python3 missing: skipped"; exit 0; }
cd "$WORK"

# 200 000 bytes of text whose 2- and 3-byte characters straddle the shell's 64 KiB chunk borders.
"$PYTHON" - <<'PY'
text = ("ab€ż" * 25000)[:60000] + "\n" + "x" * 5535 + "ł" * 20000 + "end"
open("big.txt", "w", encoding="utf-8").write(text)
open("blob.bin", "wb").write(bytes(range(256)) * 300)
PY
printf '' > empty.txt

run "file:$WORK/lob.db?mode=rwc" scott tiger --csv -q -c "
CREATE TABLE docs (id NUMBER(3), body CLOB, raw BLOB);
\\clob body big.txt
\\blob raw blob.bin
INSERT INTO docs VALUES (1, :body, :raw);
\\clob body empty.txt
\\set -null raw
INSERT INTO docs VALUES (2, :body, :raw);
\\maxsize 1000000
SELECT body FROM docs WHERE id = 1;
SELECT LENGTH(body) AS n, LENGTH(raw) AS b FROM docs WHERE id = 1;
SELECT id, body, raw FROM docs WHERE id = 2;
SELECT raw FROM docs WHERE id = 1;"
expect_status 0 "LOB script"
"$PYTHON" - "$WORK" <<'PY' || fail "LOB contents differ"
import sys
work = sys.argv[1]
out = open(work + "/out", encoding="utf-8").read().split("\n")
text = open(work + "/big.txt", encoding="utf-8").read()
# CSV: the first result is "BODY" then the quoted text (it holds a newline).
assert out[0] == "BODY", out[0]
body_csv = "\n".join(out[1:3])
assert body_csv[0] == body_csv[-1] == "\"", "a value with a line break is quoted"
body_csv = body_csv[1:-1]
assert body_csv == text, (len(body_csv), len(text))
i = out.index("N,B")
assert out[i + 1] == "%d,%d" % (len(text), 256 * 300), out[i + 1]
assert out[i + 2] == "ID,BODY,RAW" and out[i + 3] == "2,,", out[i + 2:i + 4]
assert out[i + 4] == "RAW"
assert out[i + 5] == bytes(range(256)).hex().upper() * 300
PY

# --csv reads values whole; with --max-column-size the CLOB is cut, and a warning on standard error
# names the column.
run "file:$WORK/lob.db?mode=rwc" scott tiger --csv -q -c "SELECT body FROM docs WHERE id = 1"
expect_status 0 "--csv without a limit"
[ ! -s "$WORK/err" ] || fail "a whole value gives no warning"
"$PYTHON" - "$WORK" <<'PY' || fail "--csv did not read the CLOB whole"
import sys
out = open(sys.argv[1] + "/out", encoding="utf-8").read()
assert out == "BODY\n\"" + open(sys.argv[1] + "/big.txt", encoding="utf-8").read() + "\"\n"
PY
run "file:$WORK/lob.db?mode=rwc" scott tiger --csv -q --max-column-size 2000 -c "SELECT body FROM docs WHERE id = 1"
expect_status 0 "--csv with a limit"
[ "$(sed -n 2p "$WORK/out")" = "$("$PYTHON" -c 'print(open("big.txt", encoding="utf-8").read()[:2000])')" ] \
    || fail "CLOB not cut to 2000 characters"
[ "$(cat "$WORK/err")" = 'Warning: values of column BODY reached the maximum column size of 2000 and may be cut (\maxsize N or --max-column-size N reads more)' ] \
    || fail "the warning for a cut value"
# Tables keep the library's default of 2000: one warning per query, naming every column cut.
run "file:$WORK/lob.db?mode=rwc" scott tiger -q -c "SELECT body, raw, id FROM docs; SELECT id FROM docs"
expect_status 0 "table output of long values"
[ "$(grep -c Warning "$WORK/err")" -eq 1 ] || fail "one warning per query"
expect_err "values of columns BODY, RAW reached the maximum column size of 2000" "warning names both columns"

# A batch load whose fifth row breaks NOT NULL: batches of 2 rows, so rows 1-4 stay.
cat > people.csv <<'CSV'
NAME,AGE
one,1
two,2
three,3
four,4
,5
six,6
CSV
run "file:$WORK/lob.db?mode=rwc" scott tiger -c "
CREATE TABLE people (name VARCHAR2(10) NOT NULL, age NUMBER(3));
\\load people.csv people 2
SELECT COUNT(*) AS loaded FROM people;"
expect_status 1 "a failing batch"
expect_err "people.csv:6: batch of 2 rows failed after 4 rows: ORA-01400" "batch failure names its line"
expect_out "      4" "rows of earlier batches stay"

run "file:$WORK/lob.db?mode=rwc" scott tiger -c "\\load people.csv nosuch"
expect_status 1 "load into a missing table"
expect_err "ORA-00942" "load into a missing table"

printf 'A,B\n1,2,3\n' > ragged.csv
run "file:$WORK/lob.db?mode=rwc" scott tiger -c "\\load ragged.csv people"
expect_status 1 "ragged CSV"
expect_err "ragged.csv:2: 3 fields, the header names 2" "ragged CSV"
echo "LOBs and batches: ok"
