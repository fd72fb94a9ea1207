-- Constraint errors name the constraint with its owner, as USER_CONSTRAINTS lists it:
-- ORA-00001 for a primary or unique key, ORA-02290 for a check, ORA-02291 and ORA-02292 for
-- either side of a foreign key; ORA-12899 names the column with its owner and tells the length.
create table cn_dept (deptno number(2) constraint cn_dept_pk primary key,
  dname varchar2(14) constraint cn_dept_uk unique,
  loc varchar2(13) constraint cn_loc_ck check (loc <> 'NOWHERE'));
create table cn_emp (empno number(4) constraint cn_emp_pk primary key,
  ename varchar2(10) constraint cn_ename_nn not null, sal number(7,2), deptno number(2),
  mgr number(4),
  constraint cn_sal_ck check (sal > 0),
  constraint cn_emp_dept_fk foreign key (deptno) references cn_dept,
  constraint cn_emp_mgr_fk foreign key (mgr) references cn_emp (empno),
  constraint cn_ename_uk unique (ename, deptno));
insert into cn_dept values (10, 'ACCOUNTING', 'NEW YORK');
insert into cn_dept values (10, 'RESEARCH', 'DALLAS');
insert into cn_dept values (20, 'ACCOUNTING', 'DALLAS');
insert into cn_dept values (30, 'SALES', 'NOWHERE');
insert into cn_emp values (7839, 'KING', 5000, 10, null);
insert into cn_emp values (7782, 'CLARK', 0, 10, 7839);
-- Of two foreign keys, the message names the one whose parent is missing.
insert into cn_emp values (7782, 'CLARK', 2450, 40, 7839);
insert into cn_emp values (7782, 'CLARK', 2450, 10, 7000);
insert into cn_emp values (7782, 'KING', 2450, 10, 7839);
insert into cn_emp values (7782, 'CLARK', 2450, 10, 7839);
update cn_emp set deptno = 50 where empno = 7782;
update cn_emp set mgr = 1 where empno = 7782;
delete from cn_dept where deptno = 10;
delete from cn_emp where empno = 7839;
update cn_emp set ename = 'CLARK THE SECOND' where empno = 7782;
insert into cn_dept (deptno, dname) values (40, 'OPERATIONS AND MORE');
select empno, ename, deptno, mgr from cn_emp order by empno;
select constraint_name, constraint_type, table_name, search_condition, r_constraint_name,
  delete_rule, status from user_constraints
  where table_name in ('CN_DEPT', 'CN_EMP') order by table_name, constraint_name;
select constraint_name, table_name, column_name, to_char(position) position from user_cons_columns
  where table_name = 'CN_EMP' and position is not null order by constraint_name, position;
select constraint_name, column_name from user_cons_columns
  where table_name = 'CN_EMP' and position is null order by constraint_name;
select owner, constraint_name, constraint_type from all_constraints
  where constraint_name = 'CN_DEPT_PK';
-- A constraint's name is the schema's: another table cannot use it (ORA-02264). A key's
-- constraint names its index.
create table cn_other (id number(2) constraint cn_dept_pk primary key);
alter table cn_dept add constraint cn_sal_ck check (deptno > 0);
select constraint_name, index_name from user_constraints
  where table_name = 'CN_DEPT' order by constraint_name;
-- A key's index has the key's name; a unique index made first under that name (as Oracle's HR
-- schema script makes them) is the key's one index.
create table cn_region (region_id number(4), region_name varchar2(25));
create unique index cn_reg_id_pk on cn_region (region_id);
alter table cn_region add (constraint cn_reg_id_pk primary key (region_id));
select index_name, table_name, uniqueness from user_indexes
  where table_name in ('CN_DEPT', 'CN_REGION') order by index_name;
-- MODIFY ... NOT NULL without a name makes a NOT NULL constraint with a generated one.
alter table cn_region modify (region_name not null);
select substr(constraint_name, 1, 5) name_start, generated, search_condition
  from user_constraints where table_name = 'CN_REGION' and constraint_type = 'C';
insert into cn_region values (1, 'Europe');
insert into cn_region values (1, 'Americas');
drop table cn_region;
-- Constraints declared without a name get one of the form SYS_Cn, which the dictionary
-- reports as generated; a check keeps its condition as written.
create table cn_free (id number(4) primary key, code varchar2(5) unique,
  qty number(3) check (qty > 0), note varchar2(20) not null);
select constraint_type, substr(constraint_name, 1, 5) name_start, generated, search_condition
  from user_constraints where table_name = 'CN_FREE' order by constraint_type, search_condition_vc;
select to_char(count(distinct constraint_name)) names from user_constraints
  where table_name = 'CN_FREE';
-- So do those of columns ALTER TABLE adds.
insert into cn_free values (1, 'A', 1, 'n');
alter table cn_free add (extra number(2) check (extra < 50),
  tag varchar2(3) constraint cn_tag_ck check (tag <> 'x'));
update cn_free set tag = 'x';
select substr(constraint_name, 1, 5) name_start, generated, search_condition
  from user_constraints where table_name = 'CN_FREE' and constraint_type = 'C'
  order by search_condition_vc;
-- A temporary table's constraints are named the same way.
create global temporary table cn_tmp (id number(2) constraint cn_tmp_pk primary key)
  on commit delete rows;
insert into cn_tmp values (1);
insert into cn_tmp values (1);
commit;
drop table cn_tmp;
drop table cn_free;
drop table cn_emp;
drop table cn_dept;
