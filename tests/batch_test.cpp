// Batches: many iterations of bound values run by one Execute.
#include <gtest/gtest.h>
#include <kavexdb/test_support.h>

#include <string>

#include "flat_host.h"
#include "kavex_oracleociw.h"

namespace {

using flathost::errorText;
namespace kt = kavexdb::testing;

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = flathost::open(flathost::memoryDatabase());
        flathost::run(session, "create table b (n NUMBER(10), s VARCHAR2(20))");
    }
    void TearDown() override {
        kt::clearFaults();
        CloseConnection(session);
    }
    int session = 0;
};

TEST_F(BatchTest, ThreeRowsInOneExecute) {
    ASSERT_EQ(PrepareQuery(session, "insert into b values (:1, :2)", 0), 0);
    ASSERT_EQ(SetMaxIterations(session, 3), 0);
    ASSERT_EQ(SetMaxParSize(session, 2, 20), 0);
    const char* names[] = {"one", "two", "three"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(SetInt(session, 1, i + 1, 0), 0);
        ASSERT_EQ(SetString(session, 2, names[i], 0), 0);
        if (i < 2) {
            ASSERT_EQ(AddIteration(session), 0);
        }
    }
    EXPECT_EQ(Execute(session), 3);
    EXPECT_EQ(flathost::column(session, "select s from b order by n"), "one|two|three");
}

TEST_F(BatchTest, BufferedNullsApplyOnlyWhereNoValueWasBound) {
    ASSERT_EQ(PrepareQuery(session, "insert into b (n, s) values (:1, :2)", 0), 0);
    ASSERT_EQ(SetMaxIterations(session, 3), 0);
    ASSERT_EQ(SetMaxParSize(session, 2, 20), 0);
    ASSERT_EQ(SetNull(session, 1, 2), 0);
    ASSERT_EQ(SetString(session, 2, "a", 0), 0);
    ASSERT_EQ(AddIteration(session), 0);
    ASSERT_EQ(SetInt(session, 1, 5, 0), 0);
    ASSERT_EQ(SetString(session, 2, "b", 0), 0);
    ASSERT_EQ(AddIteration(session), 0);
    ASSERT_EQ(SetNull(session, 1, 2), 0);
    ASSERT_EQ(SetString(session, 2, "c", 0), 0);
    EXPECT_EQ(Execute(session), 3);
    EXPECT_EQ(flathost::column(session, "select s from b where n is null order by s"), "a|c");
    EXPECT_EQ(flathost::column(session, "select s from b where n = 5"), "b");
}

TEST_F(BatchTest, TenThousandRowsAndARerun) {
    constexpr int kRows = 10000;
    ASSERT_EQ(PrepareQuery(session, "insert into b values (:1, :2)", 0), 0);
    ASSERT_EQ(SetMaxIterations(session, kRows), 0);
    ASSERT_EQ(SetMaxParSize(session, 2, 20), 0);
    for (int i = 0; i < kRows; ++i) {
        ASSERT_EQ(SetInt(session, 1, i, 0), 0);
        ASSERT_EQ(SetString(session, 2, ("row " + std::to_string(i)).c_str(), 0), 0);
        if (i + 1 < kRows) {
            ASSERT_EQ(AddIteration(session), 0);
        }
    }
    EXPECT_EQ(Execute(session), kRows);
    EXPECT_EQ(flathost::rowCount(session, "select * from b"), kRows);
    EXPECT_EQ(flathost::column(session, "select s from b where n = 9876"), "row 9876");
}

TEST_F(BatchTest, RerunUsesTheValuesBoundLast) {
    ASSERT_EQ(PrepareQuery(session, "insert into b values (:1, :2)", 0), 0);
    ASSERT_EQ(SetInt(session, 1, 1, 0), 0);
    ASSERT_EQ(SetString(session, 2, "first", 0), 0);
    ASSERT_EQ(Execute(session), 1);
    ASSERT_EQ(SetString(session, 2, "second", 0), 0);
    ASSERT_EQ(Execute(session), 1);
    ASSERT_EQ(Execute(session), 1);
    EXPECT_EQ(flathost::column(session, "select s from b order by s"), "first|second|second");
}

TEST_F(BatchTest, VariableLengthBindWithoutMaximumSizeGivesTheClientsText) {
    ASSERT_EQ(PrepareQuery(session, "insert into b values (:1, :2)", 0), 0);
    ASSERT_EQ(SetMaxIterations(session, 2), 0);
    int failed = SetString(session, 2, "x", 0);
    if (failed == 0) {
        ASSERT_EQ(SetInt(session, 1, 1, 0), 0);
        failed = AddIteration(session);
        if (failed == 0) {
            failed = Execute(session);
        }
    }
    ASSERT_LT(failed, 0);
    EXPECT_EQ(errorText(failed).rfind("ORA-32108", 0), 0u) << errorText(failed);
}

TEST_F(BatchTest, ClientLimitsAndOwnTexts) {
    ASSERT_EQ(PrepareQuery(session, "insert into b (n) values (:1)", 0), 0);
    ASSERT_EQ(SetMaxIterations(session, 1), 0);
    ASSERT_EQ(SetInt(session, 1, 1, 0), 0);
    const int tooMany = AddIteration(session);
    ASSERT_LT(tooMany, 0);
    EXPECT_EQ(errorText(tooMany).rfind("ORA-", 0), 0u) << errorText(tooMany);

    kt::injectFault("Statement::addIteration", 1, kt::FaultKind::RuntimeError);
    EXPECT_EQ(errorText(AddIteration(session)), "Cannot execute batch iteration");
    kt::injectFault("Statement::setMaxIterations", 1, kt::FaultKind::RuntimeError);
    EXPECT_EQ(errorText(SetMaxIterations(session, 4)), "Cannot set max iterations number");
    kt::injectFault("Statement::setMaxParamSize", 1, kt::FaultKind::BadAlloc);
    EXPECT_EQ(errorText(SetMaxParSize(session, 1, 4)), "Cannot set max parameter size");
    kt::injectFault("Statement::execute", 1, kt::FaultKind::RuntimeError);
    EXPECT_EQ(errorText(Execute(session)), "Cannot execute query iteration");
}

TEST_F(BatchTest, CountsBeyondWhatABatchCanHoldAreRefusedAndTheStatementStaysUsable) {
    ASSERT_EQ(PrepareQuery(session, "insert into b values (:1, :2)", 0), 0);
    for (unsigned count : {0xFFFFFFFFu, 0x80000000u, 1048577u}) {
        const int refused = SetMaxIterations(session, count);
        ASSERT_LT(refused, 0) << count;
        EXPECT_EQ(errorText(refused), "Cannot set max iterations number: " +
                                          std::to_string(count) +
                                          " is more than the 1048576 iterations a batch can hold");
    }
    ASSERT_EQ(SetMaxIterations(session, 2), 0);
    ASSERT_EQ(SetMaxParSize(session, 2, 20), 0);
    ASSERT_EQ(SetInt(session, 1, 1, 0), 0);
    ASSERT_EQ(SetString(session, 2, "one", 0), 0);
    ASSERT_EQ(AddIteration(session), 0);
    ASSERT_EQ(SetInt(session, 1, 2, 0), 0);
    ASSERT_EQ(SetString(session, 2, "two", 0), 0);
    EXPECT_EQ(Execute(session), 2);
    EXPECT_EQ(flathost::column(session, "select s from b order by n"), "one|two");
}

TEST_F(BatchTest, BatchOperationsWithoutStatementFail) {
    const int fresh = flathost::open(flathost::memoryDatabase());
    EXPECT_EQ(errorText(SetMaxIterations(fresh, 2)), "Cannot set max iterations number");
    EXPECT_EQ(errorText(SetMaxParSize(fresh, 1, 2)), "Cannot set max parameter size");
    EXPECT_EQ(errorText(AddIteration(fresh)), "Cannot execute batch iteration");
    CloseConnection(fresh);
}

}  // namespace
