// Sessions for the embedded client's own tests: fresh databases, a connected session and
// short helpers to run SQL and read one value.
#ifndef KAVEXDB_TESTS_CLIENT_FIXTURE_H
#define KAVEXDB_TESTS_CLIENT_FIXTURE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>
#include <string>
#include <type_traits>

#include "kavexdb/occi.h"
#include "kavexdb/test_support.h"
#include "test_util.h"

namespace clienttest {

using namespace oracle::occi;

// A name no other test process uses: the process id alone is not enough where ids are soon
// used again (Windows under Wine), with files a failed run left in a lasting temporary folder.
inline std::string uniqueName(const std::string& stem) {
    static std::atomic<int> counter{0};
    static const unsigned long long run = (static_cast<unsigned long long>(std::random_device{}()) << 32) ^
                                          std::random_device{}();
    return stem + "-" + std::to_string(getpid()) + "-" + std::to_string(run) + "-" +
           std::to_string(++counter);
}

// An in-memory database shared by every session of this process that names it.
inline std::string memdb() { return "file:/" + uniqueName("client") + "?vfs=memdb"; }

// A path in a fresh temporary location; the files are removed by FileDb's destructor.
struct FileDb {
    std::string path = ::testing::TempDir() + uniqueName("client") + ".db";
    FileDb() { removeFiles(); }
    std::string create() const { return "file:" + path + "?mode=rwc"; }
    ~FileDb() { removeFiles(); }
    void removeFiles() const {
        std::remove(path.c_str());
        std::remove((path + "-wal").c_str());
        std::remove((path + "-shm").c_str());
    }
};

class Session {
public:
    explicit Session(const std::string& connect, const std::string& user = "scott",
                     const std::string& password = "tiger", const std::string& charset = "AL32UTF8")
        : env_(Environment::createEnvironment(charset, charset, Environment::THREADED_UNMUTEXED)) {
        try {
            conn_ = env_->createConnection(user, password, connect);
        } catch (...) {
            Environment::terminateEnvironment(env_);
            throw;
        }
    }
    ~Session() { close(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Environment* env() const { return env_; }
    Connection* conn() const { return conn_; }

    void close() {
        if (!env_) return;
        env_->terminateConnection(conn_);
        Environment::terminateEnvironment(env_);
        env_ = nullptr;
    }

    unsigned exec(const std::string& sql) {
        Statement* s = conn_->createStatement(sql);
        try {
            s->execute();
            unsigned n = s->getUpdateCount();
            conn_->terminateStatement(s);
            return n;
        } catch (...) {
            conn_->terminateStatement(s);
            throw;
        }
    }

    // The first column of the first row as text; "<none>" when there is no row.
    std::string one(const std::string& sql) {
        Statement* s = conn_->createStatement(sql);
        std::string out = "<none>";
        try {
            s->execute();
            ResultSet* rs = s->getResultSet();
            if (rs->next()) out = rs->isNull(1) ? "<null>" : rs->getString(1);
        } catch (...) {
            conn_->terminateStatement(s);
            throw;
        }
        conn_->terminateStatement(s);
        return out;
    }

private:
    Environment* env_;
    Connection* conn_ = nullptr;
};

// The block through which the library makes a temporary LOB.
const char* const kTemporaryLobBlock = "begin dbms_lob.createtemporary(:p1, FALSE); end;";

// A temporary LOB made through the block the library uses, with data streamed into it in chunks
// of the given size.
template <class Lob>
Lob temporaryLob(Connection* conn, Type type, const std::string& data, std::size_t chunk) {
    Statement* block = conn->createStatement(kTemporaryLobBlock);
    block->registerOutParam(1, type);
    EXPECT_EQ(Statement::UPDATE_COUNT_AVAILABLE, block->execute());
    Lob lob;
    if constexpr (std::is_same<Lob, Clob>::value)
        lob = block->getClob(1);
    else
        lob = block->getBlob(1);
    conn->terminateStatement(block);  // the LOB outlives the block's statement
    Stream* out = lob.getStream(1, 0);
    std::string copy = data;
    for (std::size_t at = 0; at < copy.size(); at += chunk)
        out->writeBuffer(&copy[at], static_cast<unsigned>(std::min(chunk, copy.size() - at)));
    out->writeLastBuffer(&copy[0], 0);
    lob.closeStream(out);
    return lob;
}

}  // namespace clienttest

#endif
