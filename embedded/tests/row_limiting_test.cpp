// Row limiting: ROWNUM in its classic forms, OFFSET and FETCH FIRST|NEXT with PERCENT and
// WITH TIES, as Oracle's SQL Language Reference documents them.
#include "query_rows.h"

namespace clienttest {
namespace {

class RowLimiting : public ::testing::Test {
protected:
    RowLimiting() : s(memdb()) {
        s.exec("create table emp (id integer, name varchar2(10), sal number)");
        // Salaries with ties: 500, 400, 400, 300, 300, 300, 200, 100, 100, 50
        const int sal[] = {100, 400, 300, 500, 300, 50, 200, 400, 100, 300};
        for (int i = 0; i < 10; ++i)
            s.exec("insert into emp values (" + std::to_string(i + 1) + ", 'e" +
                   std::to_string(i + 1) + "', " + std::to_string(sal[i]) + ")");
    }
    // The rows' first columns joined with ','.
    std::string ids(const std::string& sql) { return queryRows(s, sql, ",", true); }
    Session s;
};

TEST_F(RowLimiting, RownumLimitsAndNumbers) {
    EXPECT_EQ("1,2,3", ids("select id from emp where rownum <= 3"));
    EXPECT_EQ("1,2", ids("select id from emp where rownum < 3"));
    EXPECT_EQ("1", ids("select id from emp where rownum = 1"));
    EXPECT_EQ("2,3", ids("select id from emp where sal > 200 and rownum <= 2"));
    EXPECT_EQ("2,3", ids("select id from emp where 2 >= rownum and sal > 200"));
    EXPECT_EQ("", ids("select id from emp where rownum > 1"));
    EXPECT_EQ("", ids("select id from emp where rownum = 2"));
    EXPECT_EQ("1,2,3,4,5,6,7,8,9,10", ids("select id from emp where rownum > 0"));
    EXPECT_EQ("3,4,5", ids("select id from emp where id between 3 and 6 and rownum <= 3"));
    // ROWNUM in the select list numbers the rows in the order the WHERE clause passes them.
    EXPECT_EQ("1,2,3", ids("select rownum from emp where sal >= 300 and rownum < 4"));
    EXPECT_EQ("1:2,2:3,3:4", ids("select rownum || ':' || id from emp where sal >= 300 and "
                                 "rownum < 4"));
    // ROWNUM is given before grouping and sorting.
    EXPECT_EQ("3", ids("select count(*) from emp where rownum <= 3"));
    EXPECT_EQ("1,3,2", ids("select id from emp where rownum <= 3 order by sal"));
    EXPECT_EQ("3,2", ids("select e.id from emp e where e.sal > 100 and rownum <= 2 "
                         "order by e.sal, e.id"));
    EXPECT_EQ("3", ids("select count(*) from (select id from emp) where rownum <= 3"));
    // The top-n query: ORDER BY in an inline view, ROWNUM outside.
    EXPECT_EQ("4,2,8", ids("select id from (select id from emp order by sal desc, id) "
                           "where rownum <= 3"));
    // Pagination with ROWNUM twice.
    EXPECT_EQ("8,3,5", ids("select id from (select a.*, rownum rnum from "
                           "(select id from emp order by sal desc, id) a where rownum <= 5) "
                           "where rnum > 2"));
}

TEST_F(RowLimiting, RownumColumnNameAndBinds) {
    Statement* st = s.conn()->createStatement("select rownum, id from emp where rownum <= :n");
    st->setInt(1, 2);
    st->execute();
    ResultSet* rs = st->getResultSet();
    EXPECT_EQ("ROWNUM", rs->getColumnListMetaData()[0].getString(MetaData::ATTR_NAME));
    int rows = 0;
    while (rs->next() == ResultSet::DATA_AVAILABLE) ++rows;
    EXPECT_EQ(2, rows);
    s.conn()->terminateStatement(st);
}

TEST_F(RowLimiting, OffsetAndFetch) {
    EXPECT_EQ("4,2,8", ids("select id from emp order by sal desc, id fetch first 3 rows only"));
    EXPECT_EQ("4", ids("select id from emp order by sal desc, id fetch first row only"));
    EXPECT_EQ("3,5,10", ids("select id from emp order by sal desc, id "
                            "offset 3 rows fetch next 3 rows only"));
    EXPECT_EQ("8,4", ids("select id from emp order by sal, id offset 8 rows"));
    EXPECT_EQ("", ids("select id from emp order by id offset 20 rows fetch next 2 rows only"));
    // 25 percent of 10 rows is 2.5: Oracle returns 3.
    EXPECT_EQ("4,2,8", ids("select id from emp order by sal desc, id "
                           "fetch first 25 percent rows only"));
    // WITH TIES: the rows that tie with the last one come too.
    EXPECT_EQ("3", ids("select count(*) from (select id from emp order by sal desc "
                       "fetch first 2 rows with ties)"));
    EXPECT_EQ("6", ids("select count(*) from (select id from emp order by sal desc "
                       "fetch first 4 rows with ties)"));
    EXPECT_EQ("6", ids("select count(*) from (select id from emp order by sal desc "
                       "fetch first 40 percent rows with ties)"));
    EXPECT_EQ("2", ids("select count(*) from (select id from emp order by sal desc "
                       "offset 1 rows fetch next 2 rows with ties)"));
    EXPECT_EQ("4", ids("select count(*) from (select id from emp order by sal desc "
                       "offset 2 rows fetch next 2 rows with ties)"));
    EXPECT_EQ("2", ids("select count(*) from (select id from emp fetch first 2 rows only)"));
}

}  // namespace
}  // namespace clienttest
