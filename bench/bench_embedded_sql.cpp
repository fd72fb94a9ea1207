// The cost of Oracle SQL in the embedded client, in three figures:
//  - the row generator SELECT LEVEL FROM DUAL CONNECT BY LEVEL <= 1,000,000 side by side with
//    the recursive WITH query that gives the same rows; target: at most 2x;
//  - preparing and running a statement of about 1 MiB of query blocks over an empty table (the rewriting and SQLite's own parse), in seconds per MiB; target: at most 1 s;
//  - the same for a statement with 30,000 placeholders, all bound; target: at most 1 s.
//
// Usage: bench_embedded_sql [levels]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_util.h"
#include "kavexdb/occi.h"

namespace {

using namespace oracle::occi;
using Clock = benchutil::CpuClock;
using benchutil::secondsSince;

// Runs a query and reads its rows; returns the CPU seconds and adds the first column's values.
double timedQuery(Connection* conn, const std::string& sql, long& checksum) {
    const Clock::time_point start = Clock::now();
    Statement* st = conn->createStatement(sql);
    st->setPrefetchRowCount(500);
    st->execute();
    ResultSet* rs = st->getResultSet();
    while (rs->next() == ResultSet::DATA_AVAILABLE) checksum += static_cast<long>(rs->getInt(1));
    st->closeResultSet(rs);
    conn->terminateStatement(st);
    return secondsSince(start);
}

double best(int runs, Connection* conn, const std::string& sql, long& checksum) {
    double fastest = 1e9;
    for (int r = 0; r < runs; ++r) {
        const double s = timedQuery(conn, sql, checksum);
        if (s < fastest) fastest = s;
    }
    return fastest;
}

}  // namespace

int main(int argc, char** argv) {
    const long levels = argc > 1 ? std::atol(argv[1]) : 1000000;
    try {
        const benchutil::ClientSession session(":memory:");
        Connection* conn = session.connection();

        long generated = 0, recursive = 0;
        const std::string n = std::to_string(levels);
        const double connectBy =
            best(3, conn, "SELECT LEVEL FROM DUAL CONNECT BY LEVEL <= " + n, generated);
        const double with = best(3, conn,
                                 "WITH r (n) AS (SELECT 1 FROM DUAL UNION ALL SELECT n + 1 FROM r "
                                 "WHERE n < " + n + ") SELECT n FROM r",
                                 recursive);
        if (generated != recursive) benchutil::fail("the two forms gave different rows");
        std::printf("CONNECT BY LEVEL <= %ld   %8.3f s CPU\n", levels, connectBy);
        std::printf("recursive WITH, the same %8.3f s CPU\n", with);
        benchutil::printTarget("CONNECT BY " + n + " levels vs recursive WITH", connectBy / with,
                               "x", true, 2.0);

        Statement* ddl = conn->createStatement("CREATE TABLE t (a NUMBER(10), b VARCHAR2(20), d DATE)");
        ddl->executeUpdate();
        conn->terminateStatement(ddl);

        // About 1 MiB of query blocks joined by UNION ALL (SQLite takes up to 500), each with 160
        // select-list expressions: arithmetic, concatenation, functions, CASE.
        std::string big;
        for (int block = 0; big.size() < (1u << 20); ++block) {
            big += block == 0 ? "SELECT 1" : " UNION ALL SELECT 1";
            for (int i = 0; i < 40; ++i) {
                const std::string k = std::to_string(block * 40 + i);
                big += ", a + " + k + " * 2, 'x' || b || '" + k + "', NVL(TRIM(b), 'none'), " +
                       "CASE WHEN a > " + k + " THEN d + 1 ELSE d END";
            }
            big += " FROM t WHERE a <> " + std::to_string(block);
        }
        long none = 0;
        const double mib = static_cast<double>(big.size()) / (1 << 20);
        const double text = best(3, conn, big, none) / mib;
        std::printf("a %.2f MiB statement       %8.3f s CPU per MiB\n", mib, text);
        benchutil::printTarget("preparing SQL text, per MiB", text, "s", true, 1.0);

        constexpr int kPlaceholders = 30000;
        // IN lists of 1,000 items each, Oracle's most, ORed.
        std::string binds = "SELECT COUNT(*) FROM t WHERE a IN (0";
        for (int i = 1; i <= kPlaceholders; ++i) {
            binds += (i % 1000 == 0 ? ") OR a IN (:" : ", :") + std::to_string(i);
        }
        binds += ")";
        double fastest = 1e9;
        for (int r = 0; r < 3; ++r) {
            const Clock::time_point start = Clock::now();
            Statement* st = conn->createStatement(binds);
            for (int i = 1; i <= kPlaceholders; ++i) st->setInt(static_cast<unsigned>(i), i);
            st->execute();
    ResultSet* rs = st->getResultSet();
            while (rs->next() == ResultSet::DATA_AVAILABLE) none += static_cast<long>(rs->getInt(1));
            st->closeResultSet(rs);
            conn->terminateStatement(st);
            const double s = secondsSince(start);
            if (s < fastest) fastest = s;
        }
        std::printf("%d placeholders bound     %8.3f s CPU\n", kPlaceholders, fastest);
        benchutil::printTarget("a statement of 30,000 placeholders", fastest, "s", true, 1.0);
    } catch (const SQLException& e) {
        benchutil::fail(e.getMessage());
    }
    return 0;
}
