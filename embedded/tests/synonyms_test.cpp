// Synonyms: CREATE [OR REPLACE] [PUBLIC] SYNONYM, DROP [PUBLIC] SYNONYM, their use in queries and
// DML, the dictionary views, and Oracle's errors for them.
#include "client_fixture.h"

namespace clienttest {
namespace {

class Synonyms : public ::testing::Test {
protected:
    Synonyms() {
        s.exec("create table employees (id number, name varchar2(20))");
        s.exec("insert into employees values (1, 'King')");
        s.exec("insert into employees values (2, 'Kochhar')");
    }
    int err(const std::string& sql) {
        return oraCode([&] { s.exec(sql); });
    }
    std::string db = memdb();
    Session s{db};
};

TEST_F(Synonyms, StandForTheirTableInQueriesAndDml) {
    s.exec("create synonym emp for employees");
    EXPECT_EQ("2", s.one("select count(*) from emp"));
    EXPECT_EQ("King", s.one("select emp.name from emp where emp.id = 1"));
    EXPECT_EQ("Kochhar", s.one("select e.name from emp e where e.id = 2"));
    EXPECT_EQ("1", s.one("select count(*) from dual, emp where emp.id = 1"));
    EXPECT_EQ("2", s.one("select count(*) from emp a join emp b on a.id = b.id"));
    EXPECT_EQ("1", s.one("select count(*) from (select * from emp) where id = 2"));
    EXPECT_EQ("King", s.one("select name from scott.emp where id = 1"));
    EXPECT_EQ(1u, s.exec("insert into emp (id, name) values (3, 'De Haan')"));
    EXPECT_EQ(1u, s.exec("update emp set name = 'Greenberg' where id = 3"));
    EXPECT_EQ("Greenberg", s.one("select name from employees where id = 3"));
    EXPECT_EQ(1u, s.exec("delete from emp where id = 3"));
    EXPECT_EQ(1u, s.exec("delete from emp where id = 2"));
    EXPECT_EQ("1", s.one("select count(*) from employees"));
    // A column of the synonym's name is not the synonym.
    s.exec("create table staff (emp number)");
    s.exec("insert into staff values (7)");
    EXPECT_EQ("7", s.one("select emp from staff"));
    // Views and MERGE read through synonyms too.
    s.exec("create view emp_names as select name from emp");
    EXPECT_EQ("King", s.one("select name from emp_names"));
    EXPECT_EQ(1u, s.exec("merge into emp e using (select 1 id, 'Steven' name from dual) n "
                         "on (e.id = n.id) when matched then update set e.name = n.name"));
    EXPECT_EQ("Steven", s.one("select name from employees where id = 1"));
}

TEST_F(Synonyms, PublicPrivateChainsAndSequences) {
    s.exec("create public synonym people for employees");
    EXPECT_EQ("2", s.one("select count(*) from people"));
    s.exec("create synonym staff for people");  // a synonym for a synonym
    EXPECT_EQ("2", s.one("select count(*) from staff"));
    s.exec("create sequence emp_seq");
    s.exec("create synonym ids for emp_seq");
    EXPECT_EQ("1", s.one("select ids.nextval from dual"));
    EXPECT_EQ("1", s.one("select ids.currval from dual"));
    // Another user sees the public synonym but not this user's private ones.
    s.exec("create user bob identified by b");
    Session bob(db, "bob", "b");
    EXPECT_EQ("2", bob.one("select count(*) from people"));
    EXPECT_EQ(942, oraCode([&] { bob.one("select count(*) from staff"); }));
    // OR REPLACE points a synonym elsewhere.
    s.exec("create table contractors (id number)");
    s.exec("create or replace synonym staff for contractors");
    EXPECT_EQ("0", s.one("select count(*) from staff"));
}

TEST_F(Synonyms, DictionaryViews) {
    s.exec("create synonym emp for scott.employees");
    s.exec("create public synonym people for employees");
    EXPECT_EQ("EMP SCOTT EMPLOYEES",
              s.one("select synonym_name || ' ' || table_owner || ' ' || table_name "
                    "from user_synonyms"));
    EXPECT_EQ("1", s.one("select count(*) from user_synonyms"));
    EXPECT_EQ("PUBLIC", s.one("select owner from all_synonyms where synonym_name = 'PEOPLE'"));
    EXPECT_EQ("2", s.one("select count(*) from all_synonyms"));
    s.exec("drop synonym emp");
    EXPECT_EQ("0", s.one("select count(*) from user_synonyms"));
}

TEST_F(Synonyms, OracleErrors) {
    EXPECT_EQ("0", s.one("select count(*) from user_synonyms"));  // before any synonym
    s.exec("create synonym emp for employees");
    EXPECT_EQ(955, err("create synonym emp for employees"));
    EXPECT_EQ(955, err("create synonym employees for emp"));  // a table's name
    s.exec("create sequence s1");
    EXPECT_EQ(955, err("create synonym s1 for employees"));
    EXPECT_EQ(1471, err("create synonym x1 for x1"));
    EXPECT_EQ(1434, err("drop synonym nothing"));
    EXPECT_EQ(1432, err("drop public synonym nothing"));
    s.exec("create public synonym emp for employees");  // the public namespace is apart
    EXPECT_EQ(955, err("create public synonym emp for employees"));
    s.exec("drop public synonym emp");
    // A synonym whose object went away; a loop of synonyms.
    s.exec("create synonym gone for no_such_table");
    EXPECT_EQ(980, err("select * from gone"));
    s.exec("create synonym a1 for b1");
    s.exec("create synonym b1 for a1");
    EXPECT_EQ(1775, err("select * from a1"));
    s.exec("drop synonym emp");
    EXPECT_EQ(942, err("select * from emp"));
    EXPECT_EQ("2", s.one("select count(*) from employees"));  // dropping kept the table
}

}  // namespace
}  // namespace clienttest
