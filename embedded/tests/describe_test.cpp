// Describe and the session's SQL dialect, driven over a raw SQLite handle the way the
// connection drives them: rewrite, run, then describe.
#include <gtest/gtest.h>

#include <regex>

#include "catalog/ddl_effects.h"
#include "exec/describe.h"
#include "kavexdb/occi.h"
#include "occi/session_functions.h"
#include "rewrite/sql_rewrite.h"
#include "test_util.h"

namespace kavexdb {
namespace detail {
namespace {

using oracle::occi::MetaData;
using oracle::occi::SQLException;

class Describe : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
        registerSessionFunctions(db_, "SCOTT");
    }
    void TearDown() override { sqlite3_close(db_); }

    // Runs Oracle SQL; returns "" or SQLite's message.
    std::string run(const std::string& oracleSql) {
        const RewrittenSql r = rewriteSql(oracleSql, "SCOTT");
        char* message = nullptr;
        const int rc = sqlite3_exec(db_, r.sql.c_str(), nullptr, nullptr, &message);
        const std::string text = message ? message : "";
        sqlite3_free(message);
        if (rc != SQLITE_OK) return text.empty() ? "error" : text;
        applyDdlEffects(db_, r);
        return "";
    }
    void exec(const std::string& oracleSql) { ASSERT_EQ(run(oracleSql), "") << oracleSql; }
    // Runs Oracle SQL as a statement does; returns "" or the client's error message.
    std::string oraError(const std::string& oracleSql) {
        try {
            runDdlSql(db_, rewriteSql(oracleSql, "SCOTT").sql);
        } catch (const SQLException& e) {
            return e.getMessage();
        }
        return "";
    }

    // Prepares a query, fetches its rows as a prefetch would, then describes the columns.
    std::vector<MetaData> describe(const std::string& query,
                                   std::vector<std::string>* firstRow = nullptr) {
        const RewrittenSql r = rewriteSql(query, "SCOTT");
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, r.sql.c_str(), -1, &stmt, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db_);
        const int n = sqlite3_column_count(stmt);
        std::vector<ColumnSample> samples(static_cast<std::size_t>(n));
        bool first = true;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < n; ++i) {
                ColumnSample& s = samples[static_cast<std::size_t>(i)];
                const int type = sqlite3_column_type(stmt, i);
                if (type != SQLITE_NULL) s.sqliteType = type;
                if (type == SQLITE_TEXT || type == SQLITE_BLOB)
                    s.maxTextBytes = std::max(
                        s.maxTextBytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
                if (type == SQLITE_TEXT)
                    sampleText(s, reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt, i)));
                if (first && firstRow) {
                    const unsigned char* t = sqlite3_column_text(stmt, i);
                    firstRow->push_back(t ? reinterpret_cast<const char*>(t) : "<null>");
                }
            }
            first = false;
        }
        std::vector<MetaData> cols = describeResultColumns(db_, stmt, samples);
        sqlite3_finalize(stmt);
        return cols;
    }

    std::vector<std::string> row(const std::string& query) {
        std::vector<std::string> values;
        describe(query, &values);
        return values;
    }

    sqlite3* db_ = nullptr;
};

struct Expect {
    const char* name;
    int type, size, precision, scale;
};

void expectColumn(const MetaData& m, const Expect& e) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(m.getString(MetaData::ATTR_NAME), e.name);
    EXPECT_EQ(m.getInt(MetaData::ATTR_DATA_TYPE), e.type);
    EXPECT_EQ(m.getInt(MetaData::ATTR_DATA_SIZE), e.size);
    EXPECT_EQ(m.getInt(MetaData::ATTR_PRECISION), e.precision);
    EXPECT_EQ(m.getInt(MetaData::ATTR_SCALE), e.scale);
    EXPECT_EQ(m.getString(MetaData::ATTR_SCHEMA_NAME), "");
}

TEST_F(Describe, DeclaredTypesOfTableColumns) {
    exec(
        "CREATE TABLE scott.emp (id NUMBER(6) PRIMARY KEY, name VARCHAR2(20 CHAR) NOT NULL, "
        "salary NUMBER(*,2), hired DATE, stamp TIMESTAMP(3) WITH TIME ZONE, notes CLOB, "
        "photo BLOB, code CHAR(2), flag INTEGER)");
    const std::vector<MetaData> cols = describe("select * from Emp");
    ASSERT_EQ(cols.size(), 9u);
    expectColumn(cols[0], {"ID", 2, 22, 6, 0});
    expectColumn(cols[1], {"NAME", 1, 20, 0, 0});
    expectColumn(cols[2], {"SALARY", 2, 22, 38, 2});
    expectColumn(cols[3], {"HIRED", 12, 7, 0, 0});
    expectColumn(cols[4], {"STAMP", 188, 13, 0, 3});
    expectColumn(cols[5], {"NOTES", 112, 4000, 0, 0});
    expectColumn(cols[6], {"PHOTO", 113, 4000, 0, 0});
    expectColumn(cols[7], {"CODE", 96, 2, 0, 0});
    expectColumn(cols[8], {"FLAG", 2, 22, 38, 0});
    EXPECT_EQ(cols[1].getInt(MetaData::ATTR_CHARSET_FORM), 1);
    EXPECT_EQ(cols[0].getInt(MetaData::ATTR_CHARSET_FORM), 0);
    // Nullability: primary key and NOT NULL columns are not nullable.
    EXPECT_FALSE(cols[0].getBoolean(MetaData::ATTR_IS_NULL));
    EXPECT_FALSE(cols[1].getBoolean(MetaData::ATTR_IS_NULL));
    EXPECT_TRUE(cols[2].getBoolean(MetaData::ATTR_IS_NULL));
    EXPECT_FALSE(cols[2].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
}

TEST_F(Describe, ExpressionsAreTypedFromTheFetchedValues) {
    exec("create table t (a number, s varchar2(10))");
    exec("insert into t values (1, 'x')");
    exec("insert into t values (2.5, 'longer')");
    const std::vector<MetaData> cols = describe(
        "select a + 1, upper(s), 'lit' AS \"Lit\", null, x'00ff', count(*) over () "
        "from t");
    ASSERT_EQ(cols.size(), 6u);
    expectColumn(cols[0], {"A + 1", 2, 22, 0, -127});
    expectColumn(cols[1], {"UPPER(S)", 1, 6, 0, 0});
    expectColumn(cols[2], {"Lit", 1, 3, 0, 0});
    expectColumn(cols[3], {"NULL", 1, 1, 0, 0});
    expectColumn(cols[4], {"X'00ff'", 23, 2, 0, 0});
    expectColumn(cols[5], {"COUNT(*) OVER ()", 2, 22, 0, -127});
    EXPECT_TRUE(cols[0].getBoolean(MetaData::ATTR_IS_NULL));
}

TEST_F(Describe, NamesAsOracleReportsThem) {
    exec("create table \"Mixed\" (\"CamelCol\" number, plain number, \"lower\" varchar2(3))");
    std::vector<MetaData> cols = describe("select * from \"Mixed\"");
    ASSERT_EQ(cols.size(), 3u);
    EXPECT_EQ(cols[0].getString(MetaData::ATTR_NAME), "CamelCol");
    EXPECT_EQ(cols[1].getString(MetaData::ATTR_NAME), "PLAIN");
    EXPECT_EQ(cols[2].getString(MetaData::ATTR_NAME), "lower");
    cols = describe("select plain as alias, plain \"quoted Alias\", 'a b' || plain from \"Mixed\"");
    EXPECT_EQ(cols[0].getString(MetaData::ATTR_NAME), "ALIAS");
    EXPECT_EQ(cols[1].getString(MetaData::ATTR_NAME), "quoted Alias");
    EXPECT_EQ(cols[2].getString(MetaData::ATTR_NAME), "'a b' || PLAIN");
}

TEST_F(Describe, DualSysdateAndRowid) {
    std::vector<std::string> values;
    std::vector<MetaData> cols = describe("select dummy, sysdate, systimestamp from dual", &values);
    ASSERT_EQ(cols.size(), 3u);
    expectColumn(cols[0], {"DUMMY", 1, 1, 0, 0});
    expectColumn(cols[1], {"SYSDATE", 12, 7, 0, 0});
    expectColumn(cols[2], {"SYSTIMESTAMP", 188, 13, 0, 6});
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0], "X");
    EXPECT_TRUE(std::regex_match(values[1], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    EXPECT_TRUE(
        std::regex_match(values[2], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{9}\+00:00)")));

    exec("create table t (a varchar2(5))");
    exec("insert into t values ('q')");
    cols = describe("select rowid, a from t");
    expectColumn(cols[0], {"ROWID", 104, 10, 0, 0});
    expectColumn(cols[1], {"A", 1, 5, 0, 0});
}

TEST_F(Describe, ViewsOverDual) {
    exec("create view now_v as select sysdate as d, dummy from dual");
    const std::vector<MetaData> cols = describe("select * from now_v");
    ASSERT_EQ(cols.size(), 2u);
    EXPECT_EQ(cols[0].getString(MetaData::ATTR_NAME), "D");
    EXPECT_EQ(row("select dummy from now_v"), std::vector<std::string>{"X"});
}

TEST_F(Describe, StoredDefaultsUseTheClockWithoutSessionFunctions) {
    exec(
        "create table t (id number, d date default sysdate, ts timestamp with time zone default "
        "systimestamp)");
    exec("insert into t (id) values (1)");
    const std::vector<std::string> values = row("select d, ts from t");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_TRUE(std::regex_match(values[0], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    EXPECT_TRUE(
        std::regex_match(values[1], std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{9}\+00:00)")));
}

TEST_F(Describe, SessionFunctionsAndLiterals) {
    EXPECT_EQ(row("select nvl(null, 'b'), nvl('', 'e'), nvl('a', 'b'), nvl(1, 2) from dual"),
              (std::vector<std::string>{"b", "e", "a", "1"}));
    EXPECT_EQ(
        row("select length(empty_clob()), length(empty_blob()), empty_clob() is null from dual"),
        (std::vector<std::string>{"0", "0", "0"}));
    exec("create table t (d date, ts timestamp)");
    exec("insert into t values (DATE '2024-01-15', TIMESTAMP '2024-01-15 14:30:05.5')");
    EXPECT_EQ(row("select d, ts from t where d = date '2024-01-15'"),
              (std::vector<std::string>{"2024-01-15 00:00:00", "2024-01-15 14:30:05.500000000"}));
    exec("truncate table t");
    EXPECT_EQ(row("select count(*) from t"), std::vector<std::string>{"0"});
}

TEST_F(Describe, ToCharRendersNumbersAndDates) {
    EXPECT_EQ(row("select to_char(123.45), to_char(0.5), to_char(-0.25), to_char(7), to_char(null) "
                  "from dual"),
              (std::vector<std::string>{"123.45", ".5", "-.25", "7", "<null>"}));
    EXPECT_EQ(
        row("select to_char(1234.5, 'FM9999.00'), to_char(date '2024-01-15', 'YYYY/MM/DD'), "
            "to_char(date '2024-01-15'), "
            "to_char(timestamp '2024-01-15 14:30:05.123', 'HH24:MI:SS.FF3'), "
            "to_char('abc') from dual"),
        (std::vector<std::string>{"1234.50", "2024/01/15", "15-JAN-24", "14:30:05.123", "abc"}));
    EXPECT_NE(run("select to_char('abc', '999') from dual").find("ORA-01722"), std::string::npos);
    EXPECT_NE(run("select to_char(1, 'QQQ') from dual").find("ORA-01481"), std::string::npos);
}

TEST_F(Describe, ToNumberReadsTextAsANumber) {
    EXPECT_EQ(
        row("select to_number('1,234.5', '9,999.9'), to_number(' 42 '), typeof(to_number('42')), "
            "to_number(''), to_number(3.5) from dual"),
        (std::vector<std::string>{"1234.5", "42", "integer", "<null>", "3.5"}));
    EXPECT_NE(run("select to_number('4x') from dual").find("ORA-01722"), std::string::npos);
}

TEST_F(Describe, ToDateReadsTextWithAFormatModel) {
    EXPECT_EQ(row("select to_date('15-JAN-24'), to_date('2024/01/15 02:30:00 PM', "
                  "'YYYY/MM/DD HH:MI:SS AM'), to_date('2024-01-15', 'YYYY-MM-DD HH24:MI:SS'), "
                  "to_date('march 5 1999', 'MONTH DD YYYY'), to_date('1999-03-05 10:11:12') "
                  "from dual"),
              (std::vector<std::string>{"2024-01-15 00:00:00", "2024-01-15 14:30:00",
                                        "2024-01-15 00:00:00", "1999-03-05 00:00:00",
                                        "1999-03-05 10:11:12"}));
    EXPECT_NE(run("select to_date('2024-02-30', 'YYYY-MM-DD') from dual").find("ORA-01847"),
              std::string::npos);
    EXPECT_NE(run("select to_date('2024-01-15 10', 'YYYY-MM-DD') from dual").find("ORA-01830"),
              std::string::npos);
    EXPECT_NE(run("select to_date('2024-13-01', 'YYYY-MM-DD') from dual").find("ORA-01843"),
              std::string::npos);
    EXPECT_NE(run("select to_date('x2024', 'YYYY') from dual").find("ORA-01861"),
              std::string::npos);
    EXPECT_NE(run("select to_date('2024', 'ZZ') from dual").find("ORA-01821"), std::string::npos);
    const std::vector<MetaData> cols =
        describe("select to_date('2024-01-15', 'YYYY-MM-DD') from dual");
    EXPECT_EQ(cols[0].getInt(MetaData::ATTR_DATA_TYPE), 12);
}

TEST_F(Describe, OracleSingleRowFunctions) {
    EXPECT_EQ(row("select decode(2, 1, 'one', 2, 'two', 'many'), decode(3, 1, 'one', 'many'), "
                  "decode(3, 1, 'one'), decode(null, null, 'null matches'), "
                  "decode('', 1, 'x', null, 'empty is null') from dual"),
              (std::vector<std::string>{"two", "many", "<null>", "null matches", "empty is null"}));
    EXPECT_EQ(row("select nvl2(1, 'a', 'b'), nvl2('', 'a', 'b'), greatest(3, 10, 2), "
                  "least('b', 'a', 'c'), greatest(1, null, 3), greatest(2.5, 2) from dual"),
              (std::vector<std::string>{"a", "b", "10", "a", "<null>", "2.5"}));
    EXPECT_EQ(
        row("select lpad('7', 3, '0'), rpad('ab', 5, 'xy'), lpad('abcdef', 3), "
            "rpad('é', 3) || '|', lpad('x', 0), initcap('hello wORLD-foo') from dual"),
        (std::vector<std::string>{"007", "abxyx", "abc", "é  |", "<null>", "Hello World-Foo"}));
    EXPECT_NE(run("select decode(1, 2) from dual").find("ORA-00938"), std::string::npos);
}

TEST_F(Describe, ConcatenationTreatsNullAsEmpty) {
    exec("create table p (first varchar2(10), last varchar2(10))");
    exec("insert into p values ('Ada', null)");
    std::vector<std::string> values;
    const std::vector<MetaData> cols =
        describe("select first || ' ' || last, null || null, last || 1 total from p", &values);
    EXPECT_EQ(values, (std::vector<std::string>{"Ada ", "<null>", "1"}));  // NULL || NULL
    EXPECT_EQ(cols[0].getString(MetaData::ATTR_NAME), "FIRST || ' ' || LAST");
    EXPECT_EQ(cols[1].getString(MetaData::ATTR_NAME), "NULL || NULL");
    EXPECT_EQ(cols[2].getString(MetaData::ATTR_NAME), "TOTAL");
    exec("create view pv as select first || last as name, first||'!' from p");
    const std::vector<MetaData> viewCols =
        describeObject(db_, "SCOTT", "pv").getVector(MetaData::ATTR_LIST_COLUMNS);
    EXPECT_EQ(viewCols[1].getString(MetaData::ATTR_NAME), "FIRST||'!'");
    EXPECT_EQ(row("select name from pv"), std::vector<std::string>{"Ada"});
}

TEST_F(Describe, IdentityAlwaysGeneratesAndRejectsGivenValues) {
    exec(
        "create table items (id number generated always as identity primary key, "
        "name varchar2(10) not null)");
    exec("insert into items (name) values ('a')");
    exec("insert into items (name) values ('b')");
    EXPECT_EQ(row("select group_concat(id) from (select id from items order by id)"),
              std::vector<std::string>{"1,2"});
    EXPECT_NE(run("insert into items (id, name) values (7, 'c')").find("ORA-32795"),
              std::string::npos);
    EXPECT_NE(run("update items set id = 9").find("ORA-32796"), std::string::npos);
    exec("update items set name = 'z' where id = 1");

    const std::vector<MetaData> cols = describe("select id, name, id + 0 from items");
    EXPECT_TRUE(cols[0].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
    EXPECT_TRUE(cols[0].getBoolean(MetaData::ATTR_COL_IS_GEN_ALWAYS));
    EXPECT_FALSE(cols[0].getBoolean(MetaData::ATTR_COL_IS_GEN_BY_DEF_ON_NULL));
    EXPECT_FALSE(cols[0].getBoolean(MetaData::ATTR_IS_NULL));
    expectColumn(cols[0], {"ID", 2, 22, 0, -127});  // the declared NUMBER, not SQLite's rowid
    EXPECT_FALSE(cols[1].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
    EXPECT_FALSE(cols[2].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
}

TEST_F(Describe, IntegerPrimaryKeyIdentityIsNotSqlitesRowid) {
    exec("create table t (id integer generated always as identity primary key, v number)");
    exec("insert into t (v) values (1)");
    exec("insert into t (v) values (2)");
    exec("delete from t where id = 2");
    exec("insert into t (v) values (3)");
    EXPECT_EQ(row("select group_concat(id) from (select id from t order by id)"),
              std::vector<std::string>{"1,3"});
    EXPECT_NE(run("insert into t (id, v) values (9, 4)").find("ORA-32795"), std::string::npos);
    const std::vector<MetaData> cols = describe("select id from t");
    expectColumn(cols[0], {"ID", 2, 22, 38, 0});
    EXPECT_FALSE(cols[0].getBoolean(MetaData::ATTR_IS_NULL));
}

TEST_F(Describe, IdentityByDefaultTakesGivenValuesAndContinuesAboveThem) {
    exec("create table t (id number(10) generated by default on null as identity, v number)");
    exec("insert into t (v) values (1)");
    exec("insert into t (id, v) values (10, 2)");
    exec("insert into t (id, v) values (null, 3)");
    EXPECT_EQ(row("select group_concat(id) from (select id from t order by v)"),
              std::vector<std::string>{"1,10,11"});
    EXPECT_NE(run("update t set id = null").find("ORA-01407"), std::string::npos);
    // A number handed out once is never handed out again, even after its row is gone.
    exec("delete from t where id >= 10");
    exec("insert into t (v) values (4)");
    EXPECT_EQ(row("select id from t where v = 4"), std::vector<std::string>{"12"});
    const std::vector<MetaData> cols = describe("select * from t");
    EXPECT_TRUE(cols[0].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
    EXPECT_FALSE(cols[0].getBoolean(MetaData::ATTR_COL_IS_GEN_ALWAYS));
    EXPECT_TRUE(cols[0].getBoolean(MetaData::ATTR_COL_IS_GEN_BY_DEF_ON_NULL));
    expectColumn(cols[0], {"ID", 2, 22, 10, 0});
}

TEST_F(Describe, WrittenValuesAreCheckedAgainstDeclaredTypes) {
    exec(
        "create table t (s varchar2(3 char), c char(2), n number(5,2), i integer, f number, "
        "txt text, big bigint)");
    exec("insert into t (s, c, n, i, f) values ('abc', 'xy', 999.99, 7, '12.5')");
    exec("insert into t (s, n) values ('ééé', -999.994)");  // characters, not bytes
    EXPECT_NE(run("insert into t (s) values ('abcd')").find("ORA-12899"), std::string::npos);
    EXPECT_NE(run("insert into t (c) values ('xyz')").find("ORA-12899"), std::string::npos);
    EXPECT_NE(run("insert into t (n) values (1000)").find("ORA-01438"), std::string::npos);
    EXPECT_NE(run("insert into t (n) values (999.996)").find("ORA-01438"), std::string::npos);
    EXPECT_NE(run("insert into t (n) values (-999.995)").find("ORA-01438"), std::string::npos);
    EXPECT_NE(run("insert into t (n) values (-1e30)").find("ORA-01438"), std::string::npos);
    EXPECT_NE(run("insert into t (n) values (1e300 * 1e300)").find("ORA-01426"),
              std::string::npos);
    exec("insert into t (n) values (-998.999)");
    exec("insert into t (n) values (999.994)");
    EXPECT_NE(run("insert into t (i) values (x'01')").find("ORA-01722"), std::string::npos);
    EXPECT_NE(run("insert into t (i) values ('12abc')").find("ORA-01722"), std::string::npos);
    exec("insert into t (i, f) values (' 42 ', '-1.5e3')");
    EXPECT_NE(run("insert into t (i) values ('seven')").find("ORA-01722"), std::string::npos);
    EXPECT_NE(run("update t set f = 'x1'").find("ORA-01722"), std::string::npos);
    EXPECT_NE(run("update t set s = 'long text'").find("ORA-12899"), std::string::npos);
    exec("alter table t add (code varchar2(2))");
    EXPECT_NE(run("insert into t (code) values ('abc')").find("ORA-12899"), std::string::npos);
    EXPECT_NE(run("insert into t (s) values ('abcd')").find("ORA-12899"), std::string::npos);
    // SQLite's own type names keep SQLite's flexible typing.
    exec("insert into t (txt, big) values ('any length at all', 'not a number')");
    EXPECT_EQ(row("select count(*), sum(f), sum(i) from t"),
              (std::vector<std::string>{"6", "-1487.5", "49"}));
}

TEST_F(Describe, ValueChecksReachHostsWithTheirOracleErrors) {
    exec("create table t (s varchar2(3) constraint s_ok check (s <> 'bad'), "
         "n number(3) check (n <> 13), \"Odd 'x\" char(1), lower_c varchar2(2), "
         "constraint t_ok check (n <> 7), check (n <> 8))");
    exec("insert into t (s, n) values ('abc', 1)");
    exec("alter table t add (a varchar2(2) check (a <> 'no'))");
    const std::string tooLarge = "ORA-12899: value too large for column ";
    EXPECT_EQ(oraError("insert into t (s) values ('abcd')"),
              tooLarge + "\"SCOTT\".\"T\".\"S\" (actual: 4, maximum: 3)\n");
    EXPECT_EQ(oraError("update t set lower_c = 'xyz'"),
              tooLarge + "\"SCOTT\".\"T\".\"LOWER_C\" (actual: 3, maximum: 2)\n");
    EXPECT_EQ(oraError("insert into t (\"Odd 'x\") values ('xy')"),
              tooLarge + "\"SCOTT\".\"T\".\"Odd 'x\" (actual: 2, maximum: 1)\n");
    EXPECT_EQ(oraError("update t set a = 'abc'"), tooLarge + "\"SCOTT\".\"T\".\"A\" (actual: 3, maximum: 2)\n");
    EXPECT_EQ(oraError("insert into t (n) values ('x')"), "ORA-01722: invalid number\n");
    EXPECT_EQ(oraError("update t set n = 999.5"),
              "ORA-01438: value larger than specified precision allowed for this column\n");
    // The table's own constraints keep ORA-02290, named or not, wherever they stand.
    EXPECT_EQ(oraError("insert into t (s) values ('bad')"),
              "ORA-02290: check constraint (S_OK) violated\n");
    EXPECT_EQ(oraError("update t set n = 13"), "ORA-02290: check constraint (N <> 13) violated\n");
    EXPECT_EQ(oraError("update t set n = 7"), "ORA-02290: check constraint (T_OK) violated\n");
    EXPECT_EQ(oraError("update t set n = 8"), "ORA-02290: check constraint (N <> 8) violated\n");
    EXPECT_EQ(oraError("update t set a = 'no'"),
              "ORA-02290: check constraint (A <> 'NO') violated\n");
    EXPECT_EQ(oraError("update t set s = 'xyz', n = 2, \"Odd 'x\" = 'o', a = 'ok'"), "");
    // The constraints change neither the declared types nor the names describe reports.
    const std::vector<MetaData> cols = describe("select * from t");
    ASSERT_EQ(cols.size(), 5u);
    expectColumn(cols[0], {"S", 1, 3, 0, 0});
    expectColumn(cols[1], {"N", 2, 22, 3, 0});
    expectColumn(cols[2], {"Odd 'x", 96, 1, 0, 0});
    expectColumn(cols[3], {"LOWER_C", 1, 2, 0, 0});
    expectColumn(cols[4], {"A", 1, 2, 0, 0});
}

TEST_F(Describe, RenamedTablesKeepTheirIdentity) {
    exec("create table a (id number generated always as identity, v number)");
    exec("insert into a (v) values (1)");
    exec("alter table a rename to b");
    exec("insert into b (v) values (2)");
    EXPECT_EQ(row("select group_concat(id) from (select id from b order by id)"),
              std::vector<std::string>{"1,2"});
    EXPECT_TRUE(describe("select id from b")[0].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
    // A new table under the old name has a sequence of its own.
    exec("create table a (id number generated always as identity, v number)");
    exec("insert into a (v) values (1)");
    exec("drop table a");
    exec("insert into b (v) values (3)");
    EXPECT_EQ(row("select max(id) from b"), std::vector<std::string>{"3"});
}

TEST_F(Describe, GlobalTemporaryTablesBecomeSessionTables) {
    exec("create global temporary table gt (a number) on commit preserve rows");
    exec("insert into gt values (1)");
    EXPECT_EQ(row("select count(*) from temp.gt"), std::vector<std::string>{"1"});
    EXPECT_EQ(describeObject(db_, "SCOTT", "GT").getInt(MetaData::ATTR_PTYPE),
              MetaData::PTYPE_TABLE);
}

TEST_F(Describe, IdentityOfQuotedMixedCaseNames) {
    exec("create table \"Orders\" (\"Id\" number generated always as identity, v number)");
    exec("insert into \"Orders\" (v) values (1)");
    const std::vector<MetaData> cols = describe("select * from \"Orders\"");
    EXPECT_EQ(cols[0].getString(MetaData::ATTR_NAME), "Id");
    EXPECT_TRUE(cols[0].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
    exec("drop table \"Orders\"");
    exec("create table orders (id number, v number)");
    EXPECT_FALSE(describe("select id from orders")[0].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
}

TEST_F(Describe, DroppingATableForgetsItsIdentity) {
    exec("create table t (id number generated always as identity, v number)");
    exec("drop table t purge");
    exec("create table t (id number, v number)");
    exec("insert into t values (5, 1)");
    EXPECT_FALSE(describe("select id from t")[0].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
}

int describeError(sqlite3* db, const std::string& name, std::string* message) {
    const SQLException e = clienttest::thrownBy([&] { describeObject(db, "SCOTT", name); });
    *message = e.getMessage();
    return e.getErrorCode();
}

TEST_F(Describe, ObjectsByNameAsOracleResolvesThem) {
    exec("create table Dept (deptno number(2) primary key, dname varchar2(14))");
    exec("create view dept_v as select deptno, dname, 'k' || dname kind from dept");
    for (const char* name : {"DEPT", "dept", "\"DEPT\"", "scott.dept", "SCOTT . \"Dept\""}) {
        SCOPED_TRACE(name);
        const MetaData m = describeObject(db_, "SCOTT", name);
        EXPECT_EQ(m.getInt(MetaData::ATTR_PTYPE), MetaData::PTYPE_TABLE);
        EXPECT_EQ(m.getString(MetaData::ATTR_NAME), "DEPT");
        EXPECT_EQ(m.getString(MetaData::ATTR_OBJ_SCHEMA), "SCOTT");
        const std::vector<MetaData> cols = m.getVector(MetaData::ATTR_LIST_COLUMNS);
        ASSERT_EQ(cols.size(), 2u);
        expectColumn(cols[0], {"DEPTNO", 2, 22, 2, 0});
        expectColumn(cols[1], {"DNAME", 1, 14, 0, 0});
        EXPECT_EQ(cols[0].getString(MetaData::ATTR_OBJ_SCHEMA), "SCOTT");
        EXPECT_FALSE(cols[0].getBoolean(MetaData::ATTR_IS_NULL));
        EXPECT_TRUE(cols[1].getBoolean(MetaData::ATTR_IS_NULL));
    }
    const MetaData v = describeObject(db_, "SCOTT", "Dept_V");
    EXPECT_EQ(v.getInt(MetaData::ATTR_PTYPE), MetaData::PTYPE_VIEW);
    std::vector<MetaData> cols = v.getVector(MetaData::ATTR_LIST_COLUMNS);
    ASSERT_EQ(cols.size(), 3u);
    expectColumn(cols[1], {"DNAME", 1, 14, 0, 0});
    expectColumn(cols[2], {"KIND", 1, 1, 0, 0});  // no rows to size it from

    cols = describeObject(db_, "SCOTT", "dual").getVector(MetaData::ATTR_LIST_COLUMNS);
    ASSERT_EQ(cols.size(), 1u);
    expectColumn(cols[0], {"DUMMY", 1, 1, 0, 0});
}

TEST_F(Describe, UnknownObjectsAreOra04043) {
    std::string message;
    EXPECT_EQ(describeError(db_, "nosuch", &message), 4043);
    EXPECT_EQ(message, "ORA-04043: object NOSUCH does not exist\n");
    exec("create table t (a number)");
    EXPECT_EQ(describeError(db_, "hr.t", &message), 4043);
    EXPECT_EQ(message, "ORA-04043: object HR.T does not exist\n");
    EXPECT_EQ(describeError(db_, "\"t x\"", &message), 4043);
    EXPECT_EQ(message, "ORA-04043: object \"t x\" does not exist\n");
    EXPECT_EQ(describeError(db_, "", &message), 4043);
    EXPECT_EQ(describeError(db_, "t; drop table t", &message), 4043);
    EXPECT_EQ(describeError(db_, "'t", &message), 4043);
    exec("insert into t values (1)");  // still there
}

}  // namespace
}  // namespace detail
}  // namespace kavexdb

// ---- End to end, through Environment and Connection ------------------------------------------

#include "client_fixture.h"

namespace {

using clienttest::Session;
using oracle::occi::MetaData;

TEST(DescribeThroughClient, ResultColumnsAndObjectsOfAnIdentityTable) {
    Session s(clienttest::memdb());
    s.exec(
        "CREATE TABLE scott.orders (id NUMBER GENERATED ALWAYS AS IDENTITY, "
        "item VARCHAR2(30 CHAR) NOT NULL, placed DATE DEFAULT SYSDATE);");
    s.exec("insert into orders (item) values ('tea')");
    s.exec("insert into SCOTT.orders (item, placed) values ('cake', DATE '2024-02-29')");
    EXPECT_EQ(s.one("select max(id) from orders"), "2");

    oracle::occi::Statement* st =
        s.conn()->createStatement("select id, item, placed, sysdate from orders");
    st->execute();
    oracle::occi::ResultSet* rs = st->getResultSet();
    const std::vector<MetaData> cols = rs->getColumnListMetaData();
    ASSERT_EQ(cols.size(), 4u);
    EXPECT_EQ(cols[0].getString(MetaData::ATTR_NAME), "ID");
    EXPECT_TRUE(cols[0].getBoolean(MetaData::ATTR_COL_IS_IDENTITY));
    EXPECT_FALSE(cols[0].getBoolean(MetaData::ATTR_IS_NULL));
    EXPECT_EQ(cols[1].getInt(MetaData::ATTR_DATA_SIZE), 30);
    EXPECT_EQ(cols[2].getInt(MetaData::ATTR_DATA_TYPE), 12);
    EXPECT_EQ(cols[3].getString(MetaData::ATTR_NAME), "SYSDATE");
    EXPECT_EQ(cols[3].getInt(MetaData::ATTR_DATA_TYPE), 12);
    s.conn()->terminateStatement(st);

    const MetaData table = s.conn()->getMetaData("Orders");
    EXPECT_EQ(table.getString(MetaData::ATTR_OBJ_SCHEMA), "SCOTT");
    const std::vector<MetaData> listed = table.getVector(MetaData::ATTR_LIST_COLUMNS);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_TRUE(listed[0].getBoolean(MetaData::ATTR_COL_IS_GEN_ALWAYS));
    EXPECT_EQ(listed[0].getString(MetaData::ATTR_OBJ_SCHEMA), "SCOTT");

    EXPECT_EQ(clienttest::oraCode([&] { s.conn()->getMetaData("missing"); }), 4043);
    EXPECT_NE(clienttest::oraMessage([&] {
                  s.exec("insert into orders (id, item) values (5, 'x')");
              }).find("ORA-32795"),
              std::string::npos);
}

TEST(DescribeThroughClient, IdentityTablesSurviveDropAndTruncate) {
    Session s(clienttest::memdb());
    s.exec("create table t (id number generated by default as identity, v varchar2(5))");
    s.exec("insert into t (v) values ('a')");
    s.exec("truncate table t");
    EXPECT_EQ(s.one("select count(*) from t"), "0");
    s.exec("insert into t (v) values ('b')");
    EXPECT_EQ(s.one("select id from t"), "2");  // TRUNCATE keeps the identity's position
    s.exec("drop table t");
    s.exec("create table t (id number, v varchar2(5))");
    EXPECT_FALSE(s.conn()->getMetaData("t").getVector(MetaData::ATTR_LIST_COLUMNS)[0].getBoolean(
        MetaData::ATTR_COL_IS_IDENTITY));
}

}  // namespace
