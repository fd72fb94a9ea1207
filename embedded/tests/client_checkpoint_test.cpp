// Checkpoints of a file database's write-ahead log made beside the session: they land in the
// session's own file, also when it was named by a relative path and the working directory
// changed since, and the session's close leaves the file as SQLite leaves it.
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

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

}  // namespace
}  // namespace clienttest
