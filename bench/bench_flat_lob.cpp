// Streaming a 256 MiB BLOB parameter in 1 MiB chunks through StreamParameterToLob, then inserting
// it with Execute into a file database, then reading the row back with the default maximum
// column size (the first 2000 bytes). Targets: 1 GB/s or better for the streaming, 0.5 GB/s or
// better for Execute (insert and commit); peak resident memory under 64 MiB for the whole round
// trip, whatever the LOB's size (make bench runs it at 256 and 900 MiB).
//
// Next to Execute it times the engine underneath: the same bytes inserted with plain SQLite
// calls in one transaction into a new write-ahead-log database of the page size the library gave
// its file, with SQLite's default synchronous setting (the commit syncs), as a zeroblob written
// in 1 MiB pieces with incremental blob I/O (the path Execute takes) and, up to 256 MiB, bound
// whole from memory; the blob I/O also with SQLite's automatic checkpoint off, which leaves the
// commit what the library's commit waits for (it checkpoints on a thread of its own).
//
// Then, in a process of its own (peak memory is per process), the same round trip with a CLOB of
// multi-byte text of the same size, against the same memory target.
//
// Usage: bench_flat_lob [MiB] [directory]
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "bench_util.h"
#include "kavex_oracleociw.h"

namespace {

using Clock = benchutil::WallClock;
using benchutil::check;
using benchutil::cpuSeconds;
using benchutil::peakResidentMiB;
using benchutil::secondsSince;

constexpr unsigned kChunk = 1u << 20;
const char* const kClobMode = "clob";

void rawExec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        benchutil::fail(std::string(sql) + ": " + sqlite3_errmsg(db));
}

int pageSizeOf(const std::string& path) {
    sqlite3* db = nullptr;
    int size = 0;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "PRAGMA page_size", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        size = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    if (size == 0) benchutil::fail("page size of " + path);
    return size;
}

// Seconds from BEGIN to the end of COMMIT for one row holding `size` bytes: bound from `whole`
// when given, else a zeroblob filled from `chunk` with blob I/O.
double rawInsertSeconds(const std::string& path, int pageSize, const std::vector<char>& chunk,
                        std::size_t size, const std::vector<char>* whole,
                        bool checkpointInCommit = true) {
    benchutil::removeDb(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) benchutil::fail("sqlite3_open");
    rawExec(db, ("PRAGMA page_size=" + std::to_string(pageSize)).c_str());
    rawExec(db, "PRAGMA journal_mode=WAL");
    if (!checkpointInCommit) rawExec(db, "PRAGMA wal_autocheckpoint=0");
    rawExec(db, "CREATE TABLE l (k INTEGER, b BLOB)");
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO l VALUES (1, ?1)", -1, &insert, nullptr) != SQLITE_OK)
        benchutil::fail("prepare");

    const Clock::time_point start = Clock::now();
    rawExec(db, "BEGIN IMMEDIATE");
    if (whole)
        sqlite3_bind_blob64(insert, 1, whole->data(), size, SQLITE_STATIC);
    else
        sqlite3_bind_zeroblob64(insert, 1, size);
    if (sqlite3_step(insert) != SQLITE_DONE) benchutil::fail(sqlite3_errmsg(db));
    sqlite3_finalize(insert);
    if (!whole) {
        sqlite3_blob* blob = nullptr;
        int rc = sqlite3_blob_open(db, "main", "l", "b", sqlite3_last_insert_rowid(db), 1, &blob);
        for (std::size_t at = 0; at < size && rc == SQLITE_OK; at += kChunk)
            rc = sqlite3_blob_write(blob, chunk.data(), static_cast<int>(kChunk),
                                    static_cast<int>(at));
        sqlite3_blob_close(blob);
        if (rc != SQLITE_OK) benchutil::fail(sqlite3_errmsg(db));
    }
    rawExec(db, "COMMIT");
    const double seconds = secondsSince(start);
    sqlite3_close(db);
    benchutil::removeDb(path);
    return seconds;
}

// One timed figure and its rate.
void printRate(const char* what, double seconds, double gigabytes) {
    std::printf("%-23s: %8.3f s  (%6.2f GB/s)\n", what, seconds, gigabytes / seconds);
}

// A session on a new database file, with `insert` prepared after `create` ran.
int openPrepared(const std::string& path, const char* create, const char* insert) {
    benchutil::removeDb(path);
    const std::string connect = "file:" + path + "?mode=rwc";
    const int id = OpenConnection(connect.c_str(), "bench", "bench");
    check(id, "open");
    check(ExecuteQuery(id, create, 1), "create");
    check(PrepareQuery(id, insert, 1), "prepare");
    return id;
}

// The CLOB round trip, run in a process of its own.
int clobRoundTrip(long mebibytes, const std::string& directory) {
    const std::string path = directory + "/bench_flat_lob_clob.db";
    const int id = openPrepared(path, "CREATE TABLE c (k NUMBER(10), t CLOB)",
                                "INSERT INTO c VALUES (1, :1)");
    // Two-, three- and one-byte characters; chunks cut them anywhere.
    std::string chunk;
    while (chunk.size() < kChunk) chunk += "d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC ";
    chunk.resize(kChunk);
    const double baselineMiB = peakResidentMiB();

    const Clock::time_point start = Clock::now();
    for (long i = 0; i < mebibytes; ++i)
        check(StreamParameterToLob(id, 1, 112, chunk.data(), kChunk), "stream");
    check(StreamParameterToLobLast(id, 1), "post");
    const double streamSeconds = secondsSince(start);
    const Clock::time_point insertStart = Clock::now();
    check(Execute(id), "execute");
    const double insertSeconds = secondsSince(insertStart);
    check(ExecuteQuery(id, "SELECT t FROM c", 0), "query");
    check(NextRow(id), "next");
    KavexPointerRecord record{};
    check(GetString(id, 0, &record), "get");
    if (record.length <= 0 || std::string(record.value, 100) != chunk.substr(0, 100))
        benchutil::fail("read back: not the text written");
    CloseConnection(id);
    const double peakMiB = peakResidentMiB();

    const double gigabytes = static_cast<double>(mebibytes) * 1048576.0 / 1e9;
    std::printf("CLOB: %ld MiB of UTF-8 text in 1 MiB chunks\n", mebibytes);
    printRate("streaming", streamSeconds, gigabytes);
    printRate("execute (insert)", insertSeconds, gigabytes);
    std::printf("peak RSS               : %8.1f MiB (baseline %.1f MiB, %.2fx the LOB)\n", peakMiB,
                baselineMiB, peakMiB / static_cast<double>(mebibytes));
    benchutil::printTarget("flat CLOB " + std::to_string(mebibytes) + " MiB, peak RSS", peakMiB,
                           "MiB", true, 64);
    benchutil::removeDb(path);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const long mebibytes = argc > 1 ? std::atol(argv[1]) : 256;
    const std::string directory = argc > 2 ? argv[2] : "/tmp";
    if (argc > 3 && std::string(argv[3]) == kClobMode) return clobRoundTrip(mebibytes, directory);
    const std::string path = directory + "/bench_flat_lob.db";
    const double lobMiB = static_cast<double>(mebibytes);

    const int id = openPrepared(path, "CREATE TABLE l (k NUMBER(10), b BLOB)",
                                "INSERT INTO l VALUES (1, :1)");

    std::vector<char> chunk(kChunk);
    for (unsigned i = 0; i < kChunk; ++i) {
        chunk[i] = static_cast<char>(i * 31 + 7);
    }
    const double baselineMiB = peakResidentMiB();

    const Clock::time_point start = Clock::now();
    const double cpuStart = cpuSeconds();
    for (long i = 0; i < mebibytes; ++i) {
        chunk[0] = static_cast<char>(i);
        check(StreamParameterToLob(id, 1, 113, chunk.data(), kChunk), "stream");
    }
    check(StreamParameterToLobLast(id, 1), "post");
    const double streamSeconds = secondsSince(start);
    const double streamCpu = cpuSeconds() - cpuStart;

    const Clock::time_point insertStart = Clock::now();
    check(Execute(id), "execute");
    const double insertSeconds = secondsSince(insertStart);

    const Clock::time_point readStart = Clock::now();
    check(ExecuteQuery(id, "SELECT k, b FROM l", 0), "query");
    check(NextRow(id), "next");
    KavexPointerRecord record{};
    check(GetByteArray(id, 1, &record), "get");
    const double readSeconds = secondsSince(readStart);
    chunk[0] = 0;
    if (record.length != 2000 || std::string(record.value, 2000) != std::string(chunk.data(), 2000))
        benchutil::fail("read back: not the first 2000 bytes written");
    CloseConnection(id);
    const double peakMiB = peakResidentMiB();
    const int pageSize = pageSizeOf(path);
    benchutil::removeDb(path);

    // The engine alone, after the library's peak memory was taken.
    const std::size_t size = static_cast<std::size_t>(mebibytes) * kChunk;
    const double rawBlobIo = rawInsertSeconds(path, pageSize, chunk, size, nullptr);
    const double rawNoCheckpoint = rawInsertSeconds(path, pageSize, chunk, size, nullptr, false);
    double rawWhole = 0;
    if (mebibytes <= 256) {
        std::vector<char> whole(size);
        for (std::size_t at = 0; at < size; at += kChunk)
            std::copy(chunk.begin(), chunk.end(), whole.begin() + static_cast<long>(at));
        rawWhole = rawInsertSeconds(path, pageSize, chunk, size, &whole);
    }

    const double gigabytes = lobMiB * 1048576.0 / 1e9;
    std::printf("LOB: %ld MiB in 1 MiB chunks\n", mebibytes);
    printRate("streaming", streamSeconds, gigabytes);
    printRate("streaming, cpu time", streamCpu, gigabytes);
    printRate("execute (insert)", insertSeconds, gigabytes);
    std::printf("raw SQLite, blob I/O   : %8.3f s  (%6.2f GB/s; execute %.2fx this; %d-byte pages)\n",
                rawBlobIo, gigabytes / rawBlobIo, insertSeconds / rawBlobIo, pageSize);
    std::printf("  the same, checkpoint off: %5.3f s  (%6.2f GB/s; execute %.2fx this)\n",
                rawNoCheckpoint, gigabytes / rawNoCheckpoint, insertSeconds / rawNoCheckpoint);
    if (rawWhole > 0)
        std::printf("raw SQLite, from memory: %8.3f s  (%6.2f GB/s; execute %.2fx this)\n", rawWhole,
                    gigabytes / rawWhole, insertSeconds / rawWhole);
    std::printf("read back 2000 bytes   : %8.3f s\n", readSeconds);
    std::printf("peak RSS               : %8.1f MiB (baseline %.1f MiB, %.2fx the LOB)\n", peakMiB,
                baselineMiB, peakMiB / lobMiB);
    const std::string lob = "flat LOB " + std::to_string(mebibytes) + " MiB, ";
    benchutil::printTarget(lob + "StreamParameterToLob", gigabytes / streamSeconds, "GB/s", false,
                           1.0);
    benchutil::printTarget(lob + "Execute (insert + commit)", gigabytes / insertSeconds, "GB/s",
                           false, 0.5);
    benchutil::printTarget(lob + "peak RSS", peakMiB, "MiB", true, 64);
    std::fflush(stdout);

    // The CLOB's process: this program again.
    const std::string mib = std::to_string(mebibytes);
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", argv[0], mib.c_str(), directory.c_str(), kClobMode, nullptr);
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        benchutil::fail("the CLOB round trip failed");
    return 0;
}
