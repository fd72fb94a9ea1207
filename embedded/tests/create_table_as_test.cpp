// CREATE TABLE ... AS query: the new table's columns take the query's types (a DATE stays a DATE,
// NUMBER(p,s) keeps its precision and scale), so later writes are converted and checked as in a
// table created with those types; Oracle's errors for unnamed expressions, a column list of the
// wrong length and bind variables.
#include "client_fixture.h"

namespace clienttest {
namespace {

class CreateTableAs : public ::testing::Test {
protected:
    CreateTableAs() {
        s.exec("create table emp (empno number(4), ename varchar2(10), sal number(7,2), "
               "hiredate date, bonus interval year to month)");
        s.exec("insert into emp values (7369, 'SMITH', 800, date '1980-12-17', "
               "interval '1-2' year to month)");
        s.exec("insert into emp values (7499, 'ALLEN', 1600.5, date '1981-02-20', null)");
    }
    int err(const std::string& sql) {
        return oraCode([&] { s.exec(sql); });
    }
    std::string column(const std::string& table, const std::string& name) {
        return s.one("select data_type || case when data_type = 'NUMBER' and data_precision "
                     "is not null then '(' || data_precision || ',' || data_scale || ')' end "
                     "from user_tab_columns where table_name = '" +
                     table + "' and column_name = '" + name + "'");
    }
    std::string db = memdb();
    Session s{db};
};

TEST_F(CreateTableAs, ColumnsKeepTheQueryTypesAndLaterWritesAreConverted) {
    s.exec("create table emp_copy as select * from emp");
    EXPECT_EQ("2", s.one("select count(*) from emp_copy"));
    EXPECT_EQ("NUMBER(4,0)", column("EMP_COPY", "EMPNO"));
    EXPECT_EQ("NUMBER(7,2)", column("EMP_COPY", "SAL"));
    EXPECT_EQ("DATE", column("EMP_COPY", "HIREDATE"));
    EXPECT_EQ("INTERVAL YEAR(2) TO MONTH", column("EMP_COPY", "BONUS"));
    EXPECT_EQ("2", s.one("select count(*) from emp_copy where hiredate > date '1980-01-01'"));
    // A copy made empty still converts what is written into it afterwards.
    s.exec("create table emp_empty as select * from emp where 1 = 0");
    s.exec("insert into emp_empty (empno, sal, hiredate, bonus) "
           "values (1, 123.456, '15-JAN-24', '+01-02')");
    EXPECT_EQ("123.46", s.one("select sal from emp_empty"));
    EXPECT_EQ("2024-01-15 00:00:00", s.one("select to_char(hiredate, 'YYYY-MM-DD HH24:MI:SS') "
                                           "from emp_empty"));
    EXPECT_EQ(1722, err("insert into emp_empty (empno) values ('x')"));
    EXPECT_EQ(1438, err("insert into emp_empty (empno) values (12345)"));
}

TEST_F(CreateTableAs, ExpressionsTakeTheirDescribedTypes) {
    s.exec("create table e2 as select ename, hiredate + 1 next_day, sal * 12 annual, "
           "add_months(hiredate, 6) review, upper(ename) || 'X' tag from emp");
    EXPECT_EQ("DATE", column("E2", "NEXT_DAY"));
    EXPECT_EQ("NUMBER", column("E2", "ANNUAL"));
    EXPECT_EQ("DATE", column("E2", "REVIEW"));
    EXPECT_EQ("VARCHAR2", column("E2", "TAG"));
    EXPECT_EQ("1980-12-18", s.one("select to_char(next_day, 'YYYY-MM-DD') from e2 "
                                  "where ename = 'SMITH'"));
    EXPECT_EQ("19206", s.one("select annual from e2 where ename = 'ALLEN'"));
    // Named by a column list, parenthesised, through WITH, schema-qualified by the own schema.
    s.exec("create table e3 (who, started) as (select ename, hiredate from emp)");
    EXPECT_EQ("DATE", column("E3", "STARTED"));
    s.exec("create table scott.e4 as with q as (select sal from emp) select max(sal) top from q");
    EXPECT_EQ("1600.5", s.one("select top from e4"));
}

TEST_F(CreateTableAs, OracleErrors) {
    EXPECT_EQ(998, err("create table bad as select sal * 2 from emp"));
    EXPECT_EQ(1730, err("create table bad (a) as select ename, sal from emp"));
    EXPECT_EQ(1027, err("create table bad as select * from emp where sal > :x"));
    EXPECT_EQ(942, err("create table bad as select * from no_such_table"));
    EXPECT_EQ(955, err("create table emp as select * from emp"));
    // Nothing of a failed statement stays behind.
    EXPECT_EQ(942, err("select * from bad"));
}

}  // namespace
}  // namespace clienttest
