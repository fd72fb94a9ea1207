-- The numeric functions compute in decimal: a query's result gets their value to NUMBER's
-- 39 or 40 significant digits.
select sqrt(2), sqrt(26), exp(1) from dual;
select ln(2), log(10, 2), log(2, 1024) from dual;
select round(1/3, 30), trunc(2/3, 35), round(2/3, 39), round(-2.5), trunc(-2.5) from dual;
select ceil(-1/3), floor(-1/3), ceil(12345678901234567890.5), floor(-12345678901234567890.5) from dual;
select abs(-1/3), abs(-12345678901234567890) from dual;
-- MOD keeps the sign of the dividend; REMAINDER takes the nearest quotient, the even one at a tie.
select mod(1/3, 0.1), mod(-11, 4), mod(12345678901234567890.5, 7), remainder(10/3, 1), remainder(12.5, 5) from dual;
select power(1.5, 3), power(2, 0.5), power(10, -3), power(3, 100) from dual;
select power(-8, 1/3) from dual;
select sqrt(-1) from dual;
select ln(0) from dual;
select power(0, -1) from dual;
select power(10, 200) from dual;
-- Nested in a comparison, the same functions still compare by value.
select 'yes' from dual where sqrt(2) > 1.414 and mod(1/3, 0.1) < 0.034;

-- The statistical aggregates of a query's result are NUMBER arithmetic: VARIANCE of 1, 2 and 4
-- is 7/3, VAR_POP 14/9, COVAR_POP with 2, 4.5 and 7 is 2.5, COVAR_SAMP 3.75, and CORR
-- 22.5 / SQRT(525).
create table moments (x number, y number);
insert into moments values (1, 2);
insert into moments values (2, 4.5);
insert into moments values (4, 7);
select variance(x), var_samp(x), var_pop(x), stddev(x), stddev_pop(x) from moments;
select covar_pop(x, y), covar_samp(x, y), corr(x, y) from moments;
select x, variance(x) over (order by x) v from moments order by x;
select variance(x) from moments where x = 1;
select var_samp(x) from moments where x = 1;
drop table moments;
