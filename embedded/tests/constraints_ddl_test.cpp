// Constraints and table DDL as Oracle's SQL Language Reference documents them: which side of a
// foreign key a statement breaks, parents kept while children name them, columns added later.
#include "client_fixture.h"
#include "query_rows.h"

namespace clienttest {
namespace {

class ConstraintsDdl : public ::testing::Test {
protected:
    ConstraintsDdl() : s(memdb()) {
        s.exec("create table departments (department_id number(4) primary key, "
               "department_name varchar2(30) not null)");
        s.exec("create table employees (employee_id number(6) primary key, "
               "last_name varchar2(25) not null, manager_id number(6) references employees, "
               "salary number(8,2) check (salary > 0), department_id number(4), "
               "constraint emp_dept_fk foreign key (department_id) "
               "references departments (department_id) on delete cascade)");
        s.exec("create table dept_20 (employee_id number(4) primary key, "
               "manager_id number(4) constraint fk_mgr references employees on delete set null, "
               "department_id number(2) constraint fk_deptno references departments(department_id))");
        s.exec("insert into departments values (10, 'Administration')");
        s.exec("insert into departments values (20, 'Marketing')");
        s.exec("insert into employees values (100, 'King', null, 24000, 10)");
        s.exec("insert into employees values (201, 'Hartstein', 100, 13000, 20)");
        s.exec("insert into dept_20 values (1, 201, 20)");
    }
    std::string rows(const std::string& sql) { return queryRows(s, sql, ";"); }
    Session s;
};

TEST_F(ConstraintsDdl, ForeignKeysNameTheSideAStatementBreaks) {
    // A child row without its parent: ORA-02291, on INSERT and on UPDATE of the child's key.
    EXPECT_EQ(2291, oraCode([&] { s.exec("insert into dept_20 values (2, 999, 20)"); }));
    EXPECT_EQ(2291, oraCode([&] { s.exec("update employees set manager_id = 7 where employee_id = 201"); }));
    EXPECT_EQ(2291, oraCode([&] { s.exec("update employees set department_id = 30 where employee_id = 100"); }));
    // A parent row children still name: ORA-02292, on DELETE and on UPDATE of the parent's key.
    EXPECT_EQ(2292, oraCode([&] { s.exec("delete from departments where department_id = 20"); }));
    EXPECT_EQ(2292, oraCode([&] { s.exec("update departments set department_id = 11 where department_id = 10"); }));
    EXPECT_EQ(2292, oraCode([&] { s.exec("update employees set employee_id = 1 where employee_id = 100"); }));
    EXPECT_EQ("ORA-02292: integrity constraint violated - child record found\n",
              oraMessage([&] { s.exec("delete from employees where employee_id = 100"); }));
    EXPECT_EQ(1u, s.exec("update departments set department_name = 'Admin' where department_id = 10"));
    // ON DELETE SET NULL empties the child's key; ON DELETE CASCADE removes the children.
    EXPECT_EQ(1u, s.exec("delete from employees where employee_id = 201"));
    EXPECT_EQ("1|-|20", rows("select * from dept_20"));
    s.exec("delete from dept_20");
    EXPECT_EQ(1u, s.exec("delete from departments where department_id = 10"));
    EXPECT_EQ("", rows("select employee_id from employees"));
}

TEST_F(ConstraintsDdl, ParentTableStaysWhileOthersReferToIt) {
    EXPECT_EQ("ORA-02449: unique/primary keys in table referenced by foreign keys\n",
              oraMessage([&] { s.exec("drop table departments"); }));
    EXPECT_EQ("10;20", rows("select department_id from departments order by 1"));
    // A table referring only to itself drops; CASCADE CONSTRAINTS takes the children's keys
    // out and keeps their rows and other constraints.
    s.exec("create table selfref (id number primary key, parent number references selfref)");
    s.exec("drop table selfref");
    s.exec("drop table departments cascade constraints");
    EXPECT_EQ(942, oraCode([&] { s.exec("select * from departments"); }));
    EXPECT_EQ(1u, s.exec("insert into employees values (300, 'Fay', 100, 6000, 99)"));
    EXPECT_EQ(1u, s.exec("insert into dept_20 values (3, 300, 99)"));
    EXPECT_EQ(2291, oraCode([&] { s.exec("insert into dept_20 values (4, 555, 99)"); }));
    EXPECT_EQ(2290, oraCode([&] { s.exec("insert into employees values (301, 'X', 100, -1, 99)"); }));
    s.exec("drop table employees cascade constraints purge");
    EXPECT_EQ(1u, s.exec("insert into dept_20 values (5, 555, 99)"));
    EXPECT_EQ("1;3;5", rows("select employee_id from dept_20 order by 1"));
}

TEST_F(ConstraintsDdl, AddedColumnsKeepTheirTypeDefaultAndChecks) {
    s.exec("alter table departments add visa_needed varchar2(3) default 'YES'");
    s.exec("alter table departments add (duty_pct number(2,2) check (duty_pct < 0.5))");
    EXPECT_EQ("10|YES;20|YES", rows("select department_id, visa_needed from departments order by 1"));
    EXPECT_EQ(12899, oraCode([&] { s.exec("update departments set visa_needed = 'MAYBE'"); }));
    EXPECT_EQ(2290, oraCode([&] { s.exec("update departments set duty_pct = 0.7"); }));
    EXPECT_EQ(2u, s.exec("update departments set duty_pct = 0.256"));
    EXPECT_EQ("0.26", rows("select distinct duty_pct from departments"));
    // A mandatory column needs an empty table or a default.
    EXPECT_EQ("ORA-01758: table must be empty to add mandatory (NOT NULL) column\n",
              oraMessage([&] { s.exec("alter table departments add (budget number not null)"); }));
    s.exec("alter table departments add (budget number default 0 not null)");
    EXPECT_EQ(1400, oraCode([&] { s.exec("update departments set budget = null"); }));
    s.exec("create table empty_t (a number)");
    s.exec("alter table empty_t add (b number(3) not null)");
    EXPECT_EQ(1400, oraCode([&] { s.exec("insert into empty_t (a) values (1)"); }));
}

TEST_F(ConstraintsDdl, AlterTableAddsAndDropsSeveralColumns) {
    s.exec("create table countries (country_id char(2), country_name varchar2(40))");
    s.exec("insert into countries values ('US', 'United States')");
    s.exec("alter table countries add (duty_pct number(2,2) check (duty_pct < 10.5), "
           "visa_needed varchar2(3) default 'NO', added date default date '2024-01-01')");
    EXPECT_EQ("US|United States|-|NO|1",
              rows("select country_id, country_name, duty_pct, visa_needed, count(added) "
                   "from countries group by country_id, country_name, duty_pct, visa_needed"));
    EXPECT_EQ(12899, oraCode([&] { s.exec("update countries set visa_needed = 'MAYBE'"); }));
    EXPECT_EQ(1u, s.exec("update countries set duty_pct = 0.125"));
    EXPECT_EQ("0.13", rows("select duty_pct from countries"));
    s.exec("alter table countries drop (duty_pct, visa_needed)");
    s.exec("alter table countries drop column added");
    EXPECT_EQ("US|United States", rows("select * from countries"));
    EXPECT_EQ("ORA-00904: \"NOPE\": invalid identifier\n",
              oraMessage([&] { s.exec("alter table countries drop column nope"); }));
    // Forms SQLite cannot carry out are refused, the table unchanged.
    for (const char* form : {"modify (country_name varchar2(60))", "modify country_id not null",
                             "add constraint country_pk primary key (country_id)",
                             "add unique (country_name)", "drop constraint country_pk",
                             "drop primary key", "disable constraint country_pk"})
        EXPECT_EQ(1735, oraCode([&] { s.exec(std::string("alter table countries ") + form); }))
            << form;
    EXPECT_EQ(1u, s.exec("insert into countries select * from countries"));
}

TEST_F(ConstraintsDdl, CommentsOnTablesAndColumns) {
    EXPECT_EQ("DEPARTMENTS|TABLE|-", rows("select * from user_tab_comments "
                                          "where table_name = 'DEPARTMENTS'"));
    s.exec("comment on table departments is 'Departments table'");
    s.exec("comment on column departments.department_name is 'It''s the name'");
    s.exec("comment on column scott.departments.department_id is 'Key'");
    EXPECT_EQ("DEPARTMENTS|TABLE|Departments table",
              rows("select * from user_tab_comments where table_name = 'DEPARTMENTS'"));
    EXPECT_EQ("DEPARTMENTS|DEPARTMENT_ID|Key;DEPARTMENTS|DEPARTMENT_NAME|It's the name",
              rows("select * from user_col_comments where table_name = 'DEPARTMENTS' "
                   "order by column_name"));
    s.exec("comment on column departments.department_id is ''");
    s.exec("comment on table departments is 'Depts'");
    EXPECT_EQ("DEPARTMENT_NAME", rows("select column_name from user_col_comments "
                                      "where comments is not null"));
    EXPECT_EQ("Depts", rows("select comments from user_tab_comments where comments is not null"));
    EXPECT_EQ(942, oraCode([&] { s.exec("comment on table nope is 'x'"); }));
    EXPECT_EQ(904, oraCode([&] { s.exec("comment on column departments.nope is 'x'"); }));
    EXPECT_EQ(1780, oraCode([&] { s.exec("comment on table departments is 42"); }));
    EXPECT_EQ("", rows("select table_name from user_tables where table_name like 'KAVEX%'"));
}

}  // namespace
}  // namespace clienttest
