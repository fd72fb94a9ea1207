// Opening and closing sessions through the exports: the id sequence, the exact failure texts,
// teardown, unknown ids, and sessions opened from several threads.
#include <gtest/gtest.h>
#include <kavexdb/test_support.h>

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

#include "flat_host.h"
#include "kavex_oracleociw.h"
#include "session/ErrorStore.h"
#include "session/OcciHandler.h"
#include "session/Registry.h"
#include "flat/AdoDataTypeHandlers.h"

using namespace kavex;

namespace {

using flathost::errorText;
namespace kt = kavexdb::testing;

const std::string kPrefixEmpty = "Cannot open connection to server: , user: scott; ";
const char* const kNoEnvironment =
    "Cannot create execution environment. Make sure you are using correct version of Oracle OCI "
    "libraries";

class SessionTest : public ::testing::Test {
protected:
    void TearDown() override {
        kt::clearFaults();
        kt::setGetMessageThrows(false);
    }
};

TEST_F(SessionTest, IdsStartAtElevenAndAreNeverReused) {
    flathost::inFreshProcess([] {
        const std::string db = flathost::memoryDatabase();
        const int failed = OpenConnection("", "scott", "tiger");
        EXPECT_EQ(failed, -10);  // a failed attempt consumes no session id
        const int first = OpenConnection(db.c_str(), "scott", "tiger");
        const int second = OpenConnection(db.c_str(), "scott", "tiger");
        EXPECT_EQ(first, 11);
        EXPECT_EQ(second, 12);
        EXPECT_EQ(CloseConnection(first), 0);
        EXPECT_EQ(OpenConnection("", "scott", "tiger"), -11);
        const int third = OpenConnection(db.c_str(), "scott", "tiger");
        EXPECT_EQ(third, 13);
        EXPECT_EQ(CloseConnection(first), 0);  // twice: nothing happens
        for (int never : {0, 5, -10, 14}) {
            EXPECT_EQ(CloseConnection(never), 0);
        }
        EXPECT_EQ(flathost::rowCount(second, "select * from dual"), 1);
        EXPECT_EQ(flathost::rowCount(third, "select * from dual"), 1);
        EXPECT_EQ(CloseConnection(second), 0);
        EXPECT_EQ(CloseConnection(third), 0);
        EXPECT_EQ(kt::liveCounts().environments, 0);
    });
}

TEST_F(SessionTest, FirstConnectionFillsTheFlatHandlerTableOnce) {
    flathost::inFreshProcess([] {
        const std::string db = flathost::memoryDatabase();
        EXPECT_TRUE(adoHandlerTable().handlers.empty());
        EXPECT_LT(OpenConnection("", "scott", "tiger"), 0);
        EXPECT_TRUE(adoHandlerTable().handlers.empty());
        const int first = flathost::open(db);
        ASSERT_EQ(adoHandlerTable().handlers.size(), 24u);
        const TypeHandler* handler = adoHandlerTable().handlers.at(1).get();
        EXPECT_EQ(registry::find(first)->session->typeHandlers, &adoHandlerTable());
        const int second = flathost::open(db);
        EXPECT_EQ(adoHandlerTable().handlers.at(1).get(), handler);
        EXPECT_EQ(registry::find(second)->session->typeHandlers, &adoHandlerTable());
        CloseConnection(first);
        CloseConnection(second);
    });
}

TEST_F(SessionTest, WrongPasswordTextNamesServerUserAndOracleMessageButNoPassword) {
    const std::string db = flathost::memoryDatabase();
    const int admin = flathost::open(db);
    flathost::run(admin, "CREATE USER scott IDENTIFIED BY tiger");
    const int failed = OpenConnection(db.c_str(), "scott", "Wr0ngSecret");
    ASSERT_LT(failed, 0);
    const std::string text = errorText(failed);
    EXPECT_EQ(text, "Cannot open connection to server: " + db +
                        ", user: scott;  (ORA-01017: invalid username/password; logon denied\n"
                        ")[Code:1017]");
    EXPECT_EQ(text.find("Wr0ngSecret"), std::string::npos);
    const int good = OpenConnection(db.c_str(), "SCOTT", "tiger");
    EXPECT_GE(good, 11) << errorText(good);
    CloseConnection(good);
    CloseConnection(admin);
}

TEST_F(SessionTest, EmptyConnectStringReachesTheClientUnchanged) {
    const int failed = OpenConnection("", "scott", "tiger");
    EXPECT_EQ(errorText(failed),
              kPrefixEmpty +
                  " (ORA-12154: TNS:could not resolve the connect identifier specified\n"
                  ")[Code:12154]");
}

TEST_F(SessionTest, EnvironmentFailureHasItsOwnText) {
    kt::injectFault("Environment::createEnvironment", 1, kt::FaultKind::SqlException, 32101,
                    "ORA-32101: cannot create OCI Environment\n");
    const int failed = OpenConnection("", "scott", "tiger");
    EXPECT_EQ(errorText(failed), kPrefixEmpty + kNoEnvironment);
}

TEST_F(SessionTest, UnreadableOracleMessageKeepsWhatWasWrittenAndTheCode) {
    kt::setGetMessageThrows(true);
    const int failed = OpenConnection("", "scott", "tiger");
    kt::setGetMessageThrows(false);
    EXPECT_EQ(errorText(failed), kPrefixEmpty + " (Uknown error [Code:12154]");
}

TEST_F(SessionTest, OtherFailuresLeaveThePrefixAlone) {
    const std::string db = flathost::memoryDatabase();
    kt::injectFault("Environment::createConnection", 1, kt::FaultKind::RuntimeError, 0, "boom");
    int failed = OpenConnection(db.c_str(), "scott", "tiger");
    EXPECT_EQ(errorText(failed), "Cannot open connection to server: " + db + ", user: scott; ");
    kt::injectFault("Environment::createEnvironment", 1, kt::FaultKind::BadAlloc);
    failed = OpenConnection(db.c_str(), "scott", "tiger");
    EXPECT_EQ(errorText(failed), "Cannot open connection to server: " + db + ", user: scott; ");
    EXPECT_EQ(kt::liveCounts().environments, 0);
}

TEST_F(SessionTest, NullTextsAreRefused) {
    const std::string db = flathost::memoryDatabase();
    const int before = flathost::open(db);
    EXPECT_EQ(errorText(OpenConnection(nullptr, "scott", "tiger")), "Cannot open connection");
    EXPECT_EQ(errorText(OpenConnection(db.c_str(), nullptr, "tiger")), "Cannot open connection");
    EXPECT_EQ(errorText(OpenConnection(db.c_str(), "scott", nullptr)), "Cannot open connection");
    const int after = flathost::open(db);
    EXPECT_EQ(after, before + 1);  // the refused attempts took no id
    CloseConnection(after);
    CloseConnection(before);
}

TEST_F(SessionTest, FailedConnectionsLeaveNothingBehind) {
    const std::string db = flathost::memoryDatabase();
    const int before = flathost::open(db);
    const kt::LiveCounts start = kt::liveCounts();
    for (int attempt = 0; attempt < 300; ++attempt) {
        switch (attempt % 3) {
            case 0:
                EXPECT_LT(OpenConnection("", "scott", "tiger"), 0);
                break;
            case 1:
                kt::injectFault("Environment::createConnection", 1, kt::FaultKind::SqlException,
                                1017, "ORA-01017: invalid username/password; logon denied\n");
                EXPECT_LT(OpenConnection(db.c_str(), "scott", "tiger"), 0);
                break;
            default:
                kt::injectFault("Environment::createConnection", 1, kt::FaultKind::BadAlloc);
                EXPECT_LT(OpenConnection(db.c_str(), "scott", "tiger"), 0);
                break;
        }
    }
    const kt::LiveCounts counts = kt::liveCounts();
    EXPECT_EQ(counts.environments, start.environments);
    EXPECT_EQ(counts.connections, start.connections);
    const int after = flathost::open(db);
    EXPECT_EQ(after, before + 1);  // the failed attempts took no id
    CloseConnection(after);
    CloseConnection(before);
}

TEST_F(SessionTest, CloseReleasesStatementResultSetAndStreams) {
    const std::string db = flathost::memoryDatabase();
    const kt::LiveCounts start = kt::liveCounts();
    const int session = flathost::open(db);
    flathost::run(session, "create table t (b BLOB)");
    ASSERT_EQ(PrepareQuery(session, "insert into t values (:1)", 0), 0);
    ASSERT_EQ(StreamParameterToLob(session, 1, 113, "abc", 3), 3);
    const int other = flathost::open(db);
    flathost::run(other, "select * from dual");
    ASSERT_EQ(NextRow(other), 1);
    EXPECT_EQ(CloseConnection(session), 0);
    EXPECT_EQ(CloseConnection(other), 0);
    const kt::LiveCounts counts = kt::liveCounts();
    EXPECT_EQ(counts.environments, start.environments);
    EXPECT_EQ(counts.connections, start.connections);
    EXPECT_EQ(counts.statements, start.statements);
    EXPECT_EQ(counts.resultSets, start.resultSets);
    EXPECT_EQ(counts.lobContents, start.lobContents);
}

TEST_F(SessionTest, TeardownGoesOnWhenAStepFails) {
    const std::string db = flathost::memoryDatabase();
    const long environments = kt::liveCounts().environments;
    const int session = flathost::open(db);
    flathost::run(session, "select * from dual");
    kt::injectFault("Statement::closeResultSet", 1, kt::FaultKind::RuntimeError, 0, "x");
    kt::injectFault("Connection::terminateStatement", 1, kt::FaultKind::SqlException, 1,
                    "ORA-00001: x\n");
    EXPECT_EQ(CloseConnection(session), 0);
    const int nextError = errors::storeError("marker") - 1;
    EXPECT_EQ(NextRow(session), nextError);
    EXPECT_EQ(kt::liveCounts().environments, environments);
}

TEST_F(SessionTest, UnknownSessionIdsFailWithOneText) {
    int expected = errors::storeError("marker") - 1;
    const int results[] = {
        ExecuteQuery(99, "select * from dual", 0),
        PrepareQuery(99, "select * from dual", 0),
        Execute(99),
        NextRow(99),
        SetIntSessionProperty(99, 1, 10),
        SetMaxParSize(99, 1, 10),
        SetMaxIterations(99, 2),
        AddIteration(99),
        SetNull(99, 1, 2),
        SetString(99, 1, "x", 0),
        SetInt(99, 1, 1, 0),
        SetFloat(99, 1, 1.0f, 0),
        SetDouble(99, 1, 1.0, 0),
        SetTimestamp(99, 1, 2024, 1, 1, 0, 0, 0, 0, 0, 0, 0),
        StreamParameterToLob(99, 1, 113, "a", 1),
        StreamParameterToLobLast(99, 1),
        GetMetaData(99, "", "T"),
        GetColumnsCount(99),
        GetColumnType(99, 0),
        GetColumnSize(99, 0),
        GetColumnScale(99, 0),
        GetColumnPrecision(99, 0),
        GetColumnIsAutoincremented(99, 0),
        GetColumnIsReadOnly(99, 0),
        GetColumnIsDbGenerated(99, 0),
        GetColumnIsNullable(99, 0),
    };
    for (int result : results) {
        EXPECT_EQ(result, expected);
        EXPECT_EQ(errorText(result), "Session is not initialized");
        --expected;
    }
    KavexPointerRecord text{};
    KavexIntRecord integer{};
    KavexFloatRecord real{};
    KavexDoubleRecord wide{};
    for (int result : {GetString(99, 0, &text), GetByteArray(99, 0, &text),
                       GetInteger(99, 0, &integer), GetFloat(99, 0, &real),
                       GetDouble(99, 0, &wide)}) {
        EXPECT_EQ(result, expected--);
        EXPECT_EQ(errorText(result), "Session is not initialized");
    }
    const char* name = GetColumnName(99, 0);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "Session is not initialized");
    EXPECT_EQ(GetColumnSchemaName(99, 0), name);  // one process-wide constant
    EXPECT_EQ(GetColumnTableName(99, 0), name);
    EXPECT_EQ(GetColumnTypeName(99, 0), name);
    EXPECT_EQ(NextRow(99), expected);  // the text getters stored nothing
}

TEST_F(SessionTest, SessionsOpenedFromManyThreadsGetUniqueIds) {
    const std::string db = flathost::memoryDatabase();
    const long environments = kt::liveCounts().environments;
    const int keeper = flathost::open(db);  // keeps the shared database alive
    constexpr int kThreads = 8;
    constexpr int kEach = 6;
    std::vector<std::vector<int>> ids(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                ids[t].push_back(OpenConnection(db.c_str(), "scott", "tiger"));
                if (i % 2 == 1) {
                    CloseConnection(ids[t].back());
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    std::set<int> unique;
    for (const auto& perThread : ids) {
        EXPECT_TRUE(std::is_sorted(perThread.begin(), perThread.end()));
        unique.insert(perThread.begin(), perThread.end());
    }
    EXPECT_EQ(unique.size(), static_cast<std::size_t>(kThreads * kEach));
    EXPECT_EQ(*unique.begin(), keeper + 1);
    EXPECT_EQ(*unique.rbegin(), keeper + kThreads * kEach);
    for (int id : unique) {
        CloseConnection(id);
    }
    CloseConnection(keeper);
    EXPECT_EQ(kt::liveCounts().environments, environments);
}

}  // namespace
