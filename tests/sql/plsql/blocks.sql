-- Anonymous blocks: declarations, assignment, IF, CASE and the loops, with what they print read
-- back from DBMS_OUTPUT's buffer (TABLE(DBMS_OUTPUT.GET_LINES) takes the lines out of it).
begin
  dbms_output.enable;
end;
/
-- Constants, defaults, NOT NULL, and the scope of a nested block's names.
declare
  c_limit constant pls_integer := 3;
  v_name varchar2(20) default 'outer';
  v_count number not null := 0;
begin
  declare
    v_name varchar2(20) := 'inner';
  begin
    dbms_output.put_line('nested sees ' || v_name || ', limit ' || c_limit);
  end;
  dbms_output.put_line('outer sees ' || v_name || ', count ' || v_count);
end;
/
select column_value from table(dbms_output.get_lines);
-- IF / ELSIF / ELSE and the three-valued logic of conditions: a NULL condition is not true.
declare
  n number;
  verdict varchar2(10);
begin
  for score in 58 .. 62 loop
    if score >= 61 then
      verdict := 'pass';
    elsif score = 60 then
      verdict := 'borderline';
    else
      verdict := 'fail';
    end if;
    dbms_output.put_line(score || ' ' || verdict);
  end loop;
  if n > 0 then
    dbms_output.put_line('null is positive');
  elsif not (n > 0) then
    dbms_output.put_line('null is not positive');
  else
    dbms_output.put_line('neither');
  end if;
  if n is null and (1 = 1 or n = 2) then
    dbms_output.put_line('null and true or unknown is true');
  end if;
end;
/
select column_value from table(dbms_output.get_lines);
-- The simple and the searched CASE statement; no branch taken and no ELSE is CASE_NOT_FOUND.
declare
  grade char(1) := 'B';
begin
  case grade
    when 'A' then dbms_output.put_line('Excellent');
    when 'B' then dbms_output.put_line('Very Good');
    else dbms_output.put_line('No such grade');
  end case;
  case
    when grade in ('A', 'B') then dbms_output.put_line('good');
    when grade is null then dbms_output.put_line('none');
  end case;
  begin
    case grade when 'X' then null; end case;
  exception
    when case_not_found then dbms_output.put_line('case not found: ' || sqlcode);
  end;
end;
/
select column_value from table(dbms_output.get_lines);
-- LOOP with EXIT WHEN, WHILE, FOR with REVERSE, CONTINUE, and EXIT of an outer labelled loop.
declare
  i pls_integer := 0;
  s varchar2(100);
begin
  loop
    i := i + 1;
    exit when i > 3;
    s := s || i;
  end loop;
  dbms_output.put_line('loop ' || s);
  s := null;
  while i > 0 loop
    i := i - 1;
    continue when mod(i, 2) = 1;
    s := s || i;
  end loop;
  dbms_output.put_line('while ' || s);
  s := null;
  for j in reverse 1 .. 4 loop
    s := s || j;
  end loop;
  dbms_output.put_line('reverse ' || s);
  s := null;
  <<outer>>
  for a in 1 .. 3 loop
    for b in 1 .. 3 loop
      exit outer when a * b = 4;
      s := s || a || b || ' ';
    end loop;
  end loop outer;
  dbms_output.put_line('labels ' || s);
  for k in 5 .. 1 loop
    dbms_output.put_line('never');
  end loop;
end;
/
select column_value from table(dbms_output.get_lines);
-- Arithmetic and conversion on assignment: NUMBER(p,s) rounds, PLS_INTEGER rounds, a text
-- too long for its VARCHAR2 is VALUE_ERROR, and dates convert with the session's format.
declare
  price number(6,2);
  whole pls_integer;
  code varchar2(3);
  d date := date '2024-02-28';
begin
  price := 12.345;
  whole := 7.5;
  dbms_output.put_line(price || ' ' || whole || ' ' || (whole / 2));
  d := d + 2;
  dbms_output.put_line(to_char(d, 'YYYY-MM-DD') || ' ' || d);
  code := 'abcd';
exception
  when value_error then
    dbms_output.put_line('value_error: ' || sqlerrm);
end;
/
select column_value from table(dbms_output.get_lines);
-- PUT and NEW_LINE build one line; an empty line reads back as NULL.
begin
  dbms_output.put('a');
  dbms_output.put('b');
  dbms_output.new_line;
  dbms_output.put_line('');
  dbms_output.put_line(null);
end;
/
select column_value from table(dbms_output.get_lines);
-- Lines written while DBMS_OUTPUT is disabled are dropped.
begin
  dbms_output.disable;
  dbms_output.put_line('dropped');
  dbms_output.enable(2000);
  dbms_output.put_line('kept');
end;
/
select column_value from table(dbms_output.get_lines);
