// Run as a single-file program with only velmar-oracleociops.jar on the class path: the library
// comes out of the jar. Prints one line the test matches; any failure ends with a non-zero status.
import java.util.ArrayList;
import java.util.List;
import velmar.oracleociops.OcciWrapper;

public class BundledLibrary {
    public static void main(String[] args) {
        int session = OcciWrapper.openConnection(":memory:", "u", "p");
        if (session < 0) {
            throw new IllegalStateException("openConnection: " + OcciWrapper.getError(session));
        }
        int status = OcciWrapper.executeQuery(session, "SELECT 'jar' FROM DUAL", true);
        if (status < 0) {
            throw new IllegalStateException("executeQuery: " + OcciWrapper.getError(status));
        }
        int rows = 0;
        while (OcciWrapper.nextRow(session) == 1) {
            List<Object> row = new ArrayList<>();
            if (OcciWrapper.getRow(session, row) != 1 || !"jar".equals(row.get(0))) {
                throw new IllegalStateException("unexpected row " + row);
            }
            rows++;
        }
        int closed = OcciWrapper.closeConnection(session);
        System.out.println("bundled library: session " + session + ", " + rows + " row"
                + (rows == 1 ? "" : "s") + ", " + (closed == 0 ? "closed" : "close failed"));
    }
}
