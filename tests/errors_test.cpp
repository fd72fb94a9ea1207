// The error store seen through GetError, and the guarded frame's two kinds of failure text.
#include <gtest/gtest.h>
#include <kavexdb/test_support.h>

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

TEST(ErrorStore, IdsRunDownFromMinusTenAndUnknownIdsGetAFixedText) {
    flathost::inFreshProcess([] {
        EXPECT_EQ(errorText(-10), "Unknown error");  // nothing stored yet
        const int first = NextRow(77);
        const int second = errors::storeError("second text");
        EXPECT_EQ(first, -10);
        EXPECT_EQ(second, -11);
        EXPECT_EQ(errorText(first), "Session is not initialized");
        EXPECT_EQ(errorText(first), "Session is not initialized");  // fetched last by this thread
        EXPECT_EQ(errorText(second), "second text");
        EXPECT_EQ(errorText(first), "Unknown error");  // fetched, and no longer the last
        EXPECT_EQ(errorText(12345), "Unknown error");  // never issued, session ids included
        EXPECT_EQ(errorText(11), "Unknown error");
        EXPECT_EQ(errorText(0), "Unknown error");
    });
}

TEST(ErrorStore, GetErrorNeverReturnsNull) {
    for (int id : {0, 1, -1, -10, 2147483647, -2147483647 - 1}) {
        EXPECT_NE(GetError(id), nullptr);
    }
}

TEST(ErrorStore, TextHandedToAThreadStaysValidWhileOtherThreadsFetch) {
    const int mine = errors::storeError("mine");
    const int theirs = errors::storeError("theirs");
    const char* text = GetError(mine);
    std::thread other([&] { EXPECT_STREQ(GetError(theirs), "theirs"); });
    other.join();
    EXPECT_STREQ(text, "mine");
}

TEST(ErrorStore, ManyThreadsFetchTheirOwnTextsAtOnce) {
    constexpr int kThreads = 8;
    constexpr int kEach = 300;
    std::vector<std::vector<int>> ids(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kEach; ++i) {
            ids[t].push_back(errors::storeError("thread " + std::to_string(t) + " message " +
                                                std::to_string(i) + std::string(i % 50, '.')));
        }
    }
    std::vector<int> mismatches(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                const std::string expected = "thread " + std::to_string(t) + " message " +
                                             std::to_string(i) + std::string(i % 50, '.');
                if (std::string(GetError(ids[t][i])) != expected) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(mismatches[t], 0) << "thread " << t;
    }
}

TEST(ErrorStore, AThreadNeverReceivesATextAnotherThreadFetched) {
    const int secret = errors::storeError("a column name of another user's query");
    std::thread other([&] {
        EXPECT_EQ(errorText(secret), "a column name of another user's query");
    });
    other.join();
    EXPECT_EQ(errorText(secret), "Unknown error");  // fetched by the other thread
    EXPECT_EQ(errorText(-2000000000), "Unknown error");
    const int mine = errors::storeError("mine");
    EXPECT_EQ(errorText(mine), "mine");
    std::thread third([&] { EXPECT_EQ(errorText(mine), "Unknown error"); });
    third.join();
    EXPECT_EQ(errorText(mine), "mine");  // still this thread's own text
}

TEST(ErrorStore, UnfetchedMessagesAreBoundedOldestFirst) {
    const errors::Counts before = errors::counts();
    const int oldest = NextRow(77);
    int newest = oldest;
    for (std::size_t i = 0; i < errors::kMaxMessages + 99; ++i) {
        newest = NextRow(77);
    }
    const errors::Counts after = errors::counts();
    EXPECT_EQ(after.stored, errors::kMaxMessages);
    EXPECT_EQ(after.dropped - before.dropped, before.stored + 100);
    EXPECT_EQ(errorText(oldest), "Unknown error");  // dropped first
    EXPECT_EQ(errorText(newest), "Session is not initialized");
    EXPECT_EQ(errorText(newest + 1), "Session is not initialized");

    // Large texts are bounded by their size; the newest message is kept whatever its size.
    const std::string large(errors::kMaxBytes / 4, 'x');
    int last = 0;
    for (int i = 0; i < 10; ++i) {
        last = errors::storeError(large);
    }
    EXPECT_LE(errors::counts().bytes, errors::kMaxBytes);
    const int huge = errors::storeError(std::string(errors::kMaxBytes + 1, 'y'));
    EXPECT_EQ(errors::counts().stored, 1u);
    EXPECT_EQ(errorText(last), "Unknown error");
    EXPECT_EQ(errorText(huge).size(), errors::kMaxBytes + 1);
    EXPECT_EQ(errors::counts().bytes, 0u);
}

class GuardedFrame : public ::testing::Test {
protected:
    void SetUp() override {
        session = flathost::open(flathost::memoryDatabase());
        flathost::run(session, "select * from dual");
    }
    void TearDown() override {
        kt::clearFaults();
        kt::setGetMessageThrows(false);
        CloseConnection(session);
    }
    int session = 0;
};

TEST_F(GuardedFrame, ClientExceptionStoresExactlyItsMessage) {
    kt::injectFault("ResultSet::next", 1, kt::FaultKind::SqlException, 1555,
                    "ORA-01555: snapshot too old\n");
    EXPECT_EQ(errorText(NextRow(session)), "ORA-01555: snapshot too old\n");
}

TEST_F(GuardedFrame, OtherExceptionsStoreTheOperationsOwnText) {
    kt::injectFault("ResultSet::next", 1, kt::FaultKind::RuntimeError, 0, "detail");
    EXPECT_EQ(errorText(NextRow(session)), "Cannot move to next row");
    kt::injectFault("ResultSet::next", 1, kt::FaultKind::BadAlloc);
    EXPECT_EQ(errorText(NextRow(session)), "Cannot move to next row");
}

TEST_F(GuardedFrame, UnreadableClientMessageFallsBackToTheOwnText) {
    kt::injectFault("ResultSet::next", 1, kt::FaultKind::SqlException, 1555,
                    "ORA-01555: snapshot too old\n");
    kt::setGetMessageThrows(true);
    const int failed = NextRow(session);
    kt::setGetMessageThrows(false);
    EXPECT_EQ(errorText(failed), "Cannot move to next row");
}

}  // namespace
