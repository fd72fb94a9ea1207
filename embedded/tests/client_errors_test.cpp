// Oracle errors for SQLite failures, the test controls, and what failures leave behind.
#include <algorithm>
#include <stdexcept>

#include "base/errors.h"
#include "client_fixture.h"
#include "sql/sqlite_errors.h"

namespace clienttest {
namespace {

namespace kt = kavexdb::testing;

class ClientErrors : public ::testing::Test {
protected:
    ClientErrors() : s(memdb()) {
        s.exec("create table parent (id integer primary key)");
        s.exec("create table child (id integer primary key, pid integer not null "
               "references parent(id), qty integer check (qty > 0), code varchar2(5) unique)");
        s.exec("insert into parent values (1)");
    }
    ~ClientErrors() override { kt::clearFaults(); }
    Session s;
};

TEST_F(ClientErrors, SqliteFailuresMapToOracleErrors) {
    EXPECT_EQ("ORA-00942: table or view does not exist\n",
              oraMessage([&] { s.exec("select * from missing_table"); }));
    EXPECT_EQ("ORA-00904: \"NOPE\": invalid identifier\n",
              oraMessage([&] { s.exec("select nope from parent"); }));
    EXPECT_EQ(904, oraCode([&] { s.exec("select no_such_fn(1) from dual"); }));
    std::string syntax = oraMessage([&] { s.exec("selec 1"); });
    EXPECT_EQ(0u, syntax.find("ORA-00900: invalid SQL statement")) << syntax;
    EXPECT_NE(std::string::npos, syntax.find("syntax error")) << "SQLite's detail follows";
    s.exec("insert into child values (1, 1, 1, 'a')");
    EXPECT_EQ(1, oraCode([&] { s.exec("insert into child values (1, 1, 1, 'b')"); }));
    EXPECT_EQ(1, oraCode([&] { s.exec("insert into child values (2, 1, 1, 'a')"); }));
    EXPECT_EQ("ORA-01400: cannot insert NULL into (\"SCOTT\".\"CHILD\".\"PID\")\n",
              oraMessage([&] { s.exec("insert into child values (3, null, 1, 'c')"); }));
    EXPECT_EQ(2290, oraCode([&] { s.exec("insert into child values (4, 1, 0, 'd')"); }));
    EXPECT_EQ(2291, oraCode([&] { s.exec("insert into child values (5, 9, 1, 'e')"); }));
    EXPECT_EQ(955, oraCode([&] { s.exec("create table parent (x integer)"); }));
    std::string other = oraMessage([&] { s.exec("select * from parent where id = json('{')"); });
    EXPECT_EQ(0u, other.find("ORA-00604: error occurred at recursive SQL level 1")) << other;
}

TEST_F(ClientErrors, ChecksInsideSqliteKeepTheirOracleCode) {
    s.exec("create table ids (id number generated always as identity, s varchar2(3), n number(3))");
    EXPECT_EQ(32795, oraCode([&] { s.exec("insert into ids (id) values (7)"); }));
    EXPECT_EQ(12899, oraCode([&] { s.exec("insert into ids (s) values ('abcd')"); }));
    EXPECT_EQ(1438, oraCode([&] { s.exec("insert into ids (n) values (1000)"); }));
    EXPECT_EQ(1722, oraCode([&] { s.exec("insert into ids (n) values ('abc')"); }));
    std::string text = oraMessage([&] { s.exec("insert into ids (id) values (7)"); });
    EXPECT_EQ(0u, text.find("ORA-32795: ")) << text;
    EXPECT_EQ(1u, std::count(text.begin(), text.end(), '\n')) << text;
}

TEST_F(ClientErrors, BusyAndLockedAreOra00054) {
    namespace d = kavexdb::detail;
    EXPECT_EQ(54, oraCode([] { d::raiseSqlite(nullptr, SQLITE_BUSY); }));
    EXPECT_EQ(54, oraCode([] { d::raiseSqlite(nullptr, SQLITE_LOCKED); }));
    SQLException e = d::makeError(1, "x");
    EXPECT_EQ("ORA-00001: x\n", e.getMessage());
    EXPECT_STREQ("ORA-00001: x\n", e.what());
    SQLException copy;
    copy = e;
    EXPECT_EQ(1, copy.getErrorCode());
}

TEST_F(ClientErrors, FailedStatementsLeaveTheTransactionUsable) {
    s.exec("insert into child values (1, 1, 1, 'a')");
    EXPECT_EQ(1, oraCode([&] { s.exec("insert into child values (1, 1, 1, 'b')"); }));
    s.exec("insert into child values (2, 1, 1, 'b')");
    s.exec("commit");
    EXPECT_EQ("2", s.one("select count(*) from child"));
}

TEST_F(ClientErrors, InjectedFaultsFireOnTheNthCallCountedFromNow) {
    Statement* st = s.conn()->createStatement("select 1 from dual");
    st->execute();
    kt::injectFault("Statement::execute", 2, kt::FaultKind::SqlException, 1013,
                    "ORA-01013: user requested cancel of current operation\n");
    EXPECT_EQ(0, oraCode([&] { st->execute(); }));
    EXPECT_EQ("ORA-01013: user requested cancel of current operation\n",
              oraMessage([&] { st->execute(); }));
    EXPECT_EQ(0, oraCode([&] { st->execute(); })) << "a fault fires once";

    kt::injectFault("ResultSet::getString", 1, kt::FaultKind::BadAlloc);
    ResultSet* rs = st->getResultSet();
    rs->next();
    EXPECT_THROW(rs->getString(1), std::bad_alloc);
    EXPECT_EQ("1", rs->getString(1));

    kt::injectFault("Connection::createStatement", 1, kt::FaultKind::RuntimeError, 0, "boom");
    try {
        s.conn()->createStatement("select 1 from dual");
        ADD_FAILURE() << "no fault";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ("boom", e.what());
    }
    kt::injectFault("Statement::setInt", 1, kt::FaultKind::BadAlloc);
    kt::clearFaults();
    EXPECT_NO_THROW(st->setInt(1, 1));
    s.conn()->terminateStatement(st);
}

TEST_F(ClientErrors, GetMessageCanBeMadeToThrow) {
    SQLException e = kavexdb::detail::makeError(942, "table or view does not exist");
    kt::setGetMessageThrows(true);
    EXPECT_THROW(e.getMessage(), std::runtime_error);
    EXPECT_EQ(942, e.getErrorCode());
    kt::setGetMessageThrows(false);
    EXPECT_EQ("ORA-00942: table or view does not exist\n", e.getMessage());
}

TEST(ClientLiveCounts, HundredsOfFailedConnectionsLeaveNothing) {
    std::string db = memdb();
    Session admin(db);
    admin.exec("create user eve identified by pw");
    const kt::LiveCounts before = kt::liveCounts();
    FileDb missing;
    for (int i = 0; i < 300; ++i) {
        Environment* env = Environment::createEnvironment("utf8", "utf8",
                                                          Environment::THREADED_UNMUTEXED);
        switch (i % 3) {
        case 0:
            EXPECT_EQ(12154, oraCode([&] { env->createConnection("u", "p", missing.path); }));
            break;
        case 1:
            if (i % 30 == 1) {  // a wrong password costs a password hash: only a few
                EXPECT_EQ(1017, oraCode([&] { env->createConnection("eve", "no", db); }));
            }
            break;
        default:
            kt::injectFault("Environment::createConnection", 1, kt::FaultKind::BadAlloc);
            EXPECT_THROW(env->createConnection("u", "p", db), std::bad_alloc);
            break;
        }
        Environment::terminateEnvironment(env);
    }
    const kt::LiveCounts after = kt::liveCounts();
    EXPECT_EQ(before.environments, after.environments);
    EXPECT_EQ(before.connections, after.connections);
    EXPECT_EQ(before.statements, after.statements);
}

TEST(ClientLiveCounts, TerminateEnvironmentReleasesEverythingStillOpen) {
    Environment* env = Environment::createEnvironment("utf8", "utf8");
    std::string db = memdb();
    Connection* c = env->createConnection("u", "p", db);
    Statement* st = c->createStatement("create table t (c clob)");
    st->execute();
    st->execute("insert into t values ('x')");
    st->execute("select c, c from t");
    ResultSet* rs = st->getResultSet();
    rs->next();
    Clob kept = rs->getClob(1);
    c->createStatement("select 1 from dual")->execute();
    kt::LiveCounts open = kt::liveCounts();
    EXPECT_EQ(1, open.environments);
    EXPECT_EQ(2, open.statements);
    EXPECT_EQ(2, open.resultSets);
    Environment::terminateEnvironment(env);
    kt::LiveCounts closed = kt::liveCounts();
    EXPECT_EQ(0, closed.environments);
    EXPECT_EQ(0, closed.connections);
    EXPECT_EQ(0, closed.statements);
    EXPECT_EQ(0, closed.resultSets);
    EXPECT_EQ(1, closed.lobContents) << "the locator still holds its content";
    kept.setNull();
    EXPECT_EQ(0, kt::liveCounts().lobContents);
}

}  // namespace
}  // namespace clienttest
