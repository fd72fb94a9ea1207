// The (+) outer join and hierarchical queries, on the SQL Language Reference's examples.
#include "query_rows.h"

namespace clienttest {
namespace {

class OracleJoins : public ::testing::Test {
protected:
    OracleJoins() : s(memdb()) {
        s.exec("create table employees (employee_id integer, last_name varchar2(20), "
               "manager_id integer, department_id integer)");
        const char* rows[] = {"100, 'King', null, 90",      "101, 'Kochhar', 100, 90",
                              "102, 'De Haan', 100, 90",    "103, 'Hunold', 102, 60",
                              "104, 'Ernst', 103, 60",      "108, 'Greenberg', 101, 100",
                              "109, 'Faviet', 108, 100",    "205, 'Higgins', 101, null"};
        for (const char* r : rows) s.exec(std::string("insert into employees values (") + r + ")");
        s.exec("create table departments (department_id integer, department_name varchar2(20), "
               "location_id integer)");
        s.exec("insert into departments values (90, 'Executive', 1700)");
        s.exec("insert into departments values (60, 'IT', 1400)");
        s.exec("insert into departments values (100, 'Finance', 1700)");
        s.exec("insert into departments values (110, 'Accounting', 1700)");
    }
    std::string rows(const std::string& sql) { return queryRows(s, sql); }
    Session s;
};

TEST_F(OracleJoins, OuterJoinOperator) {
    EXPECT_EQ("De Haan|Executive\nErnst|IT\nFaviet|Finance\nGreenberg|Finance\nHiggins|-\n"
              "Hunold|IT",
              rows("select e.last_name, d.department_name from employees e, departments d "
                   "where e.department_id = d.department_id(+) and e.employee_id > 101 "
                   "order by e.last_name"));
    // The (+) on the other side, and a constant condition on the outer table.
    EXPECT_EQ("Accounting|0\nExecutive|2\nFinance|1\nIT|2",
              rows("select d.department_name, count(e.employee_id) from employees e, departments d "
                   "where e.department_id(+) = d.department_id and e.manager_id(+) < 108 "
                   "group by d.department_name order by 1"));
    EXPECT_EQ(1719, oraCode([&] {
                  rows("select 1 from employees e, departments d "
                       "where e.department_id = d.department_id(+) or 1 = 1");
              }));
}

TEST_F(OracleJoins, HierarchicalQueries) {
    EXPECT_EQ("King|100|-|1\nDe Haan|102|100|2\nHunold|103|102|3\nErnst|104|103|4\n"
              "Kochhar|101|100|2\nGreenberg|108|101|3\nFaviet|109|108|4\nHiggins|205|101|3",
              rows("SELECT last_name, employee_id, manager_id, LEVEL FROM employees "
                   "START WITH employee_id = 100 CONNECT BY PRIOR employee_id = manager_id "
                   "ORDER SIBLINGS BY last_name"));
    EXPECT_EQ("/King/Kochhar/Greenberg/Faviet|King|1",
              rows("select sys_connect_by_path(last_name, '/'), connect_by_root last_name, "
                   "connect_by_isleaf from employees where last_name = 'Faviet' "
                   "start with manager_id is null connect by prior employee_id = manager_id"));
    EXPECT_EQ("Ernst\nFaviet\nHiggins",
              rows("select e.last_name from employees e where connect_by_isleaf = 1 "
                   "start with e.employee_id = 100 connect by prior e.employee_id = e.manager_id "
                   "order by 1"));
    // Without START WITH every row is a root.
    // King 1 + Kochhar 2 + De Haan 2 + Hunold 3 + Ernst 4 + Greenberg 3 + Faviet 4 + Higgins 3
    EXPECT_EQ("22", s.one("select count(*) from employees "
                          "connect by prior employee_id = manager_id"));
    EXPECT_EQ("/1/2/3", s.one("select max(sys_connect_by_path(level, '/')) from dual "
                              "connect by level <= 3"));
    EXPECT_EQ("3", s.one("select level from dual where connect_by_isleaf = 1 connect by level <= 3"));
    EXPECT_EQ("1,2,3,4,5", s.one("select listagg(level, ',') within group (order by level) "
                                 "from dual connect by level <= 5"));
    EXPECT_EQ("3", s.one("select max(level) from employees start with employee_id = 101 "
                         "connect by prior employee_id = manager_id"));
    Statement* st = s.conn()->createStatement(
        "select level, last_name from employees start with employee_id = 100 "
        "connect by prior employee_id = manager_id");
    st->execute();
    EXPECT_EQ("LEVEL", st->getResultSet()->getColumnListMetaData()[0].getString(MetaData::ATTR_NAME));
    s.conn()->terminateStatement(st);
}

TEST_F(OracleJoins, ConnectByLoops) {
    s.exec("update employees set manager_id = 104 where employee_id = 100");
    EXPECT_EQ("ORA-01436: CONNECT BY loop in user data\n", oraMessage([&] {
                  rows("select last_name from employees start with employee_id = 100 "
                       "connect by prior employee_id = manager_id");
              }));
    EXPECT_EQ("Ernst|1\nFaviet|0\nGreenberg|0\nHiggins|0\nHunold|0",
              rows("select last_name, connect_by_iscycle from employees "
                   "where level > 2 start with employee_id = 100 "
                   "connect by nocycle prior employee_id = manager_id order by 1"));
}

}  // namespace
}  // namespace clienttest
