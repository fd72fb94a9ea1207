// Oracle's documented forms of INSERT, UPDATE, DELETE and SELECT ... FOR UPDATE.
#include <string>

#include "client_fixture.h"
#include "query_rows.h"

namespace clienttest {
namespace {

class DmlForms : public ::testing::Test {
protected:
    DmlForms() : s(memdb()) {
        s.exec("create table departments (department_id number(4), department_name "
               "varchar2(30), manager_id number(6) default 200, location_id number(4) "
               "default 1700, created date default sysdate)");
        s.exec("insert into departments (department_id, department_name, manager_id, "
               "location_id) values (10, 'Administration', 200, 1700)");
        s.exec("insert into departments (department_id, department_name, manager_id, "
               "location_id) values (20, 'Marketing', 201, 1800)");
    }
    std::string rows(const std::string& sql) { return queryRows(s, sql, ";"); }
    Session s;
};

TEST_F(DmlForms, DefaultWritesTheColumnsDeclaredDefault) {
    EXPECT_EQ(1u, s.exec("insert into departments values (280, 'Recreation', default, 1700, "
                         "default)"));
    EXPECT_EQ(1u, s.exec("insert into departments (department_id, manager_id, department_name) "
                         "values (290, default, default)"));
    EXPECT_EQ("280|Recreation|200|1700|1;290|-|200|1700|1",
              rows("select department_id, department_name, manager_id, location_id, "
                   "count(created) over (partition by department_id) from departments "
                   "where department_id > 100 order by 1"));
    EXPECT_EQ(1u, s.exec("update departments d set d.location_id = default, manager_id = 1 "
                         "where department_id = 20"));
    EXPECT_EQ("1|1700", rows("select manager_id, location_id from departments "
                             "where department_id = 20"));
    EXPECT_EQ(1u, s.exec("update departments set department_name = default "
                         "where department_id = 20"));
    EXPECT_EQ("-", rows("select department_name from departments where department_id = 20"));
    // A string that says DEFAULT is a value.
    s.exec("update departments set department_name = 'DEFAULT' where department_id = 20");
    EXPECT_EQ("DEFAULT", rows("select department_name from departments where department_id = 20"));
}

TEST_F(DmlForms, ParenthesisedSubqueryAndAliasedDelete) {
    s.exec("create table bonuses (employee_id number, bonus number default 100)");
    EXPECT_EQ(2u, s.exec("insert into bonuses(employee_id) "
                         "(select d.department_id from departments d)"));
    EXPECT_EQ(1u, s.exec("insert into bonuses (select 30, 5 from dual)"));
    EXPECT_EQ("10|100;20|100;30|5", rows("select * from bonuses order by 1"));
    EXPECT_EQ(1u, s.exec("delete from bonuses b where b.bonus < (select avg(bonus) from bonuses "
                         "where employee_id <> b.employee_id)"));
    EXPECT_EQ(1u, s.exec("delete bonuses where employee_id = 10"));
    EXPECT_EQ(1u, s.exec("delete bonuses b where b.employee_id = 20"));
    EXPECT_EQ("", rows("select * from bonuses"));
}

TEST_F(DmlForms, ForUpdateLocksUntilTheTransactionEnds) {
    FileDb file;
    Session a(file.create()), b(file.create());
    a.exec("create table accounts (id number primary key, balance number)");
    a.exec("insert into accounts values (1, 100)");
    a.conn()->commit();
    EXPECT_EQ("1|100", queryRows(a, "select id, balance from accounts where id = 1 "
                                    "for update of balance nowait"));
    EXPECT_EQ(54, oraCode([&] { b.exec("update accounts set balance = 0 where id = 1"); }));
    a.exec("update accounts set balance = balance - 10 where id = 1");
    a.conn()->commit();
    EXPECT_EQ(1u, b.exec("update accounts set balance = balance + 1 where id = 1"));
    b.conn()->commit();
    EXPECT_EQ("91", a.one("select balance from accounts"));
    for (const char* clause : {"for update", "for update wait 5", "for update skip locked",
                               "for update of a.id"})
        EXPECT_EQ("1", queryRows(a, std::string("select a.id from accounts a ") + clause));
    a.conn()->rollback();
    EXPECT_EQ(933, oraCode([&] { a.one("select id from accounts for update nowait now"); }));
    EXPECT_EQ(30005, oraCode([&] { a.one("select id from accounts for update wait"); }));
}

}  // namespace
}  // namespace clienttest
