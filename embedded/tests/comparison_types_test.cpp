// Comparisons of values of different types, as the SQL Language Reference's Data Type Comparison
// Rules and Implicit Data Conversion describe them: text compared with a number is converted to
// NUMBER (ORA-01722 when it is none), datetimes compare as points in time whatever produced them,
// and SUM and AVG of intervals are intervals.
#include <sqlite3.h>

#include "client_fixture.h"
#include "query_rows.h"

namespace clienttest {
namespace {

class Comparisons : public ::testing::Test {
  protected:
    Comparisons() : s(memdb()) {}
    std::string keys(const std::string& sql) { return queryRows(s, sql, ",", true); }
    Session s;
};

TEST_F(Comparisons, TextComparedWithANumberIsConvertedToANumber) {
    s.exec("create table t (k number, n number(5,1), v varchar2(10))");
    s.exec("insert into t values (1, 10, '10')");
    s.exec("insert into t values (2, 2.5, ' 2.50 ')");
    s.exec("insert into t values (3, 100, '1e2')");
    // A literal next to a NUMBER column is read as a number.
    EXPECT_EQ("1", keys("select k from t where n = '10'"));
    EXPECT_EQ("1", keys("select k from t where n = ' 10 '"));
    EXPECT_EQ("2", keys("select k from t where '2.50' = n"));
    EXPECT_EQ("1,3", keys("select k from t where n in ('10', '1E2') order by k"));
    EXPECT_EQ("1,2", keys("select k from t where n between '2' and '+10' order by k"));
    EXPECT_EQ("3", keys("select k from t where n > '9.5' and n <> '10'"));
    // Not a number: ORA-01722, also where no row is compared and where AND could skip it.
    EXPECT_EQ(1722, oraCode([&] { s.one("select k from t where n = 'abc'"); }));
    EXPECT_EQ(1722, oraCode([&] { s.one("select k from t where k = 99 and n = '1x'"); }));
    EXPECT_EQ(1722, oraCode([&] { s.one("select k from t where n in ('10', 'ten')"); }));
    EXPECT_EQ(1722, oraCode([&] { s.one("select 1 from dual where 1 = 'a'"); }));
    EXPECT_EQ(1722, oraCode([&] { s.exec("delete from t where n = 'x'"); }));
    // A VARCHAR2 column next to a number is converted row by row: ' 2.50 ' equals 2.5, '1e2'
    // equals 100, which text comparison would both miss.
    EXPECT_EQ("2", keys("select k from t where v = 2.5"));
    EXPECT_EQ("3", keys("select k from t where v = n and k = 3"));
    EXPECT_EQ("1,3", keys("select k from t where v >= 10 order by k"));
    EXPECT_EQ("3", keys("select k from t where substr(v, 2) = 'e2' and trim(v) = 1e2"));
    EXPECT_EQ("2", keys("select k from t where to_char(n) = 2.5"));
    EXPECT_EQ("1:ten,2:other,3:hundred",
              queryRows(s,
                        "select k || ':' || case v when 10 then 'ten' when 100 then 'hundred' "
                        "else 'other' end from t order by k",
                        ","));
    EXPECT_EQ("1", s.exec("update t set k = 4 where v = 10") == 1 ? "1" : "0");
    // ... and a row whose text is no number fails the statement when it is reached.
    s.exec("insert into t values (5, 0, 'abc')");
    EXPECT_EQ(1722, oraCode([&] { s.one("select count(*) from t where v = 10"); }));
    // Through an inline view and a view, and with an alias used for two tables.
    s.exec("create view tv as select k, n from t");
    EXPECT_EQ(1722,
              oraCode([&] { s.one("select k from (select k, n from t) x where x.n = 'a'"); }));
    EXPECT_EQ(1722, oraCode([&] { s.one("select k from tv where n = 'a'"); }));
    EXPECT_EQ("2", keys("select x.k from t x where x.k = '2' and exists (select 1 from tv x "
                        "where x.n = '2.5')"));
    s.exec("create table w (k varchar2(5))");
    EXPECT_EQ("<none>", s.one("select x.k from t x where exists (select 1 from w x where "
                              "x.k = 'a')"));
    // Text with text stays a text comparison.
    EXPECT_EQ("<none>", s.one("select k from t where v = '2.5'"));
}

TEST_F(Comparisons, ATextBindNextToANumberIsConvertedWhenTheStatementRuns) {
    s.exec("create table t (k number, n number)");
    s.exec("insert into t values (1, 42)");
    Statement* st = s.conn()->createStatement("select k from t where n = :1");
    st->setString(1, " 42 ");
    st->execute();
    ResultSet* rs = st->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ(1, rs->getInt(1));
    st->closeResultSet(rs);
    st->setString(1, "forty-two");
    EXPECT_EQ(1722, oraCode([&] {
                  st->execute();
                  ResultSet* r = st->getResultSet();
                  r->next();
              }));
    st->setInt(1, 42);
    st->execute();
    rs = st->getResultSet();
    EXPECT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    st->closeResultSet(rs);
    s.conn()->terminateStatement(st);
}

TEST_F(Comparisons, ComputedDatetimesCompareAsInstants) {
    // A DATE equals the TIMESTAMP of the same instant; zones are compared in UTC.
    EXPECT_EQ("y", s.one("select 'y' from dual where DATE '2024-01-15' = "
                         "TIMESTAMP '2024-01-15 00:00:00'"));
    EXPECT_EQ("y", s.one("select 'y' from dual where TIMESTAMP '2024-01-15 10:00:00 +05:00' < "
                         "TIMESTAMP '2024-01-15 06:00:00 +00:00'"));
    EXPECT_EQ("y", s.one("select 'y' from dual where TIMESTAMP '2024-01-15 10:00:00 +05:00' in "
                         "(TIMESTAMP '2024-01-15 05:00:00 +00:00')"));
    EXPECT_EQ("y", s.one("select 'y' from dual where TO_DATE('15-01-2024', 'DD-MM-YYYY') = "
                         "TIMESTAMP '2024-01-15 00:00:00.000'"));
    EXPECT_EQ("y", s.one("select 'y' from dual where ADD_MONTHS(DATE '2024-01-31', 1) between "
                         "TIMESTAMP '2024-02-29 00:00:00' and TIMESTAMP '2024-02-29 00:00:00'"));
    EXPECT_EQ("eq", s.one("select case when DATE '2024-01-15' + 1 = TIMESTAMP "
                          "'2024-01-16 00:00:00' then 'eq' else 'ne' end from dual"));
    EXPECT_EQ("b", s.one("select case TIMESTAMP '2024-01-15 10:00:00 +05:00' when TIMESTAMP "
                         "'2024-01-15 10:00:00 +00:00' then 'a' when TIMESTAMP "
                         "'2024-01-15 05:00:00 +00:00' then 'b' end from dual"));
    EXPECT_EQ("y", s.one("select 'y' from dual where CAST('2024-01-15 03:00:00 +05:00' AS "
                         "TIMESTAMP WITH TIME ZONE) < CAST('15-JAN-24' AS DATE)"));
    EXPECT_EQ(1722, oraCode([&] { s.one("select 1 from dual where CAST(2 AS NUMBER) = 'two'"); }));
    // Text compared with a datetime must spell one in the session's formats.
    s.exec("create table h (d date)");
    EXPECT_EQ("<none>", s.one("select 1 from h where d > '01-JUN-81'"));
    EXPECT_EQ(1861, oraCode([&] { s.one("select 1 from h where d > 'garbage'"); }));
    EXPECT_EQ(1847, oraCode([&] { s.one("select 1 from h where d in ('31-FEB-81')"); }));
    EXPECT_EQ("2024-01-15 06:00:00.000000000+00:00",
              s.one("select greatest(TIMESTAMP '2024-01-15 10:00:00 +05:00', "
                    "TIMESTAMP '2024-01-15 06:00:00 +00:00') from dual"));
    EXPECT_EQ("2024-01-15 10:00:00.000000000+05:00",
              s.one("select least(TIMESTAMP '2024-01-15 10:00:00 +05:00', "
                    "TIMESTAMP '2024-01-15 06:00:00 +00:00') from dual"));
}

TEST_F(Comparisons, DateArithmeticSortsAndAggregatesAsInstants) {
    // 44 BC comes before 1 BC, which their stored texts do not say.
    s.exec("create table e (k number, d date)");
    s.exec("insert into e values (1, DATE '2024-01-15')");
    s.exec("insert into e values (2, TO_DATE('-0044-03-15', 'SYYYY-MM-DD'))");
    s.exec("insert into e values (3, DATE '2023-06-01')");
    s.exec("insert into e values (4, TO_DATE('-0001-12-31', 'SYYYY-MM-DD'))");
    EXPECT_EQ("2,4,3,1", keys("select k from e order by d + 1"));
    EXPECT_EQ("1,3,4,2", keys("select k from e order by d - 1 desc"));
    EXPECT_EQ("2,4,3,1", keys("select k from e order by d + INTERVAL '1' DAY"));
    EXPECT_EQ("2", keys("select k from e where d + INTERVAL '1' DAY < "
                        "TO_DATE('-0001-01-01', 'SYYYY-MM-DD')"));
    EXPECT_EQ("2,4,3,1", keys("select k, d + 1 from e order by 2"));
    EXPECT_EQ("1,3,4,2", keys("select k, d - 1 as later from e order by later desc"));
    EXPECT_EQ("3,1", keys("select k from e where d + 1 > DATE '0001-01-01' order by d + 0"));
    EXPECT_EQ("2,4", keys("select k from e where d + 0 < DATE '0001-01-01' order by k"));
    EXPECT_EQ("4", keys("select k from e where d + 0 > TO_DATE('-0044-03-15', 'SYYYY-MM-DD') "
                        "and d < DATE '0001-01-01'"));
    EXPECT_EQ("2", keys("select k from e where d + 0 = (select min(d + 0) from e)"));
    EXPECT_EQ("1", keys("select k from e where d - 1 = (select max(d - 1) from e)"));
    // A changed select item keeps the name it was written with.
    Statement* st = s.conn()->createStatement("select max(d + 1) from e");
    st->execute();
    ResultSet* rs = st->getResultSet();
    EXPECT_EQ("MAX(D + 1)", rs->getColumnListMetaData()[0].getString(MetaData::ATTR_NAME));
    st->closeResultSet(rs);
    s.conn()->terminateStatement(st);
    st = s.conn()->createStatement("select min(d) from e");
    st->execute();
    rs = st->getResultSet();
    EXPECT_EQ("MIN(D)", rs->getColumnListMetaData()[0].getString(MetaData::ATTR_NAME));
    st->closeResultSet(rs);
    s.conn()->terminateStatement(st);
}

TEST_F(Comparisons, TablesWithoutTheDatetimeCollationCompareAsInstants) {
    // A table made before datetime columns got their collation: no collation on its column.
    FileDb file;
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(file.path.c_str(), &db));
    ASSERT_EQ(SQLITE_OK,
              sqlite3_exec(db,
                           "create table old (k NUMBER, tz TIMESTAMP WITH TIME ZONE(6));"
                           "insert into old values (1, '2024-01-15 10:00:00.000000+05:00');"
                           "insert into old values (2, '2024-01-15 06:00:00.000000+00:00');"
                           "insert into old values (3, '2024-01-15 06:30:00.000000-01:00');"
                           "insert into old values (4, '2024-01-15 07:00:00.000000+02:00');",
                           nullptr, nullptr, nullptr));
    sqlite3_close(db);
    Session old(file.create());
    EXPECT_EQ("1,4,2,3", queryRows(old, "select k from old order by tz, k", ",", true));
    EXPECT_EQ("3", queryRows(old,
                             "select k from old where tz > "
                             "TIMESTAMP '2024-01-15 06:00:00 +00:00'",
                             ",", true));
    EXPECT_EQ("1,4", queryRows(old,
                               "select k from old where tz = "
                               "TIMESTAMP '2024-01-15 05:00:00 +00:00' order by k",
                               ",", true));
    EXPECT_EQ("2024-01-15 06:30:00.000000-01:00", old.one("select max(tz) from old"));
    EXPECT_EQ("2|1", queryRows(old,
                               "select count(*), min(k) from old group by tz "
                               "having count(*) > 1"));
    EXPECT_EQ("2,3", queryRows(old,
                               "select b.k from old a join old b on b.tz > a.tz "
                               "where a.k = 1 order by b.k",
                               ",", true));
}

TEST_F(Comparisons, SumAndAvgOfIntervalsAreIntervals) {
    s.exec("create table w (g number, ds interval day to second, ym interval year to month)");
    s.exec(
        "insert into w values (1, INTERVAL '1 02:00:00' DAY TO SECOND, "
        "INTERVAL '1-2' YEAR TO MONTH)");
    s.exec(
        "insert into w values (1, INTERVAL '-2 00:00:00' DAY TO SECOND, "
        "INTERVAL '0-5' YEAR TO MONTH)");
    s.exec("insert into w values (2, INTERVAL '0 00:00:01.5' DAY TO SECOND, null)");
    EXPECT_EQ("-00 22:00:00.000000|-00 11:00:00.000000|+01-07|+00-09",
              queryRows(s, "select sum(ds), avg(ds), sum(ym), avg(ym) from w where g = 1"));
    EXPECT_EQ("1|-00 22:00:00.000000\n2|+00 00:00:01.500000",
              queryRows(s, "select g, sum(ds) from w group by g order by g"));
    EXPECT_EQ("+00 00:00:01.500000", s.one("select sum(ds) over (partition by g) from w "
                                           "where g = 2"));
    EXPECT_EQ("<null>", s.one("select sum(ym) from w where g = 2"));
    // Of a computed interval too.
    EXPECT_EQ("+000000000 12:00:00.000000",
              s.one("select avg(TIMESTAMP '2024-01-16 00:00:00' - TIMESTAMP '2024-01-15 "
                    "12:00:00') from w where g = 1"));
    // Intervals of both kinds, or an interval with a number, do not add up.
    EXPECT_EQ(932, oraCode([&] {
                  s.one(
                      "select sum(x) from (select ds x from w union all "
                      "select ym from w)");
              }));
    EXPECT_EQ(932, oraCode([&] {
                  s.one(
                      "select sum(x) from (select ds x from w union all "
                      "select 1 from dual)");
              }));
}

}  // namespace
}  // namespace clienttest
