package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.*;
import static velmar.oracleociops.OcciWrapper.*;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

class RowTest {
    @TempDir Path dir;
    int session;

    static final String TABLE = "create table t (c_varchar varchar2(20), c_number number(10,2),"
            + " c_int number(10), c_pls pls_integer, c_bfloat binary_float, c_bdouble binary_double,"
            + " c_date date, c_ts timestamp, c_tstz timestamp with time zone, c_clob clob,"
            + " c_blob blob, c_raw raw(16), c_long long, c_xml xmltype, c_nvarchar nvarchar2(10))";

    @BeforeEach
    void open() {
        session = Db.open(Db.fileIn(dir, "rows"));
        Db.run(session, TABLE);
    }

    @AfterEach
    void close() {
        closeConnection(session);
    }

    @Test
    void everyColumnTypeArrivesAsItsJavaObject() {
        Db.run(session, "insert into t values ('hello', 12.5, 42, 7, 1.5, 2.25,"
                + " '2024-01-15 14:30:05', '2024-01-15 14:30:05.250000000',"
                + " '2024-01-15 02:30:05.000000000+05:30', 'clob text', X'00FF10', X'0102',"
                + " 'long text', '<a/>', 'n€')");
        List<Object> row = Db.firstRow(session, "select * from t");
        assertEquals(15, row.size());
        assertEquals("hello", row.get(0));
        assertEquals("12.5", row.get(1), "NUMBER arrives as text in the column's format");
        assertEquals("42", row.get(2));
        assertEquals(Integer.valueOf(7), row.get(3));
        assertEquals(Float.valueOf(1.5f), row.get(4));
        assertEquals(Double.valueOf(2.25), row.get(5));
        assertEquals("2024-01-15 14:30:05", row.get(6), "century and time of day");
        assertEquals("2024-01-15 14:30:05.250000+00:00", row.get(7), "24-hour clock, six digits");
        assertEquals("2024-01-15 02:30:05.000000+05:30", row.get(8));
        assertEquals("clob text", row.get(9));
        assertArrayEquals(new byte[] {0, -1, 16}, (byte[]) row.get(10));
        assertArrayEquals(new byte[] {1, 2}, (byte[]) row.get(11));
        assertEquals("long text", row.get(12));
        assertEquals("not supported data type (58)", row.get(13));
        assertEquals("n€", row.get(14));
    }

    @Test
    void intervalsArriveAsOraclesText() {
        Db.run(session, "create table iv (ym interval year to month, ds interval day to second(3))");
        Db.run(session, "insert into iv values ('2-6', '4 5:12:10.222')");
        List<Object> row = Db.firstRow(session, "select ym, ds, timestamp '2024-01-16 12:30:00'"
                + " - timestamp '2024-01-15 10:00:00' from iv");
        assertEquals("+02-06", row.get(0));
        assertEquals("+04 05:12:10.222", row.get(1));
        assertEquals("+000000001 02:30:00.000000", row.get(2), "a TIMESTAMP difference");
    }

    // NULL and the empty text (NULL in Oracle) arrive as null; an empty LOB is a value.
    @Test
    void nullsArriveAsNullElementsAndEmptyLobsAsEmptyValues() {
        Db.run(session, "insert into t (c_varchar) values (null)");
        Db.run(session, "insert into t (c_varchar, c_clob, c_blob) values ('', EMPTY_CLOB(), EMPTY_BLOB())");
        List<Object> allNull = Db.firstRow(session, "select * from t");
        assertEquals(15, allNull.size());
        for (int i = 0; i < 13; ++i) {
            assertNull(allNull.get(i), "column " + i);
        }
        List<Object> empty = Db.nextValues(session);
        assertNull(empty.get(0), "empty text");
        assertEquals("", empty.get(9), "empty CLOB");
        assertArrayEquals(new byte[0], (byte[]) empty.get(10), "empty BLOB");
    }

    @Test
    void zeroIsAValue() {
        Db.run(session, "insert into t (c_pls, c_bfloat, c_bdouble, c_int) values (0, 0, -0.0, 0)");
        List<Object> row = Db.firstRow(session, "select c_pls, c_bfloat, c_bdouble, c_int from t");
        assertEquals(Integer.valueOf(0), row.get(0));
        assertEquals(Float.valueOf(0f), row.get(1));
        assertNotNull(row.get(2));
        assertEquals(0.0, (Double) row.get(2), 0.0);
        assertEquals("0", row.get(3));
    }

    @Test
    void unicodeBeyondTheBasicPlaneSurvivesBothWays() {
        String text = "a\uD83D\uDE00b";  // U+1F600 between two letters
        Db.ok(prepareQuery(session, "insert into t (c_varchar, c_clob) values (:1, :2)", true));
        Db.ok(setString(session, 1, text, false));
        Db.ok(setString(session, 2, text, false));
        Db.ok(execute(session));
        Db.run(session, "insert into t (c_varchar) values ('x' || char(128512))");
        List<Object> row = Db.firstRow(session, "select c_varchar, c_clob from t");
        assertEquals(text, row.get(0));
        assertEquals(text, row.get(1));
        assertEquals("x\uD83D\uDE00", Db.nextValues(session).get(0));
    }

    @Test
    void textsWithNulsOrMalformedBytesReachJavaIntact() {
        List<Object> row = Db.firstRow(session,
                "select 'a' || char(0) || 'b' as nul, cast(X'61FF62' as text) as bad from dual");
        assertEquals("a\u0000b", row.get(0));
        assertEquals("a\uFFFDb", row.get(1));
    }

    @Test
    void remainingColumnTypes() {
        Db.run(session, "create table more (c char(3), lr long raw, ltz timestamp with local time zone,"
                + " v nvarchar2(5))");
        Db.run(session, "insert into more values ('abc', X'0A0B', '2024-06-30 23:59:59.000000000', '')");
        List<Object> row = Db.firstRow(session, "select * from more");
        assertEquals("abc", row.get(0));
        assertArrayEquals(new byte[] {10, 11}, (byte[]) row.get(1));
        assertTrue(((String) row.get(2)).startsWith("2024-06-30 23:59:59"), (String) row.get(2));
        assertNull(row.get(3));
    }

    @Test
    void largeValuesAreCutToTheMaximumColumnSize() {
        Db.run(session, "insert into t (c_clob, c_blob) values"
                + " (replace(hex(zeroblob(2500)), '0', 'a'), zeroblob(3000))");
        List<Object> cut = Db.firstRow(session, "select c_clob, c_blob from t");
        assertEquals(2000, ((String) cut.get(0)).length());
        assertEquals(2000, ((byte[]) cut.get(1)).length);
        Db.ok(setIntSessionProperty(session, PROPERTY_MAX_COLUMN_SIZE, 10000));
        List<Object> whole = Db.firstRow(session, "select c_clob, c_blob from t");
        assertEquals("a".repeat(5000), whole.get(0));
        assertEquals(3000, ((byte[]) whole.get(1)).length);
    }

    @Test
    void longAndShortTextsOfOneRowKeepTheirOrder() {
        // Plain ASCII, other texts, NULL and non-text values side by side, the texts together
        // longer than any buffer a row's texts might share.
        Db.ok(setIntSessionProperty(session, PROPERTY_MAX_COLUMN_SIZE, 10000));
        String x = "replace(hex(zeroblob(3000)), '0', ";
        List<Object> row = Db.firstRow(session, "select " + x + "'a') as a, 'n€' as b, null as c,"
                + " " + x + "'b') as d, cast(7 as binary_double) as e, " + x + "'c') as f,"
                + " 'short' as g, " + x + "'é') as h, 'end' as i from dual");
        assertEquals(Arrays.asList("a".repeat(6000), "n€", null, "b".repeat(6000), 7.0,
                "c".repeat(6000), "short", "é".repeat(6000), "end"), row);
    }

    @Test
    void getRowAppendsWithoutMovingTheCursor() {
        Db.run(session, "insert into t (c_varchar) values ('one')");
        Db.run(session, "insert into t (c_varchar) values ('two')");
        Db.run(session, "select c_varchar, rowid from t order by c_varchar");
        assertEquals(1, nextRow(session));
        List<Object> list = new ArrayList<>(List.of("kept"));
        assertEquals(1, getRow(session, list));
        assertEquals(1, getRow(session, list));
        assertEquals(Arrays.asList("kept", "one", "1", "one", "1"), list);
        assertEquals(1, nextRow(session));
        assertEquals(0, nextRow(session));
        assertEquals(0, nextRow(session));
    }

    @Test
    void getRowWithoutResultSetFails() {
        Db.ok(prepareQuery(session, "select * from t", false));
        List<Object> meta = new ArrayList<>();
        Db.ok(getMetaData(session, "", "T", meta));
        List<Object> row = new ArrayList<>();
        int result = getRow(session, row);
        assertTrue(result < 0);
        assertEquals("Cannot read data row", getError(result));
        assertTrue(row.isEmpty());
        int refused = getRow(session, null);
        assertTrue(refused < 0, "a null list is refused");
        assertEquals("Cannot read data row", getError(refused));
        Db.run(session, "insert into t (c_varchar) values ('after')");
        assertEquals("after", Db.firstRow(session, "select c_varchar from t").get(0));
    }

    // Oracle's most: a select list of 1000 items.
    @Test
    void aRowOfAThousandColumns() {
        StringBuilder sql = new StringBuilder("select ");
        for (int i = 1; i <= 1000; ++i) {
            sql.append(i == 1 ? "" : ", ").append("'v").append(i).append("' as c").append(i);
        }
        List<Object> row = Db.firstRow(session, sql.append(" from dual").toString());
        assertEquals(1000, row.size());
        assertEquals("v1", row.get(0));
        assertEquals("v1000", row.get(999));
        List<Object> meta = new ArrayList<>();
        Db.ok(getMetaData(session, "", "", meta));
        assertEquals(1 + 12 * 1000, meta.size());
    }
}
