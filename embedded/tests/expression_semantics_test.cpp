// Comparison and expression semantics as Oracle's SQL Language Reference documents them.
#include "client_fixture.h"

namespace clienttest {
namespace {

class Expressions : public ::testing::Test {
  protected:
    Expressions() : s(memdb()) {}
    int code(const std::string& sql) { return oraCode([&] { s.one(sql); }); }
    Session s;
};

TEST_F(Expressions, EmptyStringIsNullEverywhere) {
    EXPECT_EQ("1", s.one("select 1 from dual where '' is null"));
    EXPECT_EQ("<null>", s.one("select length('') from dual"));
    EXPECT_EQ("x", s.one("select nvl('', 'x') from dual"));
    EXPECT_EQ("<none>", s.one("select 1 from dual where '' = ''"));
    s.exec("create table t (v varchar2(5))");
    s.exec("insert into t values ('')");
    EXPECT_EQ("1", s.one("select count(*) from t where v is null"));
}

TEST_F(Expressions, LikeIsCaseSensitive) {
    EXPECT_EQ("<none>", s.one("select 1 from dual where 'SMITH' like 's%'"));
    EXPECT_EQ("1", s.one("select 1 from dual where 'SMITH' like 'S%'"));
    EXPECT_EQ("1", s.one("select 1 from dual where 'SMITH' like '_MI%'"));
}

TEST_F(Expressions, NullsSortLastAscendingAndFirstDescending) {
    s.exec("create table t (k integer, v integer)");
    s.exec("insert into t values (1, 2)");
    s.exec("insert into t values (2, null)");
    s.exec("insert into t values (3, 1)");
    auto order = [&](const std::string& sql) {
        Statement* st = s.conn()->createStatement(sql);
        st->execute();
        ResultSet* rs = st->getResultSet();
        std::string keys;
        while (rs->next()) keys += rs->getString(1);
        s.conn()->terminateStatement(st);
        return keys;
    };
    EXPECT_EQ("312", order("select k from t order by v"));
    EXPECT_EQ("213", order("select k from t order by v desc"));
    EXPECT_EQ("231", order("select k from t order by v nulls first"));
    EXPECT_EQ("132", order("select k from t order by v desc nulls last"));
    EXPECT_EQ("312", order("select k from (select k, v from t order by v) order by v asc, k"));
    EXPECT_EQ("2", s.one("select k from (select k, row_number() over (order by v desc) r from t) "
                         "where r = 1"));
}

TEST_F(Expressions, DivisionNeverTruncates) {
    EXPECT_EQ("-2.75", s.one("select to_char(11 / (-4)) from dual"));
    EXPECT_EQ(".3333333333333333333333333333333333333333", s.one("select to_char(1/3) from dual"));
    EXPECT_EQ("2", s.one("select to_char(6/3) from dual"));
    EXPECT_EQ("2.5", s.one("select to_char(5/2) from dual"));
    EXPECT_EQ(1476, code("select 1/0 from dual"));
    EXPECT_EQ(".3", s.one("select to_char(0.1 + 0.2) from dual"));
    EXPECT_EQ("1", s.one("select 1 from dual where 0.1 + 0.2 = 0.3"));
}

TEST_F(Expressions, RoundAndTruncOfNumbers) {
    // The documented examples of ROUND (number) and TRUNC (number).
    EXPECT_EQ("15.2", s.one("select to_char(round(15.193, 1)) from dual"));
    EXPECT_EQ("20", s.one("select to_char(round(15.193, -1)) from dual"));
    EXPECT_EQ("15.7", s.one("select to_char(trunc(15.79, 1)) from dual"));
    EXPECT_EQ("10", s.one("select to_char(trunc(15.79, -1)) from dual"));
    EXPECT_EQ("-2", s.one("select to_char(round(-1.5)) from dual"));
    EXPECT_EQ("2.68", s.one("select to_char(round(2.675, 2)) from dual"));
}

TEST_F(Expressions, GreatestAndLeastTakeTheFirstArgumentsType) {
    EXPECT_EQ("HARRY", s.one("select greatest('HARRY', 'HARRIOT', 'HAROLD') from dual"));
    EXPECT_EQ("HAROLD", s.one("select least('HARRY', 'HARRIOT', 'HAROLD') from dual"));
    EXPECT_EQ("3.925", s.one("select to_char(greatest(1, '3.925', '2.4')) from dual"));
    EXPECT_EQ("1", s.one("select to_char(least(1, '3.925', '2.4')) from dual"));
    EXPECT_EQ("9", s.one("select greatest('10', 9) from dual"));  // compared as text
    EXPECT_EQ(1722, code("select greatest(1, 'x') from dual"));
}

TEST_F(Expressions, ConcatenationHasThePrecedenceOfPlusAndMinus) {
    EXPECT_EQ("3x", s.one("select 1 + 2 || 'x' from dual"));
    EXPECT_EQ("x6", s.one("select 'x' || 2 * 3 from dual"));
    EXPECT_EQ("1-1", s.one("select 1 || '-' || 1 from dual"));
    EXPECT_EQ(".5", s.one("select 1/2 || '' from dual"));
    EXPECT_EQ(1722, code("select 'x' || 1 + 2 from dual"));
}

TEST_F(Expressions, TextInArithmeticIsANumberOrAnError) {
    EXPECT_EQ("13", s.one("select to_char('12' + 1) from dual"));
    EXPECT_EQ(1722, code("select 'abc' + 1 from dual"));
    EXPECT_EQ(1722, code("select '12abc' * 2 from dual"));
}

TEST_F(Expressions, UnsupportedMixesFailInsteadOfMakingUpANumber) {
    EXPECT_EQ(932, code("select -DATE '2024-01-15' from dual"));
    EXPECT_EQ("-5", s.one("select to_char(-(2 + 3)) from dual"));
    EXPECT_EQ("Hired 15-JAN-24", s.one("select 'Hired ' || DATE '2024-01-15' from dual"));
}

TEST_F(Expressions, SubstrCountsAsOracleDoes) {
    // The documented examples, and position 0 meaning 1.
    EXPECT_EQ("CDEF", s.one("select substr('ABCDEFG', 3, 4) from dual"));
    EXPECT_EQ("CDEF", s.one("select substr('ABCDEFG', -5, 4) from dual"));
    EXPECT_EQ("AB", s.one("select substr('ABCDEFG', 0, 2) from dual"));
    EXPECT_EQ("<null>", s.one("select substr('ABCDEFG', 2, -1) from dual"));
    EXPECT_EQ("<null>", s.one("select substr('ABC', 5) from dual"));
    EXPECT_EQ("\xC3\xA9t", s.one("select substr('\xC3\xA9t\xC3\xA9', 1, 2) from dual"));
    EXPECT_EQ(".5", s.one("select substr(1/2, 1) from dual"));
}

TEST_F(Expressions, ChangedExpressionsKeepTheirNames) {
    Statement* st = s.conn()->createStatement("select 1/3, 1 + 2 || 'x', sysdate - 1 from dual");
    st->execute();
    std::vector<MetaData> cols = st->getResultSet()->getColumnListMetaData();
    ASSERT_EQ(3u, cols.size());
    EXPECT_EQ("1/3", cols[0].getString(MetaData::ATTR_NAME));
    EXPECT_EQ("1 + 2 || 'x'", cols[1].getString(MetaData::ATTR_NAME));
    EXPECT_EQ("SYSDATE - 1", cols[2].getString(MetaData::ATTR_NAME));
    s.conn()->terminateStatement(st);
    st = s.conn()->createStatement("with q (n) as (select 4 from dual) select n / 8 from q");
    st->execute();
    cols = st->getResultSet()->getColumnListMetaData();
    EXPECT_EQ("N / 8", cols[0].getString(MetaData::ATTR_NAME));
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, st->getResultSet()->next());
    EXPECT_EQ("0.5", st->getResultSet()->getString(1));
    s.conn()->terminateStatement(st);
}

}  // namespace
}  // namespace clienttest
