import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.sql.Connection;
import java.sql.DriverManager;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.sql.Statement;
import java.util.ArrayList;
import java.util.List;
import velmar.oracleociops.OcciWrapper;

/**
 * Reads 1,000,000 rows of 4 columns (NUMBER(10), NUMBER(10,2), VARCHAR2(30), TIMESTAMP) from one
 * SQLite file, through OcciWrapper.getRow lists and through the SQLite JDBC driver's ResultSet
 * getters, side by side in one run, and prints the times and their ratio.
 *
 * <p>Usage: JniBench WORK_DIR [ROWS [jni|jdbc|jni-text|jdbc-text]]; with a third argument only
 * that side runs, over the file a previous run left (for profiling one side).
 */
public final class JniBench {
    private static final String QUERY = "select id, amount, name, ts from bench";
    // The same rows as four plain texts: no NUMBER or TIMESTAMP rendering, so the difference is
    // the cost of the two front ends themselves.
    private static final String TEXT_QUERY = "select name, name, name, name from bench";

    public static void main(String[] args) throws Exception {
        Path work = Paths.get(args.length > 0 ? args[0] : "bench-jni");
        int rows = args.length > 1 ? Integer.parseInt(args[1]) : 1_000_000;
        Files.createDirectories(work);
        Path file = work.resolve("bench.db");
        if (args.length > 2) {
            long start = System.nanoTime();
            for (int round = 0; round < 4; ++round) {
                String query = args[2].endsWith("-text") ? TEXT_QUERY : QUERY;
                check(args[2].startsWith("jni") ? readJni(file, query) : readJdbc(file, query), rows);
            }
            System.out.printf("%s: %.0f ns/row over 4 reads%n", args[2],
                    (System.nanoTime() - start) / 4.0 / rows);
            return;
        }
        Files.deleteIfExists(file);
        Files.deleteIfExists(work.resolve("bench.db-wal"));
        Files.deleteIfExists(work.resolve("bench.db-shm"));
        create(file, rows);

        System.out.printf("rows: %d x 4 columns, best of 3 after a warm-up%n", rows);
        compare("NUMBER(10), NUMBER(10,2), VARCHAR2(30), TIMESTAMP", "JNI getRow, mixed row, vs SQLite JDBC",
                0.9, QUERY, file, rows);
        compare("four VARCHAR2(30)", "JNI getRow, four VARCHAR2, vs SQLite JDBC", 0.8, TEXT_QUERY,
                file, rows);
    }

    // Warms both paths up (class loading, JIT, file cache), then alternates timed runs. The ratio
    // is printed next to its target as a "TARGET |" line, which make bench collects.
    private static void compare(String title, String figure, double target, String query, Path file,
            int rows) throws SQLException {
        check(readJni(file, query), rows);
        check(readJdbc(file, query), rows);
        long bestJni = Long.MAX_VALUE;
        long bestJdbc = Long.MAX_VALUE;
        for (int round = 0; round < 3; ++round) {
            long start = System.nanoTime();
            check(readJni(file, query), rows);
            bestJni = Math.min(bestJni, System.nanoTime() - start);
            start = System.nanoTime();
            check(readJdbc(file, query), rows);
            bestJdbc = Math.min(bestJdbc, System.nanoTime() - start);
        }
        System.out.printf("%s%n", title);
        System.out.printf("  OcciWrapper nextRow + getRow lists : %8.1f ms (%6.0f ns/row)%n",
                bestJni / 1e6, (double) bestJni / rows);
        System.out.printf("  SQLite JDBC ResultSet getters      : %8.1f ms (%6.0f ns/row)%n",
                bestJdbc / 1e6, (double) bestJdbc / rows);
        double ratio = (double) bestJni / bestJdbc;
        System.out.printf("TARGET | %-52s | %9.2f %-4s | <= %s x | %s%n", figure, ratio, "x",
                target, ratio <= target ? "met" : "MISSED");
    }

    private static void check(long seen, int rows) {
        if (seen != rows) {
            throw new IllegalStateException("read " + seen + " rows, expected " + rows);
        }
    }

    /** The table, written through JDBC in one transaction with the declared Oracle types. */
    private static void create(Path file, int rows) throws SQLException {
        try (Connection c = DriverManager.getConnection("jdbc:sqlite:" + file)) {
            try (Statement s = c.createStatement()) {
                s.execute("create table bench (id NUMBER(10), amount NUMBER(10,2),"
                        + " name VARCHAR2(30), ts TIMESTAMP)");
            }
            c.setAutoCommit(false);
            try (PreparedStatement insert = c.prepareStatement("insert into bench values (?, ?, ?, ?)")) {
                for (int i = 0; i < rows; ++i) {
                    insert.setInt(1, i);
                    insert.setDouble(2, (i % 100000) / 100.0);
                    insert.setString(3, "name " + i);
                    insert.setString(4, String.format("2024-01-%02d %02d:%02d:%02d.000000000",
                            1 + i % 28, i % 24, i % 60, (i / 60) % 60));
                    insert.addBatch();
                    if (i % 10000 == 9999) {
                        insert.executeBatch();
                    }
                }
                insert.executeBatch();
            }
            c.commit();
        }
    }

    private static long readJni(Path file, String query) {
        int session = OcciWrapper.openConnection(file.toString(), "bench", "bench");
        if (session < 0) {
            throw new IllegalStateException(OcciWrapper.getError(session));
        }
        try {
            int result = OcciWrapper.executeQuery(session, query, false);
            if (result < 0) {
                throw new IllegalStateException(OcciWrapper.getError(result));
            }
            List<Object> row = new ArrayList<>(4);
            long seen = 0;
            long checksum = 0;
            while (OcciWrapper.nextRow(session) == 1) {
                row.clear();
                OcciWrapper.getRow(session, row);
                checksum += ((String) row.get(2)).length();
                ++seen;
            }
            if (checksum == 0) {
                throw new IllegalStateException("no data");
            }
            return seen;
        } finally {
            OcciWrapper.closeConnection(session);
        }
    }

    private static long readJdbc(Path file, String query) throws SQLException {
        try (Connection c = DriverManager.getConnection("jdbc:sqlite:" + file);
                Statement s = c.createStatement();
                ResultSet rs = s.executeQuery(query)) {
            long seen = 0;
            long checksum = 0;
            while (rs.next()) {
                // The getters a user picks for the columns: a number (when it is one) and texts.
                long id = query.equals(QUERY) ? rs.getLong(1) : rs.getString(1).length();
                String amount = rs.getString(2);
                String name = rs.getString(3);
                String ts = rs.getString(4);
                checksum += name.length() + (id & 1) + amount.length() + ts.length();
                ++seen;
            }
            if (checksum == 0) {
                throw new IllegalStateException("no data");
            }
            return seen;
        }
    }
}
