// CAST between the built-in types with the results and errors of the SQL Language Reference's
// CAST page and its table of allowed conversions.
#include "client_fixture.h"

namespace clienttest {
namespace {

class Cast : public ::testing::Test {
  protected:
    Cast() : s(memdb()) {
        s.exec("create table t (d date, ts timestamp, tz timestamp with time zone, n number, "
               "v varchar2(20))");
        s.exec("insert into t values (DATE '2024-01-15', TIMESTAMP '2024-01-15 10:30:00.123456', "
               "TIMESTAMP '2024-01-15 02:00:00 +02:00', 123.456, 'abc')");
    }
    std::string one(const std::string& expr) { return s.one("select " + expr + " from t"); }
    int code(const std::string& expr) { return oraCode([&] { one(expr); }); }
    // A timestamp's value in full, a DATE's to the second.
    std::string at(const std::string& expr) {
        return one("to_char(" + expr + ", 'YYYY-MM-DD HH24:MI:SS.FF3 TZH:TZM')");
    }
    std::string day(const std::string& expr) {
        return one("to_char(" + expr + ", 'YYYY-MM-DD HH24:MI:SS')");
    }
    Session s;
};

TEST_F(Cast, DatetimesToOtherDatetimes) {
    EXPECT_EQ("2024-01-15 00:00:00.000 +00:00", at("cast(d as timestamp)"));
    EXPECT_EQ("2024-01-15 00:00:00.000 +00:00", at("cast(d as timestamp with time zone)"));
    EXPECT_EQ("2024-01-15 10:30:00", day("cast(ts as date)"));
    EXPECT_EQ("2024-01-15 10:30:00.120 +00:00", at("cast(ts as timestamp(2))"));
    // The zone goes; the local date and time stay.
    EXPECT_EQ("2024-01-15 02:00:00.000 +00:00", at("cast(tz as timestamp)"));
    EXPECT_EQ("2024-01-15 02:00:00", day("cast(tz as date)"));
    // WITH LOCAL TIME ZONE holds the instant in the session's zone.
    EXPECT_EQ("2024-01-15 00:00:00.000 +00:00", at("cast(tz as timestamp with local time zone)"));
    // The results are datetimes again: arithmetic and comparisons work on them.
    EXPECT_EQ("1", one("to_char(cast(d as timestamp) + 1 - d)"));
    EXPECT_EQ("1", s.one("select count(*) from t where cast(ts as date) > d"));
}

TEST_F(Cast, TextToDatetimesByTheDefaultFormatsOrAFormat) {
    EXPECT_EQ("1997-10-22 00:00:00.000 +00:00",
              at("cast('22-OCT-1997' as timestamp with local time zone)"));
    EXPECT_EQ("2024-01-15 00:00:00", day("cast('15-JAN-24' as date)"));
    EXPECT_EQ("1999-12-01 11:00:00.000 -08:00",
              at("cast('1999-12-01 11:00:00 -8:00' as timestamp with time zone default "
                 "'2000-01-01 01:00:00 -8:00' on conversion error, 'YYYY-MM-DD HH:MI:SS "
                 "TZH:TZM', 'NLS_DATE_LANGUAGE = American')"));
    EXPECT_EQ("1989-01-15 11:00:00",
              day("cast('January 15, 1989, 11:00 A.M.' as date default null on conversion "
                 "error, 'Month dd, YYYY, HH:MI A.M.')"));
    EXPECT_EQ("<null>", one("cast('not a date' as date default null on conversion error)"));
    EXPECT_EQ(1843, code("cast('15-XYZ-24' as date)"));
    EXPECT_EQ(932, code("cast(5 as date)"));
    EXPECT_EQ(932, code("cast(n as timestamp)"));
}

TEST_F(Cast, ToNumbers) {
    EXPECT_EQ("200", one("cast(200 as number default 0 on conversion error)"));
    EXPECT_EQ("0", one("cast('zz' as number default 0 on conversion error)"));
    EXPECT_EQ("123.5", one("to_char(cast(n as number(5,1)))"));
    EXPECT_EQ("123", one("to_char(cast(n as integer))"));
    EXPECT_EQ("13", one("to_char(cast('12.5' as number(3)))"));
    EXPECT_EQ("100", one("to_char(cast(n as number(3,-2)))"));
    EXPECT_EQ(1438, code("cast(n as number(2))"));
    EXPECT_EQ(1722, code("cast(v as number)"));
    EXPECT_EQ(932, code("cast(d as number)"));
    EXPECT_EQ(932, code("cast(ts as binary_double)"));
    EXPECT_EQ("1000", one("to_char(cast('1e3' as binary_float))"));
    EXPECT_EQ("<null>", one("cast('' as number)"));
}

TEST_F(Cast, ToTextAsToCharWritesIt) {
    EXPECT_EQ("15-JAN-24", one("cast(d as varchar2(30))"));
    EXPECT_EQ("15-JAN-24 10.30.00.123456 AM", one("cast(ts as varchar2(40))"));
    EXPECT_EQ("123.456", one("cast(n as varchar2(10))"));
    EXPECT_EQ(".5   |", one("cast(0.5 as char(5)) || '|'"));
    EXPECT_EQ("124.456", one("cast(n + 1 as varchar2(20))"));
    EXPECT_EQ(25137, code("cast('abcdef' as varchar2(3))"));
    EXPECT_EQ(902, code("cast('x' as no_such_type)"));
    // SQLite's own TEXT keeps SQLite's CAST (bytes as they are).
    EXPECT_EQ("ab", one("cast(X'6162' as text)"));
    EXPECT_EQ("<null>", one("cast(null as varchar2(5))"));
}

}  // namespace
}  // namespace clienttest
