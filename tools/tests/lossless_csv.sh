# CSV output keeps every value as stored: characters beyond U+FFFF as standard UTF-8 (from SQL
# text, bound variables and a streamed CLOB), DATEs with century and time, TIMESTAMPs with their
# fractional seconds, 19-digit NUMBERs with every digit.
source "$(dirname "$0")/lib.bash" "$@"
cd "$WORK"

grin=$'\xF0\x9F\x98\x80'  # U+1F600
clef=$'\xF0\x9D\x84\x9E'  # U+1D11E
printf '%s' "Zoë ${grin} 日本${grin}語 ${clef}" > note.txt

run "file:$WORK/csv.db?mode=rwc" scott tiger --csv -q -c "
CREATE TABLE t (k NUMBER(2), v VARCHAR2(40), c CLOB);
INSERT INTO t (k, v) VALUES (1, 'Zoë ${grin}');
\\set word ${grin}é${clef}
INSERT INTO t (k, v) VALUES (2, :word);
\\clob note note.txt
INSERT INTO t (k, c) VALUES (3, :note);
SELECT k, v, c FROM t ORDER BY k;
CREATE TABLE w (d DATE, t0 TIMESTAMP(0), t3 TIMESTAMP(3), t6 TIMESTAMP(6), t9 TIMESTAMP(9), n NUMBER);
\\set -timestamp s3 2024-02-29 23:59:58.125
\\set -timestamp s6 2024-02-29 00:00:01.123456
\\set -timestamp s9 1999-12-31 23:59:59.123456789
INSERT INTO w VALUES (TO_DATE('1924-01-15 14:30:05', 'YYYY-MM-DD HH24:MI:SS'), :s3, :s3, :s6, :s9, 1234567890123456789);
SELECT d, t0, t3, t6, t9, n FROM w;"
expect_status 0 "CSV script"
[ ! -s "$WORK/err" ] || fail "the script wrote errors"

expected="K,V,C
1,Zoë ${grin},
2,${grin}é${clef},
3,,Zoë ${grin} 日本${grin}語 ${clef}
D,T0,T3,T6,T9,N
1924-01-15 14:30:05,2024-02-29 23:59:58+00:00,2024-02-29 23:59:58.125+00:00,2024-02-29 00:00:01.123456+00:00,1999-12-31 23:59:59.123456789+00:00,1234567890123456789"
[ "$(cat "$WORK/out")" = "$expected" ] || fail "CSV output differs; expected:
$expected"

# No character leaves as a pair of three-byte surrogate halves (ED A0..BF ..).
if LC_ALL=C grep -q $'\xED[\xA0-\xBF]' "$WORK/out"; then
    fail "surrogate halves in the output"
fi
echo "lossless CSV: ok"
