-- Views: creation, replacement, column names and dropping.
create table emp (empno number(4), ename varchar2(10), deptno number(2));
insert into emp values (7369, 'SMITH', 20);
insert into emp values (7499, 'ALLEN', 30);
create view dept20 as select empno, ename from emp where deptno = 20;
select empno, ename from dept20;
create view dept20 as select empno from emp;
create or replace view dept20 as select empno, ename, deptno from emp where deptno = 20 with check option;
select empno, ename from emp order by empno;
create view renamed (id, name) as select empno, ename from emp where deptno = 30;
select id, name from renamed;
select view_name from user_views order by view_name;
drop view renamed;
drop view dept20;
select * from dept20;
drop table emp;
