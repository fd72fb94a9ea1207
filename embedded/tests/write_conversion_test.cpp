// Values written into a column become the column's declared type, as Oracle stores them: the
// results are those of Oracle's documentation (SQL Language Reference, Data Types).
#include "client_fixture.h"

namespace clienttest {
namespace {

class WriteConversion : public ::testing::Test {
  protected:
    WriteConversion() : s(memdb()) {}
    int code(const std::string& sql) { return oraCode([&] { s.exec(sql); }); }
    Session s;
};

TEST_F(WriteConversion, NumbersRoundToTheScaleBeforeThePrecisionCheck) {
    // The documented table of NUMBER(p,s) storage.
    s.exec("create table n (a number, b number(3), c number(6,2), d number(6,1), "
           "e number(6,-2), f number(4,5), g number(5,-2), h number(*,1))");
    s.exec("insert into n values (123.89, 123.89, 123.89, 123.89, 123.89, .01234, 1234567, "
           "12345.58)");
    EXPECT_EQ("123.89", s.one("select to_char(a) from n"));
    EXPECT_EQ("124", s.one("select to_char(b) from n"));
    EXPECT_EQ("123.89", s.one("select to_char(c) from n"));
    EXPECT_EQ("123.9", s.one("select to_char(d) from n"));
    EXPECT_EQ("100", s.one("select to_char(e) from n"));
    EXPECT_EQ(".01234", s.one("select to_char(f) from n"));
    EXPECT_EQ("1234600", s.one("select to_char(g) from n"));
    EXPECT_EQ("12345.6", s.one("select to_char(h) from n"));
    EXPECT_EQ(1438, code("insert into n (c) values (12345.12345)"));
    EXPECT_EQ(1438, code("insert into n (g) values (12345678)"));
    EXPECT_EQ(1438, code("insert into n (f) values (0.1)"));
    s.exec("insert into n (f, a) values (0.000127, 2)");
    EXPECT_EQ(".00013", s.one("select to_char(f) from n where a = 2"));
    EXPECT_EQ(1722, code("insert into n (b) values ('abc')"));
    s.exec("insert into n (b, a) values (' 12.5 ', 3)");
    EXPECT_EQ("13", s.one("select to_char(b) from n where a = 3"));
    s.exec("insert into n (c, a) values (-2.675, 4)");  // decimal, half away from zero
    EXPECT_EQ("-2.68", s.one("select to_char(c) from n where a = 4"));
}

TEST_F(WriteConversion, StoredValueIsTheRoundedOne) {
    s.exec("create table n (a number(5,2), b number(10))");
    s.exec("insert into n values (123.456, 2.5)");
    EXPECT_EQ("123.46", s.one("select a from n where a = 123.46"));
    EXPECT_EQ("123460", s.one("select to_char(a * 1000) from n"));
    EXPECT_EQ("3", s.one("select b from n"));
    s.exec("update n set a = a / 7, b = -2.5");
    EXPECT_EQ("17.64", s.one("select a from n"));
    EXPECT_EQ("-3", s.one("select b from n"));
}

TEST_F(WriteConversion, DatesFromTextByTheDefaultFormatsOrRefused) {
    s.exec("create table d (k integer, d date)");
    s.exec("insert into d values (1, '15-JAN-24')");
    s.exec("insert into d values (2, '2024-01-15')");
    s.exec("insert into d values (3, '2024-01-15 10:20:30')");
    s.exec("insert into d values (4, '15-jan-1981')");
    s.exec("insert into d values (5, DATE '1981-06-01')");
    const char* q = "select to_char(d, 'YYYY-MM-DD HH24:MI:SS') from d where k = ";
    EXPECT_EQ("2024-01-15 00:00:00", s.one(std::string(q) + "1"));
    EXPECT_EQ("2024-01-15 00:00:00", s.one(std::string(q) + "2"));
    EXPECT_EQ("2024-01-15 10:20:30", s.one(std::string(q) + "3"));
    EXPECT_EQ("1981-01-15 00:00:00", s.one(std::string(q) + "4"));
    EXPECT_EQ(1861, code("insert into d values (9, 'garbage')"));
    EXPECT_EQ(1843, code("insert into d values (9, '15-XYZ-24')"));
    EXPECT_EQ(1847, code("insert into d values (9, '30-FEB-24')"));
    EXPECT_EQ(1843, code("insert into d values (9, '2024-13-01')"));
    EXPECT_EQ(932, code("insert into d values (9, 20240115)"));
    EXPECT_EQ(1861, code("update d set d = 'garbage'"));
    EXPECT_EQ("<none>", s.one("select k from d where k = 9"));
    // Stored as values, dates compare as points in time.
    EXPECT_EQ("3", s.one("select count(*) from d where d > DATE '1981-06-01'"));
}

TEST_F(WriteConversion, TimestampsRoundTheFractionAndKeepOrMoveTheZone) {
    s.exec("create table t (k integer, a timestamp, b timestamp(2), c timestamp with time zone)");
    s.exec("insert into t values (1, '15-JAN-24 02.30.05.123456789 PM', '2024-01-15 10:00:01.235',"
           " '2024-01-15 10:00:00 +05:30')");
    EXPECT_EQ("2024-01-15 14:30:05.123457",
              s.one("select to_char(a, 'YYYY-MM-DD HH24:MI:SS.FF') from t"));
    EXPECT_EQ("2024-01-15 10:00:01.24", s.one("select to_char(b, 'YYYY-MM-DD HH24:MI:SS.FF2') from t"));
    EXPECT_EQ("2024-01-15 10:00:00 +05:30",
              s.one("select to_char(c, 'YYYY-MM-DD HH24:MI:SS TZH:TZM') from t"));
    // A zoned value in a column without a zone is moved to the session's zone (UTC).
    s.exec("insert into t (k, a) values (2, '2024-01-15 10:00:00 +05:30')");
    EXPECT_EQ("2024-01-15 04:30:00", s.one("select to_char(a, 'YYYY-MM-DD HH24:MI:SS') from t where k = 2"));
    s.exec("insert into t (k, b) values (3, '2024-12-31 23:59:59.999')");  // carries over
    EXPECT_EQ("2025-01-01 00:00:00.00",
              s.one("select to_char(b, 'YYYY-MM-DD HH24:MI:SS.FF2') from t where k = 3"));
    EXPECT_EQ(932, code("insert into t (a) values (1.5)"));
    EXPECT_EQ(1861, code("insert into t (a) values ('soon')"));
}

TEST_F(WriteConversion, RawAndBlobTextIsHexadecimal) {
    s.exec("create table r (k integer, a raw(8), b blob)");
    s.exec("insert into r values (1, '0102', 'DEADBEEF')");
    s.exec("insert into r values (2, 'abc', x'00FF')");
    EXPECT_EQ("0102", s.one("select a from r where k = 1"));
    EXPECT_EQ("DEADBEEF", s.one("select rawtohex(b) from r where k = 1"));
    EXPECT_EQ("4", s.one("select length(b) from r where k = 1"));
    EXPECT_EQ("0ABC", s.one("select a from r where k = 2"));
    EXPECT_EQ(1465, code("insert into r (a) values ('XYZ')"));
    EXPECT_EQ(932, code("insert into r (a) values (12)"));
}

TEST_F(WriteConversion, CharIsBlankPaddedAndComparesPadded) {
    s.exec("create table c (k integer, a char(5), b nchar(3), v varchar2(5))");
    s.exec("insert into c values (1, 'ab', 'x', 'ab')");
    EXPECT_EQ("5", s.one("select length(a) from c"));
    EXPECT_EQ("[ab   ]", s.one("select '[' || a || ']' from c"));
    EXPECT_EQ("3", s.one("select length(b) from c"));
    EXPECT_EQ("1", s.one("select k from c where a = 'ab'"));
    EXPECT_EQ("1", s.one("select k from c where a = 'ab   '"));
    EXPECT_EQ(12899, code("insert into c (a) values ('abcdef')"));
}

TEST_F(WriteConversion, EveryWritePathConverts) {
    s.exec("create table w (a number(5,1), d date, r raw(4))");
    s.exec("create table src (a number, d varchar2(20), r varchar2(8))");
    s.exec("insert into src values (1.25, '15-JAN-24', '0A0B')");
    // INSERT ... SELECT
    s.exec("insert into w select a, d, r from src");
    s.exec("insert into w (r, d, a) select r, d, a from src");
    EXPECT_EQ("2", s.one("select count(*) from w where a = 1.3 and d = DATE '2024-01-15' "
                         "and r = hextoraw('0A0B')"));
    // Binds, single and iterated
    Statement* st = s.conn()->createStatement("insert into w values (:1, :2, :3)");
    st->setString(1, "2.25");
    st->setString(2, "01-FEB-24");
    st->setString(3, "FF");
    st->execute();
    st->setMaxIterations(2);
    st->setMaxParamSize(1, 10);
    st->setMaxParamSize(2, 20);
    st->setMaxParamSize(3, 10);
    st->setString(1, "3.35");
    st->setString(2, "2024-03-01");
    st->setString(3, "01");
    st->addIteration();
    st->setString(1, "4.45");
    st->setString(2, "not a date");
    st->setString(3, "02");
    EXPECT_EQ(1861, oraCode([&] { st->execute(); }));
    s.conn()->terminateStatement(st);
    EXPECT_EQ("2.3", s.one("select to_char(a) from w where r = hextoraw('FF')"));
    EXPECT_EQ("3.4", s.one("select to_char(a) from w where d = DATE '2024-03-01'"));
    EXPECT_EQ("4", s.one("select count(*) from w"));
    // UPDATE with an alias and a qualified column
    s.exec("update w x set x.a = 9.99, d = '02-FEB-24' where a = 2.3");
    EXPECT_EQ("10", s.one("select to_char(a) from w where d = DATE '2024-02-02'"));
}

TEST_F(WriteConversion, BinaryDoublesAcceptInfinityTexts) {
    s.exec("create table b (k integer, x binary_double)");
    s.exec("insert into b values (1, 'Inf')");
    s.exec("insert into b values (2, '-INF')");
    s.exec("insert into b values (3, '2.5')");
    EXPECT_EQ("1", s.one("select count(*) from b where x > 1e308"));
    EXPECT_EQ("1", s.one("select count(*) from b where x < -1e308"));
    EXPECT_EQ(1722, code("insert into b values (4, 'abc')"));
    // Text is read over the whole BINARY_DOUBLE range, beyond NUMBER's 1E126, on a literal and
    // on a bound value alike.
    s.exec("insert into b values (5, '1.5E+300')");
    EXPECT_EQ("1.5E+300", s.one("select to_char(x) from b where k = 5"));
    Statement* st = s.conn()->createStatement("insert into b values (6, :1)");
    st->setString(1, "-2E-300");
    st->executeUpdate();
    s.conn()->terminateStatement(st);
    EXPECT_EQ("1", s.one("select count(*) from b where k = 6 and x < 0"));
    EXPECT_EQ("1E+300", s.one("select to_char(to_binary_double('1E+300')) from dual"));
    EXPECT_EQ(1722, code("select to_binary_double('0x10') from dual"));
}

}  // namespace
}  // namespace clienttest
