// Dates and timestamps compare as points in time (the SQL Language Reference's Data Type
// Comparison Rules and Datetime Data Types): a DATE with a TIMESTAMP as the TIMESTAMP it converts
// to, TIMESTAMP WITH TIME ZONE values by their instant in UTC, in WHERE, ORDER BY, MIN/MAX,
// GROUP BY and DISTINCT alike.
#include "client_fixture.h"
#include "query_rows.h"

namespace clienttest {
namespace {

class DatetimeOrder : public ::testing::Test {
  protected:
    DatetimeOrder() : s(memdb()) {
        s.exec("create table t (k number, d date, ts timestamp, tz timestamp with time zone)");
    }
    void row(int k, const std::string& d, const std::string& ts, const std::string& tz) {
        s.exec("insert into t values (" + std::to_string(k) + ", " + d + ", " + ts + ", " + tz +
               ")");
    }
    std::string keys(const std::string& sql) { return queryRows(s, sql, ",", true); }
    Session s;
};

TEST_F(DatetimeOrder, DateAndTimestampCompareAsTheSameInstant) {
    row(1, "DATE '2024-01-15'", "TIMESTAMP '2024-01-15 00:00:00'", "null");
    row(2, "DATE '2024-01-15'", "TIMESTAMP '2024-01-15 00:00:00.5'", "null");
    row(3, "DATE '2024-01-16'", "TIMESTAMP '2024-01-15 23:59:59'", "null");
    EXPECT_EQ("1", keys("select k from t where d = ts order by k"));
    EXPECT_EQ("2", keys("select k from t where d < ts order by k"));
    EXPECT_EQ("3", keys("select k from t where d > ts order by k"));
    EXPECT_EQ("1,2", keys("select k from t where ts < DATE '2024-01-15' + 0.5 order by k"));
    EXPECT_EQ("1", keys("select k from t where ts = DATE '2024-01-15'"));
    EXPECT_EQ("1,2", keys("select k from t where d = TIMESTAMP '2024-01-15 00:00:00' order by k"));
    // A UNION of both types: equal instants are one row.
    EXPECT_EQ("1", s.one("select count(*) from (select d from t where k = 1 union "
                         "select ts from t where k = 1)"));
}

TEST_F(DatetimeOrder, TimeZonedValuesCompareInUtc) {
    // 8:00 -8:00 is 11:00 -5:00 is 16:00 UTC.
    row(1, "null", "null", "TIMESTAMP '1999-04-15 08:00:00 -08:00'");
    row(2, "null", "null", "TIMESTAMP '1999-04-15 11:00:00 -05:00'");
    row(3, "null", "null", "TIMESTAMP '1999-04-15 17:00:00 +02:00'");  // 15:00 UTC
    row(4, "null", "null", "TIMESTAMP '1999-04-15 16:30:00 +00:00'");
    EXPECT_EQ("3,1,2,4", keys("select k from t order by tz, k"));
    EXPECT_EQ("4,1,2,3", keys("select k from t order by tz desc, k"));
    EXPECT_EQ("1,2", keys("select k from t where tz = TIMESTAMP '1999-04-15 16:00:00 +00:00' "
                          "order by k"));
    EXPECT_EQ("3", keys("select k from t where tz < TIMESTAMP '1999-04-15 10:00:00 -06:00'"));
    EXPECT_EQ("3", s.one("select count(distinct tz) from t"));
    EXPECT_EQ("2", s.one("select count(*) from t group by tz order by count(*) desc"));
    EXPECT_EQ("1999-04-15 17:00:00.000000000+02:00", s.one("select min(tz) from t"));
    EXPECT_EQ("1999-04-15 16:30:00.000000000+00:00", s.one("select max(tz) from t"));
    // A TIMESTAMP without a zone is in the session's zone (UTC).
    EXPECT_EQ("1,2", keys("select k from t where tz = TIMESTAMP '1999-04-15 16:00:00' order by k"));
}

TEST_F(DatetimeOrder, YearsBeforeChristSortBeforeLaterYears) {
    // Year 1 BC directly precedes year 1 AD.
    row(1, "DATE '0001-01-01'", "null", "null");
    row(2, "ADD_MONTHS(DATE '0001-01-01', -24)", "null", "null");
    row(3, "DATE '0001-01-01' - 367", "null", "null");
    row(4, "DATE '0001-01-01' - 1", "null", "null");
    EXPECT_EQ("2,3,4,1", keys("select k from t order by d"));
    EXPECT_EQ("2", keys("select k from t where d = (select min(d) from t)"));
}

TEST_F(DatetimeOrder, TextInTheDefaultFormatComparesAsADate) {
    row(1, "DATE '1980-12-17'", "TIMESTAMP '1980-12-17 10:00:00'", "null");
    row(2, "DATE '1981-09-28'", "TIMESTAMP '1981-09-28 10:00:00'", "null");
    EXPECT_EQ("2", keys("select k from t where d > '01-JUN-81'"));
    EXPECT_EQ("1", keys("select k from t where d = '17-DEC-80'"));
    EXPECT_EQ("2", keys("select k from t where ts > '17-DEC-80 11.00.00.000000 AM'"));
    EXPECT_EQ("1,2", keys("select k from t where d between '01-JAN-80' and '31-DEC-81' order by k"));
}

TEST_F(DatetimeOrder, AUniqueTimeZonedColumnRefusesTheSameInstant) {
    s.exec("create table u (tz timestamp with time zone primary key)");
    s.exec("insert into u values (TIMESTAMP '2024-01-15 10:00:00 +02:00')");
    EXPECT_EQ(1, oraCode([&] { s.exec("insert into u values (TIMESTAMP '2024-01-15 08:00:00 +00:00')"); }));
    s.exec("insert into u values (TIMESTAMP '2024-01-15 10:00:00 +00:00')");
    EXPECT_EQ("2", s.one("select count(*) from u"));
}

}  // namespace
}  // namespace clienttest
