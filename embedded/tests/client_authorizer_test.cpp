// Accounts as a boundary: the accounts table is out of user SQL's reach, only the first account
// manages the others, and statements that reach past the database (ATTACH, PRAGMA,
// load_extension) are refused.
#include <sys/stat.h>

#include "client_fixture.h"

namespace clienttest {
namespace {

const char* const kAccounts = "\"KAVEX$ACCOUNTS\"";

// A database whose first account is ADMIN (password "pw"), with a second account BOB ("b").
class ClientAuthorizer : public ::testing::Test {
  protected:
    ClientAuthorizer() {
        keeper.exec("create user admin identified by pw");
        keeper.exec("create user bob identified by b");
        keeper.exec("create table t (x integer)");
    }
    std::string db = memdb();
    Session keeper{db, "admin", "pw"};  // keeps the in-memory database alive
};

TEST_F(ClientAuthorizer, AccountsTableDoesNotExistForUserSql) {
    for (const char* user : {"admin", "bob"}) {
        Session s(db, user, user == std::string("admin") ? "pw" : "b");
        const std::string t = kAccounts;
        for (const std::string& sql : std::vector<std::string>{
                 "select * from " + t, "select count(*) from main." + t,
                 "select user_name from " + std::string("kavex$accounts"), "delete from " + t,
                 "update " + t + " set password_hash = 'x'",
                 "insert into " + t + " values ('EVE', 'x')", "drop table " + t,
                 "alter table " + t + " rename to gone", "create index ai on " + t + "(user_name)",
                 "select * from t where x in (select 1 from " + t + ")",
                 "create temp table " + t + " (user_name text, password_hash text)",
                 "select * from pragma_table_info('KAVEX$ACCOUNTS')"})
            EXPECT_EQ("ORA-00942: table or view does not exist\n", oraMessage([&] { s.exec(sql); }))
                << user << ": " << sql;
        // A view (FORCE: without it the view's own check refuses it at once) or trigger made to
        // reach it on the user's behalf fails when used.
        const std::string u = user;
        s.exec("create force view v_" + u + " as select * from " + t);
        EXPECT_EQ(942, oraCode([&] { s.one("select * from v_" + u); }));
        s.exec("create trigger tr_" + u + " after insert on t begin delete from " + t + "; end");
        EXPECT_EQ(942, oraCode([&] { s.exec("insert into t values (1)"); }));
        s.exec("drop trigger tr_" + u);
    }
    EXPECT_EQ("ORA-04043: object KAVEX$ACCOUNTS does not exist\n", oraMessage([&] {
                  keeper.conn()->getMetaData(" kavex$accounts ", MetaData::PTYPE_UNK);
              }));
    EXPECT_EQ(4043, oraCode([&] {
                  keeper.conn()->getMetaData("admin.\"KAVEX$ACCOUNTS\"", MetaData::PTYPE_UNK);
              }));
    // Logons still work: nothing was changed.
    Session bob(db, "bob", "b");
    EXPECT_EQ(1017, oraCode([&] { Session s(db, "mallory", "x"); }));
}

TEST_F(ClientAuthorizer, OnlyTheAdministratorManagesOtherAccounts) {
    Session bob(db, "bob", "b");
    for (const char* sql :
         {"create user eve identified by e", "alter user admin identified by x", "drop user admin",
          "alter user nobody identified by x", "drop user nobody"})
        EXPECT_EQ("ORA-01031: insufficient privileges\n", oraMessage([&] { bob.exec(sql); }))
            << sql;
    Session admin(db, "admin", "pw");
    admin.exec("create user eve identified by e");
    admin.exec("alter user bob identified by b2");
    EXPECT_EQ(1017, oraCode([&] { Session s(db, "bob", "b"); }));
    Session bob2(db, "bob", "b2");
    admin.exec("drop user eve");
    EXPECT_EQ(1017, oraCode([&] { Session s(db, "eve", "e"); }));
}

TEST_F(ClientAuthorizer, EveryAccountChangesItsOwnPassword) {
    {
        Session bob(db, "bob", "b");
        bob.exec("alter user BOB identified by newer");
    }
    EXPECT_EQ(1017, oraCode([&] { Session s(db, "bob", "b"); }));
    Session bob(db, "bob", "newer");
    Session admin(db, "admin", "pw");
    admin.exec("alter user admin identified by pw2");
    Session again(db, "admin", "pw2");
}

TEST_F(ClientAuthorizer, AdministratorLeavesLast) {
    Session admin(db, "admin", "pw");
    EXPECT_EQ(1940, oraCode([&] { admin.exec("drop user admin"); }));
    Session still(db, "admin", "pw");
    admin.exec("drop user bob");
    admin.exec("drop user admin");
    Session anyone(db, "whoever", "x");  // the database is open again
    anyone.exec("create user first identified by f");
    EXPECT_EQ(1031, oraCode([&] { anyone.exec("create user second identified by s"); }));
}

TEST_F(ClientAuthorizer, SessionsOpenedBeforeTheFirstAccountAreNotAdministrators) {
    std::string fresh = memdb();
    Session early(fresh, "early", "x");
    Session founder(fresh, "founder", "f");
    founder.exec("create user founder identified by f");
    EXPECT_EQ(1031, oraCode([&] { early.exec("create user other identified by o"); }));
    EXPECT_EQ(1031, oraCode([&] { early.exec("drop user founder"); }));
    founder.exec("create user other identified by o");
}

TEST_F(ClientAuthorizer, StatementsThatReachPastTheDatabaseAreRefused) {
    FileDb other;
    Session s(db, "bob", "b");
    const std::string refused = "ORA-01031: insufficient privileges\n";
    for (const std::string& sql : std::vector<std::string>{
             "attach database '" + other.path + "' as o", "attach '" + other.create() + "' as o",
             "detach database temp", "pragma writable_schema = on", "PRAGMA journal_mode = delete",
             "pragma table_info(t)", "pragma main.user_version = 7", "pragma foreign_keys",
             "select load_extension('/tmp/x.so')", "select fts3_tokenizer('simple')",
             "select * from pragma_compile_options", "select * from pragma_database_list"})
        EXPECT_EQ(refused, oraMessage([&] { s.exec(sql); })) << sql;
    struct stat st;
    EXPECT_NE(0, stat(other.path.c_str(), &st)) << "ATTACH created no file";
    // Describing a table through the read-only table-valued pragmas stays possible.
    EXPECT_EQ("x", s.one("select name from pragma_table_info('t')"));
    EXPECT_EQ("0", s.one("select * from pragma_user_version"));
    s.exec("create virtual table docs using fts5(body)");
    s.exec("insert into docs values ('the quick brown fox')");
    EXPECT_EQ("the quick brown fox", s.one("select body from docs where docs match 'quick'"));
    // The client's own use of pragmas and its catalog goes on.
    EXPECT_EQ("0", s.one("select count(*) from t"));
    s.exec("create table u (id number generated always as identity, y integer)");
    s.exec("insert into u (y) values (5)");
    EXPECT_EQ("1", s.one("select id from u"));
}

TEST_F(ClientAuthorizer, AccountStatementsWithATailAreRefused) {
    Session admin(db, "admin", "pw");
    for (const char* sql :
         {"CREATE USER b IDENTIFIED BY pw garbage (",
          "create user c identified by pw default tablespace users",
          "alter user bob identified by x y", "drop user bob now", "drop user bob cascade extra"})
        EXPECT_EQ("ORA-00922: missing or invalid option\n", oraMessage([&] { admin.exec(sql); }))
            << sql;
    EXPECT_EQ(1017, oraCode([&] { Session s(db, "b", "pw"); }));
    Session bob(db, "bob", "b");  // neither changed nor dropped
    admin.exec("create user c identified by pw;");
    admin.exec("drop user c cascade");
}

}  // namespace
}  // namespace clienttest
