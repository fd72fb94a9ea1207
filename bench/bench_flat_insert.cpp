// Inserting 100,000 rows x 3 columns (an integer, a text, a timestamp) as one batch through the
// exports (SetMaxIterations, the setters, AddIteration, one Execute), side by side with a raw
// SQLite prepared-insert loop in one transaction. Target: the library at most 1.5x the raw loop.
//
// Usage: bench_flat_insert [rows] [directory]
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bench_util.h"
#include "kavex_oracleociw.h"

namespace {

using Clock = benchutil::WallClock;
using benchutil::check;
using benchutil::cpuSeconds;
using benchutil::fail;
using benchutil::secondsSince;

struct Timing {
    double wall;
    double cpu;
};

Timing best(const Timing& a, const Timing& b) {
    return Timing{std::min(a.wall, b.wall), std::min(a.cpu, b.cpu)};
}

struct Row {
    int year;
    unsigned month, day, hour, minute, second;
};

Row rowValues(long i) {
    return Row{2024, static_cast<unsigned>(i % 12 + 1), static_cast<unsigned>(i % 28 + 1),
               static_cast<unsigned>(i % 24), static_cast<unsigned>(i % 60),
               static_cast<unsigned>((i / 60) % 60)};
}

void nameOf(long i, char* buffer, std::size_t size) {
    std::snprintf(buffer, size, "customer %ld", i);
}

Timing libraryRun(const std::string& path, long rows) {
    std::remove(path.c_str());
    const std::string connect = "file:" + path + "?mode=rwc";
    const int id = OpenConnection(connect.c_str(), "bench", "bench");
    check(id, "open");
    check(ExecuteQuery(id, "CREATE TABLE t (a NUMBER(10), b VARCHAR2(30), c TIMESTAMP)", 1),
          "create");
    char name[40];
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSeconds();
    check(PrepareQuery(id, "INSERT INTO t VALUES (:1, :2, :3)", 1), "prepare");
    check(SetMaxIterations(id, static_cast<unsigned>(rows)), "iterations");
    check(SetMaxParSize(id, 2, 30), "size");
    for (long i = 0; i < rows; ++i) {
        const Row r = rowValues(i);
        nameOf(i, name, sizeof name);
        check(SetInt(id, 1, static_cast<int>(i), 0), "int");
        check(SetString(id, 2, name, 0), "string");
        check(SetTimestamp(id, 3, r.year, r.month, r.day, r.hour, r.minute, r.second, 0, 0, 0, 0),
              "timestamp");
        if (i + 1 < rows) {
            check(AddIteration(id), "iteration");
        }
    }
    const int inserted = Execute(id);
    check(inserted, "execute");
    const Timing seconds{secondsSince(start), cpuSeconds() - cpuStart};
    if (inserted != rows) {
        fail("library inserted " + std::to_string(inserted) + " rows");
    }
    CloseConnection(id);
    return seconds;
}

Timing rawRun(const std::string& path, long rows) {
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        fail("sqlite3_open");
    }
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "CREATE TABLE t (a NUMBER(10), b VARCHAR2(30), c TIMESTAMP)", nullptr,
                 nullptr, nullptr);
    char name[40];
    char stamp[40];
    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSeconds();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?, ?, ?)", -1, &insert, nullptr);
    for (long i = 0; i < rows; ++i) {
        const Row r = rowValues(i);
        nameOf(i, name, sizeof name);
        std::snprintf(stamp, sizeof stamp, "%04d-%02u-%02u %02u:%02u:%02u.000000000", r.year,
                      r.month, r.day, r.hour, r.minute, r.second);
        sqlite3_bind_int64(insert, 1, i);
        sqlite3_bind_text(insert, 2, name, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, stamp, -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            fail(std::string("insert: ") + sqlite3_errmsg(db));
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const Timing seconds{secondsSince(start), cpuSeconds() - cpuStart};
    sqlite3_close(db);
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
    const std::string directory = argc > 2 ? argv[2] : "/tmp";
    const std::string libraryPath = directory + "/bench_flat_insert_library.db";
    const std::string rawPath = directory + "/bench_flat_insert_raw.db";

    // Alternate the two runs so that neither profits alone from a warm cache.
    Timing library{1e300, 1e300};
    Timing raw{1e300, 1e300};
    for (int round = 0; round < 3; ++round) {
        raw = best(raw, rawRun(rawPath, rows));
        library = best(library, libraryRun(libraryPath, rows));
    }
    std::printf("rows: %ld x 3 columns (int, string, timestamp), best of 3\n", rows);
    std::printf("                          wall s    cpu s    rows/s (wall)\n");
    std::printf("raw SQLite insert loop : %8.3f %8.3f %9.0f\n", raw.wall, raw.cpu,
                rows / raw.wall);
    std::printf("flat exports, 1 batch  : %8.3f %8.3f %9.0f\n", library.wall, library.cpu,
                rows / library.wall);
    std::printf("ratio library/raw      : %8.2f %8.2f\n", library.wall / raw.wall,
                library.cpu / raw.cpu);
    benchutil::printTarget("flat batch insert, library / raw CPU", library.cpu / raw.cpu, "x",
                           true, 1.5);
    std::remove(libraryPath.c_str());
    std::remove(rawPath.c_str());
    return 0;
}
