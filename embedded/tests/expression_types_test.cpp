// Describe reports the type of every expression column before any row is fetched, so an empty
// result describes as a full one: operators and functions by their documented result types,
// CAST by its target, CASE, NVL, COALESCE and DECODE by their first result.
#include <map>
#include <vector>

#include "client_fixture.h"

namespace clienttest {
namespace {

class ExpressionTypes : public ::testing::Test {
  protected:
    ExpressionTypes() : s(memdb()) {
        s.exec("create table t (d date, ts timestamp, tz timestamp with time zone, "
               "n number(5,2), v varchar2(20))");
    }
    // The data types describe reports for a query's columns, without fetching.
    std::vector<int> types(const std::string& sql) {
        Statement* st = s.conn()->createStatement(sql);
        std::vector<int> out;
        try {
            st->execute();
            for (const MetaData& m : st->getResultSet()->getColumnListMetaData())
                out.push_back(m.getInt(MetaData::ATTR_DATA_TYPE));
        } catch (...) {
            s.conn()->terminateStatement(st);
            throw;
        }
        s.conn()->terminateStatement(st);
        return out;
    }
    Session s;
};

constexpr int kNumber = 2, kVarchar = 1, kDate = 12, kTimestamp = 187, kTimestampTz = 188;

TEST_F(ExpressionTypes, OperatorsOnAnEmptyResult) {
    EXPECT_EQ((std::vector<int>{kNumber, kNumber, kNumber, kVarchar, kVarchar, kDate, kDate,
                                kNumber, kDate}),
              types("select n + 1, n * 2, -n, v || 'x', 1 + 2 || 'x', d + 1, d - 1.5, d - d, "
                    "ts + 1 from t where 1 = 0"));
    EXPECT_EQ((std::vector<int>{kDate, kTimestamp, kDate, kTimestampTz}),
              types("select DATE '2024-01-01', TIMESTAMP '2024-01-01 10:00:00', sysdate, "
                    "systimestamp from t where 1 = 0"));
    // Through aliases, table aliases, subqueries and compound queries.
    EXPECT_EQ((std::vector<int>{kDate, kNumber}),
              types("select x.d + 1 as due, x.n * 2 twice from t x where 1 = 0"));
    EXPECT_EQ((std::vector<int>{kDate}),
              types("with q as (select d from t) select q.d + 30 from q where 1 = 0"));
    // A scalar subquery's own columns do not hide the others' types.
    s.exec("create table u (k number, x date)");
    EXPECT_EQ(kDate, types("select (select max(x) from u where u.k = t.n), d + 1 from t "
                           "where 1 = 0")[1]);
    EXPECT_EQ((std::vector<int>{kDate}),
              types("select d + 1 from t where 1 = 0 union all select d from t where 1 = 0 "
                    "order by 1"));
}

TEST_F(ExpressionTypes, FunctionsCastAndConditionals) {
    EXPECT_EQ((std::vector<int>{kTimestamp, kVarchar, kNumber, kTimestampTz, 232}),
              types("select cast(d as timestamp), cast(n as varchar2(10)), "
                    "cast(v as number(3)), cast(d as timestamp with time zone), "
                    "cast(d as timestamp with local time zone) from t where 1 = 0"));
    EXPECT_EQ((std::vector<int>{kDate, kNumber, kNumber, kDate, kNumber, kVarchar, kVarchar,
                                kDate, kNumber, kDate, kNumber}),
              types("select max(d), min(n), count(*), trunc(d), round(n, 1), to_char(d), "
                    "substr(v, 1, 2), add_months(d, 1), months_between(d, d), to_date(v), "
                    "length(v) from t where 1 = 0 group by d, n, v"));
    EXPECT_EQ((std::vector<int>{kDate, kNumber, kDate, kTimestamp, kDate, kNumber}),
              types("select case when n > 0 then d end, nvl(n, 0), coalesce(d, sysdate), "
                    "nvl2(v, ts, ts), greatest(d, d), decode(v, 'a', n, 0) from t where 1 = 0"));
}

TEST_F(ExpressionTypes, TheDescribedTypeMatchesTheValues) {
    s.exec("insert into t values (DATE '2024-01-15', null, null, 1.5, 'abc')");
    Statement* st = s.conn()->createStatement("select d + 1, n * 2, v || '!' from t");
    st->execute();
    ResultSet* rs = st->getResultSet();
    const std::vector<MetaData> cols = rs->getColumnListMetaData();
    EXPECT_EQ(kDate, cols[0].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(kNumber, cols[1].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(kVarchar, cols[2].getInt(MetaData::ATTR_DATA_TYPE));
    EXPECT_EQ(4, cols[2].getInt(MetaData::ATTR_DATA_SIZE));
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_EQ("16-JAN-24", rs->getDate(1).toText(""));
    EXPECT_EQ("3", rs->getString(2));
    s.conn()->terminateStatement(st);
}

}  // namespace
}  // namespace clienttest
