// Threads on sessions as hosts use them and as they misuse them: own sessions on one WAL file,
// sessions opened and closed from many threads, error texts fetched from many threads, two threads
// on one session, and a session closed while a call is inside. Also run under ThreadSanitizer.
#include <gtest/gtest.h>
#include <kavexdb/test_support.h>

#include <atomic>
#include <chrono>
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

}  // namespace
