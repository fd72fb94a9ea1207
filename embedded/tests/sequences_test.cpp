// Sequences: DDL options and their checks, NEXTVAL/CURRVAL semantics (one value per row, never
// rolled back), and uniqueness across sessions and processes on one database file.
#ifndef _WIN32
#include <sys/wait.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "client_fixture.h"

namespace clienttest {
namespace {

class Sequences : public ::testing::Test {
protected:
    Sequences() : s(memdb()) {}
    Session s;
};

TEST_F(Sequences, NextvalCurrvalAndOptions) {
    s.exec("create sequence seq1");
    EXPECT_EQ(8002, oraCode([&] { s.one("select seq1.currval from dual"); }));
    EXPECT_EQ("1", s.one("select seq1.nextval from dual"));
    EXPECT_EQ("2", s.one("select seq1.nextval from dual"));
    EXPECT_EQ("2", s.one("select seq1.currval from dual"));
    s.exec("create sequence seq0");
    EXPECT_EQ("ORA-08002: sequence SEQ0.CURRVAL is not yet defined in this session\n",
              oraMessage([&] { s.one("select seq0.currval from dual"); }));

    s.exec("create sequence scott.by10 start with 100 increment by 10 maxvalue 120 nocache");
    EXPECT_EQ("100", s.one("select by10.nextval from dual"));
    EXPECT_EQ("110", s.one("select by10.nextval from dual"));
    EXPECT_EQ("120", s.one("select by10.nextval from dual"));
    EXPECT_EQ("ORA-08004: sequence BY10.NEXTVAL exceeds MAXVALUE and cannot be instantiated\n",
              oraMessage([&] { s.one("select by10.nextval from dual"); }));
    EXPECT_EQ("120", s.one("select by10.currval from dual"));

    s.exec("create sequence down increment by -1");
    EXPECT_EQ("-1", s.one("select down.nextval from dual"));
    EXPECT_EQ("-2", s.one("select down.nextval from dual"));

    s.exec("create sequence ring minvalue 1 maxvalue 3 cycle cache 2");
    std::vector<std::string> got;
    for (int k = 0; k < 5; ++k) got.push_back(s.one("select ring.nextval from dual"));
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "1", "2"}), got);

    s.exec("alter sequence seq1 increment by 5");
    EXPECT_EQ("7", s.one("select seq1.nextval from dual"));
    s.exec("alter sequence seq1 restart start with 1000");
    EXPECT_EQ("1000", s.one("select seq1.nextval from dual"));
    s.exec("drop sequence seq1");
    EXPECT_EQ("ORA-02289: sequence does not exist\n",
              oraMessage([&] { s.one("select seq1.nextval from dual"); }));
}

TEST_F(Sequences, DdlErrorsInOraclesWords) {
    EXPECT_EQ(2289, oraCode([&] { s.one("select nosuch.nextval from dual"); }));
    EXPECT_EQ(2289, oraCode([&] { s.exec("drop sequence nosuch"); }));
    EXPECT_EQ(2289, oraCode([&] { s.exec("alter sequence nosuch increment by 2"); }));
    s.exec("create sequence s1");
    EXPECT_EQ(955, oraCode([&] { s.exec("create sequence s1"); }));
    s.exec("create table t1 (x integer)");
    EXPECT_EQ(955, oraCode([&] { s.exec("create sequence t1"); }));
    EXPECT_EQ(4002, oraCode([&] { s.exec("create sequence s2 increment by 0"); }));
    EXPECT_EQ(4004, oraCode([&] { s.exec("create sequence s2 minvalue 5 maxvalue 5"); }));
    EXPECT_EQ(4006, oraCode([&] { s.exec("create sequence s2 start with 1 minvalue 2"); }));
    EXPECT_EQ(4008, oraCode([&] { s.exec("create sequence s2 start with 9 maxvalue 8"); }));
    EXPECT_EQ(4010, oraCode([&] { s.exec("create sequence s2 cache 1"); }));
    EXPECT_EQ(4013,
              oraCode([&] { s.exec("create sequence s2 maxvalue 5 cycle cache 20"); }));
    EXPECT_EQ(2283, oraCode([&] { s.exec("alter sequence s1 start with 5"); }));
    EXPECT_EQ(4004, oraCode([&] { s.exec("alter sequence s1 maxvalue -5"); }));
    s.exec("create sequence if_absent");
    EXPECT_EQ(0, oraCode([&] { s.exec("create sequence if not exists if_absent"); }));
}

TEST_F(Sequences, OneValuePerRowEverywhereItMayStand) {
    s.exec("create sequence ids");
    s.exec("create table t (a integer, b integer, c integer)");
    s.exec("insert into t values (ids.nextval, ids.nextval, ids.currval)");
    EXPECT_EQ("1|1|1", s.one("select a || '|' || b || '|' || c from t"));
    s.exec("insert into t select ids.nextval, ids.nextval, 0 from t");
    s.exec("insert into t select ids.nextval, ids.nextval, 0 from t");
    EXPECT_EQ("4", s.one("select count(*) from t"));
    EXPECT_EQ("4", s.one("select count(distinct a) from t where a = b"));
    EXPECT_EQ("1,2,3,4", s.one("select group_concat(a, ',') from (select a from t order by a)"));
    EXPECT_EQ("5|5", s.one("select ids.nextval || '|' || ids.currval from dual"));
    s.exec("update t set c = ids.nextval");
    EXPECT_EQ("6-9", s.one("select min(c) || '-' || max(c) from t"));

    s.exec("create table d (id number default ids.nextval, v varchar2(5))");
    s.exec("insert into d (v) values ('x')");
    s.exec("insert into d (v) values ('y')");
    EXPECT_EQ("10,11", s.one("select group_concat(id, ',') from (select id from d order by id)"));

    Statement* q = s.conn()->createStatement("select ids.nextval, ids.currval c from dual");
    q->execute();
    ResultSet* rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    std::vector<MetaData> columns = rs->getColumnListMetaData();
    EXPECT_EQ("NEXTVAL", columns[0].getString(MetaData::ATTR_NAME));
    EXPECT_EQ("12", rs->getString(1));
    EXPECT_EQ("12", rs->getString(2));
    s.conn()->terminateStatement(q);
}

TEST_F(Sequences, ValuesAreNeverRolledBackNorSharedBetweenSessions) {
    s.exec("create sequence s");
    s.exec("create table t (x integer)");
    s.exec("insert into t values (s.nextval)");
    s.exec("insert into t values (s.nextval)");
    s.exec("rollback");
    EXPECT_EQ("0", s.one("select count(*) from t"));
    EXPECT_EQ("3", s.one("select s.nextval from dual"));
    // A failed statement gives its value up too.
    EXPECT_EQ(1400, oraCode([&] {
                  s.exec("create table nn (x integer not null, y integer)");
                  s.exec("insert into nn values (null, s.nextval)");
              }));
    EXPECT_EQ("5", s.one("select s.nextval from dual"));
}

TEST(SequencesShared, SessionsOfOneDatabaseInterleave) {
    const std::string db = memdb();
    Session a(db), b(db);
    a.exec("create sequence s");
    EXPECT_EQ("1", a.one("select s.nextval from dual"));
    EXPECT_EQ(8002, oraCode([&] { b.one("select s.currval from dual"); }));
    EXPECT_EQ("2", b.one("select s.nextval from dual"));
    EXPECT_EQ("3", a.one("select s.nextval from dual"));
    EXPECT_EQ("3", a.one("select s.currval from dual"));
    EXPECT_EQ("2", b.one("select s.currval from dual"));
}

// Two processes take values from one sequence at the same time: every value is taken once.
TEST(SequencesShared, TwoProcessesOnOneFileNeverShareAValue) {
#ifdef _WIN32
    GTEST_SKIP() << "needs fork()";
#else
    FileDb file;
    const int perProcess = 300;
    {
        Session setup(file.create());
        setup.exec("create sequence s");
    }
    const std::string childOut = file.path + ".child";
    auto take = [&](std::ostream& out) {
        Session session(file.path);
        for (int k = 0; k < perProcess; ++k) out << session.one("select s.nextval from dual") << "\n";
    };
    const pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        int status = 0;
        try {
            std::ofstream out(childOut);
            take(out);
        } catch (...) {
            status = 1;
        }
        _exit(status);
    }
    std::stringstream mine;
    take(mine);
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::ifstream theirs(childOut);
    std::set<long> values;
    long v = 0;
    int count = 0;
    for (std::istream* in : {static_cast<std::istream*>(&mine), static_cast<std::istream*>(&theirs)})
        while (*in >> v) {
            values.insert(v);
            ++count;
        }
    EXPECT_EQ(2 * perProcess, count);
    EXPECT_EQ(static_cast<std::size_t>(2 * perProcess), values.size()) << "a value was taken twice";
    EXPECT_EQ(1, *values.begin());
    EXPECT_EQ(2 * perProcess, *values.rbegin());
    std::remove(childOut.c_str());
    for (const char* suffix : {"-kvseq", "-kvseq-wal", "-kvseq-shm"})
        std::remove((file.path + suffix).c_str());
#endif
}

}  // namespace
}  // namespace clienttest
