package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.*;
import static velmar.oracleociops.OcciWrapper.*;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

class ConnectionTest {
    @TempDir Path dir;

    @Test
    void opensAndClosesSessionsWithFreshIds() {
        String db = Db.fileIn(dir, "ids");
        int first = Db.open(db);
        int second = Db.open(db);
        assertTrue(second > first);
        assertEquals(0, closeConnection(first));
        assertEquals(0, closeConnection(first), "closing twice");
        int third = Db.open(db);
        assertTrue(third > second, "ids are never reused");
        assertEquals(0, closeConnection(second));
        assertEquals(0, closeConnection(third));
    }

    @Test
    void failedOpenReportsTheConnectionMessage() {
        String missing = dir.resolve("missing.db").toString();
        int id = openConnection(missing, "scott", "tiger");
        assertTrue(id < 0);
        String message = getError(id);
        assertTrue(message.startsWith("Cannot open connection to server: " + missing
                + ", user: scott;  (ORA-12154"), message);
        assertTrue(message.endsWith(")[Code:12154]"), message);
        assertFalse(message.contains("tiger"), "no password in the message");
    }

    @Test
    void wrongPasswordIsRefusedWithoutShowingIt() {
        String db = Db.fileIn(dir, "accounts");
        int admin = Db.open(db);
        Db.run(admin, "CREATE USER alice IDENTIFIED BY s3cret");
        closeConnection(admin);
        int id = openConnection(db, "alice", "wrong-pw");
        assertTrue(id < 0);
        assertEquals("Cannot open connection to server: " + db + ", user: alice;  (ORA-01017: "
                + "invalid username/password; logon denied\n)[Code:1017]", getError(id));
        int good = openConnection(db, "alice", "s3cret");
        assertTrue(good >= 11, () -> getError(good));
        closeConnection(good);
    }

    @Test
    void nullTextsAreRefused() {
        String db = Db.fileIn(dir, "nulls");
        for (int id : new int[] {openConnection(null, "u", "p"), openConnection(db, null, "p"),
                     openConnection(db, "u", null)}) {
            assertTrue(id < 0);
            assertEquals("Cannot open connection", getError(id));
        }
        int session = Db.open(db);
        int query = executeQuery(session, null, true);
        assertTrue(query < 0);
        assertTrue(getError(query).startsWith("Cannot execute query"));
        int prepare = prepareQuery(session, null, false);
        assertTrue(prepare < 0);
        assertTrue(getError(prepare).startsWith("Cannot prepare query"));
        int meta = getMetaData(session, "", null, new ArrayList<>());
        assertTrue(meta < 0);
        assertEquals("Cannot get columns metadata", getError(meta));
        assertEquals(0, Db.run(session, "select 1 from dual"), "the session still works");
        closeConnection(session);
    }

    @Test
    void getErrorAlwaysGivesAString() {
        int session = Db.open(Db.fileIn(dir, "errors"));
        int failed = executeQuery(session, "select * from no_such_table", true);
        assertTrue(failed <= -10);
        String message = getError(failed);
        assertTrue(message.startsWith("ORA-00942"), message);
        assertEquals(message, getError(failed), "fetching the same id again gives the same text");
        assertEquals("Unknown error", getError(12345), "an unknown id gives a fixed text");
        assertEquals("Unknown error", getError(session), "a session id is not an error id");
        closeConnection(session);
    }

    @Test
    void unknownSessionIdsAreRefused() {
        int unknown = 999_999;
        List<Integer> results = List.of(executeQuery(unknown, "select 1 from dual", true),
                prepareQuery(unknown, "select 1 from dual", true), execute(unknown),
                nextRow(unknown), getRow(unknown, new ArrayList<>()),
                getMetaData(unknown, "", "", new ArrayList<>()), getColumnsCount(unknown),
                getColumnType(unknown, 0), setInt(unknown, 1, 5, false),
                setString(unknown, 1, "x", false), setMaxIterations(unknown, 3),
                addIteration(unknown), streamParameterToLob(unknown, 1, LOB_BLOB, new byte[1], 1),
                streamParameterToLobLast(unknown, 1), setIntSessionProperty(unknown, 1, 10));
        for (int result : results) {
            assertTrue(result < 0);
            assertEquals("Session is not initialized", getError(result));
        }
        assertEquals("Session is not initialized", getColumnName(unknown, 0));
        assertEquals(0, closeConnection(unknown));
    }

    @Test
    @SuppressWarnings("deprecation")
    void singleValueGettersReturnZero() {
        int session = Db.open(Db.fileIn(dir, "zero"));
        Db.run(session, "select 'a', 1 from dual");
        assertEquals(1, nextRow(session));
        assertNull(getString(session, 0));
        assertEquals(0, getInteger(session, 1));
        assertEquals(0f, getFloat(session, 1));
        assertEquals(0d, getDouble(session, 1));
        closeConnection(session);
    }
}
