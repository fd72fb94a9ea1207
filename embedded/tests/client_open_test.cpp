// Opening databases that are not plain writable files: not a database, corrupt, read-only,
// read-only media, and files whose log other sessions keep rewriting.
#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "client_fixture.h"
#include "failing_vfs.h"

namespace clienttest {
namespace {

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write(const std::string& path, const std::string& bytes, std::streamoff at = 0) {
    std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) out.open(path, std::ios::binary | std::ios::out);
    out.seekp(at);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

void rawExec(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, nullptr)) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

// A database with one table holding 1 and 2, committed and checkpointed.
void makeDatabase(const FileDb& file) {
    Session s(file.create());
    s.exec("create table t (x integer)");
    s.exec("insert into t values (1)");
    s.exec("insert into t values (2)");
    s.exec("commit");
}

TEST(ClientOpen, NotADatabaseSaysSo) {
    FileDb file;
    write(file.path, std::string(4096, 'x'));
    for (const std::string& cs : {file.path, "file:" + file.path})
        EXPECT_EQ("ORA-01122: database file failed verification check: file is not a database\n",
                  oraMessage([&] { Session s(cs); }))
            << cs;
    EXPECT_EQ(std::string(4096, 'x'), contents(file.path)) << "left as it was";
}

TEST(ClientOpen, CorruptDatabaseSaysSo) {
    FileDb file;
    makeDatabase(file);
    write(file.path, std::string(200, '\xA5'), 100);  // over page 1's b-tree header and cells
    const SQLException e = thrownBy([&] { Session s(file.path); });
    EXPECT_EQ(1578, e.getErrorCode()) << e.getMessage();
    EXPECT_EQ(0u, e.getMessage().find("ORA-01578: ORACLE data block corrupted: "))
        << e.getMessage();
    EXPECT_NE(std::string::npos, e.getMessage().find("malformed")) << e.getMessage();
}

TEST(ClientOpen, FailedLogonLeavesTheFileAsItWas) {
    FileDb file;
    {
        Session s(file.create(), "admin", "pw");
        s.exec("create user admin identified by pw");
        s.exec("create table t (x integer)");
    }
    rawExec(file.path, "PRAGMA journal_mode=DELETE");
    const std::string before = contents(file.path);
    ASSERT_EQ(1, before[18]) << "rollback journal, not WAL";
    EXPECT_EQ(1017, oraCode([&] { Session s(file.path, "admin", "wrong"); }));
    EXPECT_EQ(1017, oraCode([&] { Session s(file.path, "mallory", "pw"); }));
    EXPECT_TRUE(before == contents(file.path));
    EXPECT_FALSE(exists(file.path + "-wal"));
    { Session s(file.path, "admin", "pw"); }
    EXPECT_EQ(2, contents(file.path)[18]) << "a session that may write switches to WAL";
}

TEST(ClientOpen, ModeRoServesQueriesAndRefusesWrites) {
    for (bool wal : {true, false}) {
        FileDb file;
        makeDatabase(file);
        if (!wal) rawExec(file.path, "PRAGMA journal_mode=DELETE");
        const std::string before = contents(file.path);
        Session s("file:" + file.path + "?mode=ro");
        EXPECT_EQ("2", s.one("select count(*) from t")) << wal;
        EXPECT_EQ("X", s.one("select dummy from dual"));
        const std::string msg = oraMessage([&] { s.exec("insert into t values (3)"); });
        EXPECT_EQ(0u, msg.find("ORA-16000: database or pluggable database open for read-only "
                               "access"))
            << msg;
        EXPECT_EQ(16000, oraCode([&] { s.exec("create table u (y integer)"); }));
        s.exec("rollback");
        s.close();
        EXPECT_TRUE(before == contents(file.path)) << wal;
    }
}

// Makes a directory and its files unwritable even for root (the immutable attribute), or for
// others by their modes; undone at the end of the scope.
class ReadOnlyMedia {
  public:
    explicit ReadOnlyMedia(std::vector<std::string> paths) : paths_(std::move(paths)) {
        for (const std::string& p : paths_) ok_ = ok_ && setImmutable(p, true);
    }
    ~ReadOnlyMedia() {
        for (const std::string& p : paths_) setImmutable(p, false);
    }
    bool ok() const { return ok_; }

  private:
    static bool setImmutable(const std::string& path, bool on) {
        if (geteuid() != 0) return chmod(path.c_str(), on ? 0555 : 0755) == 0;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) return false;
        int flags = 0;
        bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }
    std::vector<std::string> paths_;
    bool ok_ = true;
};

TEST(ClientOpen, ReadOnlyMediaServeQueries) {
    const std::string dir = ::testing::TempDir() + uniqueName("media");
    ASSERT_EQ(0, mkdir(dir.c_str(), 0755));
    for (bool wal : {true, false}) {
        const std::string path = dir + (wal ? "/wal.db" : "/delete.db");
        {
            Session s("file:" + path + "?mode=rwc");
            s.exec("create table t (x integer)");
            s.exec("insert into t values (1)");
            s.exec("commit");
        }
        if (!wal) rawExec(path, "PRAGMA journal_mode=DELETE");
        const std::string before = contents(path);
        {
            ReadOnlyMedia media({path, dir});
            if (!media.ok()) GTEST_SKIP() << "cannot make files read-only here";
            for (const std::string& cs : {path, "file:" + path + "?mode=ro"}) {
                Session s(cs);
                EXPECT_EQ("1", s.one("select x from t")) << cs;
                EXPECT_EQ(16000, oraCode([&] { s.exec("insert into t values (2)"); })) << cs;
            }
        }
        EXPECT_TRUE(before == contents(path));
        std::remove(path.c_str());
    }
    rmdir(dir.c_str());
}

TEST(ClientOpen, ShortReadsOfARestartingLogAreRetried) {
    FileDb file;
    makeDatabase(file);
    const std::string cs = "file:" + file.path + "?vfs=" + failingVfs();
    Session writer(cs);  // keeps its schema change in the log: opening reads page 1 from it
    writer.exec("create table u (y integer)");
    failNextReads(5);
    {
        Session s(cs);
        EXPECT_EQ("2", s.one("select count(*) from t"));
    }
    failNextReads(1 << 30);
    const std::string msg = oraMessage([&] { Session s(cs); });
    resetFailingVfs();
    EXPECT_EQ(0u, msg.find("ORA-01115: IO error reading block from file: short read while opening; "
                           "other sessions kept rewriting the file, gave up after "))
        << msg;
}

}  // namespace
}  // namespace clienttest
