// Threads on sessions as hosts use them and as they misuse them: own sessions on one WAL file,
// sessions opened and closed from many threads, error texts fetched from many threads, two threads
// on one session, a session closed while a call is inside, calls cancelled from another thread,
// and the write-ahead log checkpointed
// on threads of the sessions' own while they commit, open and close, and large LOBs' log pages
// handed to the disk beside the sessions writing them. Also run under ThreadSanitizer.
#include <gtest/gtest.h>
#include <kavexdb/test_support.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "flat_host.h"
#include "kavex_oracleociw.h"
#include "session/ErrorStore.h"

using namespace kavex;

namespace {

using flathost::errorText;
namespace kt = kavexdb::testing;

constexpr int kThreads = 4;

template <class Body>
void onThreads(int count, Body body) {
    std::vector<std::thread> threads;
    for (int t = 0; t < count; ++t) {
        threads.emplace_back(body, t);
    }
    for (auto& thread : threads) {
        thread.join();
    }
}

bool isKnownFailure(const std::string& text) {
    return text == "Session is not initialized" || text.rfind("ORA-", 0) == 0 ||
           text.rfind("Cannot ", 0) == 0;
}

TEST(Concurrency, OwnSessionsOnOneWalFile) {
    const std::string file = flathost::fileDatabase();
    const int setup = flathost::open(file);
    flathost::run(setup, "create table shared (t number, i number)");
    constexpr int kRows = 40;
    onThreads(kThreads, [&](int t) {
        const int session = flathost::open(file);
        for (int i = 0; i < kRows; ++i) {
            const std::string insert = "insert into shared values (" + std::to_string(t) + ", " +
                                       std::to_string(i) + ")";
            EXPECT_EQ(ExecuteQuery(session, insert.c_str(), 1), 1) << errorText(-1);
            if (i % 10 == 0) {
                EXPECT_GE(flathost::rowCount(session, "select * from shared"), i + 1);
            }
        }
        EXPECT_EQ(flathost::rowCount(session, "select * from shared where t = " +
                                                  std::to_string(t)),
                  kRows);
        CloseConnection(session);
    });
    EXPECT_EQ(flathost::rowCount(setup, "select * from shared"), kThreads * kRows);
    CloseConnection(setup);
}

TEST(Concurrency, ThreadsOpeningAndClosingSessions) {
    const std::string db = flathost::memoryDatabase();
    const int keeper = flathost::open(db);
    const long environments = kt::liveCounts().environments;
    std::vector<std::vector<int>> ids(kThreads);
    onThreads(kThreads, [&](int t) {
        for (int i = 0; i < 25; ++i) {
            const int session = OpenConnection(db.c_str(), "scott", "tiger");
            ASSERT_GE(session, 11);
            ids[t].push_back(session);
            EXPECT_EQ(flathost::rowCount(session, "select * from dual"), 1);
            EXPECT_EQ(CloseConnection(session), 0);
            EXPECT_EQ(errorText(NextRow(session)), "Session is not initialized");
        }
    });
    std::set<int> unique;
    for (const auto& list : ids) {
        unique.insert(list.begin(), list.end());
    }
    EXPECT_EQ(unique.size(), static_cast<std::size_t>(kThreads * 25));
    EXPECT_EQ(kt::liveCounts().environments, environments);
    CloseConnection(keeper);
}

TEST(Concurrency, EachThreadReceivesOnlyTextsOfIdsItFetched) {
    std::atomic<int> wrongTexts{0};
    onThreads(kThreads, [&](int t) {
        for (int i = 0; i < 300; ++i) {
            const std::string text = "thread " + std::to_string(t) + " text " + std::to_string(i);
            const int id = errors::storeError(text);
            const int unknown = i % 2 == 0 ? 12345 : -2000000000 + t;
            if (errorText(unknown) != "Unknown error" || errorText(id) != text ||
                errorText(id) != text) {
                ++wrongTexts;
            }
        }
    });
    EXPECT_EQ(wrongTexts.load(), 0);

    // Two threads fetching the same ids: each message reaches exactly one of them.
    std::vector<int> shared;
    for (int i = 0; i < 400; ++i) {
        shared.push_back(errors::storeError("shared " + std::to_string(i)));
    }
    std::vector<std::vector<std::string>> seen(2);
    onThreads(2, [&](int t) {
        for (int id : shared) {
            seen[t].push_back(errorText(id));
        }
    });
    for (std::size_t i = 0; i < shared.size(); ++i) {
        const std::string expected = "shared " + std::to_string(i);
        const bool first = seen[0][i] == expected;
        const bool second = seen[1][i] == expected;
        EXPECT_TRUE(first != second) << i;
        EXPECT_EQ(first ? seen[1][i] : seen[0][i], "Unknown error") << i;
    }
}

// Misuse: two threads drive one session. Each call runs whole, one at a time; every result is a
// success or an error id with a real message.
TEST(Concurrency, TwoThreadsOnOneSession) {
    const int session = flathost::open(flathost::memoryDatabase());
    flathost::run(session, "create table t (n number, s varchar2(20))");
    for (int i = 0; i < 30; ++i) {
        flathost::run(session, "insert into t values (" + std::to_string(i) + ", 'row " +
                                   std::to_string(i) + "')");
    }
    std::atomic<int> strangeResults{0};
    onThreads(2, [&](int t) {
        for (int round = 0; round < 60; ++round) {
            if (t == 0) {
                ExecuteQuery(session, "select n, s from t", 0);
            } else {
                PrepareQuery(session, "select s from t where n > :1", 0);
                SetInt(session, 1, round % 30, 0);
                Execute(session);
            }
            for (int row = 0; row < 40; ++row) {
                const int more = NextRow(session);
                if (more != 1) {
                    if (more < 0 && !isKnownFailure(errorText(more))) {
                        ++strangeResults;
                    }
                    break;
                }
                KavexPointerRecord record{};
                const int read = GetString(session, 0, &record);
                if (read < 0 && !isKnownFailure(errorText(read))) {
                    ++strangeResults;
                }
                GetColumnName(session, 0);
                GetColumnsCount(session);
            }
        }
    });
    EXPECT_EQ(strangeResults.load(), 0);
    EXPECT_EQ(flathost::rowCount(session, "select * from t"), 30);
    CloseConnection(session);
}

// A query that keeps its call busy for a while.
const char* const kSlowQuery =
    "with r (n) as (select 1 from dual union all select n + 1 from r where n < 200000) "
    "select count(*) from r";

TEST(Concurrency, ASessionClosedWhileACallIsInsideIsReleasedWhenTheCallEnds) {
    const long environments = kt::liveCounts().environments;
    for (int round = 0; round < 5; ++round) {
        const int session = flathost::open(flathost::memoryDatabase());
        std::atomic<bool> started{false};
        std::string lastFailure;
        std::thread worker([&] {
            for (int i = 0; i < 20; ++i) {
                started = true;
                const int result = ExecuteQuery(session, kSlowQuery, 0);
                if (result < 0) {
                    lastFailure = errorText(result);
                    break;
                }
                NextRow(session);
            }
        });
        while (!started) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 * round));
        std::thread closers[2] = {std::thread([&] { CloseConnection(session); }),
                                  std::thread([&] { CloseConnection(session); })};
        for (auto& closer : closers) {
            closer.join();
        }
        worker.join();
        EXPECT_EQ(lastFailure, "Session is not initialized");
        EXPECT_EQ(kt::liveCounts().environments, environments) << "released when the call ended";
    }
}

// Runs call on this thread while another cancels the session every 20 ms until it returns, so
// the cancel finds the call running however long it takes to start. Returns call's result.
template <class Call>
int whileCancelling(int session, Call call) {
    std::atomic<bool> ended{false};
    std::thread canceller([&] {
        while (!ended) {
            EXPECT_EQ(SetIntSessionProperty(session, KAVEX_PROPERTY_CANCEL, 1), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const int result = call();
    ended = true;
    canceller.join();
    return result;
}

// Runs for minutes unless cancelled.
constexpr const char* kEndlessCount =
    "WITH r (n) AS (SELECT 1 FROM dual UNION ALL SELECT n + 1 FROM r WHERE n < 1000000000) "
    "SELECT COUNT(*) FROM r";

TEST(Cancel, ARunningQueryAndAFetchEndWithOra01013AndTheSessionGoesOn) {
    const int session = flathost::open(flathost::memoryDatabase());
    int result = whileCancelling(session, [&] { return ExecuteQuery(session, kEndlessCount, 0); });
    ASSERT_LT(result, 0);
    EXPECT_EQ(errorText(result), "ORA-01013: user requested cancel of current operation\n");
    EXPECT_EQ(flathost::column(session, "SELECT 'still' || ' up' FROM dual"), "still up");

    // Rows already fetched arrive; the fetch of the next ones is cancelled.
    ASSERT_EQ(flathost::run(session, "SELECT LEVEL FROM dual CONNECT BY LEVEL <= 1000000000"), 0);
    long rows = 0;
    result = whileCancelling(session, [&] {
        int next;
        while ((next = NextRow(session)) == 1) ++rows;
        return next;
    });
    ASSERT_LT(result, 0);
    EXPECT_EQ(errorText(result), "ORA-01013: user requested cancel of current operation\n");
    EXPECT_GT(rows, 0);
    // The statement runs again from its start.
    ASSERT_EQ(Execute(session), 0);
    ASSERT_EQ(NextRow(session), 1);
    EXPECT_EQ(flathost::text(session, 0), "1.E+00");
    CloseConnection(session);
}

TEST(Cancel, ACancelledWriteUndoesItselfAndNothingBefore) {
    const int session = flathost::open(flathost::memoryDatabase());
    flathost::run(session, "CREATE TABLE kept (n NUMBER)");
    flathost::run(session, "INSERT INTO kept VALUES (1)");
    ASSERT_EQ(ExecuteQuery(session, "COMMIT", 0), 0);
    const int result = whileCancelling(session, [&] {
        return ExecuteQuery(session,
                            "INSERT INTO kept SELECT LEVEL FROM dual CONNECT BY LEVEL <= 1000000000",
                            0);
    });
    ASSERT_LT(result, 0);
    EXPECT_EQ(errorText(result), "ORA-01013: user requested cancel of current operation\n");
    EXPECT_EQ(flathost::column(session, "SELECT COUNT(*) FROM kept"), "1.E+00");

    // In a transaction holding changes, a write is cancelled between its iterations: the rows
    // before stay, as after a failing iteration, and so does the earlier work.
    flathost::run(session, "INSERT INTO kept VALUES (2)");
    ASSERT_EQ(PrepareQuery(session, "INSERT INTO kept VALUES (:1)", 0), 0);
    constexpr int kRows = 200000;
    ASSERT_EQ(SetMaxIterations(session, kRows), 0);
    for (int i = 0; i < kRows; ++i) {
        ASSERT_EQ(SetInt(session, 1, 100 + i, 0), 0);
        if (i + 1 < kRows) {
            ASSERT_EQ(AddIteration(session), 0);
        }
    }
    const int batch = whileCancelling(session, [&] { return Execute(session); });
    // A cancel may come too late to stop all the rows: then they all went in.
    const std::string count = flathost::column(session, "SELECT COUNT(*) FROM kept WHERE n < 3");
    EXPECT_EQ(count, "2.E+00");
    if (batch < 0) {
        EXPECT_EQ(errorText(batch), "ORA-01013: user requested cancel of current operation\n");
    }
    ASSERT_EQ(ExecuteQuery(session, "COMMIT", 0), 0);
    EXPECT_EQ(flathost::column(session, "SELECT COUNT(*) FROM kept WHERE n < 3"), "2.E+00");
    CloseConnection(session);
}

// A PL/SQL loop without end stops at the cancel (between its iterations), with the block's
// changes undone and the transaction's earlier work kept.
TEST(Cancel, ARunawayPlSqlLoopEndsWithOra01013AndItsChangesUndone) {
    const int session = flathost::open(flathost::memoryDatabase());
    flathost::run(session, "CREATE TABLE kept (n NUMBER)");
    flathost::run(session, "INSERT INTO kept VALUES (1)");
    const int result = whileCancelling(session, [&] {
        return ExecuteQuery(session,
                            "DECLARE i PLS_INTEGER := 0; BEGIN LOOP i := i + 1; "
                            "INSERT INTO kept VALUES (i + 1); END LOOP; END;",
                            0);
    });
    ASSERT_LT(result, 0);
    EXPECT_EQ(errorText(result).rfind("ORA-01013: user requested cancel of current operation\n", 0),
              0u);
    EXPECT_EQ(flathost::column(session, "SELECT COUNT(*) FROM kept"), "1.E+00");
    // A sleep is cancelled too.
    const int slept = whileCancelling(
        session, [&] { return ExecuteQuery(session, "BEGIN DBMS_LOCK.SLEEP(600); END;", 0); });
    ASSERT_LT(slept, 0);
    EXPECT_EQ(errorText(slept).rfind("ORA-01013", 0), 0u);
    CloseConnection(session);
}

TEST(Cancel, WithNothingRunningNothingHappensAndAnUnknownSessionIsRefused) {
    const int session = flathost::open(flathost::memoryDatabase());
    EXPECT_EQ(SetIntSessionProperty(session, KAVEX_PROPERTY_CANCEL, 1), 0);
    EXPECT_EQ(flathost::column(session, "SELECT 'up' FROM dual"), "up");
    CloseConnection(session);
    const int refused = SetIntSessionProperty(session, KAVEX_PROPERTY_CANCEL, 1);
    ASSERT_LT(refused, 0);
    EXPECT_EQ(errorText(refused), "Session is not initialized");
}

// Cancels racing a session's close: the cancel finds the session or finds it gone, never a
// session half torn down.
TEST(Cancel, CancelsRacingACloseFindTheSessionWholeOrGone) {
    for (int round = 0; round < 20; ++round) {
        const int session = flathost::open(flathost::memoryDatabase());
        std::atomic<bool> stop{false};
        std::thread canceller([&] {
            while (!stop) SetIntSessionProperty(session, KAVEX_PROPERTY_CANCEL, 1);
        });
        std::thread worker([&] {
            for (int i = 0; i < 5; ++i) {
                if (ExecuteQuery(session, kSlowQuery, 0) >= 0) NextRow(session);
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(round));
        CloseConnection(session);
        worker.join();
        stop = true;
        canceller.join();
    }
}

// A database file with 1 KiB pages, as another program may have made it (one the library makes
// gets 64 KiB pages): SQLite's checkpoint threshold of 1000 pages in the log is then 1 MiB.
class SmallPageDatabase {
public:
    SmallPageDatabase() {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = ::testing::TempDir() + "kavex_" + info->name() + "_" +
                std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".db";
        removeFiles();
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path_.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "PRAGMA page_size=1024; PRAGMA user_version=1", nullptr,
                               nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    ~SmallPageDatabase() { removeFiles(); }

    std::string connectString() const { return "file:" + path_ + "?mode=rw"; }
    long long size() const { return fileSize(path_); }
    long long logSize() const { return fileSize(path_ + "-wal"); }
    bool logExists() const { return logSize() >= 0; }

private:
    static long long fileSize(const std::string& path) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            return -1;
        }
        std::fseek(file, 0, SEEK_END);
        const long long size = std::ftell(file);
        std::fclose(file);
        return size;
    }
    void removeFiles() const {
        for (const char* suffix : {"", "-wal", "-shm", "-kvseq"}) {
            std::remove((path_ + suffix).c_str());
        }
    }

    std::string path_;
};

// Bytes of a BLOB that tells its row apart from every other.
std::string blobOf(int key, std::size_t size) {
    std::string value(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        value[i] = static_cast<char>((i * 31 + static_cast<std::size_t>(key) * 7) % 251);
    }
    return value;
}

// Inserts (key, blob) with the BLOB streamed in 64 KiB chunks, committed with the insert.
// Returns "" on success, else the failure's text. A writer waits a bounded time for another
// session's commit and then reports ORA-00054; like an application, the insert is then tried
// again (a slow machine, Wine among them, can take longer than that wait for a 12 MiB commit).
std::string insertBlob(int session, int key, const std::string& blob) {
    std::string failure;
    for (int attempt = 0; attempt < 5; ++attempt) {
        int rc = PrepareQuery(session, "insert into big (k, b) values (:1, :2)", 1);
        if (rc == 0) rc = SetInt(session, 1, key, 0);
        for (std::size_t at = 0; rc == 0 && at < blob.size(); at += 65536) {
            const unsigned size =
                static_cast<unsigned>(std::min<std::size_t>(65536, blob.size() - at));
            const int sent = StreamParameterToLob(session, 2, 113, blob.data() + at, size);
            rc = sent == static_cast<int>(size) ? 0 : (sent < 0 ? sent : -1);
        }
        if (rc == 0) rc = StreamParameterToLobLast(session, 2);
        if (rc == 0) {
            rc = Execute(session);
            if (rc == 1) return "";
        }
        failure = rc < 0 ? errorText(rc) : "result " + std::to_string(rc);
        if (failure.rfind("ORA-00054", 0) != 0) return failure;
    }
    return failure;
}

// The BLOB of row key as the session reads it whole; "<missing>" when there is no such row.
std::string blobRead(int session, int key) {
    EXPECT_EQ(SetIntSessionProperty(session, 1, 16 << 20), 0);
    const std::string query = "select b from big where k = " + std::to_string(key);
    if (flathost::run(session, query) < 0 || NextRow(session) != 1) {
        return "<missing>";
    }
    return flathost::bytes(session, 0);
}

// Large commits from sessions opened and closed on many threads: the checkpoints they call for
// run beside them and end with them; every row arrives whole and the last close removes the log.
TEST(Concurrency, SessionsOpenAndCloseWhileCommittingLargeTransactions) {
    const SmallPageDatabase database;
    const long connections = kt::liveCounts().connections;
    {
        const int setup = flathost::open(database.connectString());
        flathost::run(setup, "create table big (k number(10), b blob)");
        CloseConnection(setup);
    }
    constexpr int kRounds = 4;
    constexpr std::size_t kBlobBytes = 1536 * 1024;  // 1.5 MiB: past the threshold in one commit
    onThreads(kThreads, [&](int t) {
        for (int round = 0; round < kRounds; ++round) {
            const int session = flathost::open(database.connectString());
            const int key = t * kRounds + round;
            EXPECT_EQ(insertBlob(session, key, blobOf(key, kBlobBytes)), "");
            if (round % 2 == 1) {
                // A read beside the checkpoint, then a close while it may still run.
                EXPECT_TRUE(blobRead(session, key) == blobOf(key, kBlobBytes)) << key;
            }
            EXPECT_EQ(CloseConnection(session), 0);
        }
    });
    const int check = flathost::open(database.connectString());
    EXPECT_EQ(flathost::rowCount(check, "select k from big"), kThreads * kRounds);
    for (int key = 0; key < kThreads * kRounds; ++key) {
        EXPECT_TRUE(blobRead(check, key) == blobOf(key, kBlobBytes)) << key;
    }
    CloseConnection(check);
    EXPECT_EQ(kt::liveCounts().connections, connections);
    EXPECT_FALSE(database.logExists()) << "the last close checkpoints and removes the log";
    EXPECT_GE(database.size(), static_cast<long long>(kThreads * kRounds * kBlobBytes));
}

// LOBs large enough that their pages of the log are handed to the disk on threads of their own
// while two sessions commit, read back and close beside each other: every value arrives whole.
TEST(Concurrency, LargeLobsCommittedBesideEachOtherArriveWhole) {
    const SmallPageDatabase database;
    {
        const int setup = flathost::open(database.connectString());
        flathost::run(setup, "create table big (k number(10), b blob)");
        CloseConnection(setup);
    }
    constexpr int kRounds = 2;
    constexpr std::size_t kBlobBytes = 12 << 20;
    onThreads(2, [&](int t) {
        const int session = flathost::open(database.connectString());
        for (int round = 0; round < kRounds; ++round) {
            const int key = t * kRounds + round;
            EXPECT_EQ(insertBlob(session, key, blobOf(key, kBlobBytes)), "");
            EXPECT_TRUE(blobRead(session, key) == blobOf(key, kBlobBytes)) << key;
        }
        EXPECT_EQ(CloseConnection(session), 0);
    });
    const int check = flathost::open(database.connectString());
    for (int key = 0; key < 2 * kRounds; ++key) {
        EXPECT_TRUE(blobRead(check, key) == blobOf(key, kBlobBytes)) << key;
    }
    CloseConnection(check);
}

// Another session sees a large commit at once, and the log is copied into the database file
// soon after, while both sessions stay open and neither commits again.
TEST(Concurrency, AnotherSessionSeesALargeCommitAndTheLogIsCheckpointedSoonAfter) {
    const SmallPageDatabase database;
    const int writer = flathost::open(database.connectString());
    const int reader = flathost::open(database.connectString());
    flathost::run(writer, "create table big (k number(10), b blob)");
    EXPECT_EQ(flathost::rowCount(reader, "select k from big"), 0);
    const long long before = database.size();

    const std::string blob = blobOf(1, 3 << 20);
    ASSERT_EQ(insertBlob(writer, 1, blob), "");
    EXPECT_TRUE(blobRead(reader, 1) == blob);

    // A passive checkpoint copies the committed pages into the file; the sessions do nothing
    // meanwhile. Bounded wait: a checkpoint that never comes fails the test.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (database.size() < before + static_cast<long long>(blob.size()) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GE(database.size(), before + static_cast<long long>(blob.size()));
    EXPECT_TRUE(database.logExists());
    EXPECT_TRUE(blobRead(reader, 1) == blob);

    CloseConnection(writer);
    CloseConnection(reader);
    EXPECT_FALSE(database.logExists()) << "the last close checkpoints and removes the log";
}

// Large commits in a row: whether the checkpoints beside the session keep up or not, the log
// stays within a few times the checkpoint threshold instead of growing with every commit.
TEST(Concurrency, TheLogStaysBoundedUnderLargeCommitsInARow) {
    const SmallPageDatabase database;
    const int session = flathost::open(database.connectString());
    flathost::run(session, "create table big (k number(10), b blob)");
    constexpr int kCommits = 30;
    constexpr std::size_t kBlobBytes = 1536 * 1024;
    long long largest = 0;
    for (int key = 0; key < kCommits; ++key) {
        ASSERT_EQ(insertBlob(session, key, blobOf(key, kBlobBytes)), "");
        largest = std::max(largest, database.logSize());
    }
    EXPECT_LT(largest, 8LL << 20) << "the commits hold " << kCommits * kBlobBytes << " bytes";
    EXPECT_EQ(flathost::rowCount(session, "select k from big"), kCommits);
    CloseConnection(session);
    EXPECT_FALSE(database.logExists());
}

}  // namespace
