// Statement-level atomicity when the disk fills: SQLite may answer a failed write by rolling back
// the whole transaction. The session says so in the failing statement's message and refuses DML,
// DDL and COMMIT with ORA-02091 until ROLLBACK, so what is left is never committed.
#include "client_fixture.h"
#include "failing_vfs.h"

namespace clienttest {
namespace {

const char* const kLostNote =
    "ORA-02091: transaction rolled back: the whole transaction was lost with this statement; DML "
    "and COMMIT fail until ROLLBACK\n";
const char* const kRefused =
    "ORA-02091: transaction rolled back: an earlier failure lost the whole transaction; ROLLBACK "
    "to go on\n";
const char* const kDiskFull =
    "ORA-00604: error occurred at recursive SQL level 1: database or "
    "disk is full\n";

class ClientTransactionLoss : public ::testing::Test {
  protected:
    ClientTransactionLoss() { s.exec("create table t (x integer, b blob)"); }
    ~ClientTransactionLoss() override { resetFailingVfs(); }

    void insertSome(int rows) {
        for (int i = 0; i < rows; ++i)
            s.exec("insert into t values (" + std::to_string(i) + ", null)");
    }
    // Everything a lost transaction must refuse, and that a query still works.
    void expectRefusals() {
        EXPECT_EQ(kRefused, oraMessage([&] { s.exec("insert into t values (100, null)"); }));
        EXPECT_EQ(kRefused, oraMessage([&] { s.exec("update t set x = 1"); }));
        EXPECT_EQ(kRefused, oraMessage([&] { s.exec("commit"); }));
        EXPECT_EQ(2091, oraCode([&] { s.conn()->commit(); }));
        EXPECT_EQ(2091, oraCode([&] { s.exec("create table u (y integer)"); }));
        EXPECT_EQ(2091, oraCode([&] { s.exec("create user z identified by z"); }));
        EXPECT_EQ("0", s.one("select count(*) from t"));
    }

    FileDb file;
    Session s{"file:" + file.path + "?vfs=" + failingVfs() + "&mode=rwc"};
};

TEST_F(ClientTransactionLoss, FailingStatementThatLosesEarlierWorkSaysSo) {
    insertSome(5);
    failWritesAfter(100000);  // the big row spills the page cache into a full disk
    SQLException e = thrownBy([&] { s.exec("insert into t values (99, zeroblob(5000000))"); });
    EXPECT_EQ(604, e.getErrorCode());
    EXPECT_EQ(std::string(kDiskFull) + kLostNote, e.getMessage());
    resetFailingVfs();
    expectRefusals();
    s.exec("rollback");
    s.exec("insert into t values (7, null)");
    s.exec("commit");
    Session other(file.path);
    EXPECT_EQ("7", other.one("select x from t"));
}

TEST_F(ClientTransactionLoss, FailingCommitSaysTheTransactionIsGone) {
    insertSome(3);
    failWritesAfter(0);
    EXPECT_EQ(std::string(kDiskFull) + kLostNote, oraMessage([&] { s.exec("commit"); }));
    resetFailingVfs();
    expectRefusals();
    s.conn()->rollback();
    insertSome(2);
    s.conn()->commit();
    EXPECT_EQ("2", Session(file.path).one("select count(*) from t"));
}

TEST_F(ClientTransactionLoss, CloseAfterALossCommitsNothingLeftOver) {
    insertSome(4);
    failWritesAfter(0);
    EXPECT_EQ(604, oraCode([&] { s.conn()->commit(); }));
    resetFailingVfs();
    EXPECT_EQ(2091, oraCode([&] { s.exec("insert into t values (1, null)"); }));
    s.close();
    EXPECT_EQ("0", Session(file.path).one("select count(*) from t"));
}

TEST_F(ClientTransactionLoss, StatementRolledBackAloneKeepsTheTransaction) {
    insertSome(5);
    failWritesAfter(100000);
    // A multi-row insert keeps a statement journal: SQLite undoes only this statement.
    SQLException e =
        thrownBy([&] { s.exec("insert into t select 5, zeroblob(100000) from t, t b, t c"); });
    EXPECT_EQ(kDiskFull, e.getMessage());
    resetFailingVfs();
    s.exec("insert into t values (6, null)");
    s.exec("commit");
    EXPECT_EQ("6", Session(file.path).one("select count(*) from t"));
}

TEST_F(ClientTransactionLoss, FirstStatementOfATransactionLosesNothingElse) {
    failWritesAfter(100000);
    EXPECT_EQ(kDiskFull,
              oraMessage([&] { s.exec("insert into t values (99, zeroblob(5000000))"); }));
    resetFailingVfs();
    s.exec("insert into t values (1, null)");
    s.exec("commit");
    EXPECT_EQ("1", Session(file.path).one("select count(*) from t"));
}

TEST_F(ClientTransactionLoss, TransactionEndedBySqliteSyntaxIsNoLoss) {
    insertSome(2);
    s.exec("end transaction");
    insertSome(1);
    s.exec("commit");
    EXPECT_EQ("3", Session(file.path).one("select count(*) from t"));
}

}  // namespace
}  // namespace clienttest
