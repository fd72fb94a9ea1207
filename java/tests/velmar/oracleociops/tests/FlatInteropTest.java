package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.*;
import static velmar.oracleociops.OcciWrapper.*;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/** Session ids are shared by the JNI and the flat front ends. */
class FlatInteropTest {
    @TempDir Path dir;

    @Test
    void aJniSessionReadThroughTheFlatInterfaceGivesNullStrings() {
        int session = Db.open(Db.fileIn(dir, "jni"));
        assertEquals(0, FlatBridge.executeQuery(session, "select 'x' as name from dual"));
        assertEquals(1, FlatBridge.nextRow(session));
        assertNull(FlatBridge.columnName(session, 0), "the JNI session hands out no C strings");
        assertNull(FlatBridge.getString(session, 0, new int[1]));
        assertEquals("NAME", getColumnName(session, 0));
        assertEquals(0, FlatBridge.closeConnection(session));
        assertTrue(nextRow(session) < 0, "closed through the flat interface");
    }

    @Test
    void aFlatSessionDeliversNoRowsToJava() {
        int flat = FlatBridge.openConnection(Db.fileIn(dir, "flat"), "scott", "tiger");
        assertTrue(flat >= 11, () -> getError(flat));
        int jni = Db.open(Db.fileIn(dir, "flat"));
        assertTrue(jni > flat, "one id sequence");
        Db.run(flat, "select 'x' as name from dual");
        assertEquals(1, nextRow(flat));
        List<Object> row = new ArrayList<>();
        assertEquals(0, getRow(flat, row));
        assertTrue(row.isEmpty());
        assertEquals("NAME", getColumnName(flat, 0));
        int[] code = new int[1];
        assertEquals("x", FlatBridge.getString(flat, 0, code));
        assertEquals(0, code[0]);
        assertEquals(0, closeConnection(flat));
        assertEquals(0, closeConnection(jni));
    }
}
