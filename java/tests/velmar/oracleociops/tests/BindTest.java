package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.*;
import static velmar.oracleociops.OcciWrapper.*;

import java.nio.charset.StandardCharsets;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

class BindTest {
    @TempDir Path dir;
    int session;

    static final String INSERT = "insert into b values (:1, :2, :3, :4, :5, :6)";

    @BeforeEach
    void open() {
        session = Db.open(Db.fileIn(dir, "binds"));
        Db.run(session, "create table b (s varchar2(20), i pls_integer, f binary_float,"
                + " d binary_double, ts timestamp with time zone, n number(10))");
    }

    @AfterEach
    void close() {
        closeConnection(session);
    }

    @Test
    void everySetterBindsItsValueAndNull() {
        Db.ok(prepareQuery(session, INSERT, true));
        Db.ok(setString(session, 1, "text", false));
        Db.ok(setInt(session, 2, -5, false));
        Db.ok(setFloat(session, 3, 1.5f, false));
        Db.ok(setDouble(session, 4, 0.25, false));
        Db.ok(setTimestamp(session, 5, 2024, 1, 15, 14, 30, 5, 0, 5, 30, false));
        Db.ok(setInt(session, 6, 0, false));
        assertEquals(1, execute(session));

        Db.ok(prepareQuery(session, INSERT, true));
        Db.ok(setString(session, 1, null, false));  // a null String binds NULL
        Db.ok(setInt(session, 2, 9, true));
        Db.ok(setFloat(session, 3, 9f, true));
        Db.ok(setDouble(session, 4, 9, true));
        Db.ok(setTimestamp(session, 5, 2024, 1, 15, 14, 30, 5, 0, 0, 0, true));
        Db.ok(setNull(session, 6, 2));
        assertEquals(1, execute(session));

        Db.ok(prepareQuery(session, INSERT, true));
        Db.ok(setString(session, 1, "ignored", true));
        for (int i = 2; i <= 6; ++i) {
            Db.ok(setNull(session, i, 1));
        }
        assertEquals(1, execute(session));

        Db.run(session, "select * from b order by rowid");
        assertEquals(Arrays.asList("text", -5, 1.5f, 0.25, "2024-01-15 14:30:05.000000+05:30", "0"),
                Db.nextValues(session));
        assertEquals(Arrays.asList(null, null, null, null, null, null), Db.nextValues(session));
        assertEquals(Arrays.asList(null, null, null, null, null, null), Db.nextValues(session));
    }

    @Test
    void badBindsReportTheirMessages() {
        Db.ok(prepareQuery(session, INSERT, true));
        int badTime = setTimestamp(session, 5, 2024, 13, 1, 0, 0, 0, 0, 0, 0, false);
        assertTrue(badTime < 0);
        assertTrue(getError(badTime).startsWith("ORA-01843"), getError(badTime));
    }

    @Test
    void batchesInsertEveryIteration() {
        Db.ok(prepareQuery(session, "insert into b (s, i) values (:1, :2)", true));
        Db.ok(setMaxIterations(session, 3));
        Db.ok(setMaxParSize(session, 1, 20));
        Db.ok(setString(session, 1, "one", false));
        Db.ok(setNull(session, 2, 3));
        Db.ok(addIteration(session));
        Db.ok(setString(session, 1, "two", false));
        Db.ok(setInt(session, 2, 5, false));
        Db.ok(addIteration(session));
        Db.ok(setString(session, 1, null, false));
        Db.ok(setNull(session, 2, 3));
        assertEquals(3, execute(session));
        Db.run(session, "select s, i from b order by rowid");
        assertEquals(Arrays.asList("one", null), Db.nextValues(session));
        assertEquals(Arrays.asList("two", 5), Db.nextValues(session));
        assertEquals(Arrays.asList(null, null), Db.nextValues(session));
        assertEquals(0, nextRow(session));
    }

    @Test
    void lobsStreamFromByteArraysLeftUnchanged() {
        Db.run(session, "create table l (c clob, x blob)");
        byte[] text = "ünïcödé text, ".repeat(300).getBytes(StandardCharsets.UTF_8);
        byte[] bytes = new byte[5000];
        for (int i = 0; i < bytes.length; ++i) {
            bytes[i] = (byte) (i * 7);
        }
        byte[] textCopy = text.clone();
        byte[] bytesCopy = bytes.clone();

        Db.ok(prepareQuery(session, "insert into l values (:1, :2)", true));
        int half = text.length / 2;
        assertEquals(half, streamParameterToLob(session, 1, LOB_CLOB, text, half));
        byte[] rest = Arrays.copyOfRange(text, half, text.length);
        assertEquals(rest.length, streamParameterToLob(session, 1, LOB_CLOB, rest, rest.length));
        Db.ok(streamParameterToLobLast(session, 1));
        assertEquals(3000, streamParameterToLob(session, 2, LOB_BLOB, bytes, 3000));
        byte[] tail = Arrays.copyOfRange(bytes, 3000, bytes.length);
        assertEquals(2000, streamParameterToLob(session, 2, LOB_BLOB, tail, 2000));
        Db.ok(streamParameterToLobLast(session, 2));
        assertEquals(1, execute(session));
        assertArrayEquals(textCopy, text, "the arrays are left unchanged");
        assertArrayEquals(bytesCopy, bytes);

        Db.ok(setIntSessionProperty(session, PROPERTY_MAX_COLUMN_SIZE, 100000));
        List<Object> row = Db.firstRow(session, "select c, x from l");
        assertEquals(new String(text, StandardCharsets.UTF_8), row.get(0));
        assertArrayEquals(bytes, (byte[]) row.get(1));
    }

    @Test
    void badChunksAreRefusedBeforeAnythingIsRead() {
        Db.ok(prepareQuery(session, "insert into b (s) values (:1)", true));
        String message = "Cannot stream BLOB/CLOB type value of [1] parameter to server";
        for (int result : new int[] {streamParameterToLob(session, 1, LOB_BLOB, null, 0),
                     streamParameterToLob(session, 1, LOB_BLOB, new byte[4], -1),
                     streamParameterToLob(session, 1, LOB_BLOB, new byte[4], 5)}) {
            assertTrue(result < 0);
            assertEquals(message, getError(result));
        }
        assertEquals(4, streamParameterToLob(session, 1, LOB_BLOB, new byte[4], 4),
                "nothing was set up by the refusals");
        int notLob = streamParameterToLob(session, 3, 2, new byte[4], 4);
        assertEquals("Cannot stream BLOB/CLOB type value of [3] parameter to server", getError(notLob));
    }
}
