package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.*;
import static velmar.oracleociops.OcciWrapper.*;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.AfterEach;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/** What getRow does with the object it is given to fill. */
class ListTargetTest {
    @TempDir Path dir;
    int session;

    /** Not a List, but has the one method getRow needs. */
    public static final class Collector {
        final List<Object> items = new ArrayList<>();

        public boolean add(Object item) {
            return items.add(item);
        }
    }

    public static final class Refusing {
        int calls;

        public boolean add(Object item) {
            ++calls;
            throw new IllegalStateException("full");
        }
    }

    @BeforeEach
    void open() {
        session = Db.open(Db.fileIn(dir, "lists"));
        Db.run(session, "select 'a' as x, 'b' as y, 'c' as z from dual");
        assertEquals(1, nextRow(session));
    }

    @AfterEach
    void close() {
        closeConnection(session);
    }

    /** A probe failure: its id shows how many messages were stored since the last probe. */
    private int probe() {
        return getColumnType(session, 99);
    }

    @Test
    void anyObjectWithAddIsFilled() {
        Collector collector = new Collector();
        assertEquals(1, getRow(session, collector));
        assertEquals(List.of("a", "b", "c"), collector.items);
    }

    /** A List whose add does more than store: its own add must be the one called. */
    public static final class Upper extends ArrayList<Object> {
        private static final long serialVersionUID = 1L;

        @Override
        public boolean add(Object item) {
            return super.add(((String) item).toUpperCase());
        }
    }

    @Test
    void everyListKindGetsItsOwnAdd() {
        Upper upper = new Upper();
        assertEquals(1, getRow(session, upper));
        assertEquals(List.of("A", "B", "C"), upper);
        java.util.LinkedList<Object> linked = new java.util.LinkedList<>();
        assertEquals(1, getRow(session, linked));
        assertEquals(List.of("a", "b", "c"), linked);
        assertThrows(UnsupportedOperationException.class, () -> getRow(session, List.of()));
    }

    @Test
    void listWithoutAddThrowsNoSuchMethodErrorAndStoresNothing() {
        int before = probe();
        assertThrows(NoSuchMethodError.class, () -> getRow(session, new Object()));
        assertEquals(before - 1, probe(), "no message was stored");
        List<Object> row = new ArrayList<>();
        assertEquals(1, getRow(session, row), "the session still works");
        assertEquals(List.of("a", "b", "c"), row);
    }

    /** Throws from its second add. */
    public static final class SecondRefused extends ArrayList<Object> {
        private static final long serialVersionUID = 1L;
        int calls;

        @Override
        public boolean add(Object item) {
            if (++calls == 2) {
                throw new IllegalStateException("second");
            }
            return super.add(item);
        }
    }

    @Test
    void aListThatThrowsHalfWayKeepsWhatItTook() {
        SecondRefused list = new SecondRefused();
        assertThrows(IllegalStateException.class, () -> getRow(session, list));
        assertEquals(List.of("a"), list);
        assertEquals(2, list.calls, "nothing more is appended once add threw");
    }

    @Test
    void aValueThatCannotBeReadKeepsTheValuesBeforeIt() {
        Db.run(session, "create table t (a varchar2(3), d date, b varchar2(3))");
        // The client refuses such a value on INSERT; a row-value UPDATE stores it unconverted.
        Db.run(session, "insert into t values ('a', null, 'b')");
        Db.run(session, "update t set (d) = ('not a date')");
        Db.run(session, "select a, d, b from t");
        assertEquals(1, nextRow(session));
        List<Object> row = new ArrayList<>();
        int result = getRow(session, row);
        assertTrue(result < 0, "an error id");
        assertTrue(getError(result).startsWith("ORA-01861"), getError(result));
        assertEquals(List.of("a"), row);
    }

    @Test
    void anExceptionFromAddStopsTheRowAndReachesTheCaller() {
        Refusing refusing = new Refusing();
        IllegalStateException thrown =
                assertThrows(IllegalStateException.class, () -> getRow(session, refusing));
        assertEquals("full", thrown.getMessage());
        assertEquals(1, refusing.calls, "nothing more is appended once add threw");
        List<Object> row = new ArrayList<>();
        assertEquals(1, getRow(session, row));
        assertEquals(3, row.size());
    }
}
