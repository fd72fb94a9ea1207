-- Analytic functions: ranking, windows, LAG and LEAD, FIRST_VALUE and NTILE. Computed numbers
-- are wrapped in TO_CHAR so that they arrive as Oracle's default number-to-text conversion
-- gives them.
create table emp (ename varchar2(10), deptno number(2), sal number(7));
insert into emp values ('KING', 10, 5000);
insert into emp values ('CLARK', 10, 2450);
insert into emp values ('MILLER', 10, 1300);
insert into emp values ('SCOTT', 20, 3000);
insert into emp values ('FORD', 20, 3000);
insert into emp values ('JONES', 20, 2975);
insert into emp values ('SMITH', 20, 800);
select ename, sal, to_char(row_number() over (order by sal desc, ename)) "Row",
       to_char(rank() over (order by sal desc)) "Rank",
       to_char(dense_rank() over (order by sal desc)) "Dense" from emp
  order by sal desc, ename;
select deptno, ename, sal, to_char(sum(sal) over (partition by deptno order by sal, ename)) "Running"
  from emp order by deptno, sal, ename;
select deptno, ename, to_char(sum(sal) over (partition by deptno)) "Dept total",
       to_char(count(*) over ()) "All" from emp order by deptno, ename;
select ename, sal, to_char(lag(sal) over (order by sal)) "Previous",
       to_char(lead(sal, 1, 0) over (order by sal)) "Next"
  from emp where deptno = 10 order by sal;
select ename, first_value(ename) over (partition by deptno order by sal desc) "Top",
       to_char(ntile(2) over (partition by deptno order by sal desc)) "Half" from emp
  order by deptno, sal desc, ename;
select ename, to_char(sum(sal) over (order by sal rows between 1 preceding and 1 following)) "Window"
  from emp where deptno = 10 order by sal;
select ename, to_char(ratio_to_report(sal) over (), 'FM0.9999') "Share" from emp where deptno = 10 order by ename;
drop table emp;
-- An analytic function as the sort key, its own ORDER BY inside OVER.
create table marks (id number(3), mark number(3));
insert into marks values (1, 70);
insert into marks values (2, 90);
insert into marks values (3, null);
select id from marks order by rank() over (order by mark desc);
select id from marks order by rank() over (order by mark) desc;
drop table marks;
-- LISTAGG as an analytic function: each row gets its partition's list.
create table parts (id number(2), grp number(1), name varchar2(5));
insert into parts select level, mod(level, 2), 'p' || level from dual connect by level <= 5;
select id, listagg(name, ',') within group (order by id desc) over (partition by grp) "List" from parts order by id;
drop table parts;
