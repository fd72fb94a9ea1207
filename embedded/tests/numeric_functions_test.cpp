// The numeric functions and SUM/AVG with the SQL Language Reference's examples, and Oracle's
// implicit conversion of their arguments to NUMBER: a date is ORA-00932, text that is no number
// ORA-01722 (never a number read from the start of the text, never NULL).
#include "client_fixture.h"
#include "query_rows.h"

namespace clienttest {
namespace {

class NumericFunctions : public ::testing::Test {
  protected:
    NumericFunctions() : s(memdb()) {}
    std::string value(const std::string& expr) {
        return s.one("select to_char(" + expr + ") from dual");
    }
    int code(const std::string& sql) { return oraCode([&] { s.one(sql); }); }
    Session s;
};

TEST_F(NumericFunctions, DocumentedResults) {
    EXPECT_EQ("15", value("ABS(-15)"));
    EXPECT_EQ("16", value("CEIL(15.7)"));
    EXPECT_EQ("15", value("FLOOR(15.7)"));
    EXPECT_EQ("-16", value("FLOOR(-15.7)"));
    EXPECT_EQ("-1", value("SIGN(-15)"));
    EXPECT_EQ("9", value("POWER(3,2)"));
    EXPECT_EQ("5.09901951", value("ROUND(SQRT(26), 8)"));
    EXPECT_EQ("54.59815", value("ROUND(EXP(4), 5)"));
    EXPECT_EQ("4.55387689", value("ROUND(LN(95), 8)"));
    EXPECT_EQ("2", value("LOG(10,100)"));
    EXPECT_EQ(".5", value("ROUND(SIN(30 * 3.14159265359/180), 10)"));
    // MOD's sign follows the dividend; a zero divisor gives the dividend.
    EXPECT_EQ("3", value("MOD(11,4)"));
    EXPECT_EQ("-3", value("MOD(-11,4)"));
    EXPECT_EQ("3", value("MOD(11,-4)"));
    EXPECT_EQ("11", value("MOD(11,0)"));
    EXPECT_EQ("1.5", value("MOD(11.5,2)"));
    // Numeric text converts.
    EXPECT_EQ("2.5", value("ABS('-2.5')"));
    EXPECT_EQ("<null>", s.one("select abs(null) from dual"));
    EXPECT_EQ(1428, code("select sqrt(-1) from dual"));
    EXPECT_EQ(1428, code("select ln(0) from dual"));
    EXPECT_EQ(1428, code("select power(-8, 1/3) from dual"));
}

TEST_F(NumericFunctions, DatesAndTextThatIsNoNumberAreErrors) {
    s.exec("create table t (d date, v varchar2(10), r raw(2))");
    s.exec("insert into t values (DATE '2024-01-15', 'abc', '0A0B')");
    // (CEIL and FLOOR of a date are the date functions of Oracle Database 23ai.)
    for (const char* f : {"abs(d)", "sqrt(d)", "mod(d, 2)", "sign(d)", "power(d, 2)",
                          "sum(d)", "avg(d)", "abs(r)"})
        EXPECT_EQ(932, code(std::string("select ") + f + " from t")) << f;
    for (const char* f : {"abs(v)", "floor(v)", "exp(v)", "sum(v)", "avg(v)"})
        EXPECT_EQ(1722, code(std::string("select ") + f + " from t")) << f;
}

TEST_F(NumericFunctions, SumAndAverage) {
    s.exec("create table t (k number, n number)");
    s.exec("insert into t values (1, 0.1)");
    s.exec("insert into t values (2, 0.2)");
    s.exec("insert into t values (3, null)");
    s.exec("insert into t values (4, '12')");
    EXPECT_EQ("12.3", value("(select sum(n) from t)"));
    EXPECT_EQ("4.1", value("(select avg(n) from t)"));
    EXPECT_EQ("10", value("(select sum(k) from t)"));
    EXPECT_EQ("2.5", value("(select avg(k) from t)"));
    EXPECT_EQ("<null>", s.one("select sum(n) from t where k > 4"));
    EXPECT_EQ("<null>", s.one("select avg(n) from t where n is null"));
    EXPECT_EQ("9223372036854775807", value("(select sum(x) from (select 9223372036854775806 x "
                                           "from dual union all select 1 from dual))"));
    // As window functions, with moving frames.
    EXPECT_EQ(".1,.3,.3,12.3",
              queryRows(s, "select to_char(sum(n) over (order by k)) from t order by k", ","));
    EXPECT_EQ("1,1.5,2.5,3.5",
              queryRows(s, "select to_char(avg(k) over (order by k rows between 1 preceding and "
                           "current row)) from t order by k", ","));
}

}  // namespace
}  // namespace clienttest
