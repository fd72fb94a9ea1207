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

    static final String BUSY = "Session is busy: a call on it from this thread has not returned yet";

    /** A row list whose add runs an action first: a host calling back while the row is read. */
    static final class Calling extends ArrayList<Object> {
        private static final long serialVersionUID = 1L;
        final transient Runnable action;

        Calling(Runnable action) {
            this.action = action;
        }

        @Override
        public boolean add(Object item) {
            action.run();
            return super.add(item);
        }
    }

    private int openWithRow() {
        int session = Db.open(Db.fileIn(dir, "calls"));
        Db.run(session, "select 'a' as x, 'b' as y, 'c' as z from dual");
        assertEquals(1, nextRow(session));
        return session;
    }

    @Test
    void aCallFromInsideACallOnTheSameSessionIsRefused() {
        int session = openWithRow();
        List<Integer> inner = new ArrayList<>();
        Calling row = new Calling(() -> {
            inner.add(executeQuery(session, "select 1 from dual", true));
            inner.add(nextRow(session));
        });
        assertEquals(1, getRow(session, row));
        assertEquals(List.of("a", "b", "c"), row);
        assertEquals(6, inner.size());
        for (int result : inner) {
            assertTrue(result < 0, "refused, got " + result);
            assertEquals(BUSY, getError(result));
        }
        List<Object> meta = new ArrayList<>();
        Calling metaList = new Calling(() -> inner.add(getColumnsCount(session)));
        assertEquals(0, getMetaData(session, "", "", metaList));
        assertEquals(BUSY, getError(inner.get(inner.size() - 1)));
        assertEquals(0, getMetaData(session, "", "", meta));
        assertEquals(37, meta.size(), "the session still works");
        closeConnection(session);
    }

    @Test
    void aSessionClosedDuringACallIsReleasedWhenTheCallEnds() throws Exception {
        int session = openWithRow();
        Calling row = new Calling(() -> {
            Thread closer = new Thread(() -> assertEquals(0, closeConnection(session)));
            closer.start();
            try {
                closer.join();
            } catch (InterruptedException e) {
                throw new AssertionError(e);
            }
        });
        assertEquals(1, getRow(session, row), "the call inside goes on to its end");
        assertEquals(List.of("a", "b", "c"), row);
        int after = nextRow(session);
        assertTrue(after < 0);
        assertEquals("Session is not initialized", getError(after));

        int other = openWithRow();
        Calling closing = new Calling(() -> closeConnection(other));  // same thread, same session
        assertEquals(1, getRow(other, closing));
        assertEquals(List.of("a", "b", "c"), closing);
        assertEquals("Session is not initialized", getError(nextRow(other)));
    }

    /** Misuse: two threads share one session. Each call is whole; nothing crashes. */
    @Test
    void twoThreadsOnOneSession() throws Exception {
        int session = Db.open(Db.fileIn(dir, "shared-session"));
        Db.run(session, "create table t (n number)");
        for (int i = 0; i < 20; ++i) {
            Db.run(session, "insert into t values (" + i + ")");
        }
        ExecutorService pool = Executors.newFixedThreadPool(2);
        try {
            List<Future<Integer>> results = new ArrayList<>();
            for (int t = 0; t < 2; ++t) {
                results.add(pool.submit(() -> {
                    int rows = 0;
                    for (int round = 0; round < 100; ++round) {
                        if (executeQuery(session, "select n from t", true) < 0) {
                            continue;
                        }
                        while (nextRow(session) == 1) {
                            List<Object> row = new ArrayList<>();
                            int read = getRow(session, row);
                            assertTrue(read == 1 || read < 0, "got " + read);
                            rows += row.size();
                        }
                    }
                    return rows;
                }));
            }
            for (Future<Integer> result : results) {
                assertTrue(result.get() >= 0);
            }
        } finally {
            pool.shutdownNow();
        }
        assertEquals(List.of("20"), Db.firstRow(session, "select to_char(count(*)) from t"));
        closeConnection(session);
    }
    static final String CANCELLED = "ORA-01013: user requested cancel of current operation\n";

    /** Runs call while another thread cancels the session's running call every 20 ms. */
    private static int whileCancelling(int session, java.util.function.IntSupplier call)
            throws InterruptedException {
        java.util.concurrent.atomic.AtomicBoolean ended =
                new java.util.concurrent.atomic.AtomicBoolean();
        java.util.concurrent.atomic.AtomicInteger refused =
                new java.util.concurrent.atomic.AtomicInteger();
        Thread canceller = new Thread(() -> {
            while (!ended.get()) {
                if (setIntSessionProperty(session, PROPERTY_CANCEL, 1) != 0) {
                    refused.incrementAndGet();
                }
                try {
                    Thread.sleep(20);
                } catch (InterruptedException e) {
                    return;
                }
            }
        });
        canceller.start();
        try {
            return call.getAsInt();
        } finally {
            ended.set(true);
            canceller.join();
            assertEquals(0, refused.get(), "cancels refused");
        }
    }

    /** A query that would run for minutes, and then a fetch, end with ORA-01013; the session goes on. */
    @Test
    void aCancelFromAnotherThreadEndsTheRunningCall() throws Exception {
        int session = Db.open(Db.fileIn(dir, "cancel"));
        int result = whileCancelling(session, () -> executeQuery(session,
                "with r (n) as (select 1 from dual union all select n + 1 from r where n < 1000000000)"
                        + " select count(*) from r", true));
        assertTrue(result < 0, "cancelled, got " + result);
        assertEquals(CANCELLED, getError(result));
        assertEquals(List.of("up"), Db.firstRow(session, "select 'up' from dual"));

        Db.run(session, "select level from dual connect by level <= 1000000000");
        int[] rows = {0};
        result = whileCancelling(session, () -> {
            int next;
            while ((next = nextRow(session)) == 1) {
                ++rows[0];
            }
            return next;
        });
        assertTrue(result < 0, "cancelled, got " + result);
        assertEquals(CANCELLED, getError(result));
        assertTrue(rows[0] > 0, "rows before the cancel arrive");

        assertEquals(0, setIntSessionProperty(session, PROPERTY_CANCEL, 1), "nothing running");
        assertEquals(List.of("still up"), Db.firstRow(session, "select 'still ' || 'up' from dual"));
        closeConnection(session);
        assertTrue(setIntSessionProperty(session, PROPERTY_CANCEL, 1) < 0, "a closed session");
    }
}
