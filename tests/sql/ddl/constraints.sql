-- Constraints: rows that keep them, precision, and a parent table its children hold.
create table dept (deptno number(2) constraint dept_pk primary key, dname varchar2(14) constraint dept_uk unique);
create table emp (empno number(4) constraint emp_pk primary key,
  ename varchar2(10) not null,
  sal number(7) constraint sal_ck check (sal > 0),
  deptno number(2) constraint emp_fk references dept);
insert into dept values (10, 'ACCOUNTING');
insert into emp values (7782, 'CLARK', 2450, 10);
insert into emp values (7839, 'KING', 5000, null);
insert into emp values (79000, 'JAMES', 950, 10);
select empno, ename, sal, deptno from emp order by empno;
alter table emp drop constraint sal_ck;
update emp set sal = 0 where empno = 7782;
drop table dept;
drop table emp;
drop table dept;
-- A primary key and a foreign key referencing it from the same table, added in one statement (as
-- Oracle's HR schema adds EMP_MANAGER_FK); the rows are checked against the key, later rows too.
create table staff (staff_id number(6), manager_id number(6), name varchar2(20));
insert into staff values (1, null, 'King');
insert into staff values (2, 1, 'Kochhar');
alter table staff add (constraint staff_pk primary key (staff_id), constraint staff_mgr_fk foreign key (manager_id) references staff);
insert into staff values (3, 9, 'Nobody');
insert into staff values (3, 2, 'Greenberg');
alter table staff add (email varchar2(25));
select staff_id, to_char(manager_id) mgr, name from staff order by staff_id;
create table loose (id number(3), parent number(3));
insert into loose values (1, 7);
alter table loose add (constraint loose_pk primary key (id), constraint loose_fk foreign key (parent) references loose);
drop table loose;
drop table staff;
