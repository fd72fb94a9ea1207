// Triggers as a host meets them through prepared and array DML: a BEFORE INSERT trigger that
// numbers rows applies to every row of one execute, to statements prepared before it was
// created (and stops applying once it is dropped), to another session's statements, and its
// rows are counted; a failing row trigger fails the row it fires for and keeps earlier rows.
#include "client_fixture.h"

namespace clienttest {
namespace {

class ClientTriggers : public ::testing::Test {
protected:
    ClientTriggers() : db(memdb()), s(db) {
        s.exec("create table t (id number(10), name varchar2(10))");
        s.exec("create sequence t_seq");
    }

    // One execute of rows rows of "insert into t (name) values (:1)" on st.
    unsigned insertRows(Statement* st, unsigned rows, unsigned failAt = 0) {
        st->setMaxIterations(rows);
        st->setMaxParamSize(1, 20);
        for (unsigned r = 0; r < rows; ++r) {
            if (r) st->addIteration();
            st->setString(1, r + 1 == failAt ? "fifteen letters" : "n" + std::to_string(r));
        }
        return st->executeUpdate();
    }

    const char* numbering =
        "create or replace trigger t_bi before insert on t for each row "
        "begin :new.id := t_seq.nextval; end;";
    std::string db;
    Session s;
};

TEST_F(ClientTriggers, ArrayInsertNumbersEveryRowAndCountsThem) {
    s.exec(numbering);
    Statement* ins = s.conn()->createStatement("insert into t (name) values (:1)");
    EXPECT_EQ(500u, insertRows(ins, 500));
    s.conn()->terminateStatement(ins);
    EXPECT_EQ("500", s.one("select count(distinct id) from t"));
    EXPECT_EQ("1", s.one("select min(id) from t"));
    EXPECT_EQ("500", s.one("select max(id) from t"));
    EXPECT_EQ("0", s.one("select count(*) from t where id is null"));
}

TEST_F(ClientTriggers, APreparedInsertTakesATriggerMadeAfterItAndDropsItWithIt) {
    Statement* ins = s.conn()->createStatement("insert into t (name) values (:1)");
    EXPECT_EQ(2u, insertRows(ins, 2));
    s.exec(numbering);
    EXPECT_EQ(2u, insertRows(ins, 2));
    s.exec("drop trigger t_bi");
    EXPECT_EQ(2u, insertRows(ins, 2));
    s.conn()->terminateStatement(ins);
    EXPECT_EQ("2", s.one("select count(id) from t"));
    // Disabled, it does not fire either.
    s.exec(numbering);
    s.exec("alter trigger t_bi disable");
    s.exec("insert into t (name) values ('x')");
    EXPECT_EQ("2", s.one("select count(id) from t"));
}

TEST_F(ClientTriggers, AnotherSessionsStatementsFireIt) {
    Session other(db);
    Statement* ins = other.conn()->createStatement("insert into t (name) values (:1)");
    EXPECT_EQ(1u, insertRows(ins, 1));
    other.exec("commit");
    s.exec(numbering);
    EXPECT_EQ(3u, insertRows(ins, 3));
    other.conn()->terminateStatement(ins);
    EXPECT_EQ("3", other.one("select count(id) from t"));
}

TEST_F(ClientTriggers, AFailingRowKeepsTheRowsBeforeItAndTheStatementCountsThem) {
    s.exec(numbering);
    Statement* ins = s.conn()->createStatement("insert into t (name) values (:1)");
    EXPECT_EQ(12899, oraCode([&] { insertRows(ins, 5, 4); }));
    s.conn()->terminateStatement(ins);
    EXPECT_EQ("3", s.one("select count(*) from t"));
    // A row trigger that raises fails its row alone, with the trigger's stack.
    s.exec("create or replace trigger t_check before insert on t for each row "
           "begin if :new.name = 'n2' then raise_application_error(-20002, 'no n2'); end if; end;");
    ins = s.conn()->createStatement("insert into t (name) values (:1)");
    const std::string message = oraMessage([&] { insertRows(ins, 5); });
    s.conn()->terminateStatement(ins);
    EXPECT_EQ(0u, message.find("ORA-20002: no n2\nORA-06512: at \"SCOTT.T_CHECK\", line 1\n"
                               "ORA-04088: error during execution of trigger 'SCOTT.T_CHECK'"))
        << message;
    EXPECT_EQ("5", s.one("select count(*) from t"));
    EXPECT_EQ("5", s.one("select count(distinct id) from t"));
}

TEST_F(ClientTriggers, InsertSelectAndInsertWithDefaultsStillFire) {
    s.exec("create table d (id number(10), name varchar2(20), kind varchar2(5) default 'std')");
    s.exec("create or replace trigger d_bi before insert on d for each row "
           "begin :new.id := t_seq.nextval; :new.name := :new.name || '/' || :new.kind; end;");
    s.exec("insert into d (name) values ('a')");
    s.exec("insert into d (name, kind) select 'b', 'x' from dual");
    EXPECT_EQ("a/std", s.one("select name from d where id = 1"));
    EXPECT_EQ("b/x", s.one("select name from d where id = 2"));
}

}  // namespace
}  // namespace clienttest
