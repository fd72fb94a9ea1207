// CREATE OR REPLACE VIEW and MERGE, with the results and update counts Oracle documents.
#include "client_fixture.h"

namespace clienttest {
namespace {

class ViewsAndMerge : public ::testing::Test {
protected:
    ViewsAndMerge() : s(memdb()) {}
    Session s;
};

TEST_F(ViewsAndMerge, CreateOrReplaceView) {
    s.exec("create table emp (id integer, sal number)");
    s.exec("insert into emp values (1, 100)");
    s.exec("insert into emp values (2, 200)");
    s.exec("create or replace view rich as select id from emp where sal > 150");
    EXPECT_EQ("2", s.one("select id from rich"));
    s.exec("create or replace noforce view rich (emp_id) as select id from emp where sal > 50 "
           "with read only");
    EXPECT_EQ("2", s.one("select count(emp_id) from rich"));
    EXPECT_EQ(955, oraCode([&] { s.exec("create view rich as select 1 x from dual"); }));
    EXPECT_EQ(955, oraCode([&] { s.exec("create or replace view emp as select 1 x from dual"); }));
    // NOFORCE needs the tables; FORCE stores the view for later.
    EXPECT_EQ(942, oraCode([&] { s.exec("create or replace view later as select * from nothing_yet"); }));
    EXPECT_EQ(942, oraCode([&] { s.one("select count(*) from later"); }));
    s.exec("create or replace force view later as select * from nothing_yet");
    s.exec("create table nothing_yet (a integer)");
    EXPECT_EQ("0", s.one("select count(*) from later"));
    // A failing replacement keeps the view it would have replaced.
    EXPECT_NE(0, oraCode([&] { s.exec("create or replace view rich as select nosuch from emp"); }));
    EXPECT_EQ("2", s.one("select count(emp_id) from rich"));
    s.exec("create or replace editionable view v2 as select id from emp with check option "
           "constraint v2_ck");
    EXPECT_EQ("2", s.one("select count(*) from v2"));
}

TEST_F(ViewsAndMerge, MergeUpdatesInsertsAndDeletes) {
    // The SQL Language Reference's bonuses example, on a few rows.
    s.exec("create table employees (employee_id integer, salary number, department_id integer)");
    s.exec("insert into employees values (153, 8000, 80)");
    s.exec("insert into employees values (154, 7500, 80)");
    s.exec("insert into employees values (155, 9000, 80)");
    s.exec("insert into employees values (156, 10000, 80)");
    s.exec("insert into employees values (157, 3000, 50)");
    s.exec("create table bonuses (employee_id integer, bonus number default 100)");
    s.exec("insert into bonuses (employee_id) values (153)");
    s.exec("insert into bonuses (employee_id) values (155)");
    s.exec("insert into bonuses (employee_id) values (157)");
    const unsigned merged = s.exec(
        "MERGE INTO bonuses D "
        "USING (SELECT employee_id, salary, department_id FROM employees "
        "       WHERE department_id = 80) S "
        "ON (D.employee_id = S.employee_id) "
        "WHEN MATCHED THEN UPDATE SET D.bonus = D.bonus + S.salary*.01 "
        "  DELETE WHERE (S.salary > 8000) "
        "WHEN NOT MATCHED THEN INSERT (D.employee_id, D.bonus) "
        "  VALUES (S.employee_id, S.salary*.01) "
        "  WHERE (S.salary <= 8000)");
    // 153 and 155 updated, 154 inserted (156 earns too much); 155 then deleted.
    EXPECT_EQ(3u, merged);
    EXPECT_EQ("153:180|154:75|157:100",
              s.one("select listagg(employee_id || ':' || bonus, '|') within group "
                    "(order by employee_id) from bonuses"));
}

TEST_F(ViewsAndMerge, MergeFromDualWithBindsAndTableSource) {
    s.exec("create table kv (k varchar2(10) primary key, v integer)");
    Statement* st = s.conn()->createStatement(
        "merge into kv t using (select :k k, :v v from dual) src on (t.k = src.k) "
        "when matched then update set t.v = src.v "
        "when not matched then insert (k, v) values (src.k, src.v)");
    st->setString(1, "a");
    st->setInt(2, 1);
    EXPECT_EQ(1u, st->executeUpdate());
    st->setString(1, "a");
    st->setInt(2, 2);
    EXPECT_EQ(1u, st->executeUpdate());
    st->setString(1, "b");
    st->setInt(2, 3);
    EXPECT_EQ(1u, st->executeUpdate());
    s.conn()->terminateStatement(st);
    EXPECT_EQ("a=2,b=3", s.one("select listagg(k || '=' || v, ',') within group (order by k) from kv"));

    s.exec("create table src (k varchar2(10), v integer)");
    s.exec("insert into src values ('b', 30)");
    s.exec("insert into src values ('c', 40)");
    EXPECT_EQ(1u, s.exec("merge into kv using src on (kv.k = src.k) "
                         "when not matched then insert values (src.k, src.v)"));
    EXPECT_EQ(2u, s.exec("merge into kv using src on (kv.k = src.k) "
                         "when matched then update set v = src.v + 1"));
    EXPECT_EQ("a=2,b=31,c=41",
              s.one("select listagg(k || '=' || v, ',') within group (order by k) from kv"));
    // A failing step undoes the whole MERGE.
    s.exec("insert into src values ('a', 9)");
    s.exec("insert into src values ('d', null)");
    s.exec("create table strict (k varchar2(10) primary key, v integer not null)");
    s.exec("insert into strict values ('a', 1)");
    EXPECT_EQ(1400, oraCode([&] {
                  s.exec("merge into strict t using src on (t.k = src.k) "
                         "when matched then update set v = 5 "
                         "when not matched then insert values (src.k, src.v)");
              }));
    EXPECT_EQ("a=1", s.one("select listagg(k || '=' || v, ',') within group (order by k) from strict"));
    EXPECT_EQ(905, oraCode([&] { s.exec("merge into kv using src on (kv.k = src.k)"); }));
}

}  // namespace
}  // namespace clienttest
