-- NUMBER values in PL/SQL keep every digit, as a NUMBER column does: decimal arithmetic, exact
-- literals, values read from and written to tables, NUMBER(p,s) and PLS_INTEGER conversions.
begin
  dbms_output.enable;
end;
/
-- Arithmetic of NUMBERs is decimal, rounded to NUMBER's forty digits.
declare
  third number := 1/3;
  big number := 12345678901234567890.123;
begin
  dbms_output.put_line(third);
  dbms_output.put_line(third * 3);
  dbms_output.put_line(big + 1);
  dbms_output.put_line(big * 2);
  dbms_output.put_line(-big);
  dbms_output.put_line(big / 1000);
  dbms_output.put_line(2 ** 100);
  dbms_output.put_line(9223372036854775807 + 1);
  dbms_output.put_line(7.5 mod 2);
  dbms_output.put_line(mod(-7.5, 2));
  if 0.1 + 0.2 = 0.3 then dbms_output.put_line('0.1 + 0.2 = 0.3'); end if;
  if big > 12345678901234567890.122 and big < 12345678901234567890.124 then
    dbms_output.put_line('compared by every digit');
  end if;
end;
/
select column_value from table(dbms_output.get_lines);
-- Values past a double's digits go into a table and come back as they were: as binds, in
-- WHERE, from SELECT INTO, cursors, BULK COLLECT and RETURNING INTO.
create table wide_numbers (id number primary key, n number);
declare
  x number := 98765432109876543210.0123456789;
  y number;
  c pls_integer;
  type numbers_t is table of number;
  all_n numbers_t;
begin
  insert into wide_numbers values (1, x);
  insert into wide_numbers values (2, x + 1) returning n into y;
  dbms_output.put_line('returned ' || y);
  select n into y from wide_numbers where id = 1;
  if x = y then dbms_output.put_line('read back equal'); end if;
  select count(*) into c from wide_numbers where n = x;
  dbms_output.put_line('rows equal to x: ' || c);
  y := x + 1;
  select count(*) into c from wide_numbers where n in (x, y);
  dbms_output.put_line('rows in (x, x + 1): ' || c);
  select max(n) - x into y from wide_numbers where n <> x;
  dbms_output.put_line('max(n) - x: ' || y);
  update wide_numbers set n = n * 10 where id = 2;
  select n * 2 into y from wide_numbers where id = 2;
  dbms_output.put_line('computed in SQL ' || y);
  for r in (select id, n from wide_numbers order by id) loop
    dbms_output.put_line(r.id || ': ' || r.n);
  end loop;
  select n bulk collect into all_n from wide_numbers order by id;
  dbms_output.put_line('collected ' || all_n(1) || ' ' || all_n(2));
  y := '11111111111111111111.5';
  dbms_output.put_line('from text ' || (y + 0.5));
end;
/
select column_value from table(dbms_output.get_lines);
select id, n from wide_numbers order by id;
drop table wide_numbers;
-- A stored function takes a column's NUMBER whole and gives its own back whole.
create table wide_args (n number);
insert into wide_args values (12345678901234567890123);
create or replace function wide_half (n number) return number is
begin
  return n / 2;
end;
/
select wide_half(n) as half, wide_half(n) * 2 - n as diff from wide_args;
drop function wide_half;
drop table wide_args;
-- NUMBER(p,s) rounds to its scale and refuses a value past its precision; PLS_INTEGER rounds
-- to a whole number and overflows past 32 bits.
declare
  price number(10,2) := 123.456;
  whole number(5) := 1234.5;
  i pls_integer := 2.5;
  j pls_integer := -2.5;
begin
  dbms_output.put_line(price || ' ' || whole || ' ' || i || ' ' || j);
end;
/
select column_value from table(dbms_output.get_lines);
declare
  small number(3);
begin
  small := 1234;
end;
/
declare
  i pls_integer;
begin
  i := 2147483647.4;
  dbms_output.put_line(i);
  i := 2147483648;
end;
/
select column_value from table(dbms_output.get_lines);
-- Dividing by zero raises ZERO_DIVIDE.
declare
  x number := 1.5;
  zero number := 0;
begin
  x := x / zero;
exception
  when zero_divide then
    dbms_output.put_line('zero_divide: ' || sqlerrm);
end;
/
select column_value from table(dbms_output.get_lines);
