-- Arithmetic with a BINARY_DOUBLE or BINARY_FLOAT operand is IEEE binary floating point, the
-- other operand converted first (BINARY_DOUBLE before BINARY_FLOAT before NUMBER); NUMBER
-- arithmetic stays decimal.
select 0.1d + 0.2d, 0.1 + 0.2, to_binary_double(0.1) + 0.2, 1 - 0.9d from dual;
select 1d / 0, -1d / 0, 2.5f * 2, 1 / 3f from dual;
create table measures (d binary_double, f binary_float, n number(10,2));
insert into measures values (0.1, 0.1, 0.1);
select d + n, f + n, d * f, n + n, d + d from measures;
select d / 0, f / 0, d - d from measures;
-- A binary result is a binary value to the hosts.
create table results as select d + n dn, f + n fn, n + n nn from measures;
select column_name, data_type from user_tab_columns where table_name = 'RESULTS' order by column_id;
drop table results;
drop table measures;
select 1 / 0 from dual;
