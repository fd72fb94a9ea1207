// What the benchmarks share: wall and CPU clocks, peak memory, failing with the program's name,
// removing a database with its WAL files, the embedded client's session and the raw-versus-client
// figures.
#ifndef KAVEX_BENCH_BENCH_UTIL_H
#define KAVEX_BENCH_BENCH_UTIL_H

#include <errno.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "kavex_oracleociw.h"
#include "kavexdb/occi.h"

namespace benchutil {

using WallClock = std::chrono::steady_clock;

inline double secondsSince(WallClock::time_point start) {
    return std::chrono::duration<double>(WallClock::now() - start).count();
}

// The process's CPU time so far (user and system), in seconds.
inline double cpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Process CPU time: the figures stay comparable on a machine that other work keeps busy.
struct CpuClock {
    using time_point = double;
    static double now() { return cpuSeconds(); }
};

inline double secondsSince(CpuClock::time_point start) { return CpuClock::now() - start; }

// The peak resident memory of the process so far.
inline double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, what.c_str());
    std::exit(1);
}

// Fails with the library's message when a flat call returned an error id.
inline void check(int result, const char* what) {
    if (result < 0) {
        fail(std::string(what) + ": " + GetError(result));
    }
}

inline void removeDb(const std::string& path) {
    std::remove(path.c_str());
    std::remove((path + "-wal").c_str());
    std::remove((path + "-shm").c_str());
}

// A UTF-8 environment of the embedded client with one connection to connect, both ended when it
// goes.
class ClientSession {
public:
    explicit ClientSession(const std::string& connect)
        : env_(oracle::occi::Environment::createEnvironment(
              "utf8", "utf8", oracle::occi::Environment::THREADED_UNMUTEXED)) {
        try {
            conn_ = env_->createConnection("bench", "bench", connect);
        } catch (...) {
            oracle::occi::Environment::terminateEnvironment(env_);
            throw;
        }
    }
    ~ClientSession() {
        env_->terminateConnection(conn_);
        oracle::occi::Environment::terminateEnvironment(env_);
    }
    ClientSession(const ClientSession&) = delete;
    ClientSession& operator=(const ClientSession&) = delete;

    oracle::occi::Connection* connection() const { return conn_; }

private:
    oracle::occi::Environment* env_;
    oracle::occi::Connection* conn_ = nullptr;
};

// One measured figure next to its target, as a line that reads well in the benchmark's own
// output and that bench/run-all collects (the lines that begin with "TARGET |") into the
// summary table at the end of make bench. atMost: the figure meets its target when it is at
// most target (a ratio, a memory size); otherwise when it is at least target (a rate).
inline void printTarget(const std::string& figure, double value, const char* unit, bool atMost,
                        double target) {
    const bool met = atMost ? value <= target : value >= target;
    std::printf("TARGET | %-52s | %9.2f %-4s | %s %g %s | %s\n", figure.c_str(), value, unit,
                atMost ? "<=" : ">=", target, unit, met ? "met" : "MISSED");
}

// The best raw and client times of a run over rows, their rates and their ratio against target.
inline void printVersusRaw(const std::string& figure, long rows, double raw, double client,
                           double target) {
    std::printf("  raw SQLite loop        %8.3f s CPU  (%.0f rows/s)\n", raw, rows / raw);
    std::printf("  embedded client        %8.3f s CPU  (%.0f rows/s)\n", client, rows / client);
    printTarget(figure, client / raw, "x", true, target);
}

}  // namespace benchutil

#endif
