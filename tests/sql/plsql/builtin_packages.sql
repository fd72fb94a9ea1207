-- Built-in packages scripts use: UTL_RAW, DBMS_ASSERT, DBMS_RANDOM (checked for its ranges and
-- for SEED making it repeat), DBMS_UTILITY.GET_TIME and the error stack and backtrace.
select utl_raw.cast_to_raw('abc') as r, utl_raw.cast_to_varchar2(hextoraw('78797A')) as v,
       to_char(utl_raw.length(hextoraw('61626364'))) as l,
       utl_raw.substr(hextoraw('616263646566'), 2, 3) as s,
       utl_raw.concat(hextoraw('61'), hextoraw('62'), hextoraw('63')) as c from dual;
select dbms_assert.enquote_literal('it''s') as a, dbms_assert.enquote_name('emp') as b,
       dbms_assert.simple_sql_name('emp_1') as c, dbms_assert.noop('x') as d from dual;
select dbms_assert.simple_sql_name('1; drop table x') from dual;
declare
  s varchar2(20);
begin
  dbms_output.enable;
  dbms_random.seed(42);
  s := dbms_random.string('U', 20);
  if s = upper(s) and length(s) = 20 then
    dbms_output.put_line('string(''U'', 20) is 20 capitals');
  end if;
  if dbms_random.value >= 0 and dbms_random.value < 1 then
    dbms_output.put_line('value is in [0, 1)');
  end if;
  if dbms_random.value(5, 10) between 5 and 10 then
    dbms_output.put_line('value(5, 10) is in [5, 10)');
  end if;
  dbms_output.put_line('string of ' || length(dbms_random.string('X', 12)));
  if dbms_utility.get_time > 0 then
    dbms_output.put_line('get_time counts');
  end if;
end;
/
select column_value from table(dbms_output.get_lines);
declare
  a number;
  b number;
begin
  dbms_random.seed(7);
  a := dbms_random.value;
  dbms_random.seed(7);
  b := dbms_random.value;
  dbms_output.put_line(case when a = b then 'a seed repeats the values' else 'no' end);
end;
/
select column_value from table(dbms_output.get_lines);
create or replace procedure raise_deep_pl is
begin
  raise_application_error(-20005, 'deep');
end;
/
begin
  raise_deep_pl;
exception
  when others then
    dbms_output.put_line(dbms_utility.format_error_stack);
    dbms_output.put_line(dbms_utility.format_error_backtrace);
end;
/
select column_value from table(dbms_output.get_lines);
drop procedure raise_deep_pl;

-- DBMS_OUTPUT.GET_LINES into a DBMS_OUTPUT.CHARARR: at most numlines lines, which leave the
-- buffer; numlines says how many came.
declare
  lines dbms_output.chararr;
  n integer := 2;
begin
  dbms_output.put_line('first');
  dbms_output.put_line('second');
  dbms_output.put_line('third');
  dbms_output.get_lines(lines, n);
  dbms_output.put_line('got ' || n || ': ' || lines(1) || ', ' || lines(2) || ' of ' || lines.count);
end;
/
select column_value from table(dbms_output.get_lines);
