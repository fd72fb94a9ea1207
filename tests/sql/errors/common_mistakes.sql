-- The errors of common mistakes, in Oracle's words.
create table emp (empno number(4), ename varchar2(10), deptno number(2));
create table dept (deptno number(2), dname varchar2(14));
insert into emp values (7369, 'SMITH', 20);
insert into emp values (7499, 'ALLEN', 30);
insert into dept values (20, 'RESEARCH');
select from dual;
select * from no_such_table;
select no_such_column from emp;
select ename from emp where;
select ename from emp order by ename garbage garbage;
select 1 / 0 from dual;
select to_number('abc') from dual;
select deptno from emp e, dept d;
create table emp (id number);
insert into emp values (1, 2, 3, 4);
insert into emp (empno) values ('x');
select to_date('2024-13-01', 'YYYY-MM-DD') from dual;
select to_date('2024-02-30', 'YYYY-MM-DD') from dual;
drop table no_such_table;
select sum(ename, empno) from emp;
drop table emp;
drop table dept;
-- FROM misspelt after a select list of all columns is a missing FROM, not a missing expression.
select * form dual;
select d.* form dual d;
-- A NOT NULL column set to NULL by an UPDATE is ORA-01407; by an INSERT, ORA-01400.
create table required (id number(3) not null);
insert into required values (1);
update required set id = null;
insert into required values (null);
drop table required;
