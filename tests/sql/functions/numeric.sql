-- Numeric functions; the values are wrapped in TO_CHAR so that they arrive as Oracle's default
-- number-to-text conversion gives them.
select to_char(round(15.193, 1)) "Round", to_char(round(15.193, -1)) "Round to tens" from dual;
select to_char(round(1.5)) "1.5", to_char(round(2.5)) "2.5", to_char(round(-1.5)) "-1.5" from dual;
select to_char(trunc(15.79, 1)) "Truncate", to_char(trunc(15.79, -1)) "Truncate to tens" from dual;
select to_char(ceil(15.7)) "Ceiling", to_char(floor(15.7)) "Floor" from dual;
select to_char(mod(11, 4)) "Modulus", to_char(mod(-11, 4)) "Negative", to_char(mod(11, 0)) "By zero" from dual;
select to_char(remainder(11, 4)) "Remainder" from dual;
select to_char(abs(-15)) "Absolute", to_char(sign(-15)) "Sign", to_char(sign(0)) "Zero" from dual;
select to_char(power(3, 2)) "Raised", to_char(sqrt(16)) "Square root" from dual;
select to_char(1/4) "Quarter", to_char(-1/8) "Negative eighth", to_char(100) "Hundred" from dual;
select to_char(greatest(1, 3, 2)) "Greatest", least('HARRY', 'HARRIOT', 'HAROLD') "Least" from dual;
select to_char(width_bucket(42, 0, 100, 10)) "Bucket", to_char(width_bucket(-1, 0, 100, 10)) "Below",
       to_char(width_bucket(100, 0, 100, 10)) "Above" from dual;
select to_char(bitand(6, 3)) "Bitand" from dual;
-- Arithmetic takes the operand type of highest precedence: BINARY_DOUBLE, then BINARY_FLOAT, then NUMBER.
select 1.5f + 1 "Float", 2.0d * 3 "Double", 1.5f * 2.0d "Both", to_binary_float(1) / 4 "Quarter" from dual;
-- SUM and AVG add the decimals the values stand for exactly: money does not drift.
create table money (amount number(12,2));
insert into money select 0.1 from dual connect by level <= 100000;
insert into money select 9669397.01 - 0.01 * level from dual connect by level <= 3;
select to_char(sum(amount)) "Sum", to_char(sum(amount) - 29018190.97) "Off", to_char(round(avg(amount), 6)) "Average" from money;
select to_char(sum(amount)) "Tenths" from money where amount < 1;
select to_char(sum(amount) over (order by amount rows between 2 preceding and current row)) "Window" from money where amount > 1 order by amount;
drop table money;
