-- Hierarchical queries: START WITH, CONNECT BY PRIOR, LEVEL and the hierarchy operators.
create table staff (employee_id number(4), last_name varchar2(20), manager_id number(4));
insert into staff values (100, 'King', null);
insert into staff values (101, 'Kochhar', 100);
insert into staff values (102, 'De Haan', 100);
insert into staff values (103, 'Hunold', 102);
insert into staff values (104, 'Ernst', 103);
insert into staff values (108, 'Greenberg', 101);
select to_char(max(level)) "Levels" from dual connect by level <= 3;
select to_char(level) "Level", last_name from staff start with manager_id is null
  connect by prior employee_id = manager_id order siblings by last_name;
select last_name, sys_connect_by_path(last_name, '/') "Path" from staff
  start with employee_id = 100 connect by prior employee_id = manager_id order by employee_id;
select last_name, connect_by_root last_name "Manager", to_char(connect_by_isleaf) "Leaf" from staff
  where level > 1 start with employee_id = 102 connect by prior employee_id = manager_id order by employee_id;
select last_name from staff start with employee_id = 104 connect by employee_id = prior manager_id;
select to_char(level) "N" from dual connect by level <= 4 order by level desc;
drop table staff;
-- The row generator: one row of DUAL, one level each, ROWNUM in CONNECT BY counting them.
select to_char(level) l from dual connect by rownum <= 3;
select to_char(level) l from dual connect by level <= 1000000 and rownum <= 3;
select to_char(level) l from dual where rownum <= 2 connect by level <= 1000000;
select to_char(count(*)) c, to_char(sum(level)) s from dual connect by level <= 100000;
select to_char(level) l, to_char(connect_by_isleaf) leaf from dual connect by level <= 2;
-- The row limiting clause after CONNECT BY limits the hierarchy's rows, in their order.
select to_char(level) l from dual connect by level <= 5 fetch first 2 rows only;
create table chain (id number(3), parent number(3));
insert into chain values (1, null);
insert into chain values (2, 1);
insert into chain values (3, 2);
select id, to_char(level) l from chain start with parent is null connect by prior id = parent offset 1 rows fetch next 1 row only;
drop table chain;
