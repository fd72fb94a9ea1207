#include "rewrite/sql_rewrite.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "kavexdb/occi.h"
#include "rewrite/expr/concatenation.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {
namespace {

using Kind = RewrittenSql::Kind;

RewrittenSql rw(const std::string& sql) { return rewriteSql(sql, "SCOTT"); }

// The text without the CHECK constraints that hold values to their declared types (tested on
// their own in SqlRewriteDdl.ValueChecks).
std::string withoutValueChecks(std::string sql) {
    for (std::size_t at; (at = sql.find(" CHECK ('ORA-")) != std::string::npos;) {
        std::size_t end = at + 7;
        bool literal = false;
        for (int depth = 0; end < sql.size(); ++end) {
            if (sql[end] == '\'') literal = !literal;
            if (!literal && sql[end] == '(') ++depth;
            if (!literal && sql[end] == ')' && --depth == 0) break;
        }
        sql.erase(at, end + 1 - at);
    }
    return sql;
}
std::string sqlOf(const std::string& sql) { return withoutValueChecks(rw(sql).sql); }

int errorCode(const std::string& sql) {
    try {
        rw(sql);
    } catch (const oracle::occi::SQLException& e) {
        return e.getErrorCode();
    }
    return 0;
}

TEST(SqlRewriteClassify, StatementKinds) {
    EXPECT_EQ(rw("").kind, Kind::Empty);
    EXPECT_EQ(rw("  -- nothing\n /* here */ ").kind, Kind::Empty);
    EXPECT_EQ(rw("select 1 from dual").kind, Kind::Query);
    EXPECT_EQ(rw("  (SELECT 1 FROM dual)").kind, Kind::Query);
    EXPECT_EQ(rw("WITH x AS (SELECT 1 a FROM dual) SELECT a FROM x").kind, Kind::Query);
    EXPECT_EQ(rw("/* hint */ insert into t values (1)").kind, Kind::Dml);
    EXPECT_EQ(rw("UPDATE t SET a = 1").kind, Kind::Dml);
    EXPECT_EQ(rw("delete from t").kind, Kind::Dml);
    EXPECT_EQ(rw("create table t (a number)").kind, Kind::Ddl);
    EXPECT_EQ(rw("ALTER TABLE t ADD b NUMBER").kind, Kind::Ddl);
    EXPECT_EQ(rw("drop view v").kind, Kind::Ddl);
    EXPECT_EQ(rw("commit").kind, Kind::Commit);
    EXPECT_EQ(rw("COMMIT WORK;").kind, Kind::Commit);
    EXPECT_EQ(rw("rollback").kind, Kind::Rollback);
    EXPECT_EQ(rw("Rollback Work").kind, Kind::Rollback);
    EXPECT_EQ(rw("BEGIN null; END;").kind, Kind::PlSql);
    EXPECT_EQ(rw("declare x number; begin x := 1; end;").kind, Kind::PlSql);
}

TEST(SqlRewriteClassify, TriggerDdlIsPlSql) {
    EXPECT_EQ(rw("CREATE TRIGGER tr AFTER INSERT ON t BEGIN UPDATE t SET a = 1; END;").kind,
              Kind::PlSql);
    EXPECT_EQ(rw("create or replace editionable trigger tr before delete on t begin null; end;")
                  .kind,
              Kind::PlSql);
    EXPECT_EQ(rw("ALTER TRIGGER tr DISABLE").kind, Kind::PlSql);
    EXPECT_EQ(rw("drop trigger tr").kind, Kind::PlSql);
    EXPECT_EQ(rw("alter table t add (c number)").kind, Kind::Ddl);
}

TEST(SqlRewriteClassify, TemporaryLobBlockInAnySpellingAndSpacing) {
    EXPECT_EQ(rw("begin dbms_lob.createtemporary(:p1, FALSE); end;").kind, Kind::TempLobBlock);
    EXPECT_EQ(rw("BEGIN\n  DBMS_LOB.CreateTemporary( :lob ,true ) ;END;\n/").kind,
              Kind::TempLobBlock);
    EXPECT_EQ(rw("begin dbms_lob.createtemporary(:1, false, dbms_lob.session); end;").kind,
              Kind::TempLobBlock);
    EXPECT_EQ(rw("begin dbms_lob.createtemporary(:p1, FALSE); x; end;").kind, Kind::PlSql);
    EXPECT_EQ(rw("begin dbms_lob.createtemporary('x', FALSE); end;").kind, Kind::PlSql);
}

TEST(SqlRewriteClassify, Users) {
    RewrittenSql r = rw("CREATE USER alice IDENTIFIED BY Secret1;");
    EXPECT_EQ(r.kind, Kind::CreateUser);
    EXPECT_EQ(r.account.userName, "ALICE");
    EXPECT_EQ(r.account.password, "Secret1");  // passwords are case-sensitive
    r = rw("alter user \"Bob\" identified by \"pa ss\"");
    EXPECT_EQ(r.kind, Kind::AlterUser);
    EXPECT_EQ(r.account.userName, "Bob");
    EXPECT_EQ(r.account.password, "pa ss");
    r = rw("drop user alice cascade");
    EXPECT_EQ(r.kind, Kind::DropUser);
    EXPECT_EQ(r.account.userName, "ALICE");
    EXPECT_EQ(errorCode("create user alice"), 922);
    EXPECT_EQ(errorCode("create user alice identified by"), 988);
}

TEST(SqlRewrite, TerminatorsGoAndBindsStay) {
    EXPECT_EQ(sqlOf("SELECT :name, :1 FROM dual;"), "SELECT :name, :1 FROM dual");
    EXPECT_EQ(sqlOf("insert into t values (:a)\n/\n"), "insert into t values (:a)");
    EXPECT_EQ(sqlOf("select 1 from dual ; -- done"), "select 1 from dual");
    // The PL/SQL block keeps its own terminators.
    EXPECT_EQ(rw("begin null; end;").sql, "begin null; end;");
}

TEST(SqlRewrite, OracleTypeForms) {
    EXPECT_EQ(
        sqlOf(
            "create table t (a TIMESTAMP(3) WITH TIME ZONE, b timestamp (9) with local time zone)"),
        "create table t (a TIMESTAMP WITH TIME ZONE(3) COLLATE ORA_DATETIME, b timestamp  with "
              "local time zone(9) COLLATE ORA_DATETIME)");
    EXPECT_EQ(sqlOf("create table t (a NUMBER(*,0), b number(*))"),
              "create table t (a NUMBER(38,0), b number)");
    EXPECT_EQ(sqlOf("create table t (a VARCHAR2(20 CHAR), b varchar2( 10 byte ), c NCHAR(3 CHAR))"),
              "create table t (a VARCHAR2(20), b varchar2( 10 ), c NCHAR(3) COLLATE RTRIM)");
    EXPECT_EQ(sqlOf("select cast(x as varchar2(5 char)) c from t"),
              "select ORA$CAST(x , 'varchar2(5)') c from t");
    // Plain types pass unchanged; CHAR compares blank-padded.
    EXPECT_EQ(sqlOf("create table t (a TIMESTAMP(6), b NUMBER(10,2), c CHAR(1))"),
              "create table t (a TIMESTAMP(6) COLLATE ORA_DATETIME, b NUMBER(10,2), c CHAR(1) COLLATE RTRIM)");
}

TEST(SqlRewrite, LiteralsIdentifiersAndCommentsAreUntouched) {
    const std::string sql =
        "select 'SYSDATE; number(*,0) scott.t', \"SYSDATE\", \"scott\".x /* SYSDATE scott.t */ "
        "-- DATE '2020-01-01'\n from dual";
    EXPECT_EQ(sqlOf(sql), sql);
    EXPECT_EQ(sqlOf("select 'it''s SYSDATE' from dual"), "select 'it''s SYSDATE' from dual");
    EXPECT_EQ(errorCode("select 'open from dual"), 1756);
    EXPECT_EQ(errorCode("select \"open from dual"), 1740);
}

TEST(SqlRewrite, ClockFunctions) {
    EXPECT_EQ(sqlOf("select sysdate, SYSTIMESTAMP from dual"),
              "select SYSDATE(), SYSTIMESTAMP() from dual");
    EXPECT_EQ(sqlOf("select t.sysdate from t"), "select t.sysdate from t");
    // Stored objects use SQLite's own functions, so the file stays usable without this client.
    const std::string ddl = sqlOf("create table t (d DATE DEFAULT SYSDATE)");
    EXPECT_EQ(ddl, "create table t (d DATE COLLATE ORA_DATETIME DEFAULT (strftime('%Y-%m-%d %H:%M:%S','now')))");
}

TEST(SqlRewrite, DatetimeLiterals) {
    EXPECT_EQ(sqlOf("select DATE '2024-01-15' d from dual"),
              "select  '2024-01-15 00:00:00' d from dual");
    EXPECT_EQ(sqlOf("select date'2024-2-5' d from dual"), "select '2024-02-05 00:00:00' d from dual");
    EXPECT_EQ(sqlOf("select TIMESTAMP '2024-01-15 14:30:05.25' t from dual"),
              "select  '2024-01-15 14:30:05.250000000' t from dual");
    EXPECT_EQ(sqlOf("select TIMESTAMP '2024-01-15 14:30:05 +05:30' t from dual"),
              "select  '2024-01-15 14:30:05.000000000+05:30' t from dual");
    EXPECT_EQ(sqlOf("select TIMESTAMP '2024-01-15 14:30:05.123456789 UTC' t from dual"),
              "select  '2024-01-15 14:30:05.123456789+00:00' t from dual");
    // Without an alias the column keeps the name it was written with.
    EXPECT_EQ(sqlOf("select DATE '2024-01-15' from dual"),
              "select  '2024-01-15 00:00:00' AS \"ORA$N:DATE '2024-01-15'\" from dual");
    EXPECT_EQ(errorCode("select DATE '2024-13-01' from dual"), 1843);
    EXPECT_EQ(errorCode("select DATE '2023-02-29' from dual"), 1847);
    EXPECT_EQ(errorCode("select DATE '15-JAN-24' from dual"), 1861);
    EXPECT_EQ(errorCode("select TIMESTAMP '2024-01-15 24:00:00' from dual"), 1850);
    EXPECT_EQ(errorCode("select TIMESTAMP '2024-01-15 10:00:00 +16:00' from dual"), 1874);
}

TEST(SqlRewrite, OwnSchemaPrefixGoesOthersStay) {
    EXPECT_EQ(sqlOf("select scott.emp.ename from SCOTT.emp"), "select emp.ename from emp");
    EXPECT_EQ(sqlOf("select * from \"SCOTT\".\"Emp\""), "select * from \"Emp\"");
    EXPECT_EQ(sqlOf("select * from hr.emp"), "select * from hr.emp");
    EXPECT_EQ(sqlOf("select * from \"scott\".emp"), "select * from \"scott\".emp");
    EXPECT_EQ(rewriteSql("select * from scott.emp", "").sql, "select * from scott.emp");
    // A table alias spelled like the schema is that alias wherever it qualifies a column.
    EXPECT_EQ(rewriteSql("select e.id, d.id from emp e join dept d on e.dept = d.id", "E").sql,
              "select e.id, d.id from emp e join dept d on e.dept = d.id");
    EXPECT_EQ(rewriteSql("select e.id from E.emp e where e.x = E.emp.y", "E").sql,
              "select e.id from emp e where e.x = emp.y");
    EXPECT_EQ(rewriteSql("select e.id from e.emp", "E").sql, "select id from emp");
}

TEST(SqlRewrite, StoredObjectsGetTheirOwnDual) {
    EXPECT_EQ(sqlOf("create view v as select sysdate d from dual"),
              "create view v as select (strftime('%Y-%m-%d %H:%M:%S','now')) d from "
              "(SELECT 'X' AS DUMMY) AS dual");
    EXPECT_EQ(sqlOf("create view v as select x.dummy from dual x where 1 = 1"),
              "create view v as select x.dummy from (SELECT 'X' AS DUMMY) x where 1 = 1");
    EXPECT_EQ(sqlOf("create view v as select dual.dummy from dual where 1 = 1"),
              "create view v as select dual.dummy from (SELECT 'X' AS DUMMY) AS dual where 1 = 1");
    EXPECT_EQ(sqlOf("select dummy from dual"), "select dummy from dual");
}

TEST(SqlRewrite, ConcatenationOperandsAreWrapped) {
    EXPECT_EQ(sqlOf("select a || 'x' || t.b n from t"),
              "select ORA$CAT(a , 'x' , t.b) n from t");
    EXPECT_EQ(sqlOf("select upper(a)||(b + 1)||:1||case when c then 'y' end n from t"),
              "select ORA$CAT(upper(a),(ORA$ADD(b , 1)),:1,case when c then 'y' end) n from t");
    EXPECT_EQ(sqlOf("select f(a || b) || c n from t"),
              "select ORA$CAT(f(ORA$CAT(a , b)) , c) n from t");
    // || has the precedence of + and -, left to right; * and / bind tighter.
    EXPECT_EQ(sqlOf("select 1 + 2 || 'x' n from dual"), "select ORA$CAT(ORA$ADD(1 , 2) , 'x') n from dual");
    EXPECT_EQ(sqlOf("select -a / b - c * 2 n from t"),
              "select ORA$SUB(ORA$DIV(ORA$SUB(0, a) , b) , ORA$MUL(c , 2)) n from t");
    // A form the parser does not know leaves its expression alone; an interval literal is an
    // operand like any other.
    EXPECT_EQ(sqlOf("select prior a + 1 n from t"), "select prior a + 1 n from t");
    EXPECT_EQ(sqlOf("select d + interval '1' day n from t"),
              "select ORA$ADD(d , '+01 00:00:00') n from t");
    EXPECT_EQ(sqlOf("select 'a||b', \"x||y\" from t"), "select 'a||b', \"x||y\" from t");
    EXPECT_EQ(unwrapConcatenation("ORA$STR(f(ORA$STR(a) || ORA$STR(b))) || ORA$STR((c))"),
              "f(a || b) || (c)");
    EXPECT_EQ(unwrapConcatenation("upper(x)"), "upper(x)");
}

TEST(SqlRewrite, OtherOracleSpellings) {
    EXPECT_EQ(sqlOf("select a from t minus select a from u"),
              "select a from t EXCEPT select a from u");
    EXPECT_EQ(sqlOf("select N'abc' s from dual"), "select 'abc' s from dual");
}

TEST(SqlRewriteDdl, TruncateBecomesDelete) {
    const RewrittenSql r = rw("TRUNCATE TABLE scott.emp REUSE STORAGE;");
    EXPECT_EQ(r.kind, Kind::Ddl);
    EXPECT_EQ(r.sql, "DELETE FROM emp");
    EXPECT_NE(errorCode("truncate emp"), 0);
}

TEST(SqlRewriteDdl, DropTableNamesTheTableAndLosesOracleOptions) {
    RewrittenSql r = rw("drop table Emp cascade constraints purge");
    EXPECT_EQ(r.ddl.droppedTable, "EMP");
    EXPECT_EQ(r.sql, "drop table Emp");
    r = rw("DROP TABLE IF EXISTS \"Mixed\"");
    EXPECT_EQ(r.ddl.droppedTable, "MIXED");
    EXPECT_TRUE(rw("drop view v").ddl.droppedTable.empty());
}

TEST(SqlRewriteDdl, AlterAndRenameTable) {
    RewrittenSql r = rw("alter table scott.t add (c varchar2(10 char) not null)");
    EXPECT_EQ(withoutValueChecks(r.sql), "alter table t add COLUMN c varchar2(10) not null");
    EXPECT_NE(r.sql.find("ORA$VALUE_TOO_LARGE('T', 'C', length(c), 10)"), std::string::npos);
    EXPECT_EQ(sqlOf("alter table t add c number"), "alter table t add c number");
    r = rw("alter table t add (a number, b date)");
    EXPECT_EQ(withoutValueChecks(r.sql), "alter table t add COLUMN a number");
    ASSERT_EQ(r.ddl.catalogSql.size(), 1u);
    EXPECT_EQ(r.ddl.catalogSql[0], "ALTER TABLE t ADD COLUMN  b date COLLATE ORA_DATETIME");
    r = rw("rename emp to Staff");
    EXPECT_EQ(r.sql, "ALTER TABLE emp RENAME TO Staff");
    EXPECT_EQ(r.ddl.renamedFrom, "EMP");
    EXPECT_EQ(r.ddl.renamedTo, "STAFF");
    r = rw("ALTER TABLE emp RENAME TO staff");
    EXPECT_EQ(r.ddl.renamedFrom, "EMP");
    EXPECT_EQ(r.ddl.renamedTo, "STAFF");
    EXPECT_EQ(sqlOf("create global temporary table g (a number) on commit delete rows"),
              "create  temporary table g (a number)");
}

TEST(SqlRewriteDdl, IdentityColumns) {
    RewrittenSql r =
        rw("CREATE TABLE scott.items (id NUMBER GENERATED ALWAYS AS IDENTITY PRIMARY KEY, "
           "name VARCHAR2(20 CHAR) NOT NULL, CONSTRAINT c CHECK (name <> 'x'))");
    ASSERT_EQ(r.ddl.identities.size(), 1u);
    EXPECT_EQ(r.ddl.identities[0].table, "ITEMS");
    EXPECT_EQ(r.ddl.identities[0].column, "ID");
    EXPECT_EQ(r.ddl.identities[0].generation, "ALWAYS");
    EXPECT_EQ(withoutValueChecks(r.sql),
              "CREATE TABLE items (id NUMBER  PRIMARY KEY, name VARCHAR2(20) NOT NULL, "
              "CONSTRAINT c CHECK (name <> 'x'))");

    r =
        rw("create table t (a varchar2(5), \"Id\" number(10) generated by default on null as "
           "identity (start with 1 increment by 1) not null)");
    ASSERT_EQ(r.ddl.identities.size(), 1u);
    EXPECT_EQ(r.ddl.identities[0].table, "T");
    EXPECT_EQ(r.ddl.identities[0].column, "ID");
    EXPECT_EQ(r.ddl.identities[0].generation, "BY DEFAULT ON NULL");
    EXPECT_EQ(r.sql.find("identity"), std::string::npos);
    EXPECT_EQ(r.sql.find("not null"), std::string::npos);  // the generator fills it in

    r = rw("create table t (id integer generated by default as identity, x number)");
    ASSERT_EQ(r.ddl.identities.size(), 1u);
    EXPECT_EQ(r.ddl.identities[0].generation, "BY DEFAULT");

    // SQLite's own generated columns are left alone.
    r = rw("create table t (a number, b number GENERATED ALWAYS AS (a * 2))");
    EXPECT_TRUE(r.ddl.identities.empty());
    EXPECT_EQ(withoutValueChecks(r.sql),
              "create table t (a number, b number GENERATED ALWAYS AS (a * 2))");
}

TEST(SqlRewriteDdl, ValueChecks) {
    // Right after the type, in plain SQL on the column as written; the message literal comes first
    // so that SQLite names a failure with it.
    EXPECT_EQ(rw("create table scott.t (s varchar2(20 char) not null, n number(5,2) check (n > 0),"
                 " \"Odd \"\"x\" char(2), i integer, d date, txt text, big bigint)")
                  .sql,
              R"sql(create table t (s varchar2(20) CHECK ('ORA-12899' IS NOT NULL AND )sql"
              R"sql((length(s) <= 20 OR ORA$VALUE_TOO_LARGE('T', 'S', length(s), 20))) not null, )sql"
              R"sql(n number(5,2) CHECK ('ORA-01722: invalid number' IS NOT NULL AND )sql"
              R"sql((n <= '' OR length(n) = 0)) CHECK ('ORA-01438: )sql"
              R"sql(value larger than specified precision allowed for this column' IS NOT NULL )sql"
              R"sql(AND ((n > -(1e3 - 1) AND n < (1e3 - 1)) OR abs(round(n, 2)) < 1e3)) )sql"
              R"sql(check (n > 0), "Odd ""x" char(2) CHECK ('ORA-12899' IS NOT NULL AND )sql"
              R"sql((length("Odd ""x") <= 2 OR ORA$VALUE_TOO_LARGE('T', 'Odd "x', length("Odd ""x"), 2))) )sql"
              R"sql(COLLATE RTRIM, )sql"
              R"sql(i integer CHECK ('ORA-01722: invalid number' IS NOT NULL AND (i <= '' OR )sql"
              R"sql(length(i) = 0 OR (typeof(i) = 'blob' AND hex(i) GLOB 'FF4E0[123]*'))), )sql"
              R"sql(d date COLLATE ORA_DATETIME, txt text, big bigint))sql");
    // A type after a multi-word name with its precision moved to the end; a quoted table.
    EXPECT_EQ(sqlOf("create table \"Mixed\" (ts timestamp(3) with time zone, "
                    "v varchar2(4) default 'x')"),
              "create table \"Mixed\" (ts timestamp with time zone(3) COLLATE ORA_DATETIME, v varchar2(4) "
              "default 'x')");
    EXPECT_NE(rw("create table \"Mixed\" (v varchar2(4))")
                  .sql.find(R"(ORA$VALUE_TOO_LARGE('Mixed', 'V', length(v), 4))"),
              std::string::npos);
    EXPECT_EQ(rw("alter table t add column c number(3)").sql.find(" CHECK ('ORA-01722"), 36u);
    // Table constraints, ADD CONSTRAINT and CREATE TABLE AS SELECT have no column to check.
    // A primary key's columns get NOT NULL, as Oracle's hold no NULL.
    EXPECT_EQ(rw("create table t (a text, constraint pk primary key (a), unique (a))").sql,
              "create table t (a text NOT NULL, constraint pk primary key (a), unique (a))");
    EXPECT_EQ(rw("create table t (a text primary key, b text not null primary key)").sql,
              "create table t (a text primary key NOT NULL, b text not null primary key)");
    EXPECT_TRUE(rw("alter table t add constraint c check (a <> 'x')").ddl.rebuildTable);
    EXPECT_EQ(rw("create table t as select * from u").sql, "create table t as select * from u");
}

}  // namespace
}  // namespace detail
}  // namespace kavexdb
