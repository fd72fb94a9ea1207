// Several environments on several threads at once, on one file and on one shared memory
// database.
#include <thread>

#include "client_fixture.h"

namespace clienttest {
namespace {

void hammer(const std::string& connect, int worker, int rows) {
    Session s(connect);
    Statement* ins = s.conn()->createStatement("insert into t values (:1, :2)");
    for (int i = 0; i < rows; ++i) {
        ins->setInt(1, worker);
        ins->setInt(2, i);
        ins->execute();
        if (i % 10 == 9) s.conn()->commit();
    }
    s.conn()->terminateStatement(ins);
    Statement* q = s.conn()->createStatement("select count(*) from t where w = :1");
    q->setInt(1, worker);
    q->execute();
    ResultSet* rs = q->getResultSet();
    rs->next();
    EXPECT_EQ(rows, rs->getInt(1));
    s.conn()->terminateStatement(q);
}

void runWorkers(const std::string& connect) {
    const int workers = 4, rows = 50;
    std::vector<std::thread> threads;
    for (int w = 0; w < workers; ++w) threads.emplace_back(hammer, connect, w, rows);
    for (auto& t : threads) t.join();
}

TEST(ClientThreads, EnvironmentsOnThreadsShareOneFile) {
    FileDb file;
    Session setup(file.create());
    setup.exec("create table t (w integer, i integer)");
    runWorkers(file.path);
    EXPECT_EQ("200", setup.one("select count(*) from t"));
}

TEST(ClientThreads, EnvironmentsOnThreadsShareOneMemdb) {
    std::string db = memdb();
    Session setup(db);
    setup.exec("create table t (w integer, i integer)");
    runWorkers(db);
    EXPECT_EQ("200", setup.one("select count(*) from t"));
}

}  // namespace
}  // namespace clienttest
