-- ALTER TABLE ... DISABLE CONSTRAINT stops a constraint from being checked, as Oracle's HR
-- schema script does with DEPT_MGR_FK while it loads rows in any order; ENABLE CONSTRAINT
-- checks the rows against it again and fails when one breaks it.
create table ed_dept (department_id number(4) constraint ed_dept_id_pk primary key,
  department_name varchar2(30) constraint ed_dept_name_nn not null, manager_id number(6));
create table ed_emp (employee_id number(6) constraint ed_emp_id_pk primary key,
  last_name varchar2(25), salary number(8,2) constraint ed_emp_salary_min check (salary > 0),
  department_id number(4) constraint ed_emp_dept_fk references ed_dept);
alter table ed_dept add constraint ed_dept_mgr_fk foreign key (manager_id)
  references ed_emp (employee_id);
alter table ed_dept disable constraint ed_dept_mgr_fk;
select constraint_name, status, validated from user_constraints
  where table_name = 'ED_DEPT' order by constraint_name;
insert into ed_dept values (10, 'Administration', 200);
insert into ed_emp values (200, 'Whalen', 4400, 10);
alter table ed_dept enable constraint ed_dept_mgr_fk;
select constraint_name, status, validated from user_constraints
  where table_name = 'ED_DEPT' order by constraint_name;
insert into ed_dept values (20, 'Marketing', 201);
-- Enabling checks the rows: a check and a foreign key each name the constraint.
alter table ed_emp disable constraint ed_emp_salary_min;
alter table ed_emp disable constraint ed_emp_dept_fk;
insert into ed_emp values (201, 'Hartstein', 0, 20);
select constraint_name, status from user_constraints
  where table_name = 'ED_EMP' order by constraint_name;
alter table ed_emp enable constraint ed_emp_salary_min;
alter table ed_emp enable constraint ed_emp_dept_fk;
update ed_emp set salary = 13000, department_id = 10 where employee_id = 201;
alter table ed_emp enable constraint ed_emp_salary_min;
alter table ed_emp enable validate constraint ed_emp_dept_fk;
select constraint_name, status, validated from user_constraints
  where table_name = 'ED_EMP' order by constraint_name;
insert into ed_emp values (202, 'Fay', -1, 10);
-- So does a primary key, which takes duplicates while it is disabled.
create table ed_log (id number(4) constraint ed_log_pk primary key, note varchar2(10));
insert into ed_log values (1, 'first');
alter table ed_log disable constraint ed_log_pk;
insert into ed_log values (1, 'again');
alter table ed_log enable constraint ed_log_pk;
delete from ed_log where note = 'again';
alter table ed_log enable constraint ed_log_pk;
insert into ed_log values (1, 'again');
select id, note from ed_log;
drop table ed_log;
-- A key other tables' foreign keys refer to stays enabled; a name no constraint has is an
-- error.
alter table ed_dept disable constraint ed_dept_id_pk;
alter table ed_dept disable constraint ed_no_such;
alter table ed_dept enable constraint ed_no_such;
alter table ed_dept disable constraint ed_dept_mgr_fk;
drop table ed_dept cascade constraints;
drop table ed_emp;
-- MODIFY CONSTRAINT gives the state after the name, as a load script does around its load:
-- DISABLE NOVALIDATE, then ENABLE NOVALIDATE, which keeps the rows there and checks new ones
-- (USER_CONSTRAINTS: ENABLED, NOT VALIDATED); ENABLE VALIDATE checks the rows there.
create table ed_region (id number constraint ed_region_pk primary key);
insert into ed_region values (1);
create table ed_sale (id number, region_id number constraint ed_sale_region_fk references ed_region,
  amount number constraint ed_sale_amount_ck check (amount > 0));
alter table ed_sale modify constraint ed_sale_region_fk disable novalidate;
alter table ed_sale modify constraint ed_sale_amount_ck disable novalidate;
insert into ed_sale values (1, 9, -5);
insert into ed_sale values (2, 1, 10);
select constraint_name, status, validated from user_constraints
  where table_name = 'ED_SALE' order by constraint_name;
alter table ed_sale modify constraint ed_sale_region_fk enable novalidate;
alter table ed_sale modify constraint ed_sale_amount_ck enable novalidate;
select constraint_name, status, validated from user_constraints
  where table_name = 'ED_SALE' order by constraint_name;
insert into ed_sale values (3, 9, 10);
insert into ed_sale values (4, 1, -1);
alter table ed_sale modify constraint ed_sale_amount_ck enable validate;
alter table ed_sale modify constraint ed_sale_region_fk enable validate;
delete from ed_sale where id = 1;
alter table ed_sale modify constraint ed_sale_amount_ck enable validate;
alter table ed_sale enable validate constraint ed_sale_region_fk;
select constraint_name, status, validated from user_constraints
  where table_name = 'ED_SALE' order by constraint_name;
alter table ed_sale modify constraint ed_sale_amount_ck disable validate;
alter table ed_region modify primary key disable novalidate;
select constraint_name, status from user_constraints where table_name = 'ED_REGION';
drop table ed_sale;
drop table ed_region;
