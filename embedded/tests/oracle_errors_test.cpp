// User mistakes in SQL are reported in Oracle's words, never in SQLite's.
#include "client_fixture.h"

namespace clienttest {
namespace {

class OracleErrors : public ::testing::Test {
protected:
    OracleErrors() : s(memdb()) {
        s.exec("create table t (a integer, b varchar2(10))");
        s.exec("create table u (a integer)");
    }
    std::string message(const std::string& sql) {
        return oraMessage([&] { s.exec(sql); });
    }
    Session s;
};

TEST_F(OracleErrors, SyntaxMistakes) {
    EXPECT_EQ("ORA-00936: missing expression\n", message("select from t"));
    EXPECT_EQ("ORA-00936: missing expression\n", message("select a, from t"));
    EXPECT_EQ("ORA-00936: missing expression\n", message("select a from t where a = "));
    EXPECT_EQ("ORA-00936: missing expression\n", message("select a from t where"));
    EXPECT_EQ("ORA-00933: SQL command not properly ended\n", message("select a from t t2 t3"));
    EXPECT_EQ("ORA-00933: SQL command not properly ended\n",
              message("delete from t where a = 1 garbage"));
    EXPECT_EQ("ORA-00907: missing right parenthesis\n", message("select (a + 1 from t"));
    EXPECT_EQ("ORA-00923: FROM keyword not found where expected\n", message("select a b c from t"));
    EXPECT_EQ("ORA-00903: invalid table name\n", message("select * from"));
    EXPECT_EQ(900, oraCode([&] { s.exec("selec 1 from dual"); }));
}

TEST_F(OracleErrors, SemanticMistakes) {
    EXPECT_EQ("ORA-00904: \"NOPE\": invalid identifier\n", message("select nope from t"));
    EXPECT_EQ(904, oraCode([&] { s.exec("select no_such_function(a) from t"); }));
    EXPECT_EQ("ORA-00909: invalid number of arguments\n", message("select substr() from t"));
    EXPECT_EQ("ORA-00942: table or view does not exist\n", message("select * from missing"));
    EXPECT_EQ("ORA-00918: column ambiguously defined\n", message("select a from t, u"));
    EXPECT_EQ("ORA-00947: not enough values\n", message("insert into t values (1)"));
    EXPECT_EQ("ORA-00913: too many values\n", message("insert into t values (1, 'x', 2)"));
    EXPECT_EQ("ORA-00913: too many values\n", message("insert into u (a) values (1, 2)"));
    EXPECT_EQ("ORA-00947: not enough values\n", message("insert into t (a, b) values (1)"));
    EXPECT_EQ(1789, oraCode([&] { s.exec("select a from t union select a, b from t"); }));
    EXPECT_EQ(957, oraCode([&] { s.exec("create table d (x integer, x integer)"); }));
    EXPECT_EQ(934, oraCode([&] { s.exec("select a from t where count(*) > 1"); }));
    EXPECT_EQ(1418, oraCode([&] { s.exec("drop index no_such_index"); }));
    EXPECT_EQ(1785, oraCode([&] { s.exec("select a from t order by 5"); }));
    s.exec("create view v as select a from t");
    EXPECT_EQ(1732, oraCode([&] { s.exec("insert into v values (1)"); }));
}

}  // namespace
}  // namespace clienttest
