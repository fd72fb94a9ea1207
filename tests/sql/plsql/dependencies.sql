-- What stored units use: USER_DEPENDENCIES; a change of a table, a view or a unit makes the
-- units that use it INVALID, directly or through others; the next call compiles them again
-- (VALID when what they use is there); ALTER ... COMPILE does the same on request; a unit
-- whose table is gone stays INVALID and its callers fail with PLS-00905.
begin
  dbms_output.enable;
end;
/
create table dep_t (n number);
create or replace view dep_v as select n from dep_t;
create or replace procedure dep_ins (v number) as begin insert into dep_t (n) values (v); end;
/
create or replace function dep_cnt return number as c number; begin select count(*) into c from dep_v; return c; end;
/
create or replace procedure dep_top as begin dep_ins(1); dbms_output.put_line('count ' || dep_cnt); end;
/
create or replace package dep_pk as procedure run; end;
/
create or replace package body dep_pk as procedure run is begin dep_top; end; end;
/
select name, type, referenced_name, referenced_type, dependency_type from user_dependencies order by name, type, referenced_name;

-- A column added to the table: what uses it, and what uses those, is INVALID until its next
-- use; a package's body that calls them too, not the package itself.
alter table dep_t add (m number);
select object_name, object_type, status from user_objects where object_name like 'DEP%' and object_type not in ('TABLE', 'VIEW') order by 1, 2;
begin
  dep_top;
end;
/
select column_value from table(dbms_output.get_lines);
select object_name, object_type, status from user_objects where object_name like 'DEP%' and object_type not in ('TABLE', 'VIEW') order by 1, 2;
select dep_cnt from dual;
select object_name, status from user_objects where object_name = 'DEP_CNT';

-- Replacing a procedure invalidates its callers; ALTER ... COMPILE compiles them again.
create or replace procedure dep_ins (v number) as begin insert into dep_t (n, m) values (v, v); end;
/
select object_name, object_type, status from user_objects where object_name in ('DEP_TOP', 'DEP_PK') order by 1, 2;
alter procedure dep_top compile;
alter package dep_pk compile;
select object_name, object_type, status from user_objects where object_name in ('DEP_TOP', 'DEP_PK') order by 1, 2;

-- The table dropped: the units that use it cannot compile again.
drop view dep_v;
drop table dep_t;
alter function dep_cnt compile;
select name, type, text from user_errors where name = 'DEP_CNT';
begin
  dbms_output.put_line(dep_cnt);
end;
/
create table dep_t (n number, m number);
create or replace view dep_v as select n from dep_t;
alter function dep_cnt compile;
select object_name, status from user_objects where object_name = 'DEP_CNT';
alter procedure no_such_unit compile;
drop package dep_pk;
drop procedure dep_top;
drop procedure dep_ins;
drop function dep_cnt;
select count(*) from user_dependencies;
