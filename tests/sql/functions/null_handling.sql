-- NULL-related functions, DECODE and CASE. An empty string is NULL in Oracle.
select nvl(null, 'default') "NVL", nvl('value', 'default') "Set", nvl2(null, 'set', 'not set') "NVL2" from dual;
select nvl('', 'empty is null') "Empty string" from dual;
select nullif('a', 'a') "Equal", nullif('a', 'b') "Different" from dual;
select coalesce(null, null, 'third') "COALESCE", coalesce(null, 'second', 'third') "Second" from dual;
select decode(2, 1, 'one', 2, 'two', 'other') "Found", decode(9, 1, 'one', 2, 'two', 'other') "Default",
       decode(9, 1, 'one') "No default" from dual;
select decode(null, null, 'nulls match', 'no match') "DECODE null" from dual;
select case 2 when 1 then 'one' when 2 then 'two' else 'other' end "Simple",
       case when 1 > 2 then 'greater' when 1 < 2 then 'less' end "Searched",
       case when 1 > 2 then 'greater' end "No else" from dual;
select case when null = null then 'equal' else 'unknown' end "Null comparison" from dual;
select case when lnnvl(1 = null) then 'true' else 'false' end "LNNVL" from dual;
select to_char(length('')) "Length of empty", '[' || null || 'x' || ']' "Concat with null" from dual;
-- The result of NVL, COALESCE, DECODE, CASE, GREATEST and LEAST is the number as it is, not
-- one rounded to the first argument's precision and scale.
create table nv (id number(3), c integer, d number(5,2));
insert into nv values (2, null, null);
select to_char(nvl(c, 99.99)) a, to_char(nvl(d, 1.2345)) b, to_char(least(id, 1.5)) l, to_char(greatest(id, 2.5)) g from nv;
select nvl(c, 99.99) a, nvl(d, 1.2345) b from nv;
select coalesce(d, 3.14159) co, decode(id, 2, 1.25, d) de, case when id = 2 then 1.255 else d end ca from nv;
create table nv2 as select nvl(c, 99.99) v, nvl(d, 1.2345) w from nv;
select to_char(v) v, to_char(w) w from nv2;
drop table nv2;
drop table nv;
