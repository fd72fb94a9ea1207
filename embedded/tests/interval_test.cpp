// Interval values: literals, interval columns, the conversion functions, datetime and interval
// arithmetic and EXTRACT, with the results the SQL Language Reference documents.
#include "client_fixture.h"
#include "query_rows.h"

namespace clienttest {
namespace {

class Intervals : public ::testing::Test {
  protected:
    Intervals() : s(memdb()) {}
    std::string value(const std::string& expr) { return s.one("select " + expr + " from dual"); }
    std::string date(const std::string& expr) {
        return value("to_char(" + expr + ", 'YYYY-MM-DD HH24:MI:SS')");
    }
    int code(const std::string& expr) { return oraCode([&] { value(expr); }); }
    Session s;
};

TEST_F(Intervals, LiteralsDisplayWithTheirTypesPrecisions) {
    EXPECT_EQ("+123-02", value("INTERVAL '123-2' YEAR(3) TO MONTH"));
    EXPECT_EQ("+123-00", value("INTERVAL '123' YEAR(3)"));
    EXPECT_EQ("+04-00", value("INTERVAL '4' YEAR"));
    EXPECT_EQ("+04-02", value("INTERVAL '50' MONTH"));  // 50 months are 4 years 2 months
    EXPECT_EQ("-01-06", value("INTERVAL '-1-6' YEAR TO MONTH"));
    EXPECT_EQ("+04 05:12:10.222", value("INTERVAL '4 5:12:10.222' DAY TO SECOND(3)"));
    EXPECT_EQ("+04 05:12:10.222000", value("INTERVAL '4 5:12:10.222' DAY TO SECOND"));
    EXPECT_EQ("+04 05:12:00", value("INTERVAL '4 5:12' DAY TO MINUTE"));
    EXPECT_EQ("+400 05:00:00", value("INTERVAL '400 5' DAY(3) TO HOUR"));
    EXPECT_EQ("+400 00:00:00", value("INTERVAL '400' DAY(3)"));
    EXPECT_EQ("+00 11:12:10.2222222", value("INTERVAL '11:12:10.2222222' HOUR TO SECOND(7)"));
    EXPECT_EQ("+00 11:20:00", value("INTERVAL '11:20' HOUR TO MINUTE"));
    EXPECT_EQ("+00 10:00:00", value("INTERVAL '10' HOUR"));
    EXPECT_EQ("+00 00:10:22.000000", value("INTERVAL '10:22' MINUTE TO SECOND"));
    EXPECT_EQ("+00 00:30:00", value("INTERVAL '30' MINUTE"));
    EXPECT_EQ("+01 01:00:00", value("INTERVAL '25' HOUR"));  // the leading field may overflow
    EXPECT_EQ("5", value("EXTRACT(DAY FROM INTERVAL '120' HOUR(3))"));
    EXPECT_EQ("25", value("EXTRACT(YEAR FROM INTERVAL '300' MONTH(3))"));
    // The fraction is rounded to the precision given.
    EXPECT_EQ("+00 00:00:30.1235", value("INTERVAL '30.12345' SECOND(2,4)"));
    // A literal is an ordinary value: in a list, an alias, a comparison.
    EXPECT_EQ("+02-00|1", queryRows(s, "select interval '2' year y, 1 from dual"));
}

TEST_F(Intervals, LiteralsOutOfRangeFailAsOracle) {
    EXPECT_EQ(1873, code("INTERVAL '123' YEAR"));  // default leading precision 2
    EXPECT_EQ(1873, code("INTERVAL '100' DAY"));
    EXPECT_EQ(1843, code("INTERVAL '1-12' YEAR TO MONTH"));
    EXPECT_EQ(1850, code("INTERVAL '4 24' DAY TO HOUR"));
    EXPECT_EQ(1851, code("INTERVAL '10:60' HOUR TO MINUTE"));
    EXPECT_EQ(1852, code("INTERVAL '4 5:12:60' DAY TO SECOND"));
    EXPECT_EQ(1867, code("INTERVAL 'four' DAY"));
    EXPECT_EQ(1867, code("INTERVAL '1 2' YEAR TO MONTH"));
    EXPECT_EQ(30088, code("INTERVAL '1' YEAR(10)"));
    EXPECT_EQ(30089, code("INTERVAL '1-2' MONTH TO YEAR"));
}

TEST_F(Intervals, ColumnsStoreTextAsTheirTypeAndDescribeIt) {
    s.exec("create table durations (id number, ym interval year(3) to month, "
           "ds interval day(6) to second(5), dflt interval day to second)");
    s.exec("insert into durations values (1, '2-6', '4 5:12:10.222', '1 0:0:0.1234567')");
    s.exec("insert into durations values (2, INTERVAL '1-2' YEAR TO MONTH, INTERVAL '3' HOUR, "
           "NULL)");
    s.exec("insert into durations (id, ym, ds) values (3, 'P10Y', 'P2DT3M')");
    EXPECT_EQ("1|+002-06|+000004 05:12:10.22200|+01 00:00:00.123457\n"
              "2|+001-02|+000000 03:00:00.00000|-\n"
              "3|+010-00|+000002 00:03:00.00000|-",
              queryRows(s, "select id, ym, ds, dflt from durations order by id"));

    Statement* st = s.conn()->createStatement("select ym, ds from durations");
    st->execute();
    const std::vector<MetaData> cols = st->getResultSet()->getColumnListMetaData();
    EXPECT_EQ(189, cols[0].getInt(MetaData::ATTR_DATA_TYPE));  // SQLT_INTERVAL_YM
    EXPECT_EQ(3, cols[0].getInt(MetaData::ATTR_PRECISION));
    EXPECT_EQ(190, cols[1].getInt(MetaData::ATTR_DATA_TYPE));  // SQLT_INTERVAL_DS
    EXPECT_EQ(6, cols[1].getInt(MetaData::ATTR_PRECISION));
    EXPECT_EQ(5, cols[1].getInt(MetaData::ATTR_SCALE));
    s.conn()->terminateStatement(st);

    EXPECT_EQ("YM|INTERVAL YEAR(3) TO MONTH|5|3|0\n"
              "DS|INTERVAL DAY(6) TO SECOND(5)|11|6|5",
              queryRows(s, "select column_name, data_type, data_length, data_precision, data_scale "
                           "from user_tab_columns where table_name = 'DURATIONS' and "
                           "column_name in ('YM', 'DS') order by column_id"));

    // Values that do not fit the column's type.
    auto insert = [&](const std::string& ym, const std::string& ds) {
        return oraCode([&] { s.exec("insert into durations (ym, ds) values (" + ym + ", " + ds + ")"); });
    };
    EXPECT_EQ(1873, insert("'1000-0'", "NULL"));
    EXPECT_EQ(1873, insert("NULL", "'1000000 0:0:0'"));
    EXPECT_EQ(932, insert("5", "NULL"));
    EXPECT_EQ(932, insert("INTERVAL '1' DAY", "NULL"));
    EXPECT_EQ(932, insert("NULL", "INTERVAL '1' YEAR"));
    EXPECT_EQ(1867, insert("'two years'", "NULL"));
    EXPECT_EQ("3", s.one("select count(*) from durations"));

    // Comparisons and ordering of one column's values.
    EXPECT_EQ("2,3,1", queryRows(s, "select id from durations order by ds", ","));
    EXPECT_EQ("3", queryRows(s, "select id from durations where ym > INTERVAL '5' YEAR(3)", ","));
    EXPECT_EQ("1,3", queryRows(s, "select id from durations where ds >= INTERVAL '1' DAY(6) "
                                   "order by id", ","));
    s.exec("update durations set ym = ym + INTERVAL '1' MONTH where id = 1");
    EXPECT_EQ("+002-07", s.one("select ym from durations where id = 1"));
}

TEST_F(Intervals, ConversionFunctionsTakeSqlAndIsoForms) {
    EXPECT_EQ("+000000001-02", value("TO_YMINTERVAL('01-02')"));
    EXPECT_EQ("+000000001-02", value("TO_YMINTERVAL('P1Y2M')"));
    EXPECT_EQ("-000000001-02", value("TO_YMINTERVAL('-P1Y2M')"));
    EXPECT_EQ("+000000100 00:00:00.000000000", value("TO_DSINTERVAL('100 00:00:00')"));
    EXPECT_EQ("+000000100 05:00:00.000000000", value("TO_DSINTERVAL('P100DT05H')"));
    EXPECT_EQ("-000000000 00:01:30.500000000", value("TO_DSINTERVAL('-PT1M30.5S')"));
    EXPECT_EQ("+000000001 12:00:00.000000000", value("TO_DSINTERVAL('PT36H')"));
    EXPECT_EQ("<null>", value("TO_DSINTERVAL(NULL)"));
    // The ISO form's days and times mean nothing to a year-month interval.
    EXPECT_EQ("+000000001-02", value("TO_YMINTERVAL('P1Y2M3DT4H')"));
    EXPECT_EQ("+000000002-01", value("TO_YMINTERVAL('P25M')"));
    EXPECT_EQ("+000000000 00:00:00.000000000", value("TO_DSINTERVAL(' 0 0:0:0 ')"));
    EXPECT_EQ(1843, code("TO_YMINTERVAL('1-12')"));
    EXPECT_EQ(1850, code("TO_DSINTERVAL('1 25:00:00')"));
    EXPECT_EQ(1867, code("TO_DSINTERVAL('P1Y')"));
    EXPECT_EQ(1867, code("TO_DSINTERVAL('PT')"));
    EXPECT_EQ(1867, code("TO_YMINTERVAL('a year')"));
    EXPECT_EQ("+000000000-06", value("TO_YMINTERVAL('oops' DEFAULT '0-6' ON CONVERSION ERROR)"));
    EXPECT_EQ("+000000001 00:00:00.000000000",
              value("TO_DSINTERVAL('1 0:0:0', 'NLS_NUMERIC_CHARACTERS = .,')"));

    EXPECT_EQ("+000000100 00:00:00.000000000", value("NUMTODSINTERVAL(100, 'day')"));
    EXPECT_EQ("+000000000 01:30:00.000000000", value("NUMTODSINTERVAL(1.5, ' HOUR ')"));
    EXPECT_EQ("-000000000 00:00:00.250000000", value("NUMTODSINTERVAL(-0.25, 'SECOND')"));
    EXPECT_EQ("+000000001-00", value("NUMTOYMINTERVAL(1, 'year')"));
    EXPECT_EQ("+000000001-06", value("NUMTOYMINTERVAL(1.5, 'YEAR')"));
    EXPECT_EQ("+000000002-03", value("NUMTOYMINTERVAL(27, 'MONTH')"));
    EXPECT_EQ(1760, code("NUMTODSINTERVAL(1, 'WEEK')"));
}

TEST_F(Intervals, DatetimesMoveByIntervals) {
    EXPECT_EQ("2024-02-15 00:00:00", date("DATE '2024-01-15' + INTERVAL '1' MONTH"));
    EXPECT_EQ("2022-07-15 00:00:00", date("DATE '2024-01-15' - INTERVAL '1-6' YEAR TO MONTH"));
    EXPECT_EQ("2025-03-15 00:00:00", date("DATE '2024-01-15' + TO_YMINTERVAL('01-02')"));
    EXPECT_EQ("2024-01-16 12:00:00", date("DATE '2024-01-15' + INTERVAL '1 12:00:00' DAY TO SECOND"));
    EXPECT_EQ("2024-01-17 00:00:00", date("INTERVAL '2' DAY + DATE '2024-01-15'"));
    EXPECT_EQ("2023-12-31 23:30:00", date("DATE '2024-01-01' - INTERVAL '30' MINUTE"));
    // A year-month interval keeps the day of the month; a day the month lacks is an error.
    EXPECT_EQ(1839, code("DATE '2024-01-31' + INTERVAL '1' MONTH"));
    EXPECT_EQ(1839, code("DATE '2024-02-29' + INTERVAL '1' YEAR"));
    EXPECT_EQ("2028-02-29 00:00:00", date("DATE '2024-02-29' + INTERVAL '4' YEAR"));
    // A TIMESTAMP stays one, fraction and zone included.
    EXPECT_EQ("2024-01-15 10:00:00.750000000",
              value("to_char(TIMESTAMP '2024-01-15 10:00:00.5' + INTERVAL '0.25' SECOND, "
                    "'YYYY-MM-DD HH24:MI:SS.FF9')"));
    EXPECT_EQ("2024-03-15 10:00:00 +05:00",
              value("to_char(TIMESTAMP '2024-01-15 10:00:00 +05:00' + INTERVAL '2' MONTH, "
                    "'YYYY-MM-DD HH24:MI:SS TZH:TZM')"));
    EXPECT_EQ(30081, code("INTERVAL '1' DAY - DATE '2024-01-15'"));
    // The Reference's example: hire dates moved by 14 months.
    s.exec("create table employees (last_name varchar2(20), hire_date date)");
    s.exec("insert into employees values ('King', DATE '2003-06-17')");
    EXPECT_EQ("2003-06-17 00:00:00|2004-08-17 00:00:00",
              queryRows(s, "select hire_date, hire_date + TO_YMINTERVAL('01-02') \"14 months\" "
                           "from employees"));
    EXPECT_EQ("King", s.one("select last_name from employees where hire_date + "
                            "TO_DSINTERVAL('100 00:00:00') <= DATE '2003-11-01'"));
    EXPECT_EQ("2009-04-11 05:00:00",
              value("TO_CHAR(TIMESTAMP '2009-01-01 00:00:00' + TO_DSINTERVAL('P100DT05H'), "
                    "'YYYY-MM-DD HH24:MI:SS')"));
    EXPECT_EQ(1841, code("DATE '9999-12-01' + INTERVAL '1' MONTH"));
}

TEST_F(Intervals, TimestampDifferencesAreDayToSecondIntervals) {
    EXPECT_EQ("+000000001 02:30:00.000000",
              value("TIMESTAMP '2024-01-16 12:30:00' - TIMESTAMP '2024-01-15 10:00:00'"));
    EXPECT_EQ("-000000001 02:30:00.000000",
              value("TIMESTAMP '2024-01-15 10:00:00' - TIMESTAMP '2024-01-16 12:30:00'"));
    EXPECT_EQ("+000000000 00:00:00.000000001",
              value("TIMESTAMP '2024-01-15 10:00:00.000000001' - TIMESTAMP '2024-01-15 10:00:00'"));
    // A DATE against a TIMESTAMP, and two zones compared as instants.
    EXPECT_EQ("+000000000 12:00:00.000000",
              value("TIMESTAMP '2024-01-15 12:00:00' - DATE '2024-01-15'"));
    EXPECT_EQ("+000000000 00:00:00.000000",
              value("TIMESTAMP '2024-01-15 12:00:00 +02:00' - TIMESTAMP '2024-01-15 10:00:00'"));
    // DATE minus DATE stays a number of days.
    EXPECT_EQ("1", value("DATE '2024-01-16' - DATE '2024-01-15'"));
    EXPECT_EQ("26", value("EXTRACT(HOUR FROM TIMESTAMP '2024-01-16 12:30:00' - "
                          "TIMESTAMP '2024-01-15 10:00:00') + 24"));
}

TEST_F(Intervals, IntervalExpressionsAndCasts) {
    // (a - b) DAY TO SECOND / YEAR TO MONTH, as the Reference's interval expressions.
    EXPECT_EQ("+000000001 02:30:00.000000",
              value("(TIMESTAMP '2024-01-16 12:30:00' - TIMESTAMP '2024-01-15 10:00:00') DAY(9) "
                    "TO SECOND"));
    EXPECT_EQ("+01 00:00:00.000000", value("(DATE '2024-01-16' - DATE '2024-01-15') DAY TO SECOND"));
    EXPECT_EQ("+00-01", value("(DATE '2024-03-14' - DATE '2024-01-15') YEAR TO MONTH"));
    EXPECT_EQ("+000-02", value("(DATE '2024-03-15' - DATE '2024-01-15') YEAR(3) TO MONTH"));
    EXPECT_EQ("-01-02", value("(DATE '2024-01-15' - DATE '2025-03-16') YEAR TO MONTH"));
    EXPECT_EQ(1873, code("(DATE '2024-01-16' - DATE '2024-01-15') DAY(0) TO SECOND"));
    EXPECT_EQ("3", value("(1 + 2) day"));  // an alias, not a qualifier
    // CAST converts as a value written into a column of the type.
    EXPECT_EQ("+01 02:03:04.000000", value("CAST('1 2:3:4' AS INTERVAL DAY TO SECOND)"));
    EXPECT_EQ("+001 00:00:00.00", value("CAST(INTERVAL '1' DAY AS INTERVAL DAY(3) TO SECOND(2))"));
    EXPECT_EQ("+0001-02", value("CAST('1-2' AS INTERVAL YEAR(4) TO MONTH)"));
    EXPECT_EQ(1873, code("CAST(INTERVAL '100' YEAR(3) AS INTERVAL YEAR TO MONTH)"));
}

TEST_F(Intervals, IntervalsAddScaleAndCompare) {
    // The Reference's own example: 5-3 plus 20 months is 6-11.
    EXPECT_EQ("1", s.one("select count(*) from dual where INTERVAL '5-3' YEAR TO MONTH + "
                         "INTERVAL '20' MONTH = INTERVAL '6-11' YEAR TO MONTH"));
    EXPECT_EQ("+06-11", value("INTERVAL '5-3' YEAR TO MONTH + INTERVAL '20' MONTH"));
    EXPECT_EQ("+00 23:30:00", value("INTERVAL '1' DAY - INTERVAL '30' MINUTE"));
    EXPECT_EQ("-00 00:30:00", value("INTERVAL '30' MINUTE - INTERVAL '1' HOUR"));
    EXPECT_EQ("+02 12:00:00", value("INTERVAL '1' DAY * 2.5"));
    EXPECT_EQ("+00 03:00:00", value("3 * INTERVAL '1' HOUR"));
    EXPECT_EQ("+00-06", value("INTERVAL '1' YEAR / 2"));
    EXPECT_EQ("+150-00", value("INTERVAL '50' YEAR * 3"));  // widens past its precision
    EXPECT_EQ(1476, code("INTERVAL '1' DAY / 0"));
    EXPECT_EQ(30081, code("INTERVAL '1' YEAR + INTERVAL '1' DAY"));
    EXPECT_EQ(30081, code("INTERVAL '1' DAY + 1"));
    EXPECT_EQ(30081, code("2 / INTERVAL '1' DAY"));
    EXPECT_EQ("<null>", value("INTERVAL '1' DAY + NULL"));
    EXPECT_EQ("1", s.one("select count(*) from dual where INTERVAL '2' DAY > INTERVAL '36' HOUR"));
}

TEST_F(Intervals, ComparisonsWithIntervalsGoByValue) {
    s.exec("create table runs (id number, took interval day to second, started timestamp, "
           "ended timestamp)");
    s.exec("insert into runs values (1, '1 2:00:00', TIMESTAMP '2024-01-15 10:00:00', "
           "TIMESTAMP '2024-01-17 10:00:00')");
    s.exec("insert into runs values (2, '-0 3:00:00', TIMESTAMP '2024-01-15 10:00:00', "
           "TIMESTAMP '2024-01-15 10:30:00')");
    auto ids = [&](const std::string& condition) {
        return queryRows(s, "select id from runs where " + condition + " order by id", ",");
    };
    // A TIMESTAMP difference (nine digits of days) against literals of two.
    EXPECT_EQ("1", ids("ended - started > INTERVAL '1' DAY"));
    EXPECT_EQ("1,2", ids("ended - started > INTERVAL '20' MINUTE"));
    EXPECT_EQ("1,2", ids("INTERVAL '20' MINUTE < (ended - started)"));
    EXPECT_EQ("2", ids("ended - started BETWEEN INTERVAL '0' HOUR AND INTERVAL '1' HOUR"));
    EXPECT_EQ("1", ids("ended - started NOT BETWEEN INTERVAL '0' HOUR AND INTERVAL '1' HOUR"));
    // Negative values sort below positive ones; precisions do not matter.
    EXPECT_EQ("2", ids("took < INTERVAL '0' HOUR"));
    EXPECT_EQ("1", ids("took = INTERVAL '26' HOUR"));
    EXPECT_EQ("1", ids("took >= NUMTODSINTERVAL(1, 'DAY')"));
    EXPECT_EQ("long", s.one("select case when ended - started >= INTERVAL '2' DAY then 'long' "
                            "else 'short' end from runs where id = 1"));
    // SET's = assigns.
    s.exec("update runs set took = INTERVAL '2' DAY where took > INTERVAL '1' HOUR");
    EXPECT_EQ("+02 00:00:00.000000", s.one("select took from runs where id = 1"));
}

// Interval columns order by length of time, negative values first, whatever their texts.
TEST_F(Intervals, ColumnsSortAndAggregateByLengthOfTime) {
    s.exec("create table spans (id number, ds interval day(3) to second, ym interval year to month)");
    s.exec("insert into spans values (1, INTERVAL '1' DAY, INTERVAL '1' YEAR)");
    s.exec("insert into spans values (2, INTERVAL '-2' HOUR, INTERVAL '-3' MONTH)");
    s.exec("insert into spans values (3, INTERVAL '3' HOUR, INTERVAL '2' MONTH)");
    s.exec("insert into spans values (4, INTERVAL '-100' DAY(3), INTERVAL '0' MONTH)");
    EXPECT_EQ("4,2,3,1", queryRows(s, "select id from spans order by ds", ",", true));
    EXPECT_EQ("1,3,4,2", queryRows(s, "select id from spans order by ym desc", ",", true));
    EXPECT_EQ("+001 00:00:00.000000", s.one("select max(ds) from spans"));
    EXPECT_EQ("-100 00:00:00.000000", s.one("select min(ds) from spans"));
    EXPECT_EQ("-00-03", s.one("select min(ym) from spans"));
    EXPECT_EQ("4", s.one("select count(*) from spans a join spans b on a.id < b.id "
                         "where a.ds > b.ds and a.ym > b.ym"));
}

TEST_F(Intervals, ExtractGivesTheFieldsWithTheirSign) {
    EXPECT_EQ("3", value("EXTRACT(YEAR FROM INTERVAL '3-7' YEAR TO MONTH)"));
    EXPECT_EQ("7", value("EXTRACT(MONTH FROM INTERVAL '3-7' YEAR TO MONTH)"));
    EXPECT_EQ("4", value("EXTRACT(DAY FROM INTERVAL '4 5:12:10.222' DAY TO SECOND(3))"));
    EXPECT_EQ("12", value("EXTRACT(MINUTE FROM INTERVAL '4 5:12:10.222' DAY TO SECOND(3))"));
    EXPECT_EQ("10.222", value("EXTRACT(SECOND FROM INTERVAL '4 5:12:10.222' DAY TO SECOND(3))"));
    EXPECT_EQ("-4", value("EXTRACT(DAY FROM INTERVAL '-4 5' DAY TO HOUR)"));
    EXPECT_EQ("-5", value("EXTRACT(HOUR FROM INTERVAL '-4 5' DAY TO HOUR)"));
    EXPECT_EQ(30076, code("EXTRACT(YEAR FROM INTERVAL '4' DAY)"));
    EXPECT_EQ(30076, code("EXTRACT(DAY FROM INTERVAL '4' YEAR)"));
}

TEST_F(Intervals, ExpressionsDescribeAsIntervals) {
    Statement* st = s.conn()->createStatement(
        "select INTERVAL '4' YEAR, INTERVAL '4 5:12:10.222' DAY TO SECOND(3), "
        "TIMESTAMP '2024-01-16 00:00:00' - TIMESTAMP '2024-01-15 00:00:00' from dual");
    st->execute();
    ResultSet* rs = st->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    const std::vector<MetaData> cols = rs->getColumnListMetaData();
    EXPECT_EQ(189, cols[0].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(2, cols[0].getInt(MetaData::ATTR_PRECISION));
    EXPECT_EQ(190, cols[1].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(3, cols[1].getInt(MetaData::ATTR_SCALE));
    EXPECT_EQ(190, cols[2].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(9, cols[2].getInt(MetaData::ATTR_PRECISION));
    EXPECT_EQ("+000000001 00:00:00.000000", rs->getString(3));
    s.conn()->terminateStatement(st);
    // A field word after a number is still an alias.
    st = s.conn()->createStatement("select 'a', 2 year from dual");
    st->execute();
    EXPECT_EQ("YEAR", st->getResultSet()->getColumnListMetaData()[1].getString(MetaData::ATTR_NAME));
    s.conn()->terminateStatement(st);
}

}  // namespace
}  // namespace clienttest
