// Checkpoints of a file database's write-ahead log made beside the session: they land in the
// session's own file, also when it was named by a relative path and the working directory
// changed since, and the session's close leaves the file as SQLite leaves it. The threads that
// make them take none of the host's signals.
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#ifdef __linux__
#include <unistd.h>
#include <sys/syscall.h>
#endif

#include "client_fixture.h"

namespace clienttest {
namespace {

namespace fs = std::filesystem;

// Restores the working directory it found.
class WorkingDirectory {
public:
    WorkingDirectory() : saved_(fs::current_path()) {}
    ~WorkingDirectory() { fs::current_path(saved_); }
    void change(const fs::path& to) { fs::current_path(to); }

private:
    fs::path saved_;
};

// A database file with 1 KiB pages, as another program may have made it: SQLite's checkpoint
// threshold of 1000 pages in the log is then 1 MiB.
void makeSmallPageDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, "PRAGMA page_size=1024; PRAGMA user_version=1",
                                      nullptr, nullptr, nullptr));
    sqlite3_close(db);
}

// Waits, boundedly, until the file holds at least `bytes`; its size then.
std::uintmax_t sizeReaching(const fs::path& file, std::uintmax_t bytes) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (fs::file_size(file) < bytes && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return fs::file_size(file);
}

TEST(ClientCheckpoint, ARelativePathIsCheckpointedIntoItsOwnFileAfterTheDirectoryChanged) {
    const fs::path base = fs::path(::testing::TempDir()) / uniqueName("checkpoint");
    fs::create_directories(base / "first");
    fs::create_directories(base / "second");
    {
        WorkingDirectory cwd;
        cwd.change(base / "first");
        makeSmallPageDatabase("rel.db");
        Session s("rel.db");
        s.exec("create table big (s varchar2(4000))");
        const std::uintmax_t before = fs::file_size(base / "first" / "rel.db");

        cwd.change(base / "second");
        for (int i = 0; i < 1000; ++i) s.exec("insert into big values (rpad('x', 4000, 'x'))");
        s.exec("commit");
        EXPECT_GE(sizeReaching(base / "first" / "rel.db", before + 4000000), before + 4000000);
        EXPECT_FALSE(fs::exists(base / "second" / "rel.db"));
        EXPECT_EQ("1000", s.one("select count(*) from big"));
        s.close();
        EXPECT_FALSE(fs::exists(base / "first" / "rel.db-wal"))
            << "the last close checkpoints and removes the log";
    }
    fs::remove_all(base);
}

#ifdef __linux__
// The threads of this process other than the calling one, each with its blocked signals as
// /proc shows them (a hexadecimal mask; bit n-1 stands for signal n).
std::vector<std::pair<std::string, unsigned long long>> otherThreadsBlocked() {
    std::vector<std::pair<std::string, unsigned long long>> found;
    const std::string self = std::to_string(syscall(SYS_gettid));
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        const std::string tid = task.path().filename().string();
        if (tid == self) continue;
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("SigBlk:", 0) == 0)
                found.emplace_back(tid, std::stoull(line.substr(7), nullptr, 16));
    }
    return found;
}

TEST(ClientCheckpoint, TheThreadsThatCheckpointAndWriteBackTakeNoSignals) {
    // A Ctrl-C sent to the process must reach the host's thread, which may block it until it
    // waits for keys; one of ours taking it would leave the host waiting.
    const fs::path dir = fs::path(::testing::TempDir()) / uniqueName("quiet");
    fs::create_directories(dir);
    {
        const std::string path = (dir / "quiet.db").string();
        makeSmallPageDatabase(path);
        Session s(path);
        s.exec("create table big (s varchar2(4000))");
        const std::uintmax_t before = fs::file_size(path);
        for (int i = 0; i < 1000; ++i) s.exec("insert into big values (rpad('x', 4000, 'x'))");
        s.exec("commit");
        sizeReaching(path, before + 4000000);
        const auto threads = otherThreadsBlocked();
        EXPECT_FALSE(threads.empty()) << "no checkpoint thread was started";
        constexpr unsigned long long kInterrupt = 1ull << (2 - 1), kTerminate = 1ull << (15 - 1);
        for (const auto& [tid, blocked] : threads) {
            EXPECT_TRUE(blocked & kInterrupt) << "thread " << tid << " takes SIGINT";
            EXPECT_TRUE(blocked & kTerminate) << "thread " << tid << " takes SIGTERM";
        }
        s.close();
    }
    fs::remove_all(dir);
}
#endif

}  // namespace
}  // namespace clienttest
