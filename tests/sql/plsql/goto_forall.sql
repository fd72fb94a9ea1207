-- GOTO and its labels; FORALL over INDICES OF and VALUES OF, SAVE EXCEPTIONS with
-- SQL%BULK_EXCEPTIONS, and SQL%BULK_ROWCOUNT.
begin
  dbms_output.enable;
end;
/
-- A GOTO out of a loop to a label after it: the loop is left (a prime test that jumps to the
-- line it prints; MOD is PL/SQL's remainder operator).
declare
  p varchar2(30);
  n pls_integer := 37;
begin
  for j in 2 .. round(sqrt(n)) loop
    if n mod j = 0 then
      p := ' is not a prime number';
      goto print_now;
    end if;
  end loop;
  p := ' is a prime number';
  <<print_now>>
  dbms_output.put_line(to_char(n) || p);
end;
/
select column_value from table(dbms_output.get_lines);
-- a MOD b takes a's sign, and MOD 0 leaves a as it is, as SQL's MOD(a, b) does.
declare
  n pls_integer := 9;
begin
  dbms_output.put_line((-11) mod 4 || ' ' || 11 mod -4 || ' ' || 7 mod 0 || ' ' || n mod 2 * 3);
end;
/
select column_value from table(dbms_output.get_lines);
-- MOD where SQL evaluates the expression (decimals, function calls): it binds as * and /,
-- below the signs.
begin
  dbms_output.put_line(7.5 mod 2 || ' ' || sqrt(16) mod 3 || ' ' || -7.5 mod 2);
  dbms_output.put_line(1 + 10.5 mod 4 * 2 || ' ' || 2 * 10.5 mod 4 || ' ' || (7.5 + 1) mod -3);
  if 9.5 mod 2 = 1.5 then
    dbms_output.put_line('9.5 mod 2 = 1.5');
  end if;
end;
/
select column_value from table(dbms_output.get_lines);
-- A GOTO back to a label of the enclosing block, from inside a sub-block, runs the labelled
-- statement and what follows it again.
declare
  v_name varchar2(25);
  v_id number(6) := 120;
begin
  <<get_name>>
  v_name := 'emp ' || v_id;
  begin
    dbms_output.put_line(v_name);
    v_id := v_id + 5;
    if v_id < 130 then
      goto get_name;
    end if;
  end;
end;
/
select column_value from table(dbms_output.get_lines);
-- Forward over statements that do not run, to a label before a block; from an exception handler
-- to the enclosing block; out of a basic loop; a label may stand before NULL.
declare
  i number := 0;
begin
  goto second;
  dbms_output.put_line('never');
  <<second>>
  begin
    begin
      raise no_data_found;
    exception
      when no_data_found then
        dbms_output.put_line('handler');
        goto after_handler;
    end;
    dbms_output.put_line('never either');
    <<after_handler>>
    dbms_output.put_line('after the handler');
  end;
  loop
    i := i + 1;
    if i = 3 then
      goto done;
    end if;
  end loop;
  <<done>>
  null;
  dbms_output.put_line('left the loop at ' || i);
end;
/
select column_value from table(dbms_output.get_lines);
-- Branching into an IF (inside a loop) is refused when the block compiles: nothing runs.
declare
  done boolean;
begin
  dbms_output.put_line('not run');
  goto end_loop;
  for i in 1 .. 50 loop
    if done then
      <<end_loop>>
      null;
    end if;
  end loop;
end;
/
-- Into a sub-block, from one IF clause to another, and from a handler back into its own block.
begin
  goto inside;
  begin
    <<inside>>
    null;
  end;
end;
/
begin
  if 1 = 1 then
    goto other;
  else
    <<other>>
    null;
  end if;
end;
/
begin
  <<body>>
  null;
  raise value_error;
exception
  when value_error then
    goto body;
end;
/
-- A label that is nowhere in the block.
begin
  goto nowhere;
end;
/
-- A stored procedure's GOTO is checked when it compiles.
create or replace procedure goto_proc (n in number) as
begin
  if n > 0 then
    goto positive;
  end if;
  dbms_output.put_line(n || ' is not positive');
  return;
  <<positive>>
  dbms_output.put_line(n || ' is positive');
end;
/
begin
  goto_proc(5);
  goto_proc(-1);
end;
/
select column_value from table(dbms_output.get_lines);
drop procedure goto_proc;
create table emp_temp (deptno number(2), job varchar2(18));
-- SAVE EXCEPTIONS: the failing update (its job would be 19 characters) is left out, the others
-- run, then ORA-24381; SQL%BULK_EXCEPTIONS names the execution and its error.
declare
  type numlist is table of number;
  depts numlist := numlist(10, 20, 30);
  bad_stmt_no pls_integer;
  bad_deptno emp_temp.deptno%type;
  bad_job emp_temp.job%type;
  dml_errors exception;
  pragma exception_init(dml_errors, -24381);
begin
  insert into emp_temp (deptno, job) values (10, 'Clerk');
  insert into emp_temp (deptno, job) values (20, 'Bookkeeper');
  insert into emp_temp (deptno, job) values (30, 'Analyst');
  forall j in depts.first .. depts.last save exceptions
    update emp_temp set job = job || ' (Senior)'
    where deptno = depts(j);
exception
  when dml_errors then
    dbms_output.put_line('errors: ' || sql%bulk_exceptions.count || ', sqlcode ' || sqlcode);
    for i in 1 .. sql%bulk_exceptions.count loop
      dbms_output.put_line('Error code: ' || sql%bulk_exceptions(i).error_code);
      bad_stmt_no := sql%bulk_exceptions(i).error_index;
      dbms_output.put_line('Bad statement #: ' || bad_stmt_no);
      bad_deptno := depts(bad_stmt_no);
      dbms_output.put_line('Bad department #: ' || bad_deptno);
      select job into bad_job from emp_temp where deptno = bad_deptno;
      dbms_output.put_line('Bad job: ' || bad_job);
    end loop;
end;
/
select column_value from table(dbms_output.get_lines);
select deptno, job from emp_temp order by deptno;
-- Without SAVE EXCEPTIONS the first failing execution ends the statement; a handler keeps what
-- the executions before it did.
declare
  type numlist is table of number;
  depts numlist := numlist(20, 30, 10);
begin
  forall j in 1 .. 3
    update emp_temp set job = job || ' (Chief)' where deptno = depts(j);
exception
  when others then
    dbms_output.put_line(sqlerrm);
end;
/
select column_value from table(dbms_output.get_lines);
select deptno, job from emp_temp order by deptno;
-- SAVE EXCEPTIONS that nothing handles reaches the host as ORA-24381, and the block's changes
-- are undone.
declare
  type numlist is table of number;
  depts numlist := numlist(1, 2, 300, 4, 500);
begin
  forall j in 1 .. depts.count save exceptions
    insert into emp_temp values (depts(j), 'new');
end;
/
select to_char(count(*)) from emp_temp;
-- SQL%BULK_ROWCOUNT(i): the rows of the execution with index i; SQL%ROWCOUNT: all of them.
declare
  type numlist is table of number;
  depts numlist := numlist(10, 20, 30, 99);
begin
  forall j in 1 .. depts.count
    update emp_temp set job = job where deptno = depts(j) or deptno = depts(j) + 10;
  dbms_output.put_line('total ' || sql%rowcount);
  for j in 1 .. depts.count loop
    dbms_output.put_line(depts(j) || ': ' || sql%bulk_rowcount(j));
  end loop;
end;
/
select column_value from table(dbms_output.get_lines);
-- INDICES OF a sparse nested table runs once per element it still has; BETWEEN keeps the
-- subscripts in its range (deleted ones skipped); SQL%BULK_ROWCOUNT has the same subscripts.
declare
  type numlist is table of number;
  d numlist := numlist(40, 50, 60, 70);
begin
  d.delete(2);
  forall i in indices of d
    insert into emp_temp values (d(i), 'index ' || i);
  dbms_output.put_line('inserted ' || sql%rowcount || ', at 3: ' || sql%bulk_rowcount(3));
  forall i in indices of d between 2 and 3
    update emp_temp set job = job || '!' where deptno = d(i);
  dbms_output.put_line('updated ' || sql%rowcount);
end;
/
select column_value from table(dbms_output.get_lines);
select deptno, job from emp_temp order by deptno;
-- VALUES OF: the index values are the elements of an associative array, in the order of its
-- subscripts.
declare
  type numlist is table of number;
  type index_list is table of pls_integer index by pls_integer;
  d numlist := numlist(40, 50, 60, 70);
  pick index_list;
begin
  pick(-5) := 4;
  pick(8) := 1;
  forall i in values of pick
    delete from emp_temp where deptno = d(i) or deptno = d(i) - 30;
  dbms_output.put_line('deleted ' || sql%rowcount);
end;
/
select column_value from table(dbms_output.get_lines);
select deptno, job from emp_temp order by deptno;
drop table emp_temp;
