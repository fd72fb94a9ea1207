// Array DML of many rows into tables created through the client: every row is held to its
// columns' declared types as a single-row INSERT is (ORA-12899, ORA-01438, ORA-01722), the rows
// before a refused one stay, and the table's other constraints and defaults still apply.
#include <functional>

#include "client_fixture.h"

namespace clienttest {
namespace {

const unsigned kRows = 200;

class ClientArrayChecks : public ::testing::Test {
protected:
    ClientArrayChecks() : s(memdb()) {
        s.exec("create table t (id number(5), name varchar2(10), amount binary_double)");
    }

    // Inserts kRows rows in one execute: row r binds id r, name "n<r>", amount r / 4, then
    // whatever change(r) sets. Returns the ORA code of the failure (0 when none).
    int insertRows(const std::function<void(Statement*, unsigned)>& change,
                   const std::string& sql = "insert into t values (:1, :2, :3)") {
        Statement* ins = s.conn()->createStatement(sql);
        ins->setMaxIterations(kRows);
        ins->setMaxParamSize(1, 20);
        ins->setMaxParamSize(2, 40);
        for (unsigned r = 0; r < kRows; ++r) {
            if (r) ins->addIteration();
            ins->setInt(1, static_cast<int>(r));
            ins->setString(2, "n" + std::to_string(r));
            BDouble amount;
            amount.value = r / 4.0;
            ins->setBDouble(3, amount);
            if (change) change(ins, r);
        }
        int code = oraCode([&] { ins->executeUpdate(); });
        s.conn()->terminateStatement(ins);
        return code;
    }
    std::string rowCount() { return s.one("select count(*) from t"); }

    Session s;
};

TEST_F(ClientArrayChecks, ValuesThatFitAreStoredAsSingleRowInsertsStoreThem) {
    EXPECT_EQ(0, insertRows([](Statement* ins, unsigned r) {
        if (r == 10) ins->setString(2, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
                                       "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");  // 10 characters
        if (r == 11) ins->setInt(1, -99999);
        if (r == 12) ins->setNull(2, OCCISTRING);
    }));
    EXPECT_EQ("200", rowCount());
    EXPECT_EQ("10", s.one("select length(name) from t where id = 10"));
    EXPECT_EQ("n11", s.one("select name from t where id = -99999"));
    EXPECT_EQ("<null>", s.one("select name from t where id = 12"));
    EXPECT_EQ("49.75", s.one("select amount from t where id = 199"));
}

TEST_F(ClientArrayChecks, TheFirstRowThatDoesNotFitIsRefusedAndEarlierRowsStay) {
    EXPECT_EQ(12899, insertRows([](Statement* ins, unsigned r) {
        if (r == 150) ins->setString(2, "eleven char");
    }));
    EXPECT_EQ("150", rowCount());
    s.exec("delete from t");
    EXPECT_EQ(1438, insertRows([](Statement* ins, unsigned r) {
        if (r == 70) ins->setInt(1, 100000);
    }));
    EXPECT_EQ("70", rowCount());
    s.exec("delete from t");
    // A row no longer fits after a value the column converts (text into a number).
    EXPECT_EQ(1438, insertRows([](Statement* ins, unsigned r) {
        if (r == 5) ins->setString(1, "-7.4");
        if (r == 120) ins->setInt(1, -123456);
    }));
    EXPECT_EQ("120", rowCount());
    EXPECT_EQ("1", s.one("select count(*) from t where id = -7"));
    s.exec("delete from t");
    EXPECT_EQ(1722, insertRows([](Statement* ins, unsigned r) {
        if (r == 199) ins->setString(1, "twelve");
    }));
    EXPECT_EQ("199", rowCount());
}

TEST_F(ClientArrayChecks, LaterStatementsAreStillChecked) {
    EXPECT_EQ(0, insertRows(nullptr));
    EXPECT_EQ(12899, oraCode([&] { s.exec("insert into t values (1, 'far too long', 1)"); }));
    EXPECT_EQ(1438, oraCode([&] { s.exec("insert into t select 123456, 'x', 1 from dual"); }));
    Statement* one = s.conn()->createStatement("insert into t values (:1, :2, :3)");
    one->setInt(1, 1);
    one->setString(2, "far too long");
    one->setNull(3, OCCIBDOUBLE);
    EXPECT_EQ(12899, oraCode([&] { one->executeUpdate(); }));
    s.conn()->terminateStatement(one);
    EXPECT_EQ("200", rowCount());
}

TEST_F(ClientArrayChecks, TheTablesOwnConstraintsAndDefaultsStillApply) {
    s.exec("create table c (id number(5), name varchar2(10), amount binary_double "
           "check (amount < 40))");
    EXPECT_EQ(2290, insertRows(nullptr, "insert into c values (:1, :2, :3)"));
    EXPECT_EQ("160", s.one("select count(*) from c"));

    // A default that does not fit its column is refused when a row takes it.
    s.exec("create table d (id number(5), name varchar2(3) default 'too long')");
    Statement* ins = s.conn()->createStatement("insert into d (id) values (:1)");
    ins->setMaxIterations(kRows);
    for (unsigned r = 0; r < kRows; ++r) {
        if (r) ins->addIteration();
        ins->setInt(1, static_cast<int>(r));
    }
    EXPECT_EQ(12899, oraCode([&] { ins->executeUpdate(); }));
    s.conn()->terminateStatement(ins);
    EXPECT_EQ("0", s.one("select count(*) from d"));
}

}  // namespace
}  // namespace clienttest
