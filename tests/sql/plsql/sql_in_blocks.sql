-- SQL inside blocks: PL/SQL variables as binds, SELECT INTO, SQL%ROWCOUNT and SQL%FOUND, cursor
-- FOR loops, explicit cursors with parameters, %TYPE and %ROWTYPE, and EXECUTE IMMEDIATE.
create table emp_pl (empno number(4) primary key, ename varchar2(10), sal number(7,2), deptno number(2));
begin
  dbms_output.enable;
  for i in 1 .. 6 loop
    insert into emp_pl (empno, ename, sal, deptno)
    values (7000 + i, 'EMP' || i, 1000 * i, 10 * (mod(i, 3) + 1));
  end loop;
end;
/
select * from emp_pl order by empno;
-- A column of the statement's table wins over a variable of the same name, as Oracle resolves
-- names: "empno = empno" is true for every row, so every salary rises.
declare
  empno number(4) := 7001;
  v_raise number := 100;
begin
  update emp_pl set sal = sal + v_raise where empno = empno;
  dbms_output.put_line('updated ' || sql%rowcount);
  delete from emp_pl where empno = 9999;
  if sql%notfound then
    dbms_output.put_line('nothing deleted, rowcount ' || sql%rowcount);
  end if;
end;
/
select column_value from table(dbms_output.get_lines);
-- SELECT INTO, %TYPE from a column, a record of %ROWTYPE, and NO_DATA_FOUND / TOO_MANY_ROWS.
declare
  v_name emp_pl.ename%type;
  v_sal emp_pl.sal%type;
  r emp_pl%rowtype;
begin
  select ename, sal into v_name, v_sal from emp_pl where empno = 7003;
  dbms_output.put_line(v_name || ' earns ' || v_sal);
  select * into r from emp_pl where empno = 7004;
  dbms_output.put_line(r.ename || ' in ' || r.deptno);
  begin
    select ename into v_name from emp_pl where empno = 1;
  exception
    when no_data_found then dbms_output.put_line('no_data_found ' || sqlcode);
  end;
  begin
    select ename into v_name from emp_pl where deptno = 20;
  exception
    when too_many_rows then dbms_output.put_line('too_many_rows ' || sqlcode);
  end;
end;
/
select column_value from table(dbms_output.get_lines);
-- Cursor FOR loops over a query and over a declared cursor with a parameter; explicit OPEN,
-- FETCH and CLOSE with the cursor's attributes.
declare
  cursor by_dept (p_dept number) is
    select ename, sal from emp_pl where deptno = p_dept order by empno;
  cursor all_emps is select empno, ename from emp_pl order by empno;
  v_no emp_pl.empno%type;
  v_name emp_pl.ename%type;
  total number := 0;
begin
  for e in (select ename, sal * 2 as double_sal from emp_pl where sal > 4000 order by empno) loop
    dbms_output.put_line(e.ename || ' ' || e.double_sal);
  end loop;
  for e in by_dept(30) loop
    total := total + e.sal;
  end loop;
  dbms_output.put_line('dept 30 total ' || total);
  open all_emps;
  loop
    fetch all_emps into v_no, v_name;
    exit when all_emps%notfound;
    if all_emps%rowcount <= 2 then
      dbms_output.put_line(all_emps%rowcount || ': ' || v_no || ' ' || v_name);
    end if;
  end loop;
  dbms_output.put_line('fetched ' || all_emps%rowcount);
  close all_emps;
  if not all_emps%isopen then
    dbms_output.put_line('closed');
  end if;
end;
/
select column_value from table(dbms_output.get_lines);
-- A cursor variable (SYS_REFCURSOR) opened on a query's text with USING binds, then on a query.
declare
  c sys_refcursor;
  v_name emp_pl.ename%type;
  n pls_integer := 0;
begin
  open c for 'select ename from emp_pl where deptno = :d order by empno' using 10;
  loop
    fetch c into v_name;
    exit when c%notfound;
    n := n + 1;
    dbms_output.put_line(n || ' ' || v_name);
  end loop;
  close c;
  open c for select ename from emp_pl where empno = 7000 + n;
  fetch c into v_name;
  dbms_output.put_line('then ' || v_name || ', rowcount ' || c%rowcount);
  close c;
end;
/
select column_value from table(dbms_output.get_lines);
-- Cursor errors: FETCH from a closed cursor is INVALID_CURSOR, OPEN of an open one is
-- CURSOR_ALREADY_OPEN.
declare
  cursor c is select empno from emp_pl;
  n number;
begin
  begin
    fetch c into n;
  exception
    when invalid_cursor then dbms_output.put_line('invalid_cursor ' || sqlcode);
  end;
  open c;
  begin
    open c;
  exception
    when cursor_already_open then dbms_output.put_line('cursor_already_open ' || sqlcode);
  end;
  close c;
end;
/
select column_value from table(dbms_output.get_lines);
-- EXECUTE IMMEDIATE: DDL, DML with USING, a query INTO, and the migration idiom that ignores an
-- object that already exists.
declare
  n number;
begin
  execute immediate 'create table dyn_pl (a number, b varchar2(5))';
  execute immediate 'insert into dyn_pl values (:1, :2)' using 1, 'one';
  execute immediate 'insert into dyn_pl values (:x, :y)' using 2, 'two';
  execute immediate 'select count(*) from dyn_pl where a >= :1' into n using 1;
  dbms_output.put_line('rows ' || n);
  begin
    execute immediate 'create table dyn_pl (a number)';
  exception
    when others then
      dbms_output.put_line('ignored ' || sqlcode);
  end;
end;
/
select column_value from table(dbms_output.get_lines);
select * from dyn_pl order by a;
-- RETURNING ... INTO: an identity column's value, an UPDATE's new value, none for no row, and
-- TOO_MANY_ROWS for more than one.
create table ret_pl (id number generated always as identity, n number, d date default date '2024-05-06');
declare
  v_id number;
  v_n number;
  v_d date;
begin
  insert into ret_pl (n) values (5) returning id, n, d into v_id, v_n, v_d;
  dbms_output.put_line('id ' || v_id || ', n ' || v_n || ', d ' || to_char(v_d, 'YYYY-MM-DD'));
  insert into ret_pl (n) values (6) returning id into v_id;
  update ret_pl set n = n + 10 where id = 1 returning n into v_n;
  dbms_output.put_line('second id ' || v_id || ', updated to ' || v_n);
  delete from ret_pl where id = 99 returning n into v_n;
  dbms_output.put_line('no row: ' || nvl(to_char(v_n), 'null'));
  begin
    update ret_pl set n = 0 returning n into v_n;
  exception
    when too_many_rows then dbms_output.put_line('too_many_rows ' || sqlcode);
  end;
end;
/
select column_value from table(dbms_output.get_lines);
drop table ret_pl;
-- COMMIT and ROLLBACK inside a block end the session's transaction.
begin
  insert into dyn_pl values (3, 'three');
  rollback;
  insert into dyn_pl values (4, 'four');
  commit;
end;
/
select a from dyn_pl order by a;
drop table dyn_pl;
drop table emp_pl;

-- A record as a row: INSERT ... VALUES r, UPDATE ... SET ROW = r, and FORALL of a collection of
-- records, field by field in the table's column order.
create table row_pl (id number, name varchar2(10));
declare
  r row_pl%rowtype;
  type rows_t is table of row_pl%rowtype index by pls_integer;
  t rows_t;
begin
  r.id := 1;
  r.name := 'one';
  insert into row_pl values r;
  r.name := 'uno';
  update row_pl set row = r where id = 1;
  for i in 1 .. 3 loop
    t(i).id := 10 + i;
    t(i).name := 'n' || i;
  end loop;
  forall i in 1 .. 3
    insert into row_pl values t(i);
  dbms_output.put_line(sql%rowcount || ' rows');
end;
/
select column_value from table(dbms_output.get_lines);
select id, name from row_pl order by id;
drop table row_pl;

-- EXECUTE IMMEDIATE of DML with RETURNING: the text's RETURNING ... INTO :b, the statement's
-- RETURNING INTO targets.
create table dyn_ret (id number, v varchar2(10));
insert into dyn_ret values (1, 'a');
declare
  s varchar2(10);
  n number;
begin
  execute immediate 'update dyn_ret set v = :1 where id = :2 returning v, id * 10 into :3, :4'
    using 'b', 1 returning into s, n;
  dbms_output.put_line('returned ' || s || ' ' || n);
  execute immediate 'delete from dyn_ret where id = :1 returning v into :2' using 99
    returning into s;
  dbms_output.put_line('no row: [' || s || '] ' || sql%rowcount);
end;
/
select column_value from table(dbms_output.get_lines);
drop table dyn_ret;

-- EXECUTE IMMEDIATE of a block with OUT and IN OUT arguments: they take what the block
-- assigned its binds.
create or replace procedure dyn_out_pl (a in number, b out number, c in out varchar2) is
begin
  b := a * 2;
  c := c || '!';
end;
/
declare
  x number;
  y varchar2(20) := 'hi';
begin
  execute immediate 'begin dyn_out_pl(:a, :b, :c); end;' using 21, out x, in out y;
  dbms_output.put_line(x || ' ' || y);
end;
/
select column_value from table(dbms_output.get_lines);
drop procedure dyn_out_pl;
