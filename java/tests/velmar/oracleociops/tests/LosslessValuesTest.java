package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.*;
import static velmar.oracleociops.OcciWrapper.*;

import java.math.BigDecimal;
import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/** Values reach Java as they were stored: characters beyond U+FFFF, dates, timestamps, numbers. */
class LosslessValuesTest {
    static final String GRIN = "\uD83D\uDE00"; // U+1F600
    static final String CLEF = "\uD834\uDD1E"; // U+1D11E
    /** Alone, at either end, next to Latin-1 accents and CJK. */
    static final String[] SAMPLES = {
        "Zo\u00EB " + GRIN, GRIN, GRIN + "\u00E9", "\u65E5\u672C" + GRIN + "\u8A9E",
        CLEF + " caf\u00E9 " + GRIN + GRIN,
    };

    @TempDir Path dir;
    int session;

    @BeforeEach
    void open() {
        session = Db.open(Db.fileIn(dir, "lossless"));
    }

    @AfterEach
    void close() {
        closeConnection(session);
    }

    /** The values of one column, row by row. */
    List<Object> column(String sql) {
        Db.run(session, sql);
        List<Object> values = new ArrayList<>();
        while (nextRow(session) == 1) {
            List<Object> row = new ArrayList<>();
            assertEquals(1, getRow(session, row));
            values.add(row.get(0));
        }
        return values;
    }

    @Test
    void supplementaryCharactersThroughSingleBinds() {
        Db.run(session, "create table t (k number(4), v varchar2(100))");
        Db.ok(prepareQuery(session, "insert into t values (:1, :2)", false));
        for (int i = 0; i < SAMPLES.length; i++) {
            Db.ok(setInt(session, 1, i, false));
            Db.ok(setString(session, 2, SAMPLES[i], false));
            assertEquals(1, execute(session));
        }
        assertEquals(List.of((Object[]) SAMPLES), column("select v from t order by k"));
        // The stored bytes are standard UTF-8: four bytes per character beyond U+FFFF.
        assertEquals(List.of("F09F9880"), column("select hex(v) from t where k = 1"));
    }

    @Test
    void supplementaryCharactersThroughABatch() {
        Db.run(session, "create table t (k number(4), v varchar2(100))");
        Db.ok(prepareQuery(session, "insert into t values (:1, :2)", false));
        Db.ok(setMaxIterations(session, SAMPLES.length));
        Db.ok(setMaxParSize(session, 2, 100));
        for (int i = 0; i < SAMPLES.length; i++) {
            Db.ok(setInt(session, 1, i, false));
            Db.ok(setString(session, 2, SAMPLES[i], false));
            if (i + 1 < SAMPLES.length) {
                Db.ok(addIteration(session));
            }
        }
        assertEquals(SAMPLES.length, execute(session));
        assertEquals(List.of((Object[]) SAMPLES), column("select v from t order by k"));
    }

    @Test
    void supplementaryCharactersStreamedIntoAClob() {
        Db.run(session, "create table t (c clob)");
        StringBuilder text = new StringBuilder();
        for (int i = 0; i < 300; i++) {
            text.append(SAMPLES[i % SAMPLES.length]);
        }
        byte[] bytes = text.toString().getBytes(StandardCharsets.UTF_8);
        Db.ok(prepareQuery(session, "insert into t values (:1)", false));
        // Chunks of 1001 bytes split four-byte sequences between calls.
        for (int at = 0; at < bytes.length; at += 1001) {
            int size = Math.min(1001, bytes.length - at);
            byte[] chunk = java.util.Arrays.copyOfRange(bytes, at, at + size);
            assertEquals(size, streamParameterToLob(session, 1, 112, chunk, size));
        }
        Db.ok(streamParameterToLobLast(session, 1));
        assertEquals(1, execute(session));
        Db.ok(setIntSessionProperty(session, 1, 1 << 20));
        assertEquals(List.of(text.toString()), column("select c from t"));
    }

    @Test
    void supplementaryCharactersInSqlText() {
        assertEquals(List.of(GRIN + "x" + CLEF), column("select '" + GRIN + "x" + CLEF + "' from dual"));
    }

    @Test
    void unpairedSurrogatesArriveAsReplacementCharacters() {
        Db.run(session, "create table t (v varchar2(20))");
        Db.ok(prepareQuery(session, "insert into t values (:1)", false));
        Db.ok(setString(session, 1, "a\uD83Db\uDE00", false));
        assertEquals(1, execute(session));
        assertEquals(List.of("a\uFFFDb\uFFFD"), column("select v from t"));
        assertEquals(List.of("61EFBFBD62EFBFBD"), column("select hex(v) from t"));
    }

    @Test
    void anEmptyStringBindsAsNull() {
        Db.run(session, "create table t (k number(1), v varchar2(5))");
        Db.ok(prepareQuery(session, "insert into t values (1, :1)", false));
        Db.ok(setString(session, 1, "", false));
        assertEquals(1, execute(session));
        assertEquals(java.util.Collections.singletonList(null), column("select v from t"));
    }

    @Test
    void longValuesAreCutBetweenCharacters() {
        Db.run(session, "create table t (l long)");
        String value = "a" + GRIN.repeat(1000);
        Db.ok(prepareQuery(session, "insert into t values (:1)", false));
        Db.ok(setString(session, 1, value, false));
        assertEquals(1, execute(session));
        // 2000 bytes end three bytes into the 500th character.
        assertEquals(List.of("a" + GRIN.repeat(499)), column("select l from t"));
        Db.ok(setIntSessionProperty(session, 1, 2001));
        assertEquals(List.of("a" + GRIN.repeat(500)), column("select l from t"));
    }

    @Test
    void datesKeepTheirCenturyAndTimeOfDay() {
        Db.run(session, "create table t (k number(2), d date)");
        String[] dates = {"1924-01-15 00:00:00", "2024-01-15 23:59:59", "1899-12-31 12:34:56"};
        for (int i = 0; i < dates.length; i++) {
            Db.run(session, "insert into t values (" + i + ", to_date('" + dates[i]
                    + "', 'YYYY-MM-DD HH24:MI:SS'))");
        }
        assertEquals(List.of((Object[]) dates), column("select d from t order by k"));
    }

    @Test
    void timestampsKeepTheirColumnsFractionalSeconds() {
        Db.run(session, "create table t (a timestamp(0), b timestamp(3), c timestamp(6),"
                + " d timestamp(9) with time zone)");
        Db.ok(prepareQuery(session, "insert into t values (:1, :2, :3, :4)", false));
        Db.ok(setTimestamp(session, 1, 1924, 1, 15, 14, 30, 5, 0, 0, 0, false));
        Db.ok(setTimestamp(session, 2, 2024, 2, 29, 23, 59, 58, 125000000, 0, 0, false));
        Db.ok(setTimestamp(session, 3, 2024, 2, 29, 0, 0, 1, 123456000, 0, 0, false));
        Db.ok(setTimestamp(session, 4, 1999, 12, 31, 23, 59, 59, 123456789, -3, -30, false));
        assertEquals(1, execute(session));
        List<Object> row = Db.firstRow(session, "select a, b, c, d from t");
        assertEquals(List.of("1924-01-15 14:30:05+00:00", "2024-02-29 23:59:58.125+00:00",
                "2024-02-29 00:00:01.123456+00:00", "1999-12-31 23:59:59.123456789-03:30"), row);
    }

    @Test
    void nineteenDigitNumbersKeepEveryDigit() {
        Db.run(session, "create table t (k number(2), n number, p number(19))");
        Db.run(session, "insert into t values (1, 1234567890123456789, 1234567890123456789)");
        Db.run(session, "insert into t values (2, -9223372036854775808, -9223372036854775808)");
        Db.run(session, "select n, p from t order by k");
        assertEquals(1, nextRow(session));
        List<Object> row = new ArrayList<>();
        assertEquals(1, getRow(session, row));
        assertEquals(List.of("1.234567890123456789E+18", "1234567890123456789"), row);
        assertEquals(1, nextRow(session));
        row.clear();
        assertEquals(1, getRow(session, row));
        assertEquals(List.of("-9.223372036854775808E+18", "-9223372036854775808"), row);
    }

    /** 1/3 as Oracle's NUMBER holds it: 40 significant digits (a double keeps 15 to 17). */
    static final BigDecimal THIRD = new BigDecimal("0." + "3".repeat(40));

    /** The NUMBER texts of a row as the values they spell (plain or scientific form). */
    static List<BigDecimal> numbers(List<Object> row) {
        List<BigDecimal> values = new ArrayList<>();
        for (Object text : row) {
            values.add(new BigDecimal((String) text).stripTrailingZeros());
        }
        return values;
    }

    static List<BigDecimal> numbers(String... texts) {
        return numbers(List.of((Object[]) texts));
    }

    @Test
    void arithmeticResultsKeepEveryDigitOfTheirNumber() {
        List<Object> row = Db.firstRow(session, "select 1/3, power(2, 64), 12345678901234567890 + 1,"
                + " -2/3, power(2, 64) - 1 from dual");
        assertEquals(List.of(THIRD, new BigDecimal("18446744073709551616"),
                new BigDecimal("12345678901234567891"), new BigDecimal("-0." + "6".repeat(39) + "7"),
                new BigDecimal("18446744073709551615")), numbers(row));
        // A long row of long texts: every value keeps its digits side by side.
        StringBuilder sql = new StringBuilder("select 1/3");
        for (int i = 1; i < 64; i++) {
            sql.append(", 1/3");
        }
        List<Object> wide = Db.firstRow(session, sql.append(" from dual").toString());
        assertEquals(java.util.Collections.nCopies(64, THIRD), numbers(wide));
    }

    @Test
    void aBoundThirtyEightDigitNumberComesBackWhole() {
        String[] values = {"12345678901234567890123456789012345678",
            "-0.12345678901234567890123456789012345678", "99999999999999999999999999999999999999"};
        Db.ok(prepareQuery(session, "select :1 + 0, -:1 from dual", false));
        for (String value : values) {
            Db.ok(setString(session, 1, value, false));
            Db.ok(execute(session));
            BigDecimal bound = new BigDecimal(value);
            assertEquals(List.of(bound.stripTrailingZeros(), bound.negate().stripTrailingZeros()),
                    numbers(Db.nextValues(session)));
            assertEquals(0, nextRow(session));
        }
    }

    @Test
    void thirtyEightDigitNumbersRoundTripThroughATable() {
        Db.run(session, "create table t (k number(2), n number, p number(38, 2))");
        String[] values = {"12345678901234567890123456789012345678",
            "-0.12345678901234567890123456789012345678", "123456789012345678901234567890123456.785"};
        // NUMBER(38, 2) keeps 36 digits before the point: the first value is too large for it.
        Db.ok(prepareQuery(session, "insert into t values (:1, :2, :3)", true));
        for (int k = 0; k < values.length; k++) {
            Db.ok(setInt(session, 1, k, false));
            Db.ok(setString(session, 2, values[k], false));
            Db.ok(setString(session, 3, values[k], k == 0));
            assertEquals(1, execute(session));
        }
        // Every digit comes back, rounded to the column's scale; the rows sort by value.
        Db.run(session, "select n, p from t where k > 0 order by n");
        for (int k : new int[] {1, 2}) {
            BigDecimal value = new BigDecimal(values[k]);
            assertEquals(List.of(value.stripTrailingZeros(),
                    value.setScale(2, java.math.RoundingMode.HALF_UP).stripTrailingZeros()),
                    numbers(Db.nextValues(session)));
        }
        assertEquals(0, nextRow(session));
        // Found by value, compared by value.
        assertEquals(List.of(new BigDecimal(0)), numbers(Db.firstRow(session,
                "select k from t where n = 12345678901234567890123456789012345678")));
        assertEquals(List.of(new BigDecimal(1)), numbers(Db.firstRow(session,
                "select count(*) from t where p > 0")));
        assertEquals(List.of(new BigDecimal(values[0])), numbers(Db.firstRow(session,
                "select max(n) from t")));
    }
}
