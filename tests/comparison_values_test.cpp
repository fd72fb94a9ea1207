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
