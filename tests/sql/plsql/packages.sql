-- Packages: a package's public variables, constants, types, cursors and subprograms; a
-- body's private ones and its initialisation, which runs once per session; state that stays
-- from call to call; overloading; calls from blocks, from other units and from SQL; the
-- dictionary views; a body without its package, a package's subprogram the body
-- does not define, and DROP.
create table emp_pk (empno number(4) primary key, ename varchar2(10), sal number(7,2), deptno number(2));
insert into emp_pk values (7369, 'SMITH', 800, 20);
insert into emp_pk values (7499, 'ALLEN', 1600, 30);
insert into emp_pk values (7521, 'WARD', 1250, 30);
insert into emp_pk values (7839, 'KING', 5000, 10);
begin
  dbms_output.enable;
end;
/

create or replace package emp_mgmt as
  -- the package's public members
  max_sal constant number := 6000;
  hired   pls_integer := 0;
  type emp_rec is record (empno number(4), ename varchar2(10));
  function dept_total (p_dept number) return number;
  procedure hire (p_empno number, p_ename varchar2, p_sal number default 1000,
                  p_dept number default 10);
  procedure raise_sal (p_empno number, p_pct number);
  function describe (p number) return varchar2;
  function describe (p varchar2) return varchar2;
  function describe (p date) return varchar2;
  function calls return pls_integer;
end emp_mgmt;
/

create or replace package body emp_mgmt as
  call_count pls_integer := 0;  -- private
  init_note  varchar2(30);

  procedure counted is
  begin
    call_count := call_count + 1;
  end;

  function dept_total (p_dept number) return number is
    t number;
  begin
    counted;
    select sum(sal) into t from emp_pk where deptno = p_dept;
    return t;
  end;

  procedure hire (p_empno number, p_ename varchar2, p_sal number default 1000,
                  p_dept number default 10) is
  begin
    counted;
    if p_sal > max_sal then
      raise_application_error(-20010, 'salary ' || p_sal || ' above ' || max_sal);
    end if;
    insert into emp_pk values (p_empno, p_ename, p_sal, p_dept);
    hired := hired + 1;
  end;

  procedure raise_sal (p_empno number, p_pct number) is
  begin
    counted;
    update emp_pk set sal = sal * (1 + p_pct / 100) where empno = p_empno;
    if sql%rowcount = 0 then
      raise no_data_found;
    end if;
  end;

  function describe (p number) return varchar2 is
  begin
    return 'number ' || p;
  end;
  function describe (p varchar2) return varchar2 is
  begin
    return 'text ' || p;
  end;
  function describe (p date) return varchar2 is
  begin
    return 'date ' || to_char(p, 'YYYY-MM-DD');
  end;

  function calls return pls_integer is
  begin
    return call_count;
  end;
begin
  init_note := 'opened';
  dbms_output.put_line('emp_mgmt ' || init_note);
end emp_mgmt;
/

-- The initialisation runs at the session's first use, once; the variables keep their values
-- from block to block.
begin
  emp_mgmt.hire(7900, 'JAMES', 950, 30);
  emp_mgmt.hire(p_empno => 7902, p_ename => 'FORD', p_dept => 20);
  dbms_output.put_line('hired ' || emp_mgmt.hired || ', max ' || emp_mgmt.max_sal);
end;
/
begin
  emp_mgmt.raise_sal(7369, 10);
  dbms_output.put_line('dept 20: ' || emp_mgmt.dept_total(20));
  dbms_output.put_line('hired ' || emp_mgmt.hired || ', calls ' || emp_mgmt.calls);
  emp_mgmt.hired := 40;
end;
/
select column_value from table(dbms_output.get_lines);

-- Overloads are told apart by their arguments' types.
declare
  d date := date '2024-02-29';
begin
  dbms_output.put_line(emp_mgmt.describe(42));
  dbms_output.put_line(emp_mgmt.describe('forty-two'));
  dbms_output.put_line(emp_mgmt.describe(d));
  dbms_output.put_line('hired now ' || emp_mgmt.hired);
end;
/
select column_value from table(dbms_output.get_lines);

-- A package's function in SQL, and its type for a caller's variable.
select ename, emp_mgmt.dept_total(deptno) as dept_total from emp_pk where empno in (7839, 7369) order by empno;
declare
  r emp_mgmt.emp_rec;
begin
  select empno, ename into r.empno, r.ename from emp_pk where empno = 7839;
  dbms_output.put_line(r.ename || ' ' || r.empno);
end;
/
select column_value from table(dbms_output.get_lines);

-- Errors: raised in a package's subprogram, with its line in the stack; a constant is no
-- target; a private member is not seen from outside.
begin
  emp_mgmt.hire(7934, 'MILLER', 9000);
end;
/
begin
  emp_mgmt.raise_sal(1, 5);
end;
/
begin
  emp_mgmt.max_sal := 1;
end;
/
begin
  emp_mgmt.counted;
end;
/

-- The dictionary.
select object_name, object_type, status from user_objects where object_name = 'EMP_MGMT' order by object_type;
select object_name, procedure_name, overload from user_procedures where object_name = 'EMP_MGMT' order by procedure_name nulls first, overload;
select object_name, package_name, argument_name, position, data_type, in_out from user_arguments where package_name = 'EMP_MGMT' and object_name in ('HIRE', 'DESCRIBE') order by object_name, overload, position;
select type, line, text from user_source where name = 'EMP_MGMT' and line <= 2 order by type, line;

-- A package of declarations only needs no body.
create or replace package consts_pk as
  pi constant number := 3.14159;
  greeting varchar2(20) := 'hello';
end;
/
begin
  consts_pk.greeting := consts_pk.greeting || ' world';
  dbms_output.put_line(consts_pk.greeting || ' ' || round(consts_pk.pi * 2, 2));
end;
/
select column_value from table(dbms_output.get_lines);

-- A body without its package, a package's subprogram that the body does not
-- define, and a call of a package without a body.
create or replace package body nohead_pk as
  procedure p is begin null; end;
end;
/
select name, type, text from user_errors where name = 'NOHEAD_PK';
create or replace package half_pk as
  procedure p;
  procedure q;
end;
/
begin
  half_pk.p;
end;
/
create or replace package body half_pk as
  procedure p is begin null; end;
end;
/
select name, type, text from user_errors where name = 'HALF_PK';

-- Replacing the body makes a new instance: the state starts again and the initialisation runs.
create or replace package body emp_mgmt as
  function dept_total (p_dept number) return number is begin return -1; end;
  procedure hire (p_empno number, p_ename varchar2, p_sal number default 1000,
                  p_dept number default 10) is begin hired := hired + 100; end;
  procedure raise_sal (p_empno number, p_pct number) is begin null; end;
  function describe (p number) return varchar2 is begin return 'n'; end;
  function describe (p varchar2) return varchar2 is begin return 'v'; end;
  function describe (p date) return varchar2 is begin return 'd'; end;
  function calls return pls_integer is begin return 0; end;
begin
  dbms_output.put_line('emp_mgmt reopened');
end;
/
begin
  emp_mgmt.hire(1, 'X');
  dbms_output.put_line('hired ' || emp_mgmt.hired || ', total ' || emp_mgmt.dept_total(10));
end;
/
select column_value from table(dbms_output.get_lines);

drop package body emp_mgmt;
select object_name, object_type from user_objects where object_name = 'EMP_MGMT';
drop package emp_mgmt;
drop package consts_pk;
drop package half_pk;
select count(*) from user_objects where object_type like 'PACKAGE%';
drop package emp_mgmt;
drop package body nohead_pk;

-- A package's exception is caught outside by its qualified name; a package's cursor, recursion,
-- a function called without parentheses, and a call back into a package from another one while
-- the first runs (the callee sees the package's variables, not its caller's).
create table t_pk (n number);
insert into t_pk values (3);
insert into t_pk values (1);
create or replace package a_pk as
  e_bad exception;
  cnt number := 0;
  function next_id return number;
  function fact (n number) return number;
  procedure fail_now;
  procedure call_b;
  cursor c is select n from t_pk order by n;
  function first_n return number;
end;
/
create or replace package b_pk as
  procedure back;
end;
/
create or replace package body a_pk as
  function next_id return number is begin cnt := cnt + 1; return cnt; end;
  function fact (n number) return number is
  begin
    if n <= 1 then return 1; end if;
    return n * fact(n - 1);
  end;
  procedure fail_now is begin raise e_bad; end;
  procedure call_b is
    cnt number := -1;  -- hides the package's cnt here only
  begin
    b_pk.back;
    dbms_output.put_line('package cnt ' || a_pk.cnt || ', local cnt ' || cnt);
  end;
  function first_n return number is
    v number;
  begin
    open c;
    fetch c into v;
    close c;
    return v;
  end;
end;
/
create or replace package body b_pk as
  procedure back is begin a_pk.cnt := a_pk.next_id + 99; end;
end;
/
begin
  dbms_output.put_line(a_pk.next_id || ' ' || a_pk.next_id || ' ' || a_pk.fact(5));
  dbms_output.put_line('without parentheses ' || a_pk.next_id);
  scott.a_pk.call_b;
  begin
    a_pk.fail_now;
  exception
    when a_pk.e_bad then dbms_output.put_line('caught a_pk.e_bad');
  end;
  dbms_output.put_line('first ' || a_pk.first_n);
end;
/
select column_value from table(dbms_output.get_lines);
select a_pk.next_id, a_pk.fact(4) f from dual;
begin
  a_pk.fail_now;
end;
/
create or replace package dml_pk as
  function f return number;
end;
/
create or replace package body dml_pk as
  function f return number is begin insert into t_pk values (9); return 1; end;
end;
/
select dml_pk.f from dual;
drop package a_pk;
drop package b_pk;
drop package dml_pk;

-- An initialisation's own handler; an error the initialisation does not handle reaches the
-- caller with the package's line.
create or replace package init_pk as
  v number;
end;
/
create or replace package body init_pk as
begin
  v := 1 / 0;
exception
  when zero_divide then
    v := -1;
end;
/
create or replace package init2_pk as
  v number;
end;
/
create or replace package body init2_pk as
begin
  v := 1 / 0;
end;
/
begin
  dbms_output.put_line('init_pk.v = ' || init_pk.v);
end;
/
select column_value from table(dbms_output.get_lines);
begin
  dbms_output.put_line('init2_pk.v = ' || init2_pk.v);
end;
/
drop package init_pk;
drop package init2_pk;

-- A package's collection from outside it: its elements and methods, assigned, deleted; a
-- package's collection type with its constructor.
create or replace package list_pk as
  type list_t is table of varchar2(20) index by pls_integer;
  names list_t;
  type nums_t is table of number;
  procedure add (s varchar2);
end;
/
create or replace package body list_pk as
  procedure add (s varchar2) is begin names(names.count + 1) := s; end;
end;
/
declare
  l list_pk.nums_t := list_pk.nums_t(1, 2, 3);
begin
  list_pk.add('a');
  list_pk.add('b');
  dbms_output.put_line(list_pk.names.count || ' ' || list_pk.names(2));
  list_pk.names(3) := 'c';
  dbms_output.put_line(list_pk.names(3) || ' ' || upper(list_pk.names(1)));
  list_pk.names.delete(1);
  dbms_output.put_line('first ' || list_pk.names.first || ', nums ' || l.count || ' ' || l(3));
end;
/
select column_value from table(dbms_output.get_lines);
drop package list_pk;

-- A package's cursors from outside it: one its declaration gives the query of, one whose query
-- its body gives; a cursor FOR loop over one, OPEN with an argument, FETCH and CLOSE.
create table cur_pl (n number);
insert into cur_pl values (1);
insert into cur_pl values (2);
create or replace package cur_pk as
  cursor c_all is select n from cur_pl order by n;
  cursor c_gt (p number) return cur_pl%rowtype;
end;
/
create or replace package body cur_pk as
  cursor c_gt (p number) return cur_pl%rowtype is select * from cur_pl where n > p;
end;
/
declare
  v number;
begin
  for r in cur_pk.c_all loop
    dbms_output.put_line('all ' || r.n);
  end loop;
  open cur_pk.c_gt(1);
  fetch cur_pk.c_gt into v;
  close cur_pk.c_gt;
  dbms_output.put_line('greater than 1: ' || v);
end;
/
select column_value from table(dbms_output.get_lines);
drop package cur_pk;
drop table cur_pl;
