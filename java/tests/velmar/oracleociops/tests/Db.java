package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static velmar.oracleociops.OcciWrapper.*;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

/** Databases and checked calls for the tests. */
final class Db {
    private Db() {}

    /** A connect string creating a database file in dir. */
    static String fileIn(Path dir, String name) {
        return "file:" + dir.resolve(name + ".db") + "?mode=rwc";
    }

    /** Opens a session on connectString and fails the test with the message if it cannot. */
    static int open(String connectString) {
        int id = openConnection(connectString, "scott", "tiger");
        assertTrue(id >= 11, () -> "openConnection: " + getError(id));
        return id;
    }

    /** Runs sql and fails the test with the message if it fails; returns the result. */
    static int run(int session, String sql) {
        int result = executeQuery(session, sql, true);
        assertTrue(result >= 0, () -> sql + ": " + getError(result));
        return result;
    }

    static void ok(int result) {
        assertTrue(result >= 0, () -> "failed: " + getError(result));
    }

    /** The current row's values after nextRow; fails the test when there is no row. */
    static List<Object> nextValues(int session) {
        int more = nextRow(session);
        assertEquals(1, more, () -> "nextRow: " + (more < 0 ? getError(more) : "no row"));
        List<Object> row = new ArrayList<>();
        assertEquals(1, getRow(session, row), "getRow");
        return row;
    }

    /** The first row of a query. */
    static List<Object> firstRow(int session, String sql) {
        run(session, sql);
        return nextValues(session);
    }
}
