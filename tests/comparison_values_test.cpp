// Comparisons of values of different types as a host meets them through the flat exports: text
// next to a number is converted to a NUMBER or fails with Oracle's ORA-01722, datetimes compare
// as instants whatever produced them, and SUM of an interval column reads as an interval.
#include <string>

#include "flat_host.h"

namespace {

class ComparisonValues : public FlatSession {
  protected:
    // The rows' first column, comma-separated.
    std::string firstColumn(const std::string& sql) {
        run(sql);
        std::string out;
        while (NextRow(id) == 1) out += (out.empty() ? "" : ",") + text(0).value_or("-");
        return out;
    }
    std::string failure(const std::string& sql) {
        const int result = ExecuteQuery(id, sql.c_str(), 1);
        return result < 0 ? std::string(GetError(result)) : "no error";
    }
};

TEST_F(ComparisonValues, TextNextToANumberIsANumberOrOra01722) {
    run("create table emp (empno number(4), ename varchar2(10), code varchar2(5))");
    run("insert into emp values (7369, 'SMITH', ' 20')");
    run("insert into emp values (7499, 'ALLEN', '30 ')");
    EXPECT_EQ("SMITH", firstColumn("select ename from emp where empno = '7369'"));
    EXPECT_EQ("ALLEN", firstColumn("select ename from emp where code = 30"));
    EXPECT_EQ("SMITH,ALLEN",
              firstColumn("select ename from emp where code between 10 and 30 order by empno"));
    EXPECT_EQ("ORA-01722: invalid number\n",
              failure("select ename from emp where empno = 'SMITH'"));
    run("insert into emp values (7521, 'WARD', 'n/a')");
    EXPECT_EQ("ORA-01722: invalid number\n", failure("select count(*) from emp where code = 20"));
}

TEST_F(ComparisonValues, ComputedDatetimesCompareAsInstants) {
    EXPECT_EQ("y", firstColumn("select 'y' from dual where TIMESTAMP '1999-04-15 08:00:00 -08:00' "
                               "= TIMESTAMP '1999-04-15 11:00:00 -05:00'"));
    EXPECT_EQ("y", firstColumn("select 'y' from dual where TRUNC(TIMESTAMP '2024-01-15 10:30:00') "
                               "= DATE '2024-01-15'"));
    run("create table h (k varchar2(5), d date)");
    run("insert into h values ('AD', DATE '2024-03-01')");
    run("insert into h values ('BC1', TO_DATE('-0001-12-31', 'SYYYY-MM-DD'))");
    run("insert into h values ('BC44', TO_DATE('-0044-03-15', 'SYYYY-MM-DD'))");
    EXPECT_EQ("BC44,BC1,AD", firstColumn("select k from h order by ADD_MONTHS(d, 1)"));
    firstRow("select min(d + 1) from h");
    EXPECT_EQ(12, GetColumnType(id, 0));  // still a DATE
}

TEST_F(ComparisonValues, SumOfAnIntervalColumnIsAnInterval) {
    run("create table trips (took interval day(3) to second(2))");
    run("insert into trips values ('4 5:12:10.22')");
    run("insert into trips values ('-1 0:00:00.5')");
    firstRow("select sum(took), avg(took) from trips");
    EXPECT_EQ(190, GetColumnType(id, 0));
    EXPECT_EQ("+003 05:12:09.72", text(0).value_or("<null>"));
    EXPECT_EQ("+001 14:36:04.86", text(1).value_or("<null>"));
}

}  // namespace

// A number bound against a VARCHAR2 column compares as a number (the column's text is read as
// one), a text bound against it as text; the same prepared statement rebound from one kind to
// the other answers each time as Oracle does.
TEST_F(ComparisonValues, ANumberBoundAgainstTextComparesAsANumber) {
    run("create table v (k number(2), v varchar2(5))");
    run("insert into v values (1, '7')");
    run("insert into v values (2, '12')");
    auto keys = [&]() {
        EXPECT_GE(Execute(id), 0) << GetError(-1);
        std::string out;
        while (NextRow(id) == 1) out += (out.empty() ? "" : ",") + text(0).value_or("-");
        return out;
    };
    ASSERT_EQ(PrepareQuery(id, "select k from v where v < :1 order by k", 1), 0);
    ASSERT_EQ(SetInt(id, 1, 10, 0), 0);
    EXPECT_EQ("1", keys()) << "7 < 10 and not 12 < 10, as numbers";
    ASSERT_EQ(SetString(id, 1, "8", 0), 0);
    EXPECT_EQ("1,2", keys()) << "'7' < '8' and '12' < '8', as text";
    ASSERT_EQ(SetDouble(id, 1, 9.5, 0), 0);
    EXPECT_EQ("1", keys());
    ASSERT_EQ(PrepareQuery(id, "select k from v where v between :1 and :2 order by k", 1), 0);
    ASSERT_EQ(SetInt(id, 1, 5, 0), 0);
    ASSERT_EQ(SetInt(id, 2, 13, 0), 0);
    EXPECT_EQ("1,2", keys());
    ASSERT_EQ(SetString(id, 1, "5", 0), 0);
    ASSERT_EQ(SetString(id, 2, "13", 0), 0);
    EXPECT_EQ("", keys()) << "'7' > '13' and '12' < '5', as text";
    ASSERT_EQ(PrepareQuery(id, "select k from v where v = :1", 1), 0);
    ASSERT_EQ(SetDouble(id, 1, 12.0, 0), 0);
    EXPECT_EQ("2", keys());
    // A text that is no number, compared with a number bind: ORA-01722, as in Oracle.
    run("insert into v values (3, 'x')");
    ASSERT_EQ(PrepareQuery(id, "select k from v where v = :1", 1), 0);
    ASSERT_EQ(SetInt(id, 1, 7, 0), 0);
    const int rc = Execute(id);
    int fetched = rc < 0 ? rc : 0;
    while (fetched == 0 || fetched == 1) fetched = NextRow(id);
    EXPECT_EQ("ORA-01722: invalid number\n", std::string(GetError(fetched)));
}
