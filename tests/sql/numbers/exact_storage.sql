-- A NUMBER column keeps every digit it is given, up to NUMBER's 38 to 40 significant digits, and
-- compares, sorts and finds its values by value.
create table exact (id number(4), n number, p number(38,2), i integer);
insert into exact values (1, 12345678901234567890.5, 123456789012345678901234567890123456.789, 12345678901234567890123);
insert into exact values (2, 0.10000000000000000001, 0.1, 1);
insert into exact values (3, power(2, 64), 18446744073709551616, -9223372036854775809);
insert into exact values (4, '-99999999999999999999999999999999999999', null, null);
insert into exact values (5, 1/3, 1/3, 2);
insert into exact values (6, 0.1, 0.125, 3);
insert into exact values (7, 5, -0.005, 4);
select id, n, p, i from exact order by id;

-- Comparisons with literals, between and in lists, and ordering, by value.
select id from exact where n > 1 order by id;
select id from exact where n < 0.2 order by id;
select id from exact where n >= 0.1 and n <= 0.10000000000000000001 order by id;
select id from exact where n between 0 and 1 order by id;
select id from exact where n not between 0 and 1 order by id;
select id from exact where n = 0.10000000000000000001;
select id from exact where n in (0.10000000000000000001, 5, 18446744073709551616) order by id;
select id from exact where 1 < n order by id;
select id, n from exact order by n;
select id, n from exact order by n desc nulls last;
select n from exact order by 1;
select n from exact where id < 3 union select n from exact where id > 5 order by n;
select n from (select n from exact union all select 1 from dual) where n > 0.2 order by n;
select id, n value from exact order by value desc;
select min(n), max(n), min(p), max(p), count(distinct n) from exact;
select id, row_number() over (order by n) r from exact order by id;

-- Arithmetic and functions read every digit.
select id, n + 1, n * 2, -n, round(n, 1), trunc(n), abs(n), to_char(n) from exact where id in (1, 3, 4);
select sum(n), sum(p), sum(i) from exact;
select n || '' from exact where id = 1;

-- 1 = 1.0 = 1.00 is one value: one group, one distinct value, one key.
create table ones (v number);
insert into ones values (1);
insert into ones values (1.0);
insert into ones values ('1.00');
insert into ones values (0.1000000000000000000000000000000000000001);
insert into ones values ('0.1000000000000000000000000000000000000001');
select v, count(*) from ones group by v order by v;
select count(distinct v) from ones;
select v from ones union select 0.1000000000000000000000000000000000000001 from dual;
create unique index ones_v on ones (v);
drop table ones;

-- INSERT ... SELECT and CREATE TABLE AS store what the query computes, every digit.
create table copies as select id, n * 2 twice from exact where id in (1, 3);
insert into copies select id, n + 1 from exact where id = 4;
insert into copies select 9, 1/3 from dual;
select id, twice from copies order by id;
drop table copies;

-- Updates keep the digits; a unique key over the stored form finds one row.
update exact set n = n * 10 where id = 1;
select n from exact where id = 1;
create unique index exact_n on exact (n);
insert into exact (id, n) values (8, 123456789012345678905);
select id from exact where n = 123456789012345678905;

-- Rounding into NUMBER(p,s) and its precision error, with 38 digits.
create table scaled (v number(38,2));
insert into scaled values (999999999999999999999999999999999999.99);
insert into scaled values (999999999999999999999999999999999999.994);
insert into scaled values (999999999999999999999999999999999999.995);
insert into scaled values (-999999999999999999999999999999999999.995);
select v from scaled;
drop table scaled;
drop table exact;
