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
    // The message names the key as USER_CONSTRAINTS lists it: here the unnamed self-reference,
    // the one key whose children block the DELETE (FK_MGR sets its children's key to NULL).
    const std::string selfKey =
        rows("select constraint_name from user_cons_columns where table_name = 'EMPLOYEES' "
             "and column_name = 'MANAGER_ID'");
    EXPECT_EQ("SYS_C", selfKey.substr(0, 5));
    EXPECT_EQ("ORA-02292: integrity constraint (SCOTT." + selfKey +
                  ") violated - child record found\n",
              oraMessage([&] { s.exec("delete from employees where employee_id = 100"); }));
    EXPECT_EQ("ORA-02291: integrity constraint (SCOTT.FK_DEPTNO) violated - parent key not found\n",
              oraMessage([&] { s.exec("insert into dept_20 values (2, null, 90)"); }));
    EXPECT_EQ("ORA-02291: integrity constraint (SCOTT.EMP_DEPT_FK) violated - parent key not found\n",
              oraMessage([&] { s.exec("update employees set department_id = 30 where employee_id = 100"); }));
    EXPECT_EQ(1u, s.exec("update departments set department_name = 'Admin' where department_id = 10"));
    // ON DELETE SET NULL empties the child's key; ON DELETE CASCADE removes the children.
    EXPECT_EQ(1u, s.exec("delete from employees where employee_id = 201"));
    EXPECT_EQ("1|-|20", rows("select * from dept_20"));
    s.exec("delete from dept_20");
    EXPECT_EQ(1u, s.exec("delete from departments where department_id = 10"));
    EXPECT_EQ("", rows("select employee_id from employees"));
}

// Unnamed constraints get SYS_C names of their own, unique in the schema, in the table's
// definition: the message names the one USER_CONSTRAINTS lists, also for a constraint ALTER
// TABLE adds, and a unique index by its own name.
TEST_F(ConstraintsDdl, UnnamedConstraintsAreNamedAsTheDictionaryListsThem) {
    s.exec("create table stock (id number primary key, code varchar2(5) unique, "
           "qty number check (qty > 0), bin number)");
    s.exec("insert into stock values (1, 'A', 1, 1)");
    auto named = [&](const std::string& type, const std::string& column) {
        return rows("select c.constraint_name from user_constraints c, user_cons_columns k "
                    "where c.constraint_name = k.constraint_name and c.table_name = 'STOCK' "
                    "and c.constraint_type = '" + type + "' and k.column_name = '" + column + "'");
    };
    const std::string pk = named("P", "ID"), unique = named("U", "CODE"), check = named("C", "QTY");
    EXPECT_EQ("SYS_C", pk.substr(0, 5));
    EXPECT_NE(pk, unique);
    EXPECT_NE(unique, check);
    EXPECT_EQ("ORA-00001: unique constraint (SCOTT." + pk + ") violated\n",
              oraMessage([&] { s.exec("insert into stock values (1, 'B', 1, 1)"); }));
    EXPECT_EQ("ORA-00001: unique constraint (SCOTT." + unique + ") violated\n",
              oraMessage([&] { s.exec("insert into stock values (2, 'A', 1, 1)"); }));
    EXPECT_EQ("ORA-02290: check constraint (SCOTT." + check + ") violated\n",
              oraMessage([&] { s.exec("update stock set qty = 0"); }));
    s.exec("alter table stock add check (bin < 10)");
    const std::string added = named("C", "BIN");
    EXPECT_EQ("SYS_C", added.substr(0, 5));
    EXPECT_EQ("0", rows("select count(*) - count(distinct constraint_name) from user_constraints"));
    EXPECT_EQ("ORA-02290: check constraint (SCOTT." + added + ") violated\n",
              oraMessage([&] { s.exec("update stock set bin = 10"); }));
    s.exec("create unique index stock_bin on stock (bin)");
    EXPECT_EQ("ORA-00001: unique constraint (SCOTT.STOCK_BIN) violated\n",
              oraMessage([&] { s.exec("insert into stock values (3, 'C', 1, 1)"); }));
    s.exec("drop table stock");
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
    EXPECT_EQ(1407, oraCode([&] { s.exec("update departments set budget = null"); }));
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
    // Constraint states the client cannot keep are refused, the table unchanged.
    for (const char* form : {"add constraint country_ck check (duty_pct > 0) disable",
                             "add constraint country_ck check (duty_pct > 0) novalidate"})
        EXPECT_EQ(1735, oraCode([&] { s.exec(std::string("alter table countries ") + form); }))
            << form;
    EXPECT_EQ(1u, s.exec("insert into countries select * from countries"));
}

// DDL as written for Oracle runs: physical attributes are taken out, table constraints may stand
// between the columns, and a DEFAULT may be any expression.
TEST_F(ConstraintsDdl, OracleDdlAsWritten) {
    s.exec("create table orders (id number(6), constraint orders_pk primary key (id) using index "
           "tablespace users pctfree 5, note varchar2(10) default 'n' || '/' || 'a', "
           "qty number default 2 * 3 not null, constraint qty_ck check (qty > 0), "
           "placed date default sysdate + 1, body clob) tablespace users storage (initial 64k "
           "next 1m) pctfree 10 nologging lob (body) store as securefile orders_body "
           "(tablespace users) compress for oltp");
    s.exec("create index orders_note_ix on orders (note, qty) compute statistics tablespace users");
    s.exec("create bitmap index orders_qty_bx on orders (qty) nologging parallel 4");
    s.exec("create table orders_copy tablespace users nologging as select * from orders");
    s.exec("insert into orders (id) values (1)");
    EXPECT_EQ("1|n/a|6|1", rows("select id, note, qty, case when placed > sysdate then 1 end "
                                "from orders"));
    EXPECT_EQ(1, oraCode([&] { s.exec("insert into orders (id) values (1)"); }));
    EXPECT_EQ(2290, oraCode([&] { s.exec("insert into orders (id, qty) values (2, 0)"); }));
    // A key's index takes the key's name, as in Oracle.
    EXPECT_EQ("ORDERS_NOTE_IX;ORDERS_PK;ORDERS_QTY_BX",
              rows("select index_name from user_indexes where index_name like 'ORDERS_%' "
                   "order by 1"));
    EXPECT_EQ("0", rows("select count(*) from orders_copy"));
    // Partitioning lays rows out; the rows and results are the same without it.
    s.exec("create table sales (id number, sold date) partition by range (sold) interval "
           "(numtoyminterval(1, 'MONTH')) subpartition by hash (id) subpartitions 2 "
           "(partition p0 values less than (date '2020-01-01') tablespace users, "
           "partition p1 values less than (maxvalue))");
    s.exec("create index sales_ix on sales (sold) local (partition a, partition b) nologging");
    s.exec("insert into sales values (1, date '2019-05-01')");
    EXPECT_EQ("1", rows("select id from sales where sold < date '2020-01-01'"));
    // ALTER INDEX: REBUILD with its options, RENAME TO a name not yet taken.
    s.exec("alter index orders_note_ix rebuild online tablespace users");
    s.exec("alter index orders_note_ix rename to orders_note_ix2");
    EXPECT_EQ(955, oraCode([&] { s.exec("alter index orders_note_ix2 rename to orders"); }));
    EXPECT_EQ(1418, oraCode([&] { s.exec("alter index orders_note_ix rename to x"); }));
    EXPECT_EQ("ORDERS_NOTE_IX2;ORDERS_PK;ORDERS_QTY_BX",
              rows("select index_name from user_indexes where index_name like 'ORDERS_%' "
                   "order by 1"));
    s.exec("drop index orders_note_ix2");
}

// CASCADE CONSTRAINTS takes the key out of the child's definition and leaves the rest as written.
TEST_F(ConstraintsDdl, CascadeConstraintsKeepsTheChildsLiterals) {
    s.exec("create table tickets (id number primary key, status varchar2(4) default 'open' "
           "check (status in ('open', 'shut')), dept number references departments)");
    s.exec("drop table departments cascade constraints");
    s.exec("insert into tickets (id) values (1)");
    s.exec("insert into tickets values (2, 'shut', 99)");
    EXPECT_EQ(2290, oraCode([&] { s.exec("insert into tickets values (3, 'OPEN', null)"); }));
    EXPECT_EQ("1|open;2|shut", rows("select id, status from tickets order by id"));
}

// ALTER TABLE ... ADD CONSTRAINT validates the rows there are; the table keeps its rows, indexes
// and triggers, and the constraint holds from then on.
TEST_F(ConstraintsDdl, AlterTableAddsConstraints) {
    s.exec("create table staff (id number(4), name varchar2(10), dept number(4), pay number(7,2))");
    s.exec("create index staff_name_ix on staff (name)");
    s.exec("insert into staff values (1, 'Ada', 10, 800)");
    s.exec("insert into staff values (1, 'Bob', 99, -5)");
    s.exec("insert into staff values (null, 'Cy', null, 100)");
    EXPECT_EQ("ORA-02437: cannot validate (SCOTT.STAFF_PK) - primary key violated\n",
              oraMessage([&] {
                  s.exec("update staff set id = 3 where id is null");
                  s.exec("alter table staff add constraint staff_pk primary key (id)");
              }));
    s.exec("update staff set id = null where name = 'Cy'");
    s.exec("update staff set id = 2 where name = 'Bob'");
    EXPECT_EQ(1449, oraCode([&] { s.exec("alter table staff add primary key (id)"); }));
    s.exec("update staff set id = 3 where name = 'Cy'");
    s.exec("alter table staff add constraint staff_pk primary key (id) using index");
    EXPECT_EQ(1, oraCode([&] { s.exec("insert into staff values (1, 'Dup', 10, 1)"); }));
    EXPECT_EQ(1400, oraCode([&] { s.exec("insert into staff values (null, 'Nul', 10, 1)"); }));
    EXPECT_EQ(2260, oraCode([&] { s.exec("alter table staff add primary key (name)"); }));
    EXPECT_EQ(2261, oraCode([&] { s.exec("alter table staff add unique (id)"); }));
    EXPECT_EQ(2264, oraCode([&] { s.exec("alter table staff add constraint staff_pk unique (name)"); }));
    // CHECK: a row that is FALSE fails, NULL passes.
    EXPECT_EQ("ORA-02293: cannot validate (SCOTT.PAY_CK) - check constraint violated\n",
              oraMessage([&] { s.exec("alter table staff add constraint pay_ck check (pay > 0)"); }));
    s.exec("update staff set pay = null where name = 'Bob'");
    s.exec("alter table staff add constraint pay_ck check (pay > 0) enable validate");
    EXPECT_EQ(2290, oraCode([&] { s.exec("insert into staff values (4, 'Di', 10, -1)"); }));
    // FOREIGN KEY: every child row names a parent (or is NULL); the parent key must exist.
    EXPECT_EQ(2270, oraCode([&] {
        s.exec("alter table staff add foreign key (dept) references departments (department_name)");
    }));
    EXPECT_EQ("ORA-02298: cannot validate (SCOTT.STAFF_DEPT_FK) - parent keys not found\n",
              oraMessage([&] {
                  s.exec("alter table staff add constraint staff_dept_fk foreign key (dept) "
                         "references departments");
              }));
    s.exec("update staff set dept = 20 where dept = 99");
    // Several at once, in parentheses.
    s.exec("alter table staff add (constraint staff_dept_fk foreign key (dept) references "
           "departments, constraint staff_name_uq unique (name))");
    EXPECT_EQ(2291, oraCode([&] { s.exec("insert into staff values (5, 'Eve', 30, 1)"); }));
    EXPECT_EQ(1, oraCode([&] { s.exec("insert into staff values (5, 'Ada', 10, 1)"); }));
    EXPECT_EQ(2292, oraCode([&] { s.exec("delete from departments where department_id = 20"); }));
    EXPECT_EQ("1|Ada|10|800;2|Bob|20|-;3|Cy|-|100",
              rows("select * from staff order by id"));
    EXPECT_EQ("STAFF_NAME_IX;STAFF_NAME_UQ;STAFF_PK",
              rows("select index_name from user_indexes "
                   "where table_name = 'STAFF' and index_name like 'STAFF%' order by 1"));
    // What hangs on the table stays: identity columns, views, comments, a quoted name.
    s.exec("create table \"Tagged\" (id number generated always as identity, tag varchar2(5))");
    s.exec("create view tagged_v as select * from \"Tagged\"");
    s.exec("comment on table \"Tagged\" is 'kept'");
    s.exec("insert into \"Tagged\" (tag) values ('a')");
    s.exec("alter table \"Tagged\" add constraint tagged_pk primary key (id)");
    s.exec("insert into \"Tagged\" (tag) values ('b')");
    EXPECT_EQ(32795, oraCode([&] { s.exec("insert into \"Tagged\" (id, tag) values (9, 'c')"); }));
    EXPECT_EQ("1|a;2|b", rows("select * from tagged_v order by id"));
    EXPECT_EQ("Tagged|kept", rows("select table_name, comments from user_tab_comments "
                                  "where table_name = 'Tagged'"));
}

// DROP CONSTRAINT, DROP PRIMARY KEY, DROP UNIQUE, and MODIFY of a column's type, default and
// nullability, with Oracle's errors when the rows there are forbid the change.
TEST_F(ConstraintsDdl, AlterTableDropsConstraintsAndModifiesColumns) {
    s.exec("create table parts (id number(4) constraint parts_pk primary key, "
           "code varchar2(8) constraint parts_code_uq unique, qty number(5) "
           "constraint qty_ck check (qty >= 0), note varchar2(20))");
    s.exec("create table orders (id number primary key, part number(4) references parts)");
    s.exec("insert into parts values (1, 'AB-1', 5, null)");
    s.exec("insert into parts values (2, 'ABCDEFG', 0, 'x')");
    s.exec("insert into orders values (10, 1)");
    EXPECT_EQ(2443, oraCode([&] { s.exec("alter table parts drop constraint nope"); }));
    s.exec("alter table parts drop constraint qty_ck");
    EXPECT_EQ(1u, s.exec("update parts set qty = -1 where id = 1"));
    s.exec("alter table parts drop unique (code)");
    EXPECT_EQ(2442, oraCode([&] { s.exec("alter table parts drop unique (code)"); }));
    EXPECT_EQ(1u, s.exec("insert into parts values (3, 'AB-1', 1, null)"));
    // A referenced key goes only with CASCADE, which takes the children's keys with it.
    EXPECT_EQ(2273, oraCode([&] { s.exec("alter table parts drop primary key"); }));
    s.exec("alter table parts drop primary key cascade");
    EXPECT_EQ(2441, oraCode([&] { s.exec("alter table parts drop primary key"); }));
    EXPECT_EQ(1u, s.exec("insert into orders values (11, 99)"));
    EXPECT_EQ(1u, s.exec("insert into parts values (1, 'C', 1, null)"));
    s.exec("delete from parts where code = 'C'");
    // MODIFY: a longer VARCHAR2 takes longer texts; a shorter one must hold the texts there are.
    EXPECT_EQ("ORA-01441: cannot decrease column length because some value is too big\n",
              oraMessage([&] { s.exec("alter table parts modify (code varchar2(4))"); }));
    s.exec("alter table parts modify (code varchar2(12), note varchar2(40))");
    EXPECT_EQ(1u, s.exec("update parts set code = 'ABCDEFGHIJKL' where id = 2"));
    EXPECT_EQ(12899, oraCode([&] { s.exec("update parts set code = 'ABCDEFGHIJKLM'"); }));
    EXPECT_EQ(1439, oraCode([&] { s.exec("alter table parts modify code number"); }));
    EXPECT_EQ(1439, oraCode([&] { s.exec("alter table parts modify note date"); }));
    s.exec("update parts set note = null");
    s.exec("alter table parts modify note date");  // only NULLs: another type is allowed
    EXPECT_EQ(1u, s.exec("update parts set note = date '2024-01-15' where id = 1"));
    // NOT NULL needs every row to have a value; NULL undoes it.
    EXPECT_EQ("ORA-02296: cannot enable (SCOTT.) - null values found\n",
              oraMessage([&] { s.exec("alter table parts modify note not null"); }));
    s.exec("alter table parts modify qty constraint qty_nn not null");
    EXPECT_EQ(1442, oraCode([&] { s.exec("alter table parts modify qty not null"); }));
    EXPECT_EQ(1407, oraCode([&] { s.exec("update parts set qty = null"); }));
    s.exec("alter table parts modify qty null");
    EXPECT_EQ(1451, oraCode([&] { s.exec("alter table parts modify qty null"); }));
    EXPECT_EQ(3u, s.exec("update parts set qty = null"));
    // DEFAULT applies to rows inserted from then on.
    s.exec("alter table parts modify (qty default 7)");
    s.exec("insert into parts (id, code) values (4, 'D')");
    EXPECT_EQ("1|-;2|-;3|-;4|7", rows("select id, qty from parts order by id"));
    EXPECT_EQ(904, oraCode([&] { s.exec("alter table parts modify nope number"); }));
    EXPECT_EQ(942, oraCode([&] { s.exec("alter table nope modify x number"); }));
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
