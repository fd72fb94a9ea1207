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

class MetaDataTest {
    @TempDir Path dir;
    int session;

    @BeforeEach
    void open() {
        session = Db.open(Db.fileIn(dir, "meta"));
        Db.run(session, "create table emp (id number generated always as identity,"
                + " name varchar2(30) not null, salary number(10,2), note xmltype)");
    }

    @AfterEach
    void close() {
        closeConnection(session);
    }

    @Test
    void queryMetaDataListHoldsCountAndTwelveValuesPerColumn() {
        Db.run(session, "select name, salary from emp");
        List<Object> meta = new ArrayList<>();
        assertEquals(0, getMetaData(session, "ignored", "", meta));
        assertEquals(25, meta.size());
        assertEquals(Arrays.asList(2, "NAME", "", "", 1, "UNKNOWN_TYPE_NAME", 30, 0, 0, 0, 0, 0, 0),
                meta.subList(0, 13));
        assertEquals(Arrays.asList("SALARY", "", "", 2, "UNKNOWN_TYPE_NAME", 22, 2, 10, 1, 0, 0, 0),
                meta.subList(13, 25));
    }

    @Test
    void namedTableMetaDataReplacesTheColumns() {
        List<Object> meta = new ArrayList<>();
        assertEquals(0, getMetaData(session, "", "EMP", meta));
        assertEquals(1 + 12 * 4, meta.size());
        assertEquals(4, meta.get(0));
        assertEquals(Arrays.asList("ID", "SCOTT", "EMP", 2), meta.subList(1, 5));
        assertEquals(Arrays.asList(1, 1, 1), meta.subList(10, 13), "identity: read-only, auto, generated");
        assertEquals(Arrays.asList("NAME", "SCOTT", "EMP"), meta.subList(13, 16));
        assertEquals(0, meta.get(21), "NOT NULL column");
        assertEquals("UNKNOWN_TYPE_NAME", meta.get(1 + 36 + 4), "type names come with results only");
        assertEquals(4, getColumnsCount(session));
        assertEquals("EMP", getColumnTableName(session, 1));
        assertEquals("SCOTT", getColumnSchemaName(session, 1));
        assertEquals(1, getColumnIsAutoincremented(session, 0));
        assertEquals(1, getColumnIsReadOnly(session, 0));
        assertEquals(1, getColumnIsDbGenerated(session, 0));
        assertEquals(0, getColumnIsNullable(session, 1));

        int unknown = getMetaData(session, "", "NO_SUCH_TABLE", new ArrayList<>());
        assertTrue(unknown < 0);
        assertTrue(getError(unknown).startsWith("ORA-04043"), getError(unknown));
    }

    @Test
    void singleGettersReadTheColumns() {
        Db.run(session, "create table ratios (f number)");
        Db.run(session, "select name, salary, f from emp, ratios");
        assertEquals(3, getColumnsCount(session));
        assertEquals("NAME", getColumnName(session, 0));
        assertNull(getColumnSchemaName(session, 0), "an empty text is null");
        assertNull(getColumnTableName(session, 0));
        assertEquals("UNKNOWN_TYPE_NAME", getColumnTypeName(session, 0));
        assertEquals(1, getColumnType(session, 0));
        assertEquals(30, getColumnSize(session, 0));
        assertEquals(2, getColumnScale(session, 1));
        assertEquals(10, getColumnPrecision(session, 1));
        assertEquals(1, getColumnIsNullable(session, 1));
        assertEquals(0, getColumnIsReadOnly(session, 1));

        int floating = getColumnScale(session, 2);
        assertTrue(floating < 0, "scale -127 is refused by the getter");
        assertEquals("Cannot read column scale", getError(floating));
        List<Object> meta = new ArrayList<>();
        Db.ok(getMetaData(session, "", "", meta));
        assertEquals(-127, meta.get(1 + 24 + 6), "and delivered as it is in the list");
    }

    @Test
    void badIndexesGiveTheirMessages() {
        Db.run(session, "select name from emp");
        assertEquals("Cannot read column's name", getColumnName(session, 1));
        assertEquals("Cannot read column's name", getColumnName(session, -1));
        assertEquals("Cannot read column's type name", getColumnTypeName(session, 5));
        int type = getColumnType(session, 1);
        assertTrue(type < 0);
        assertEquals("Cannot read column's type", getError(type));
        int nullable = getColumnIsNullable(session, 7);
        assertEquals("Cannot read column property 'is nullable'", getError(nullable));
    }

    public static final class Refusing {
        public boolean add(Object item) {
            throw new IllegalStateException("full");
        }
    }

    /** Asserts that metaData takes no values: an error id comes back and no Java exception. */
    private void refusedTarget(String objectName, Object metaData) {
        int result = getMetaData(session, "", objectName, metaData);
        assertTrue(result < 0, "an error id, got " + result);
        assertEquals("Cannot get columns metadata", getError(result));
    }

    @Test
    void aTargetThatRefusesValuesGivesAnErrorId() {
        Db.run(session, "select name, salary from emp");
        refusedTarget("EMP", new Refusing());
        List<Object> meta = new ArrayList<>();
        assertEquals(0, getMetaData(session, "", "", meta));
        assertEquals(1 + 12 * 4, meta.size(), "the described table's columns stay");
    }

    @Test
    void aTargetThatIsNoListGivesAnErrorId() {
        Db.run(session, "select name from emp");
        refusedTarget("", new Object());
        refusedTarget("", "a string");
        refusedTarget("EMP", new Object());
        List<Object> meta = new ArrayList<>();
        assertEquals(0, getMetaData(session, "", "", meta));
        assertEquals(1 + 12 * 4, meta.size(), "the session still works");
    }

    @Test
    void anImmutableListGivesAnErrorId() {
        Db.run(session, "select name from emp");
        refusedTarget("", List.of());
        refusedTarget("", java.util.Collections.unmodifiableList(new ArrayList<>()));
        refusedTarget("", java.util.Collections.emptyList());
        refusedTarget("EMP", Arrays.asList(1, 2));
        List<Object> meta = new ArrayList<>();
        assertEquals(0, getMetaData(session, "", "", meta));
        assertEquals(1 + 12 * 4, meta.size());
    }

    /** Not a List, but has add(Object): filled like a list. */
    public static final class Collector {
        final List<Object> items = new ArrayList<>();

        public boolean add(Object item) {
            return items.add(item);
        }
    }

    @Test
    void anyObjectWithAddIsFilled() {
        Db.run(session, "select name from emp");
        Collector collector = new Collector();
        assertEquals(0, getMetaData(session, "", "", collector));
        assertEquals(13, collector.items.size());
    }
}
