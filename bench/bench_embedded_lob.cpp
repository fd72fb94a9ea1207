// Streaming 256 MiB in 1 MiB chunks into a temporary LOB (the library's temporary-LOB block and
// Stream::writeBuffer), then inserting it into a file database with setBlob. Targets: streaming
// at least 1 GB/s; insert and commit at least 0.5 GB/s; peak resident memory under 64 MiB
// whatever the LOB's size (getrusage ru_maxrss).
//
// Usage: bench_embedded_lob [MiB] [directory]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"
#include "kavexdb/occi.h"

namespace {

using namespace oracle::occi;
using Clock = benchutil::WallClock;
using benchutil::cpuSeconds;
using benchutil::peakResidentMiB;
using benchutil::secondsSince;

}  // namespace

int main(int argc, char** argv) {
    const long mib = argc > 1 ? std::atol(argv[1]) : 256;
    const std::string dir = argc > 2 ? argv[2] : "/tmp";
    const std::string path = dir + "/bench_embedded_lob.db";
    benchutil::removeDb(path);
    const double baseline = peakResidentMiB();
    std::vector<char> chunk(1 << 20);
    for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 31 + 7);
    try {
        const benchutil::ClientSession session("file:" + path + "?mode=rwc");
        Connection* conn = session.connection();
        Statement* ddl = conn->createStatement("CREATE TABLE t (id INTEGER, b BLOB)");
        ddl->execute();
        conn->terminateStatement(ddl);

        Clock::time_point start = Clock::now();
        double cpu = cpuSeconds();
        Statement* block =
            conn->createStatement("begin dbms_lob.createtemporary(:p1, FALSE); end;");
        block->registerOutParam(1, OCCIBLOB);
        block->executeUpdate();
        Blob blob = block->getBlob(1);
        conn->terminateStatement(block);
        Stream* out = blob.getStream(1, 0);
        for (long i = 0; i < mib; ++i) out->writeBuffer(chunk.data(), static_cast<unsigned>(chunk.size()));
        out->writeLastBuffer(chunk.data(), 0);
        blob.closeStream(out);
        const double streaming = secondsSince(start);
        const double streamingCpu = cpuSeconds() - cpu;

        start = Clock::now();
        cpu = cpuSeconds();
        Statement* ins = conn->createStatement("INSERT INTO t VALUES (1, :1)");
        ins->setBlob(1, blob);
        ins->executeUpdate();
        conn->commit();
        conn->terminateStatement(ins);
        const double inserting = secondsSince(start);
        const double insertingCpu = cpuSeconds() - cpu;
        const unsigned length = blob.length();
        blob.setNull();

        const double bytes = static_cast<double>(mib) * (1 << 20);
        const double peak = peakResidentMiB();
        std::printf("temporary LOB of %ld MiB in 1 MiB chunks (length %u)\n", mib, length);
        std::printf("  streaming              %8.3f s  (%.2f GB/s; %.3f s CPU)\n", streaming,
                    bytes / streaming / 1e9, streamingCpu);
        std::printf("  insert + commit        %8.3f s  (%.2f GB/s; %.3f s CPU)\n", inserting,
                    bytes / inserting / 1e9, insertingCpu);
        std::printf("  peak RSS               %8.1f MiB (%.2fx the LOB, %.1f MiB before)\n", peak,
                    peak / mib, baseline);
        const std::string lob = "embedded temporary LOB " + std::to_string(mib) + " MiB, ";
        benchutil::printTarget(lob + "streaming", bytes / streaming / 1e9, "GB/s", false, 1.0);
        benchutil::printTarget(lob + "insert + commit", bytes / inserting / 1e9, "GB/s", false,
                               0.5);
        benchutil::printTarget(lob + "peak RSS", peak, "MiB", true, 64);
    } catch (const SQLException& e) {
        std::fprintf(stderr, "bench_embedded_lob: %s", e.getMessage().c_str());
        return 1;
    }
    benchutil::removeDb(path);
    return 0;
}
