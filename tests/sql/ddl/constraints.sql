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
