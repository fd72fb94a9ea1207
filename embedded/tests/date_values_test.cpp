// Dates as values: arithmetic, comparisons, the datetime functions and the types describe
// reports, with the results of the SQL Language Reference's examples.
#include "client_fixture.h"

namespace clienttest {
namespace {

class DateValues : public ::testing::Test {
  protected:
    DateValues() : s(memdb()) {}
    // An expression's value as YYYY-MM-DD HH24:MI:SS.
    std::string date(const std::string& expr) {
        return s.one("select to_char(" + expr + ", 'YYYY-MM-DD HH24:MI:SS') from dual");
    }
    int code(const std::string& sql) { return oraCode([&] { s.one(sql); }); }
    Session s;
};

TEST_F(DateValues, ArithmeticWithNumbersOfDays) {
    EXPECT_EQ("2024-01-16 00:00:00", date("DATE '2024-01-15' + 1"));
    EXPECT_EQ("2024-01-14 12:00:00", date("DATE '2024-01-15' - 0.5"));
    EXPECT_EQ("2024-01-15 01:00:00", date("1/24 + DATE '2024-01-15'"));
    EXPECT_EQ("2024-03-01 00:00:00", date("DATE '2024-02-28' + 2"));
    EXPECT_EQ("29", s.one("select DATE '2024-03-01' - DATE '2024-02-01' from dual"));
    EXPECT_EQ(".25", s.one("select to_char(TO_DATE('2024-01-15 06:00', 'YYYY-MM-DD HH24:MI') - "
                           "DATE '2024-01-15') from dual"));
    // TIMESTAMP plus a number is a DATE.
    EXPECT_EQ("2024-01-16 10:00:00", date("TIMESTAMP '2024-01-15 10:00:00.5' + 1"));
    EXPECT_EQ(975, code("select DATE '2024-01-15' + DATE '2024-01-15' from dual"));
    EXPECT_EQ(932, code("select 1 - DATE '2024-01-15' from dual"));
    EXPECT_EQ(932, code("select DATE '2024-01-15' * 2 from dual"));
}

TEST_F(DateValues, ColumnsCompareAndComputeAsDates) {
    s.exec("create table emp (name varchar2(10), hiredate date)");
    s.exec("insert into emp values ('A', '17-DEC-80')");
    s.exec("insert into emp values ('B', DATE '1981-09-28')");
    EXPECT_EQ("B", s.one("select name from emp where hiredate > DATE '1981-06-01'"));
    EXPECT_EQ("1981-01-16 00:00:00",
              s.one("select to_char(hiredate + 30, 'YYYY-MM-DD HH24:MI:SS') from emp where name = 'A'"));
    EXPECT_EQ("285", s.one("select max(hiredate) - min(hiredate) from emp"));
    EXPECT_EQ("1", s.one("select count(*) from emp where DATE '2024-01-01' - hiredate > 15700"));
    EXPECT_EQ("A", s.one("select name from emp order by hiredate"));
}

TEST_F(DateValues, TruncAndRound) {
    EXPECT_EQ("2024-01-15 00:00:00", date("TRUNC(TO_DATE('2024-01-15 17:45', 'YYYY-MM-DD HH24:MI'))"));
    EXPECT_EQ("2024-01-16 00:00:00", date("ROUND(TO_DATE('2024-01-15 12:00', 'YYYY-MM-DD HH24:MI'))"));
    EXPECT_EQ("1992-01-01 00:00:00", date("TRUNC(TO_DATE('27-OCT-1992', 'DD-MON-YYYY'), 'YEAR')"));
    EXPECT_EQ("2001-01-01 00:00:00", date("ROUND(TO_DATE('27-OCT-2000', 'DD-MON-YYYY'), 'YEAR')"));
    EXPECT_EQ("2024-02-01 00:00:00", date("ROUND(DATE '2024-01-16', 'MONTH')"));
    EXPECT_EQ("2024-01-01 00:00:00", date("TRUNC(DATE '2024-01-31', 'MM')"));
    EXPECT_EQ("2024-01-01 00:00:00", date("TRUNC(DATE '2024-03-31', 'Q')"));
    EXPECT_EQ("2024-01-14 00:00:00", date("TRUNC(DATE '2024-01-17', 'DAY')"));  // a Sunday
    EXPECT_EQ("2024-01-15 00:00:00", date("TRUNC(DATE '2024-01-17', 'IW')"));   // a Monday
    EXPECT_EQ("2024-01-15 17:00:00", date("TRUNC(TO_DATE('2024-01-15 17:45', 'YYYY-MM-DD HH24:MI'), 'HH')"));
    EXPECT_EQ("2001-01-01 00:00:00", date("TRUNC(DATE '2024-05-01', 'CC')"));
    EXPECT_EQ(1821, code("select trunc(sysdate, 'XYZ') from dual"));
}

TEST_F(DateValues, MonthFunctions) {
    EXPECT_EQ("2024-02-29 00:00:00", date("ADD_MONTHS(DATE '2024-01-31', 1)"));
    EXPECT_EQ("2024-05-31 00:00:00", date("ADD_MONTHS(DATE '2024-04-30', 1)"));
    EXPECT_EQ("2023-12-15 10:30:00", date("ADD_MONTHS(TO_DATE('2024-03-15 10:30', 'YYYY-MM-DD HH24:MI'), -3)"));
    EXPECT_EQ("2024-02-29 00:00:00", date("LAST_DAY(DATE '2024-02-10')"));
    EXPECT_EQ("2001-02-06 00:00:00", date("NEXT_DAY(TO_DATE('02-FEB-2001', 'DD-MON-YYYY'), 'TUESDAY')"));
    EXPECT_EQ("2001-02-06 00:00:00", date("NEXT_DAY(DATE '2001-02-02', 'tue')"));
    EXPECT_EQ(1846, code("select next_day(sysdate, 'FUNDAY') from dual"));
    EXPECT_EQ("1.03225806", s.one("select to_char(months_between(TO_DATE('02-02-1995', 'MM-DD-YYYY'), "
                                  "TO_DATE('01-01-1995', 'MM-DD-YYYY')), 'FM9.99999999') from dual"));
    EXPECT_EQ("-1", s.one("select months_between(DATE '2024-01-31', DATE '2024-02-29') from dual"));
}

TEST_F(DateValues, ExtractAndTimestamps) {
    EXPECT_EQ("1998", s.one("select extract(year from DATE '1998-03-07') from dual"));
    EXPECT_EQ("3", s.one("select extract(MONTH from DATE '1998-03-07') from dual"));
    EXPECT_EQ("14", s.one("select extract(hour from TIMESTAMP '2024-01-15 14:30:05') from dual"));
    EXPECT_EQ("5.5", s.one("select to_char(extract(second from TIMESTAMP '2024-01-15 14:30:05.5')) from dual"));
    EXPECT_EQ("5", s.one("select extract(timezone_hour from TIMESTAMP '2024-01-15 14:30:05 +05:30') from dual"));
    EXPECT_EQ(30076, code("select extract(hour from DATE '1998-03-07') from dual"));
    EXPECT_EQ("2002-09-10 14:10:10.123000000",
              s.one("select to_char(TO_TIMESTAMP('10-SEP-02 14:10:10.123000', "
                    "'DD-MON-RR HH24:MI:SS.FF'), 'YYYY-MM-DD HH24:MI:SS.FF9') from dual"));
    EXPECT_EQ("2024-01-15 10:00:00.000000", s.one("select to_char(TO_TIMESTAMP('2024-01-15 10:00:00'), "
                                                   "'YYYY-MM-DD HH24:MI:SS.FF') from dual"));
    EXPECT_EQ("1", s.one("select 1 from dual where current_date - sysdate < 1 / 86400 and "
                         "localtimestamp is not null and current_timestamp is not null"));
}

TEST_F(DateValues, DescribeKnowsDatetimeExpressions) {
    s.exec("create table emp (hiredate date, ts timestamp)");
    s.exec("insert into emp values (DATE '1981-09-28', TIMESTAMP '2024-01-15 10:00:00')");
    Statement* st = s.conn()->createStatement(
        "select min(hiredate), DATE '2024-03-15', hiredate + 1, hiredate - hiredate, max(ts), "
        "trunc(sysdate), to_char(hiredate, 'YYYY-MM-DD HH24:MI:SS') from emp");
    st->execute();
    ResultSet* rs = st->getResultSet();
    std::vector<MetaData> cols = rs->getColumnListMetaData();
    ASSERT_EQ(7u, cols.size());
    EXPECT_EQ(12, cols[0].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(12, cols[1].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ("DATE '2024-03-15'", cols[1].getString(MetaData::ATTR_NAME));
    EXPECT_EQ(12, cols[2].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(2, cols[3].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(187, cols[4].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(12, cols[5].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(1, cols[6].getInt(MetaData::ATTR_DATA_TYPE));
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ("28-SEP-81", rs->getDate(1).toText(""));  // read as a DATE value
    s.conn()->terminateStatement(st);
}

}  // namespace
}  // namespace clienttest
