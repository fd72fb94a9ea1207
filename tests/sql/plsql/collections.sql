-- Records and collections: TYPE ... IS RECORD, associative arrays indexed by PLS_INTEGER and by
-- VARCHAR2, nested tables and VARRAYs with constructors and methods, BULK COLLECT INTO, FORALL,
-- and the exceptions of a missing element.
create table emp_col (id number(4) primary key, name varchar2(20), sal number(7));
insert into emp_col values (1, 'ann', 100);
insert into emp_col values (2, 'bob', 200);
insert into emp_col values (3, 'cid', 300);
begin
  dbms_output.enable;
end;
/
-- A nested table: its constructor, COUNT / FIRST / LAST, EXTEND, DELETE leaving a gap, EXISTS,
-- NEXT and PRIOR over the gap, TRIM.
declare
  type num_tab is table of number;
  n num_tab := num_tab(10, 20, 30);
begin
  dbms_output.put_line('count ' || n.count || ', first ' || n.first || ', last ' || n.last
                       || ', n(2) ' || n(2));
  n.extend;
  n(4) := 40;
  n.delete(2);
  dbms_output.put_line('count ' || n.count || ', last ' || n.last || ', next(1) ' || n.next(1)
                       || ', prior(3) ' || n.prior(3));
  if not n.exists(2) and n.exists(4) then
    dbms_output.put_line('2 is deleted, 4 exists');
  end if;
  n.trim;
  dbms_output.put_line('after trim last ' || n.last);
end;
/
select column_value from table(dbms_output.get_lines);
-- An associative array indexed by VARCHAR2 is walked in key order; one indexed by PLS_INTEGER
-- takes any integer as its key.
declare
  type population is table of number index by varchar2(64);
  city population;
  i varchar2(64);
  type sparse is table of varchar2(20) index by pls_integer;
  s sparse;
begin
  city('Smallville') := 2000;
  city('Midland') := 750000;
  city('Megalopolis') := 1000000;
  city('Smallville') := 2001;
  i := city.first;
  while i is not null loop
    dbms_output.put_line('Population of ' || i || ' is ' || city(i));
    i := city.next(i);
  end loop;
  s(-5) := 'minus five';
  s(100) := 'hundred';
  dbms_output.put_line(s.first || ': ' || s(s.first) || ', ' || s.last || ': ' || s(s.last));
end;
/
select column_value from table(dbms_output.get_lines);
-- A record type with a default, and a collection of rows filled by BULK COLLECT.
declare
  type emp_rec is record (id number, name varchar2(20), bonus number := 5);
  r emp_rec;
  type emp_tab is table of emp_col%rowtype;
  e emp_tab;
  total number := 0;
begin
  r.id := 7;
  r.name := 'rec';
  dbms_output.put_line(r.id || ' ' || r.name || ' ' || r.bonus);
  select * bulk collect into e from emp_col order by id;
  for k in 1 .. e.count loop
    total := total + e(k).sal;
  end loop;
  dbms_output.put_line(e.count || ' rows, total ' || total || ', second ' || e(2).name);
end;
/
select column_value from table(dbms_output.get_lines);
-- BULK COLLECT of columns into collections of their own, and FETCH ... BULK COLLECT ... LIMIT.
declare
  type names_t is table of varchar2(20);
  type sals_t is table of number;
  names names_t;
  sals sals_t;
  cursor c is select name from emp_col order by id;
  batch names_t;
begin
  select name, sal bulk collect into names, sals from emp_col where sal > 150 order by id;
  dbms_output.put_line(names(1) || ' ' || sals(1) || ', ' || names(2) || ' ' || sals(2));
  open c;
  loop
    fetch c bulk collect into batch limit 2;
    dbms_output.put_line('batch of ' || batch.count);
    exit when c%notfound;
  end loop;
  close c;
end;
/
select column_value from table(dbms_output.get_lines);
-- FORALL runs its DML once per index, and SQL%ROWCOUNT counts all the rows.
declare
  type ids_t is table of number;
  ids ids_t := ids_t(1, 3);
begin
  forall k in 1 .. ids.count
    update emp_col set sal = sal + 1 where id = ids(k);
  dbms_output.put_line('updated ' || sql%rowcount);
end;
/
select column_value from table(dbms_output.get_lines);
select id, sal from emp_col order by id;
-- A VARRAY keeps to its limit; a missing element raises what Oracle raises.
declare
  type small_t is varray(3) of number;
  v small_t := small_t();
  type num_tab is table of number;
  n num_tab := num_tab(1);
  u num_tab;
  type by_name is table of number index by varchar2(10);
  m by_name;
begin
  v.extend(3);
  begin
    v.extend;
  exception
    when subscript_outside_limit then dbms_output.put_line('outside the limit of ' || v.limit);
  end;
  begin
    dbms_output.put_line(n(2));
  exception
    when subscript_beyond_count then dbms_output.put_line('beyond count');
  end;
  begin
    dbms_output.put_line(m('none'));
  exception
    when no_data_found then dbms_output.put_line('no such key');
  end;
  begin
    u.extend;
  exception
    when collection_is_null then dbms_output.put_line('collection is null: ' || sqlcode);
  end;
end;
/
select column_value from table(dbms_output.get_lines);
drop table emp_col;
-- An element past the count, past a VARRAY's limit, and of a collection not made yet: Oracle's
-- errors, with their texts.
declare
  type nums is table of number;
  v nums := nums(1, 2);
begin
  v(3) := 0;
end;
/
declare
  type nums is varray(2) of number;
  v nums := nums(1, 2);
begin
  v.extend;
end;
/
declare
  type nums is table of number;
  v nums;
begin
  v(1) := 0;
end;
/

-- A record assigned whole: from another record of its shape, from a function of its type, or
-- NULL; a REF CURSOR type names SYS_REFCURSOR.
create table rec_pl (id number, name varchar2(10));
insert into rec_pl values (1, 'ann');
insert into rec_pl values (2, 'bob');
declare
  type cur_t is ref cursor return rec_pl%rowtype;
  c cur_t;
  r1 rec_pl%rowtype;
  r2 rec_pl%rowtype;
  type pair_t is record (a number, b varchar2(10));
  p1 pair_t;
  p2 pair_t;
  function make_pair (n number) return pair_t is
    x pair_t;
  begin
    x.a := n;
    x.b := 'v' || n;
    return x;
  end;
begin
  open c for select * from rec_pl order by id desc;
  fetch c into r1;
  close c;
  r2 := r1;
  dbms_output.put_line(r2.id || ' ' || r2.name);
  p1 := make_pair(7);
  p2 := p1;
  dbms_output.put_line(p2.a || ' ' || p2.b || ' ' || make_pair(8).b);
  p2 := null;
  dbms_output.put_line('[' || p2.a || '][' || p2.b || ']');
end;
/
select column_value from table(dbms_output.get_lines);
drop table rec_pl;
-- RETURNING ... BULK COLLECT INTO: every row a DELETE or UPDATE returns, one collection per
-- expression; in FORALL each execution's rows follow the ones before.
create table emp_temp (employee_id number, last_name varchar2(25), department_id number, salary number);
insert into emp_temp values (114, 'Raphaely', 30, 11000);
insert into emp_temp values (115, 'Khoo', 30, 3100);
insert into emp_temp values (116, 'Baida', 30, 2900);
insert into emp_temp values (200, 'Whalen', 10, 4400);
insert into emp_temp values (201, 'Hartstein', 20, 13000);
insert into emp_temp values (202, 'Fay', 20, 6000);
declare
  type num_list is table of emp_temp.employee_id%type;
  enums num_list;
  type name_list is table of emp_temp.last_name%type;
  names name_list;
  type sal_list is table of number index by pls_integer;
  sals sal_list;
begin
  update emp_temp set salary = salary + 100 where department_id = 20
    returning salary bulk collect into sals;
  dbms_output.put_line('raised ' || sals.count || ': ' || sals(1) || ', ' || sals(2));
  delete from emp_temp where department_id = 30
    returning employee_id, last_name bulk collect into enums, names;
  dbms_output.put_line('Deleted ' || sql%rowcount || ' rows:');
  for i in enums.first .. enums.last loop
    dbms_output.put_line('Employee #' || enums(i) || ': ' || names(i));
  end loop;
  delete from emp_temp where department_id = 99
    returning employee_id, last_name bulk collect into enums, names;
  dbms_output.put_line('none deleted: ' || enums.count);
end;
/
select column_value from table(dbms_output.get_lines);
declare
  type num_list is table of number;
  depts num_list := num_list(10, 20, 30);
  type enum_t is table of emp_temp.employee_id%type;
  e_ids enum_t;
  type dept_t is table of emp_temp.department_id%type;
  d_ids dept_t;
begin
  forall j in depts.first .. depts.last
    delete from emp_temp where department_id = depts(j)
      returning employee_id, department_id bulk collect into e_ids, d_ids;
  dbms_output.put_line('Deleted ' || sql%rowcount || ' rows:');
  for i in e_ids.first .. e_ids.last loop
    dbms_output.put_line('Employee #' || e_ids(i) || ' from dept #' || d_ids(i));
  end loop;
end;
/
select column_value from table(dbms_output.get_lines);
drop table emp_temp;
-- An INSERT's RETURNING BULK COLLECT INTO reads the row back, with the identity it was given.
create table ids_given (id number generated always as identity, v varchar2(10));
declare
  type ids_t is table of number;
  ids ids_t;
begin
  insert into ids_given (v) values ('a') returning id bulk collect into ids;
  dbms_output.put_line(ids.count || ' row: ' || ids(1));
  forall i in 1 .. 3
    insert into ids_given (v) values ('b' || i) returning id bulk collect into ids;
  dbms_output.put_line(ids.count || ' rows: ' || ids(1) || ' ' || ids(2) || ' ' || ids(3));
end;
/
select column_value from table(dbms_output.get_lines);
drop table ids_given;
