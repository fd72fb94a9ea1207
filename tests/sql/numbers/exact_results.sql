-- NUMBER arithmetic is decimal and exact, with up to 40 significant digits: a query's result
-- carries every digit.
create table amounts (amount number(12,2));
insert into amounts select 0.1 from dual connect by level <= 100000;
select sum(amount), sum(amount) - 10000 from amounts;
drop table amounts;

select 12345678901234567890 + 1 from dual;
select power(2, 64), power(2, 100), power(-3, 3), power(2, -2) from dual;
select 9999999999999999.99, -0.000000000000000000012345678901234567 from dual;
select 0.1 + 0.2, 1.1 * 1.1, 1 - 0.9 from dual;

-- Division keeps twenty base-100 digits: forty decimal ones, thirty-nine when the first
-- base-100 digit has one.
select 1/3, 2/3, 10/3, -1/3 * 3 from dual;
select 1e-130 / 3, 123456789012345678901234567890 * 1000000000000 from dual;
select 1/0 from dual;
-- TO_CHAR writes every digit, as Oracle's default conversion of a NUMBER to text does.
select to_char(1/3), to_char(12345678901234567890 + 1), to_char(2/3, '0.99999999999999999999') from dual;

create table extremes (n number);
insert into extremes values (-9223372036854775808);
insert into extremes values (-9223372036854775808);
insert into extremes values (-1);
select sum(n), avg(n) from extremes;
select sum(n) over () total from extremes where rownum = 1;
drop table extremes;

-- Where SQL goes on to compare, sort or store a value, it is still compared by value.
select * from (select 1/3 x from dual) where x > 0.333;
select case when 1/3 > 0.333 then 'greater' end from dual;
select 2/3 x from dual union select 1/3 from dual order by 1;
select count(*) from (select 1/3 x from dual union select 1/3 from dual);

-- In a subquery arithmetic keeps 15 significant digits, rounded half away from zero.
select * from (select 0.5 + 0.011 a, 123456789012345.6 + 0.04 b, 0.1 * 3 c, 1e20 + 1 d,
  2.5 * 4 e, 99999999999999.95 + 0 f, -0.000001 * 0.000001 g from dual);
select * from (select 0.1 / 0 from dual);
select * from (select 1e100 * 1e100 from dual);
-- A column keeps every digit it is given.
create table thirds (n number);
insert into thirds select 1/3 from dual;
select n from thirds where n > 0.333;
drop table thirds;

declare
    x number := 1/3;
begin
    dbms_output.enable;
    if x > 0.333 then
        dbms_output.put_line('a third is more than 0.333');
    end if;
end;
/
select column_value from table(dbms_output.get_lines);
