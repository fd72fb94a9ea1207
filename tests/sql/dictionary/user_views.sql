-- The data dictionary's USER_ views describe the objects of the current user.
create table emp (empno number(4) not null, ename varchar2(10), hiredate date, sal number(7,2), note clob);
create index emp_ename_ix on emp (ename);
create table dept (deptno number(2) constraint dept_pk primary key);
create view emp_names as select ename from emp;
create sequence emp_seq start with 10 increment by 2;
select table_name from user_tables order by table_name;
select column_name, data_type, to_char(data_length) "LEN", to_char(data_precision) "PREC",
       to_char(data_scale) "SCALE", nullable from user_tab_columns where table_name = 'EMP' order by column_id;
select to_char(column_id) "ID", column_name from user_tab_columns where table_name = 'EMP' order by column_id;
select index_name, table_name from user_indexes where index_name = 'EMP_ENAME_IX';
select view_name from user_views;
select sequence_name, to_char(increment_by) "INCREMENT_BY" from user_sequences;
select object_name, object_type from user_objects where object_type in ('TABLE', 'VIEW', 'SEQUENCE') order by object_name;
select table_name from user_tables where table_name = 'emp';
drop view emp_names;
drop sequence emp_seq;
drop table emp;
drop table dept;
select table_name from user_tables;
