// Executing and preparing SQL, the row cursor and the session property, through the exports.
#include <gtest/gtest.h>
#include <kavexdb/test_support.h>

#include <string>

#include "flat_host.h"
#include "kavex_oracleociw.h"

namespace {

using flathost::errorText;
namespace kt = kavexdb::testing;

class StatementTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = flathost::open(flathost::memoryDatabase());
        flathost::run(session, "create table t (id NUMBER(10), name VARCHAR2(20))");
        flathost::run(session, "insert into t values (1, 'one')");
        flathost::run(session, "insert into t values (2, 'two')");
        flathost::run(session, "insert into t values (3, 'three')");
    }
    void TearDown() override {
        kt::clearFaults();
        CloseConnection(session);
    }
    // The next error id: shows whether anything was stored meanwhile.
    int nextErrorId() { return NextRow(-1); }

    int session = 0;
};

TEST_F(StatementTest, DmlReturnsItsUpdateCountAndLeavesNoColumns) {
    EXPECT_EQ(ExecuteQuery(session, "update t set name = 'x'", 0), 3);
    EXPECT_EQ(GetColumnsCount(session), 0);
    EXPECT_EQ(NextRow(session), 0);
    EXPECT_EQ(ExecuteQuery(session, "delete from t where id = 2", 0), 1);
    EXPECT_EQ(ExecuteQuery(session, "create table u (x NUMBER)", 0), 0);
}

TEST_F(StatementTest, QueryWalksRowsAndStaysAtTheEnd) {
    ASSERT_EQ(ExecuteQuery(session, "select id, name from t order by id", 0), 0);
    EXPECT_EQ(GetColumnsCount(session), 2);
    std::string names;
    while (NextRow(session) == 1) {
        names += flathost::text(session, 1) + ";";
    }
    EXPECT_EQ(names, "one;two;three;");
    const int before = nextErrorId();
    EXPECT_EQ(NextRow(session), 0);
    EXPECT_EQ(NextRow(session), 0);
    EXPECT_EQ(nextErrorId(), before - 1);  // the end stores no message
}

TEST_F(StatementTest, EmptyResultKeepsItsMetadata) {
    ASSERT_EQ(ExecuteQuery(session, "select id, name from t where id > 100", 0), 0);
    EXPECT_EQ(GetColumnsCount(session), 2);
    EXPECT_STREQ(GetColumnName(session, 1), "NAME");
    EXPECT_EQ(NextRow(session), 0);
}

TEST_F(StatementTest, NextRowWithoutResultSetIsZeroAndStoresNothing) {
    const int before = nextErrorId();
    ASSERT_EQ(PrepareQuery(session, "select * from t", 0), 0);
    EXPECT_EQ(NextRow(session), 0);
    ASSERT_EQ(ExecuteQuery(session, "update t set id = id", 0), 3);
    EXPECT_EQ(NextRow(session), 0);
    EXPECT_EQ(nextErrorId(), before - 1);
}

TEST_F(StatementTest, PreparedStatementRunsAgainWithTheSameBinds) {
    ASSERT_EQ(PrepareQuery(session, "insert into t values (:1, :2)", 0), 0);
    ASSERT_EQ(SetInt(session, 1, 9, 0), 0);
    ASSERT_EQ(SetString(session, 2, "nine", 0), 0);
    EXPECT_EQ(Execute(session), 1);
    EXPECT_EQ(Execute(session), 1);
    EXPECT_EQ(flathost::column(session, "select name from t where id = 9"), "nine|nine");
}

TEST_F(StatementTest, QueryRunsAgainFromTheFirstRow) {
    ASSERT_EQ(PrepareQuery(session, "select name from t order by id", 0), 0);
    ASSERT_EQ(Execute(session), 0);
    ASSERT_EQ(NextRow(session), 1);
    ASSERT_EQ(NextRow(session), 1);
    ASSERT_EQ(Execute(session), 0);
    ASSERT_EQ(NextRow(session), 1);
    EXPECT_EQ(flathost::text(session, 0), "one");
    EXPECT_EQ(kt::liveCounts().resultSets, 1);
}

TEST_F(StatementTest, MissingTableGivesTheClientsText) {
    const int failed = ExecuteQuery(session, "select * from no_such_table", 0);
    ASSERT_LT(failed, 0);
    EXPECT_EQ(errorText(failed).rfind("ORA-00942: table or view does not exist", 0), 0u)
        << errorText(failed);
    // The failed statement stays current with no result set.
    EXPECT_EQ(NextRow(session), 0);
    EXPECT_EQ(GetColumnsCount(session), 0);
}

TEST_F(StatementTest, OwnMessagesQuoteTheSql) {
    kt::injectFault("Statement::execute", 1, kt::FaultKind::RuntimeError, 0, "x");
    EXPECT_EQ(errorText(ExecuteQuery(session, "select 'a' from t", 0)),
              "Cannot execute query: 'select 'a' from t'");
    kt::injectFault("Connection::createStatement", 1, kt::FaultKind::BadAlloc);
    EXPECT_EQ(errorText(PrepareQuery(session, "select * from t", 0)),
              "Cannot prepare query: 'select * from t'");
    // The replacement failed at creation: there is no statement to execute.
    EXPECT_EQ(errorText(Execute(session)), "Cannot execute query iteration");
    EXPECT_EQ(errorText(PrepareQuery(session, "", 0)), "Cannot prepare query: ''");
    EXPECT_EQ(errorText(ExecuteQuery(session, nullptr, 0)), "Cannot execute query: ''");
    EXPECT_EQ(errorText(PrepareQuery(session, nullptr, 0)), "Cannot prepare query: ''");
}

TEST_F(StatementTest, ExecuteBeforeAnyStatementFails) {
    const int fresh = flathost::open(flathost::memoryDatabase());
    EXPECT_EQ(errorText(Execute(fresh)), "Cannot execute query iteration");
    EXPECT_EQ(NextRow(fresh), 0);
    CloseConnection(fresh);
}

TEST_F(StatementTest, ClientFailureWhileStepping) {
    ASSERT_EQ(ExecuteQuery(session, "select * from t", 0), 0);
    kt::injectFault("ResultSet::next", 1, kt::FaultKind::SqlException, 3113,
                    "ORA-03113: end-of-file on communication channel\n");
    EXPECT_EQ(errorText(NextRow(session)), "ORA-03113: end-of-file on communication channel\n");
}

TEST_F(StatementTest, MaxColumnSizeProperty) {
    flathost::run(session, "create table lobs (c CLOB)");
    flathost::run(session, "insert into lobs values (replace(hex(zeroblob(2500)), '0', 'x'))");
    auto length = [&] {
        flathost::run(session, "select c from lobs");
        EXPECT_EQ(NextRow(session), 1);
        return flathost::text(session, 0).size();
    };
    EXPECT_EQ(length(), 2000u);
    EXPECT_EQ(SetIntSessionProperty(session, 1, 4000), 0);
    EXPECT_EQ(length(), 4000u);
    EXPECT_EQ(SetIntSessionProperty(session, 7, 123), 0);  // other ids are ignored
    EXPECT_EQ(length(), 4000u);
    EXPECT_EQ(SetIntSessionProperty(session, 1, 0), 0);
    EXPECT_EQ(length(), 2000u);
    EXPECT_EQ(SetIntSessionProperty(session, 1, 10000), 0);
    EXPECT_EQ(SetIntSessionProperty(session, 1, -5), 0);
    EXPECT_EQ(length(), 2000u);
}

}  // namespace
