// Connecting, accounts and transactions of the embedded client.
#include <sqlite3.h>
#include <sys/stat.h>

#include "client_fixture.h"

namespace clienttest {
namespace {

// The first value of a query run on the file with SQLite itself, past the client's rules.
std::string rawFirstValue(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string out = "<none>";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            out = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return out;
}

TEST(ClientEnvironment, AcceptsUtf8CharsetsInAnyCaseAndRefusesOthers) {
    for (const char* cs : {"utf8", "UTF8", "AL32UTF8", "al32utf8"}) {
        Environment* env = Environment::createEnvironment(cs, cs);
        Environment::terminateEnvironment(env);
    }
    EXPECT_EQ(32101, oraCode([] { Environment::createEnvironment("WE8ISO8859P1", "utf8"); }));
    EXPECT_EQ(32101, oraCode([] { Environment::createEnvironment("utf8", "latin1"); }));
    EXPECT_EQ(0, kavexdb::testing::liveCounts().environments);
}

TEST(ClientConnect, UnresolvableConnectStringsAreOra12154) {
    Environment* env = Environment::createEnvironment("utf8", "utf8");
    FileDb missing;
    for (const std::string& cs : {std::string(), missing.path, "file:" + missing.path}) {
        std::string msg = oraMessage([&] { env->createConnection("u", "p", cs); });
        EXPECT_EQ("ORA-12154: TNS:could not resolve the connect identifier specified\n", msg)
            << cs;
    }
    struct stat st;
    EXPECT_NE(0, stat(missing.path.c_str(), &st)) << "a plain path must not create the file";
    Environment::terminateEnvironment(env);
    EXPECT_EQ(0, kavexdb::testing::liveCounts().connections);
}

TEST(ClientConnect, UriCreatesAndPlainPathReopens) {
    FileDb file;
    {
        Session s(file.create());
        s.exec("create table t (x integer)");
        s.exec("insert into t values (7)");
    }
    Session again(file.path);
    EXPECT_EQ("7", again.one("select x from t"));
}

TEST(ClientConnect, MemoryIsPrivateAndMemdbIsShared) {
    Session a(":memory:");
    a.exec("create table t (x integer)");
    Session b(":memory:");
    EXPECT_EQ(942, oraCode([&] { b.one("select * from t"); }));

    std::string shared = memdb();
    Session c(shared);
    c.exec("create table t (x integer)");
    c.exec("insert into t values (1)");
    c.exec("commit");
    Session d(shared);
    EXPECT_EQ("1", d.one("select count(*) from t"));
}

TEST(ClientConnect, DualExistsInEverySession) {
    Session s(memdb());
    EXPECT_EQ("X", s.one("select dummy from dual"));
}

TEST(ClientTransactions, SessionsOnOneFileSeeOnlyCommittedData) {
    FileDb file;
    Session a(file.create());
    a.exec("create table t (x integer)");
    Session b(file.path);
    a.exec("insert into t values (1)");
    EXPECT_EQ("0", b.one("select count(*) from t"));
    EXPECT_EQ("1", a.one("select count(*) from t"));
    a.conn()->commit();
    EXPECT_EQ("1", b.one("select count(*) from t"));
}

TEST(ClientTransactions, RollbackDiscardsAndDdlCommits) {
    std::string db = memdb();
    Session a(db), b(db);
    a.exec("create table t (x integer)");
    a.exec("insert into t values (1)");
    a.exec("rollback");
    EXPECT_EQ("0", a.one("select count(*) from t"));

    a.exec("insert into t values (2)");
    a.conn()->rollback();
    EXPECT_EQ("0", a.one("select count(*) from t"));

    a.exec("insert into t values (3)");
    a.exec("create table u (y integer)");  // commits the insert
    a.exec("rollback");
    EXPECT_EQ("1", b.one("select count(*) from t"));
}

TEST(ClientTransactions, TerminateConnectionCommits) {
    std::string db = memdb();
    Session keeper(db);
    keeper.exec("create table t (x integer)");
    {
        Session s(db);
        s.exec("insert into t values (1)");
    }
    EXPECT_EQ("1", keeper.one("select count(*) from t"));
}

TEST(ClientTransactions, AutoCommitCommitsEachExecution) {
    std::string db = memdb();
    Session a(db), b(db);
    a.exec("create table t (x integer)");
    Statement* s = a.conn()->createStatement("insert into t values (1)");
    s->setAutoCommit(true);
    s->execute();
    EXPECT_EQ("1", b.one("select count(*) from t"));
    a.conn()->terminateStatement(s);
}

TEST(ClientAccounts, OpenDatabaseUntilTheFirstAccount) {
    FileDb file;
    { Session s(file.create(), "anyone", "whatever"); s.exec("create table t (x integer)"); }
    {
        Session s(file.path, "nobody", "");
        EXPECT_EQ("<none>", s.one("select name from sqlite_master where name like 'KAVEX$ACC%'"))
            << "connecting writes nothing";
        s.exec("CREATE USER Alice IDENTIFIED BY Secret1");
    }
    EXPECT_EQ(std::string::npos, rawFirstValue(file.path,
                                               "select user_name || password_hash "
                                               "from \"KAVEX$ACCOUNTS\"")
                                     .find("Secret1"));
    EXPECT_EQ(0u,
              rawFirstValue(file.path, "select user_name from \"KAVEX$ACCOUNTS\"").find("ALICE"));
    std::string denied = "ORA-01017: invalid username/password; logon denied\n";
    EXPECT_EQ(denied, oraMessage([&] { Session s(file.path, "nobody", ""); }));
    EXPECT_EQ(denied, oraMessage([&] { Session s(file.path, "alice", "secret1"); }));
    Session ok(file.path, "ALICE", "Secret1");
    Session ok2(file.path, "aLiCe", "Secret1");
    EXPECT_EQ(0, kavexdb::testing::liveCounts().connections - 2);
}

TEST(ClientAccounts, AlterAndDropUser) {
    std::string db = memdb();
    Session admin(db, "admin", "pw");
    admin.exec("create user admin identified by pw");
    admin.exec("create user bob identified by one");
    EXPECT_EQ(1920, oraCode([&] { admin.exec("create user BOB identified by two"); }));
    admin.exec("alter user Bob identified by two");
    EXPECT_EQ(1017, oraCode([&] { Session s(db, "bob", "one"); }));
    { Session s(db, "bob", "two"); }
    admin.exec("create user carol identified by c");
    admin.exec("drop user bob");
    EXPECT_EQ(1017, oraCode([&] { Session s(db, "bob", "two"); }));
    EXPECT_EQ(1918, oraCode([&] { admin.exec("drop user bob"); }));
    EXPECT_EQ(1918, oraCode([&] { admin.exec("alter user bob identified by x"); }));
    admin.exec("drop user carol");
    admin.exec("drop user admin");       // the last account
    Session anyone(db, "whoever", "x");  // no accounts left: open again
}

TEST(ClientAccounts, CreateUserCommitsOpenWork) {
    std::string db = memdb();
    Session a(db), b(db);
    a.exec("create table t (x integer)");
    a.exec("insert into t values (1)");
    a.exec("create user dave identified by d");
    EXPECT_EQ("1", b.one("select count(*) from t"));
}

}  // namespace
}  // namespace clienttest
