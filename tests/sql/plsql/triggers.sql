-- Triggers: BEFORE row triggers that give :NEW its values (an id from a sequence), AFTER row
-- triggers with WHEN and :OLD, statement triggers with INSERTING / UPDATING / DELETING, the
-- counts of the statements they fire for, errors that fail their statement whole, ENABLE and
-- DISABLE, INSTEAD OF triggers on a view, and the dictionary.
create table staff_tg (id number(6) primary key, name varchar2(20) not null,
                       salary number(8,2), job varchar2(10), changed_by varchar2(10));
create table staff_log_tg (seq number, what varchar2(60));
create sequence staff_seq_tg;
create sequence staff_log_seq_tg;
-- A BEFORE INSERT row trigger fills the key from a sequence, as applications keep them; the
-- NOT NULL name is given its value before the constraint is checked.
create or replace trigger staff_bi_tg
  before insert on staff_tg
  for each row
begin
  if :new.id is null then
    :new.id := staff_seq_tg.nextval;
  end if;
  :new.name := nvl(initcap(:new.name), 'Unknown');
end;
/
insert into staff_tg (name, salary, job) values ('king', 5000, 'PRES');
insert into staff_tg (id, name, salary, job) values (100, 'blake', 2850, 'MGR');
insert into staff_tg (name, salary, job) values (null, 1100, 'CLERK');
-- Every row of an INSERT ... SELECT goes through the trigger, and the count is the rows written.
insert into staff_tg (name, salary, job)
  select 'clerk ' || level, 1000 + level, 'CLERK' from dual connect by level <= 3;
select id, name, salary, job from staff_tg order by id;
-- RETURNING INTO reads the row as the trigger left it.
declare
  v_id staff_tg.id%type;
  v_name staff_tg.name%type;
begin
  insert into staff_tg (name, salary, job) values ('ford', 3000, 'ANALYST')
    returning id, name into v_id, v_name;
  insert into staff_log_tg values (0, 'returned ' || v_id || ' ' || v_name);
end;
/
select what from staff_log_tg;
delete from staff_log_tg;
-- A BEFORE UPDATE row trigger changes NEW; the statement's count stays the rows it updated.
create or replace trigger staff_bu_tg
  before update on staff_tg
  referencing new as n old as o
  for each row
begin
  :n.changed_by := 'TRIGGER';
  if :n.salary < :o.salary then
    :n.salary := :o.salary;
  end if;
end;
/
update staff_tg set salary = salary - 100 where job = 'CLERK';
update staff_tg set salary = salary + 100 where job = 'MGR';
select id, salary, changed_by from staff_tg where job in ('CLERK', 'MGR') order by id;
-- AFTER UPDATE OF a column, FOR EACH ROW, WHEN a condition on NEW and OLD (no colons there).
create or replace trigger staff_au_tg
  after update of salary on staff_tg
  for each row
  when (new.salary > old.salary * 1.1)
begin
  insert into staff_log_tg
    values (staff_log_seq_tg.nextval, :old.name || ' ' || :old.salary || ' -> ' || :new.salary);
end;
/
update staff_tg set salary = salary * 1.05 where job = 'MGR';
update staff_tg set salary = salary * 1.5 where job = 'PRES';
update staff_tg set job = 'PRESIDENT' where job = 'PRES';
select what from staff_log_tg order by seq;
-- A statement trigger fires once per statement, also when no row is touched, and its
-- conditional predicates tell the statement's kind; UPDATE OF fires for an UPDATE that sets
-- one of its columns only.
create or replace trigger staff_stmt_tg
  after insert or update of salary, job or delete on staff_tg
begin
  insert into staff_log_tg values (staff_log_seq_tg.nextval,
    case when inserting then 'inserting' when updating('salary') then 'updating salary'
         when updating('JOB') then 'updating job' when deleting then 'deleting' end);
end;
/
delete from staff_log_tg;
update staff_tg set salary = salary where job = 'CLERK';
update staff_tg s set s.job = s.job where 1 = 0;
update staff_tg set changed_by = null where job = 'MGR';
delete from staff_tg where 1 = 0;
insert into staff_tg (name, salary, job) select name, salary, job from staff_tg where id = 100;
select what from staff_log_tg order by seq;
drop trigger staff_stmt_tg;
-- An error in a row trigger fails its statement whole: the rows it already deleted come back.
-- The stack names the trigger's line (counted from its BEGIN) and ORA-04088.
create or replace trigger staff_bd_tg
  before delete on staff_tg
  for each row
begin
  if :old.job = 'PRESIDENT' then
    raise_application_error(-20001, 'cannot remove ' || :old.name);
  end if;
end;
/
select to_char(count(*)) from staff_tg;
delete from staff_tg;
select to_char(count(*)) from staff_tg;
-- A block that handles it sees the trigger's error code.
begin
  delete from staff_tg where job = 'PRESIDENT';
exception
  when others then
    insert into staff_log_tg values (-1, 'handled ' || sqlcode);
end;
/
select what from staff_log_tg where seq = -1;
-- DISABLE stops a trigger, ENABLE starts it again; USER_TRIGGERS shows it.
alter trigger staff_bd_tg disable;
select trigger_name, status from user_triggers where trigger_name = 'STAFF_BD_TG';
delete from staff_tg where job = 'PRESIDENT';
alter trigger staff_bd_tg enable;
delete from staff_tg where job = 'ANALYST';
select trigger_name, trigger_type, triggering_event, table_name, base_object_type,
       referencing_names, when_clause, status
  from user_triggers order by trigger_name;
select object_name, object_type, status from user_objects
  where object_type = 'TRIGGER' order by object_name;
select to_char(line), text from user_source where name = 'STAFF_BD_TG' order by line;
-- A trigger cannot end the transaction.
create or replace trigger staff_commit_tg
  after insert on staff_tg
begin
  commit;
end;
/
insert into staff_tg (name, salary, job) values ('scott', 3000, 'ANALYST');
drop trigger staff_commit_tg;
-- A trigger whose body does not compile is created INVALID, and its statements fail.
create or replace trigger staff_bad_tg
  before insert on staff_tg
  for each row
begin
  :new.salary := ;
end;
/
select name, type, to_char(line), to_char(position), text from user_errors where name = 'STAFF_BAD_TG';
insert into staff_tg (name, salary, job) values ('adams', 1100, 'CLERK');
drop trigger staff_bad_tg;
-- The head is checked as Oracle checks it.
create trigger staff_bad_tg instead of insert on staff_tg begin null; end;
/
create trigger staff_bad_tg after insert on staff_tg when (1 = 1) begin null; end;
/
create trigger staff_bad_tg after insert on no_such_table_tg begin null; end;
/
create trigger staff_bi_tg before insert on staff_tg for each row begin null; end;
/
drop trigger no_such_trigger_tg;
-- INSTEAD OF triggers make a join view writable; each row the trigger takes counts.
create table dept_tg (deptno number(2) primary key, dname varchar2(14));
create table emp_tg (empno number(4) primary key, ename varchar2(10), deptno number(2));
create view emp_dept_tg as
  select e.empno, e.ename, d.deptno, d.dname from emp_tg e join dept_tg d on d.deptno = e.deptno;
create or replace trigger emp_dept_io_tg
  instead of insert on emp_dept_tg
  for each row
declare
  v_count pls_integer;
begin
  select count(*) into v_count from dept_tg where deptno = :new.deptno;
  if v_count = 0 then
    insert into dept_tg values (:new.deptno, :new.dname);
  end if;
  insert into emp_tg values (:new.empno, :new.ename, :new.deptno);
end;
/
insert into emp_dept_tg values (7369, 'SMITH', 20, 'RESEARCH');
insert into emp_dept_tg
  select 7400 + level, 'E' || level, 30, 'SALES' from dual connect by level <= 2;
select * from emp_dept_tg order by empno;
-- MERGE fires the row triggers of the rows it inserts and updates.
merge into staff_tg s
  using (select 100 id, 'blake' name, 2000 salary from dual
         union all select 900, 'miller', 1300 from dual) src
  on (s.id = src.id)
  when matched then update set s.salary = src.salary
  when not matched then insert (id, name, salary, job) values (src.id, src.name, src.salary, 'CLERK');
select id, name, salary, changed_by from staff_tg where id in (100, 900) order by id;
-- A table rebuilt by ALTER TABLE keeps its triggers; a dropped table takes them along.
alter table staff_tg modify (job varchar2(12));
insert into staff_tg (name, salary, job) values ('turner', 1500, 'SALESMAN');
select name from staff_tg where job = 'SALESMAN';
drop view emp_dept_tg;
drop table emp_tg;
drop table dept_tg;
drop table staff_tg;
select to_char(count(*)) from user_triggers;
drop table staff_log_tg;
drop sequence staff_seq_tg;
drop sequence staff_log_seq_tg;
-- A trigger's DML fires the triggers of its own table; an error deep down fails the first
-- statement whole, its stack naming each trigger on the way, and what the triggers wrote for
-- earlier rows goes with it.
create table parent_tg (x number);
create table child_tg (y number);
create table note_tg (z varchar2(20));
create trigger child_stmt_tg after insert on child_tg
begin
  insert into note_tg values ('child statement');
end;
/
create trigger parent_row_tg after insert on parent_tg for each row
begin
  insert into child_tg values (:new.x * 10);
end;
/
insert into parent_tg select level from dual connect by level <= 3;
select to_char(y) from child_tg order by y;
select z, to_char(count(*)) from note_tg group by z;
create trigger child_check_tg before insert on child_tg for each row
begin
  if :new.y > 40 then
    raise_application_error(-20009, 'child ' || :new.y || ' too large');
  end if;
end;
/
insert into parent_tg select 3 + level from dual connect by level <= 2;
select to_char(count(*)) from parent_tg;
select to_char(count(*)) from child_tg;
drop table parent_tg;
drop table child_tg;
drop table note_tg;
