// Packages as sessions hold them: each session has its own instance of a package (its variables'
// values), another session's replacing the package gives the next call a new instance, and a
// database file whose stored units were kept before packages existed keeps them and takes
// packages.
#include <sqlite3.h>

#include "client_fixture.h"

namespace clienttest {
namespace {

const char* const kCounter =
    "create or replace package counter_pk as n number := 0; "
    "function next_n return number; end;";
const char* const kCounterBody =
    "create or replace package body counter_pk as "
    "function next_n return number is begin n := n + 1; return n; end; end;";

TEST(ClientPackages, EachSessionHasItsOwnStateAndAReplacedPackageStartsAgain) {
    FileDb file;
    Session a(file.create());
    a.exec(kCounter);
    a.exec(kCounterBody);
    Session b(file.create());
    EXPECT_EQ("1", a.one("select counter_pk.next_n from dual"));
    EXPECT_EQ("2", a.one("select counter_pk.next_n from dual"));
    EXPECT_EQ("1", b.one("select counter_pk.next_n from dual"));
    EXPECT_EQ("3", a.one("select counter_pk.next_n from dual"));
    // b replaces the body: a's next call runs the new body in a new instance.
    b.exec("create or replace package body counter_pk as "
           "function next_n return number is begin n := n + 10; return n; end; end;");
    EXPECT_EQ("10", a.one("select counter_pk.next_n from dual"));
    EXPECT_EQ("20", a.one("select counter_pk.next_n from dual"));
    EXPECT_EQ("10", b.one("select counter_pk.next_n from dual"));
}

TEST(ClientPackages, AnOlderCatalogKeepsItsUnitsAndTakesPackages) {
    FileDb file;
    {
        // The catalog as earlier versions made it: one unit a name.
        sqlite3* raw = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_open(file.path.c_str(), &raw));
        const char* sql =
            "CREATE TABLE \"KAVEX$SOURCE\"(OWNER TEXT, NAME TEXT PRIMARY KEY, TYPE TEXT, "
            "STATUS TEXT, TEXT TEXT, ERROR_LINE INTEGER, ERROR_POSITION INTEGER, ERROR_TEXT "
            "TEXT, ARGUMENTS TEXT);"
            "INSERT INTO \"KAVEX$SOURCE\" VALUES ('SCOTT', 'TWICE', 'FUNCTION', 'VALID', "
            "'FUNCTION twice (n NUMBER) RETURN NUMBER IS BEGIN RETURN 2 * n; END;', NULL, NULL, "
            "NULL, '[[null,0,\"OUT\",\"NUMBER\",\"N\"],[\"N\",1,\"IN\",\"NUMBER\",\"N\"]]');";
        EXPECT_EQ(SQLITE_OK, sqlite3_exec(raw, sql, nullptr, nullptr, nullptr));
        sqlite3_close(raw);
    }
    Session s(file.create());
    EXPECT_EQ("42", s.one("select twice(21) from dual"));
    s.exec("create or replace package twice_pk as function f (n number) return number; end;");
    s.exec("create or replace package body twice_pk as "
           "function f (n number) return number is begin return twice(n) + 1; end; end;");
    EXPECT_EQ("43", s.one("select twice_pk.f(21) from dual"));
    EXPECT_EQ("3", s.one("select count(*) from user_objects where object_type in "
                         "('FUNCTION', 'PACKAGE', 'PACKAGE BODY')"));
    EXPECT_EQ("1", s.one("select count(*) from user_arguments where object_name = 'TWICE' "
                         "and argument_name = 'N'"));
}

}  // namespace
}  // namespace clienttest
