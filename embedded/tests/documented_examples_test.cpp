// Forms of the SQL Language Reference's examples that SQLite lacks: TRIM with its keywords, the
// byte-counting character functions, quantified comparisons (ANY, SOME, ALL) and the
// statistical aggregates. Expected values are the documented results, or follow from the
// documented rules for the small tables made here.
#include "client_fixture.h"
#include "query_rows.h"

namespace clienttest {
namespace {

class DocumentedExamples : public ::testing::Test {
  protected:
    DocumentedExamples() : s(memdb()) {
        s.exec(
            "create table emp (id number(6), dept number(4), sal number(8,2), comm number(2,2))");
        s.exec("insert into emp values (1, 10, 3100, null)");
        s.exec("insert into emp values (2, 10, 4200, .1)");
        s.exec("insert into emp values (3, 20, 6000, null)");
        s.exec("insert into emp values (4, 20, 9000, .2)");
        s.exec("insert into emp values (5, 30, 17000, null)");
        s.exec("insert into emp values (6, null, 24000, null)");
    }
    std::string q(const std::string& expression) {
        return s.one("select " + expression + " from dual");
    }
    std::string ids(const std::string& where) {
        return queryRows(s, "select id from emp where " + where + " order by id", ",");
    }
    int err(const std::string& sql) {
        return oraCode([&] { s.one(sql); });
    }
    Session s;
};

TEST_F(DocumentedExamples, TrimTakesLeadingTrailingBothAndFrom) {
    EXPECT_EQ("98723489", q("trim(0 from 0009872348900)"));
    EXPECT_EQ("hixx", q("trim(leading 'x' from 'xxhixx')"));
    EXPECT_EQ("xxhi", q("trim(trailing 'x' from 'xxhixx')"));
    EXPECT_EQ("hi", q("trim(both 'x' from 'xxhixx')"));
    EXPECT_EQ("a b", q("trim(both from '  a b  ')"));
    EXPECT_EQ("a b  ", q("trim(leading from '  a b  ')"));
    EXPECT_EQ("a", q("trim('  a  ')"));
    EXPECT_EQ("äb", q("trim('ö' from 'öäbö')"));
    EXPECT_EQ("Smith", q("trim(upper(' ') from ' Smith ')"));
    EXPECT_EQ("<null>", q("trim(null from 'x')"));
    EXPECT_EQ("<null>", q("trim('x' from 'xxx')"));
    EXPECT_EQ("<null>", q("trim(both 'x' from null)"));
    EXPECT_EQ(30001, err("select trim('xy' from 'xxhixx') from dual"));
}

TEST_F(DocumentedExamples, ByteAndCodeFunctions) {
    EXPECT_EQ("81", q("ascii('Q')"));
    EXPECT_EQ("50084", q("ascii('ä')"));
    EXPECT_EQ("<null>", q("ascii('')"));
    EXPECT_EQ("7", q("lengthb('CANDIDE')"));
    EXPECT_EQ("3", q("lengthb('äb')"));
    EXPECT_EQ("2", q("lengthb(12)"));
    EXPECT_EQ("EFG", q("substrb('ABCDEFG', 5, 4.2)"));
    EXPECT_EQ("CD", q("substrb('ABCDEFG', -5, 2)"));
    EXPECT_EQ("a ", q("substrb('aäb', 1, 2)"));  // half a character becomes a blank
    EXPECT_EQ(" b", q("substrb('aäb', 3, 2)"));
    EXPECT_EQ("<null>", q("substrb('abc', 2, 0)"));
    EXPECT_EQ("»", q("nchr(187)"));
    EXPECT_EQ("CAT", q("chr(67) || chr(65) || chr(84)"));
}

TEST_F(DocumentedExamples, ReplaceTreatsNullAsOracleDoes) {
    EXPECT_EQ("BLACK and BLUE", q("replace('JACK and JUE', 'J', 'BL')"));
    EXPECT_EQ("ac", q("replace('abc', 'b')"));
    EXPECT_EQ("ac", q("replace('abc', 'b', null)"));
    EXPECT_EQ("abc", q("replace('abc', null, 'x')"));
    EXPECT_EQ("<null>", q("replace(null, 'a', 'b')"));
    EXPECT_EQ("<null>", q("replace('ab', 'ab')"));
    EXPECT_EQ("ba", q("replace('aaa', 'aa', 'b')"));
    EXPECT_EQ("0,5", q("replace(0.5 * 1, '.', '0,')"));
}

TEST_F(DocumentedExamples, AnySomeAllOverLists) {
    EXPECT_EQ("5,6", ids("sal > all (2000, 3000, 15000)"));
    EXPECT_EQ("5,6", ids("sal >= some (20000, 17000)"));
    EXPECT_EQ("1,2,3", ids("sal < any (6001, 100)"));
    EXPECT_EQ("1,3", ids("sal = any (3100, 6000)"));
    EXPECT_EQ("2,4,5,6", ids("sal != all (3100, 6000)"));
    EXPECT_EQ("1,2", ids("sal / 2 <= all (2100, 3000)"));  // the operand keeps Oracle's division
    // A NULL in the list: ALL is never true, ANY still is where another element matches.
    EXPECT_EQ("", ids("sal > all (1000, null)"));
    EXPECT_EQ("2,3,4,5,6", ids("sal > any (4000, null)"));
    EXPECT_EQ("y", q("case when 5 > any (1, 9) then 'y' else 'n' end"));
}

TEST_F(DocumentedExamples, FloatingPointConditions) {
    EXPECT_EQ("", ids("sal is nan"));
    EXPECT_EQ("1,2,3,4,5,6", ids("sal is not nan"));
    EXPECT_EQ("1,2,3,4,5,6", ids("not (sal / 2 is nan)"));
    EXPECT_EQ("2,4", ids("comm is not nan"));  // NULL stays unknown
    EXPECT_EQ("", ids("not (comm is nan) and comm is null"));
    EXPECT_EQ("1,2,3,4,5,6", ids("sal * 2 is not infinite"));
    EXPECT_EQ("1", s.one("select count(*) from dual where to_binary_double('Inf') is infinite"));
}

TEST_F(DocumentedExamples, AnySomeAllOverSubqueries) {
    EXPECT_EQ("3,4", ids("sal = any (select sal from emp where dept = 20)"));
    EXPECT_EQ("1,2", ids("sal < all (select sal from emp where dept = 20)"));
    EXPECT_EQ("4,5,6", ids("sal * 2 > any (select sal from emp where dept = 30)"));
    EXPECT_EQ("1,2,5,6", ids("sal <> all (select sal from emp where dept = 20)"));
    // Over no rows ALL is true and ANY false.
    EXPECT_EQ("1,2,3,4,5,6", ids("sal > all (select sal from emp where 1 = 0)"));
    EXPECT_EQ("", ids("sal > any (select sal from emp where 1 = 0)"));
    // A NULL row makes ALL unknown, so NOT of it is unknown too; NOT ANY is false where a row
    // matches.
    EXPECT_EQ("", ids("not (sal > all (select comm from emp))"));
    EXPECT_EQ("", ids("not (sal > any (select comm from emp))"));
    EXPECT_EQ("1,2", ids("not (sal > any (select sal from emp where sal > 3100 or sal is null))"));
    // Correlated: the highest salary of each department (no rows for a NULL department).
    EXPECT_EQ("2,4,5,6", ids("sal >= all (select sal from emp x where x.dept = emp.dept)"));
    EXPECT_EQ("1", s.one("select count(*) from dual where 3 > all (select 1 from dual union all "
                         "select 2 from dual)"));
}

TEST_F(DocumentedExamples, StatisticalAggregates) {
    EXPECT_EQ("8263.59486", s.one("select to_char(stddev(sal), 'FM99999.99999') from emp"));
    EXPECT_EQ("7543.59552", s.one("select to_char(stddev_pop(sal), 'FM99999.99999') from emp"));
    EXPECT_EQ("68287000", s.one("select variance(sal) from emp"));
    EXPECT_EQ("56905833.33", s.one("select to_char(var_pop(sal), 'FM99999999.99') from emp"));
    EXPECT_EQ("7500", s.one("select median(sal) from emp"));
    EXPECT_EQ("13000", s.one("select median(sal) from emp where id > 2"));
    // One row: VARIANCE and STDDEV give 0, the _SAMP forms NULL; no rows: NULL.
    EXPECT_EQ("0|0|-|-", queryRows(s,
                                   "select variance(sal), stddev(sal), var_samp(sal), "
                                   "stddev_samp(sal) from emp where id = 1"));
    EXPECT_EQ("-|-|-", queryRows(s,
                                 "select variance(sal), stddev(sal), median(sal) from emp "
                                 "where 1 = 0"));
    // Pairs count only where both values are there.
    EXPECT_EQ("1200", s.one("select covar_pop(sal, comm) * 10 from emp"));
    EXPECT_EQ("1", s.one("select corr(sal, sal * 2) from emp"));
    EXPECT_EQ("-", queryRows(s, "select corr(sal, 5) from emp"));
    EXPECT_EQ(1722, err("select stddev('a') from dual"));
    // As analytic functions.
    EXPECT_EQ("10|3650|-,10|3650|-,20|7500|-,20|7500|-",
              queryRows(s,
                        "select dept, median(sal) over (partition by dept), "
                        "var_samp(sal) over (partition by dept order by id rows between "
                        "current row and current row) from emp where dept in (10, 20) "
                        "order by dept, id",
                        ","));
    EXPECT_EQ("0.00000,777.81746",
              queryRows(s,
                        "select to_char(stddev(sal) over (order by id), 'FM99990.00000') "
                        "from emp where id <= 2 order by id",
                        ","));
}

// A query in parentheses stands as a statement and as a member of a compound query; the
// parentheses group the set operators, which otherwise apply from left to right.
TEST_F(DocumentedExamples, ParenthesizedQueries) {
    EXPECT_EQ("10,20,30", queryRows(s, "(select dept from emp where dept < 30) union "
                                       "(select dept from emp where dept = 30) order by 1", ","));
    EXPECT_EQ("10,30", queryRows(s, "select dept from emp where dept = 10 union "
                                    "(select dept from emp where dept is not null minus "
                                    "select dept from emp where dept < 30) order by 1", ","));
    EXPECT_EQ("10", queryRows(s, "select dept from emp where dept = 10 union "
                                 "select dept from emp where dept is not null minus "
                                 "select dept from emp where dept > 10 order by 1", ","));
    EXPECT_EQ("6", queryRows(s, "(select max(id) from emp)", ","));
    EXPECT_EQ("1,2,6", ids("id in ((select 1 from dual) union all (select 2 from dual) "
                           "union (select max(id) from emp))"));
    // In FROM, IN and EXISTS a parenthesized query stays a subquery.
    EXPECT_EQ("4,30", queryRows(s, "select * from (select max(id) from emp where dept = 20) "
                                   "union select 30 from dual order by 1", ","));
}

// DBMS_LOB's functions in SQL count characters in a CLOB and bytes in a BLOB; an argument out of
// the package's range gives NULL, a pattern not found 0.
TEST_F(DocumentedExamples, DbmsLobFunctionsInSql) {
    s.exec("create table docs (id number, body clob, raw_data blob)");
    s.exec("insert into docs values (1, to_clob('h\xC3\xA9llo w\xC3\xB6rld'), "
           "hextoraw('00A1B2C3'))");
    s.exec("insert into docs values (2, empty_clob(), null)");
    EXPECT_EQ("1|11|4;2|0|-", queryRows(s, "select id, dbms_lob.getlength(body), "
                                           "dbms_lob.getlength(raw_data) from docs order by id",
                                        ";"));
    EXPECT_EQ("w\xC3\xB6rld|A1B2|h\xC3\xA9llo w\xC3\xB6rld",
              s.one("select dbms_lob.substr(body, 5, 7) || '|' || rawtohex(dbms_lob.substr("
                    "raw_data, 2, 2)) || '|' || dbms_lob.substr(body) from docs where id = 1"));
    EXPECT_EQ("-", q("nvl(dbms_lob.substr(to_clob('abc'), 0, 1), '-')"));
    EXPECT_EQ("-", q("nvl(dbms_lob.substr(to_clob('abc'), 2, 4), '-')"));
    EXPECT_EQ("-", q("nvl(dbms_lob.substr(to_clob('abc'), 32768), '-')"));
    EXPECT_EQ("9", s.one("select dbms_lob.instr(body, 'r') from docs where id = 1"));
    EXPECT_EQ("5", q("dbms_lob.instr(to_clob('abcdcd'), 'cd', 1, 2)"));
    EXPECT_EQ("5", q("dbms_lob.instr(to_clob('abcdcd'), 'cd', 4)"));
    EXPECT_EQ("0", q("dbms_lob.instr(to_clob('abcdcd'), 'cd', 1, 3)"));
    EXPECT_EQ("-", q("nvl(to_char(dbms_lob.instr(to_clob('abc'), 'b', 0)), '-')"));
    EXPECT_EQ("0", q("dbms_lob.compare(to_clob('abc'), to_clob('abc'))"));
    EXPECT_EQ("0", q("dbms_lob.compare(to_clob('xabc'), to_clob('abcd'), 3, 2, 1)"));
    EXPECT_NE("0", q("dbms_lob.compare(to_clob('abc'), to_clob('abcd'))"));
    EXPECT_NE("0", q("dbms_lob.compare(to_clob('abd'), to_clob('abc'))"));
    EXPECT_EQ("-", q("nvl(to_char(dbms_lob.compare(to_clob('a'), to_clob('a'), 0)), '-')"));
}

TEST_F(DocumentedExamples, JoinWordsAsTableAliases) {
    // The correlated subquery of the SELECT examples names its outer table "outer".
    EXPECT_EQ("2,4", queryRows(s,
                               "select id from emp outer where sal > (select avg(sal) from emp "
                               "where dept = outer.dept) order by id",
                               ","));
    EXPECT_EQ("36", s.one("select count(*) from emp left cross join emp right"));
    EXPECT_EQ("6",
              s.one("select count(*) from emp inner, emp natural where inner.id = natural.id"));
    EXPECT_EQ("6", s.one("select count(*) from emp e left outer join emp x on e.id = x.id"));
    EXPECT_EQ("6", s.one("select count(*) from emp e natural left join emp x"));
    EXPECT_EQ("6", s.one("select count(*) from emp outer, emp full where outer.id = full.id(+)"));
}

TEST_F(DocumentedExamples, AlterTableAddsSeveralColumns) {
    s.exec(
        "alter table emp add (duty_pct number(2,2) check (duty_pct < .5), visa varchar2(3), "
        "since date default date '2024-01-01')");
    EXPECT_EQ("DUTY_PCT NUMBER,VISA VARCHAR2,SINCE DATE",
              queryRows(s,
                        "select column_name || ' ' || data_type from user_tab_columns where "
                        "table_name = 'EMP' and column_id > 4 order by column_id",
                        ","));
    s.exec("update emp set duty_pct = .456, visa = 'Yes' where id = 1");
    EXPECT_EQ("46|Yes|2024", queryRows(s,
                                       "select duty_pct * 100, visa, to_char(since, 'YYYY') "
                                       "from emp where id = 1"));
    EXPECT_EQ(2290, oraCode([&] { s.exec("update emp set duty_pct = .6"); }));
    EXPECT_EQ(12899, oraCode([&] { s.exec("update emp set visa = 'long'"); }));
    EXPECT_EQ(1861, oraCode([&] { s.exec("update emp set since = 'garbage'"); }));
}

TEST_F(DocumentedExamples, AnsiDecimalColumnsAreNumbers) {
    s.exec("create table dec (w decimal(10,2), n numeric(5,1), d dec, d5 decimal(5))");
    s.exec("insert into dec values (4.125, 3.14159, 2.5, 12345.6)");
    EXPECT_EQ("4.13|3.1|3|12346", queryRows(s, "select * from dec"));
    EXPECT_EQ(1438, oraCode([&] { s.exec("insert into dec (d5) values (123456)"); }));
    s.exec("alter table dec add (e decimal(3,1))");
    s.exec("update dec set e = 1.25");
    EXPECT_EQ("1.3", s.one("select e from dec"));
    EXPECT_EQ("W NUMBER 10 2,N NUMBER 5 1,D NUMBER 38 0,D5 NUMBER 5 0,E NUMBER 3 1",
              queryRows(s,
                        "select column_name || ' ' || data_type || ' ' || data_precision || ' ' "
                        "|| data_scale from user_tab_columns where table_name = 'DEC' order by "
                        "column_id",
                        ","));
}

TEST_F(DocumentedExamples, RollupCubeAndGroupingSets) {
    // ROLLUP(a, b): (a, b), (a), (); the subtotal rows hold NULL for what they sum over.
    EXPECT_EQ("10|0|3100,10|1|4200,10|-|7300,20|0|6000,20|1|9000,20|-|15000,-|-|22300",
              queryRows(s,
                        "select dept, nvl2(comm, 1, 0) c, sum(sal) from emp where dept in "
                        "(10, 20) group by rollup(dept, nvl2(comm, 1, 0)) order by 1, 2",
                        ","));
    // CUBE(a, b): every subset; GROUPING tells a subtotal's NULL from a NULL value.
    EXPECT_EQ("10|7300|0,20|15000|0,30|17000|0,-|24000|0,-|63300|1",
              queryRows(s,
                        "select e.dept, sum(e.sal), grouping(e.dept) from emp e "
                        "group by cube(e.dept) order by 3, 1",
                        ","));
    EXPECT_EQ("10|7300,20|15000,30|17000,All|63300,none|24000",
              queryRows(s,
                        "select decode(grouping(dept), 1, 'All', nvl(to_char(dept), 'none')) "
                        "as dept, sum(sal) from emp group by rollup (dept) order by dept",
                        ","));
    EXPECT_EQ("10|-|1|7300,20|-|1|15000,-|0|2|9100,-|1|2|13200,-|-|3|22300",
              queryRows(s,
                        "select dept, nvl2(comm, 1, 0) c, grouping_id(dept, nvl2(comm, 1, 0)), "
                        "sum(sal) from emp where dept in (10, 20) group by grouping sets "
                        "(dept, nvl2(comm, 1, 0), ()) order by 3, 1, 2",
                        ","));
    // Plain expressions beside ROLLUP are in every set; HAVING sees each set's groups.
    EXPECT_EQ("20|0|6000,20|1|9000,20|-|15000",
              queryRows(s,
                        "select dept, nvl2(comm, 1, 0), sum(sal) from emp where dept = 20 "
                        "group by dept, rollup(nvl2(comm, 1, 0)) order by 1, 2",
                        ","));
    EXPECT_EQ("30|17000,-|24000,-|63300",
              queryRows(s,
                        "select dept, sum(sal) from emp group by rollup(dept) having "
                        "sum(sal) > 16000 order by 2",
                        ","));
    // As a subquery and without ORDER BY.
    EXPECT_EQ("5", s.one("select count(*) from (select dept, sum(sal) from emp group by "
                         "rollup(dept))"));
    EXPECT_EQ("63300",
              s.one("select max(s) from (select sum(sal) s from emp group by cube(dept, id))"));
}

TEST_F(DocumentedExamples, KeepFirstLastAndRatioToReport) {
    s.exec("insert into emp values (7, 20, 6000, .1)");
    // Ascending keys put NULLs last: FIRST is the lowest commission, LAST the NULL ones.
    EXPECT_EQ("10|4200|3100,20|6000|6000,30|17000|17000,-|24000|24000",
              queryRows(s,
                        "select dept, min(sal) keep (dense_rank first order by comm) worst, "
                        "max(sal) keep (dense_rank last order by comm) best from emp group by "
                        "dept order by dept",
                        ","));
    EXPECT_EQ("10|1|4200,20|1|6000",
              queryRows(s,
                        "select dept, count(*) keep (dense_rank first order by comm desc nulls "
                        "last), sum(sal) keep (dense_rank last order by comm desc) from emp "
                        "where dept in (10, 20) group by dept order by 1",
                        ","));
    EXPECT_EQ("4200",
              s.one("select avg(sal) keep (dense_rank first order by comm, id desc) from emp "
                    "where comm is not null and id <> 7"));
    EXPECT_EQ("3100",
              s.one("select min(sal) keep (dense_rank first order by dept nulls first, sal) "
                    "from emp where dept is not null"));
    EXPECT_EQ("3|.2857,4|.4286,7|.2857",
              queryRows(s,
                        "select id, to_char(round(ratio_to_report(sal) over (partition by "
                        "dept), 4)) from emp where dept = 20 order by id",
                        ","));
    // A NULL value gives NULL.
    EXPECT_EQ("1|-,2|1", queryRows(s,
                                   "select id, ratio_to_report(comm) over () from emp where "
                                   "id in (1, 2) order by id",
                                   ","));
    EXPECT_EQ("+00:00|+00:00", queryRows(s, "select sessiontimezone, dbtimezone from dual"));
}

TEST_F(DocumentedExamples, MultitableInsert) {
    s.exec("create table lo (id number, amt number)");
    s.exec("create table hi (id number, amt number)");
    // Unconditional: every INTO takes every row; the count is all rows inserted.
    EXPECT_EQ(8u, s.exec("insert all into lo (id, amt) values (id, sal) into hi values (id + 100, "
                         "comm) select id, sal, comm from emp where dept = 10 or dept = 20"));
    EXPECT_EQ(
        "1|3100,2|4200,3|6000,4|9000,101|-,102|1,103|-,104|2",
        queryRows(s, "select id, amt from lo union all select id, amt * 10 from hi order by 1",
                  ","));
    s.exec("delete from lo");
    s.exec("delete from hi");
    // The common many-rows idiom.
    EXPECT_EQ(
        2u, s.exec("insert all into lo values (1, 1) into lo (id) values (2) select * from dual"));
    EXPECT_EQ("1|1,2|-", queryRows(s, "select * from lo order by id", ","));
    s.exec("delete from lo");
    // ALL with WHEN: a row goes wherever its conditions hold; ELSE where none does.
    s.exec(
        "insert all when sal < 5000 then into lo values (id, sal) when sal < 10000 then into "
        "hi values (id, sal) else into hi values (id, -sal) select id, sal from emp");
    EXPECT_EQ("2", s.one("select count(*) from lo"));
    EXPECT_EQ("1,2,3,4,-5,-6", queryRows(s, "select sign(amt) * id from hi order by abs(id)", ","));
    s.exec("delete from lo");
    s.exec("delete from hi");
    // FIRST: only the first WHEN that holds; a NULL condition holds nowhere, so ELSE takes it.
    s.exec(
        "insert first when comm < .15 then into lo values (id, comm) when comm >= .15 then "
        "into hi values (id, comm) else into hi values (id, null) select id, comm from emp");
    EXPECT_EQ("2", queryRows(s, "select id from lo", ","));
    EXPECT_EQ("1|-,3|-,4|2,5|-,6|-", queryRows(s, "select id, amt * 10 from hi order by id", ","));
    // One statement: a failing INTO undoes the others.
    EXPECT_EQ(
        1722, oraCode([&] {
            s.exec("insert all into lo values (9, 9) into hi values (9, 'x') select * from dual");
        }));
    EXPECT_EQ("0", s.one("select count(*) from lo where id = 9"));
}

TEST_F(DocumentedExamples, PercentilesWithinGroup) {
    // Salaries 3100 4200 6000 9000 17000 24000.
    EXPECT_EQ("7500|6000", queryRows(s,
                                     "select percentile_cont(0.5) within group (order by sal), "
                                     "percentile_disc(0.5) within group (order by sal) from emp"));
    EXPECT_EQ("7500|9000", queryRows(s,
                                     "select percentile_cont(0.5) within group (order by sal "
                                     "desc), percentile_disc(0.5) within group (order by sal "
                                     "desc) from emp"));
    EXPECT_EQ("4650|4200", queryRows(s,
                                     "select percentile_cont(0.25) within group (order by sal), "
                                     "percentile_disc(0.25) within group (order by sal) from emp"));
    EXPECT_EQ("3100|24000", queryRows(s,
                                      "select percentile_disc(0) within group (order by sal), "
                                      "percentile_disc(1) within group (order by sal) from emp"));
    EXPECT_EQ("-", queryRows(s,
                             "select percentile_cont(0.5) within group (order by comm nulls "
                             "first) from emp where comm is null"));
    EXPECT_EQ("1|3650,2|3650,3|7500,4|7500",
              queryRows(s,
                        "select id, percentile_cont(0.5) within group (order by sal) over "
                        "(partition by dept) from emp where dept in (10, 20) order by id",
                        ","));
    EXPECT_EQ(30493, err("select percentile_cont(1.5) within group (order by sal) from emp"));
}

TEST_F(DocumentedExamples, HypotheticalRanksWithinGroup) {
    // Salaries 3100 4200 6000 9000 17000 24000; commissions only for 4200 (.1) and 9000 (.2).
    EXPECT_EQ("4|4|.5|.571428571428571",
              queryRows(s,
                        "select rank(9000, .15) within group (order by sal, comm), "
                        "dense_rank(9000, .15) within group (order by sal, comm), "
                        "to_char(percent_rank(9000, .15) within group (order by sal, comm)), "
                        "to_char(cume_dist(9000, .15) within group (order by sal, comm)) "
                        "from emp"));
    // Ties are not before the row; DESC and NULLS FIRST follow the ORDER BY.
    EXPECT_EQ("4|4", queryRows(s,
                               "select rank(6000) within group (order by sal desc), "
                               "dense_rank(6000) within group (order by sal desc) from emp"));
    EXPECT_EQ("3", s.one("select dense_rank(4200) within group (order by sal desc) from emp "
                         "where dept is not null and id <> 4"));
    EXPECT_EQ("1|3", queryRows(s,
                               "select rank(null) within group (order by comm nulls first), "
                               "rank(null) within group (order by comm) from emp"));
    // An empty group: the first place.
    EXPECT_EQ("1|1|0|1", queryRows(s,
                                   "select rank(1) within group (order by sal), dense_rank(1) "
                                   "within group (order by sal), percent_rank(1) within group "
                                   "(order by sal), cume_dist(1) within group (order by sal) "
                                   "from emp where 1 = 0"));
    EXPECT_EQ("10|3,20|1", queryRows(s,
                                     "select dept, rank(5000) within group (order by sal) from "
                                     "emp where dept in (10, 20) group by dept order by 1",
                                     ","));
    EXPECT_EQ(909, err("select rank(1, 2) within group (order by sal) from emp"));
    // The analytic RANK() is unchanged.
    EXPECT_EQ("1,2,3", queryRows(s,
                                 "select rank() over (order by sal desc) from emp where dept "
                                 "in (10, 20) and id > 1 order by 1",
                                 ","));
}

TEST_F(DocumentedExamples, DecodeComparesAsTheFirstSearchType) {
    EXPECT_EQ("one", q("decode(1, '1', 'one', 'other')"));
    EXPECT_EQ("one", q("decode('1', 1, 'one', 'other')"));
    EXPECT_EQ("y", q("decode(2.50, '2.5', 'y', 'n')"));  // as numbers: 2.5 = 2.5
    EXPECT_EQ("y", q("decode(0.5, '.5', 'y', 'n')"));    // as texts: TO_CHAR(0.5) is '.5'
    EXPECT_EQ("n", q("decode('2.50', 'x', 'y', 2.5, 'z', 'n')"));
    EXPECT_EQ("b", q("decode(null, 1, 'a', null, 'b')"));
    EXPECT_EQ(1722, err("select decode('a', 1, 'y', 'n') from dual"));
}

}  // namespace
}  // namespace clienttest
