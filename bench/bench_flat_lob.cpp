// Streaming a 256 MiB BLOB parameter in 1 MiB chunks through StreamParameterToLob, then inserting
// it with Execute into a file database, then reading the row back with the default maximum
// column size (the first 2000 bytes). Targets: 1 GB/s or better for the streaming, 0.5 GB/s or
// better for Execute (insert and commit); peak resident memory under 64 MiB for the whole round
// trip, whatever the LOB's size (make bench runs it at 256 and 900 MiB).
//
// Usage: bench_flat_lob [MiB] [directory]
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

}  // namespace

int main(int argc, char** argv) {
    const long mebibytes = argc > 1 ? std::atol(argv[1]) : 256;
    const std::string directory = argc > 2 ? argv[2] : "/tmp";
    const std::string path = directory + "/bench_flat_lob.db";
    constexpr unsigned kChunk = 1u << 20;
    const double lobMiB = static_cast<double>(mebibytes);

    std::remove(path.c_str());
    const std::string connect = "file:" + path + "?mode=rwc";
    const int id = OpenConnection(connect.c_str(), "bench", "bench");
    check(id, "open");
    check(ExecuteQuery(id, "CREATE TABLE l (k NUMBER(10), b BLOB)", 1), "create");
    check(PrepareQuery(id, "INSERT INTO l VALUES (1, :1)", 1), "prepare");

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

    const double gigabytes = lobMiB * 1048576.0 / 1e9;
    std::printf("LOB: %ld MiB in 1 MiB chunks\n", mebibytes);
    std::printf("streaming              : %8.3f s  (%6.2f GB/s)\n", streamSeconds,
                gigabytes / streamSeconds);
    std::printf("streaming, cpu time    : %8.3f s  (%6.2f GB/s)\n", streamCpu,
                gigabytes / streamCpu);
    std::printf("execute (insert)       : %8.3f s\n", insertSeconds);
    std::printf("read back 2000 bytes   : %8.3f s\n", readSeconds);
    std::printf("peak RSS               : %8.1f MiB (baseline %.1f MiB, %.2fx the LOB)\n", peakMiB,
                baselineMiB, peakMiB / lobMiB);
    const std::string lob = "flat LOB " + std::to_string(mebibytes) + " MiB, ";
    benchutil::printTarget(lob + "StreamParameterToLob", gigabytes / streamSeconds, "GB/s", false,
                           1.0);
    benchutil::printTarget(lob + "Execute (insert + commit)", gigabytes / insertSeconds, "GB/s",
                           false, 0.5);
    benchutil::printTarget(lob + "peak RSS", peakMiB, "MiB", true, 64);
    benchutil::removeDb(path);
    return 0;
}
