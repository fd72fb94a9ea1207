package velmar.oracleociops.tests;

import static org.junit.jupiter.api.Assertions.*;
import static velmar.oracleociops.OcciWrapper.*;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

class ConcurrencyTest {
    @TempDir Path dir;

    /** Each thread writes and reads its own table through its own session, all at once. */
    @Test
    void threadsWithTheirOwnSessions() throws Exception {
        final int threads = 6;
        final int rows = 300;
        String db = Db.fileIn(dir, "shared");
        ExecutorService pool = Executors.newFixedThreadPool(threads);
        try {
            List<Future<Integer>> results = new ArrayList<>();
            for (int t = 0; t < threads; ++t) {
                final String table = "t" + t;
                results.add(pool.submit(() -> {
                    int session = openConnection(db, "scott", "tiger");
                    if (session < 0) {
                        throw new AssertionError(getError(session));
                    }
                    try {
                        Db.run(session, "create table " + table + " (n pls_integer, s varchar2(20))");
                        Db.ok(prepareQuery(session, "insert into " + table + " values (:1, :2)", true));
                        Db.ok(setMaxIterations(session, rows));
                        Db.ok(setMaxParSize(session, 2, 20));
                        for (int i = 0; i < rows; ++i) {
                            if (i > 0) {
                                Db.ok(addIteration(session));
                            }
                            Db.ok(setInt(session, 1, i, false));
                            Db.ok(setString(session, 2, table + ":" + i, false));
                        }
                        assertEquals(rows, execute(session));
                        Db.run(session, "select n, s from " + table + " order by n");
                        int seen = 0;
                        while (nextRow(session) == 1) {
                            List<Object> row = new ArrayList<>();
                            assertEquals(1, getRow(session, row));
                            assertEquals(List.of(seen, table + ":" + seen), row);
                            ++seen;
                        }
                        return seen;
                    } finally {
                        closeConnection(session);
                    }
                }));
            }
            for (Future<Integer> result : results) {
                assertEquals(rows, result.get());
            }
        } finally {
            pool.shutdownNow();
        }
    }
}
