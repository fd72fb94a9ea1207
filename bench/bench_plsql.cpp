// PL/SQL in the embedded database, through the exports:
//   - a FOR loop of 100,000 single-row INSERTs in one block, against the same inserts sent one by
//     one by the host (PrepareQuery once, then the setters and Execute per row). Target: the
//     block at most 1.0x the host's CPU time.
//   - a cursor FOR loop summing a column over 1,000,000 rows, against SELECT SUM of the same.
//     Target: at most 5x.
//   - array DML of 1,000,000 rows into a table with a BEFORE INSERT row trigger that assigns
//     :NEW.id from a sequence, against the same without the trigger. Target: at most 3x.
//   - 10,000,000 iterations of PLS_INTEGER arithmetic and an IF: iterations per second beside a
//     C loop's (informational).
//
// Usage: bench_plsql [rows] [directory]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_util.h"
#include "kavex_oracleociw.h"

namespace {

using benchutil::check;
using benchutil::cpuSeconds;

int openFresh(const std::string& path) {
    benchutil::removeDb(path);
    const std::string connect = "file:" + path + "?mode=rwc";
    const int id = OpenConnection(connect.c_str(), "bench", "bench");
    check(id, "open");
    check(ExecuteQuery(id, "CREATE TABLE t (a NUMBER(10), b VARCHAR2(30))", 0), "create");
    return id;
}

double hostInserts(const std::string& path, long rows) {
    const int id = openFresh(path);
    char name[40];
    const double start = cpuSeconds();
    check(PrepareQuery(id, "INSERT INTO t VALUES (:1, :2)", 0), "prepare");
    for (long i = 1; i <= rows; ++i) {
        std::snprintf(name, sizeof name, "row %ld", i);
        check(SetInt(id, 1, static_cast<int>(i), 0), "int");
        check(SetString(id, 2, name, 0), "string");
        check(Execute(id), "execute");
    }
    check(ExecuteQuery(id, "COMMIT", 0), "commit");
    const double seconds = cpuSeconds() - start;
    CloseConnection(id);
    return seconds;
}

double blockInserts(const std::string& path, long rows) {
    const int id = openFresh(path);
    const std::string block = "BEGIN FOR i IN 1 .. " + std::to_string(rows) +
                              " LOOP INSERT INTO t VALUES (i, 'row ' || i); END LOOP; END;";
    const double start = cpuSeconds();
    check(ExecuteQuery(id, block.c_str(), 0), "block");
    check(ExecuteQuery(id, "COMMIT", 0), "commit");
    const double seconds = cpuSeconds() - start;
    CloseConnection(id);
    return seconds;
}

// The SUM query's CPU time and the cursor loop's, over the same rows.
void sums(const std::string& path, long rows, double& query, double& loop) {
    const int id = openFresh(path);
    const std::string fill = "BEGIN FOR i IN 1 .. " + std::to_string(rows) +
                             " LOOP INSERT INTO t VALUES (i, NULL); END LOOP; COMMIT; END;";
    check(ExecuteQuery(id, fill.c_str(), 0), "fill");
    double start = cpuSeconds();
    check(ExecuteQuery(id, "SELECT SUM(a) FROM t", 0), "sum");
    check(NextRow(id), "sum row");
    query = cpuSeconds() - start;
    start = cpuSeconds();
    check(ExecuteQuery(id,
                       "DECLARE s NUMBER := 0; BEGIN FOR r IN (SELECT a FROM t) LOOP "
                       "s := s + r.a; END LOOP; END;",
                       0),
          "loop");
    loop = cpuSeconds() - start;
    CloseConnection(id);
}

// One array INSERT of rows rows (one Execute), with or without the trigger that numbers them.
double arrayInserts(const std::string& path, long rows, bool trigger) {
    benchutil::removeDb(path);
    const std::string connect = "file:" + path + "?mode=rwc";
    const int id = OpenConnection(connect.c_str(), "bench", "bench");
    check(id, "open");
    check(ExecuteQuery(id, "CREATE TABLE t2 (id NUMBER(10), b VARCHAR2(30))", 0), "create");
    check(ExecuteQuery(id, "CREATE SEQUENCE t2_seq CACHE 1000", 0), "sequence");
    if (trigger)
        check(ExecuteQuery(id,
                           "CREATE TRIGGER t2_id BEFORE INSERT ON t2 FOR EACH ROW "
                           "BEGIN :NEW.id := t2_seq.NEXTVAL; END;",
                           0),
              "trigger");
    char name[40];
    const double start = cpuSeconds();
    check(PrepareQuery(id, "INSERT INTO t2 (b) VALUES (:1)", 0), "prepare");
    check(SetMaxIterations(id, static_cast<unsigned>(rows)), "iterations");
    check(SetMaxParSize(id, 1, 30), "size");
    for (long i = 1; i <= rows; ++i) {
        std::snprintf(name, sizeof name, "row %ld", i);
        check(SetString(id, 1, name, 0), "string");
        if (i < rows) check(AddIteration(id), "iteration");
    }
    const int inserted = Execute(id);
    check(inserted, "execute");
    check(ExecuteQuery(id, "COMMIT", 0), "commit");
    const double seconds = cpuSeconds() - start;
    if (inserted != rows) benchutil::fail("inserted " + std::to_string(inserted) + " rows");
    if (trigger) {
        check(ExecuteQuery(id, "SELECT COUNT(DISTINCT id) FROM t2", 0), "count");
        check(NextRow(id), "count row");
    }
    CloseConnection(id);
    return seconds;
}

double plsqlIterations(const std::string& path, long iterations) {
    const int id = openFresh(path);
    const std::string block = "DECLARE x PLS_INTEGER := 0; BEGIN FOR i IN 1 .. " +
                              std::to_string(iterations) +
                              " LOOP IF i > 5 THEN x := x + 1; END IF; END LOOP; END;";
    const double start = cpuSeconds();
    check(ExecuteQuery(id, block.c_str(), 0), "loop");
    const double seconds = cpuSeconds() - start;
    CloseConnection(id);
    return seconds;
}

double cIterations(long iterations) {
    volatile long x = 0;
    const double start = cpuSeconds();
    for (long i = 1; i <= iterations; ++i)
        if (i > 5) x = x + 1;
    return cpuSeconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
    const std::string dir = argc > 2 ? argv[2] : "/tmp";
    const std::string path = dir + "/kavex_bench_plsql.db";

    double host = hostInserts(path, rows), block = blockInserts(path, rows);
    for (int run = 0; run < 2; ++run) {
        host = std::min(host, hostInserts(path, rows));
        block = std::min(block, blockInserts(path, rows));
    }
    std::printf("%ld single-row inserts:\n", rows);
    std::printf("  host, Execute per row   %8.3f s CPU  (%.0f rows/s)\n", host, rows / host);
    std::printf("  one PL/SQL FOR loop     %8.3f s CPU  (%.0f rows/s)\n", block, rows / block);
    benchutil::printTarget("PL/SQL FOR loop of inserts / host Execute per row", block / host,
                           "x", true, 1.0);

    const long sumRows = rows * 10;
    double query = 0, loop = 0;
    sums(path, sumRows, query, loop);
    std::printf("sum over %ld rows: SELECT SUM %.3f s CPU, cursor FOR loop %.3f s CPU\n", sumRows,
                query, loop);
    benchutil::printTarget("PL/SQL cursor FOR loop sum / SELECT SUM", loop / query, "x", true,
                           5.0);

    double plain = arrayInserts(path, sumRows, false), triggered = arrayInserts(path, sumRows, true);
    plain = std::min(plain, arrayInserts(path, sumRows, false));
    std::printf("array INSERT of %ld rows: %.3f s CPU, with a BEFORE INSERT row trigger %.3f s "
                "CPU\n",
                sumRows, plain, triggered);
    benchutil::printTarget("array DML with a row trigger / without", triggered / plain, "x", true,
                           3.0);

    const long iterations = rows * 100;
    const double plsql = plsqlIterations(path, iterations), c = cIterations(iterations);
    std::printf("%ld loop iterations (PLS_INTEGER arithmetic and an IF): PL/SQL %.0f/s, C %.0f/s\n",
                iterations, iterations / plsql, iterations / c);
    benchutil::removeDb(path);
    return 0;
}
