-- Conversion functions and format models. Values in brackets show the sign position and padding.
select to_char(1234.5, 'FML9G999D00') "Amount" from dual;
select '[' || to_char(0, '99.99') || ']' "0", '[' || to_char(0.1, '99.99') || ']' "+0.1",
       '[' || to_char(-0.2, '99.99') || ']' "-0.2", '[' || to_char(0, '90.99') || ']' "0 as 90.99" from dual;
select '[' || to_char(123.456, '999.999') || ']' "+123.456", '[' || to_char(-123.456, '999.999') || ']' "-123.456",
       '[' || to_char(123.456, 'FM999.009') || ']' "FM999.009" from dual;
select '[' || to_char(123.456, '9.9EEEE') || ']' "9.9EEEE", '[' || to_char(123.456, 'FM9.9EEEE') || ']' "FM9.9EEEE" from dual;
select '[' || to_char(123.45, 'FM999.009') || ']' "123.45", '[' || to_char(123.0, 'FM999.009') || ']' "123.0" from dual;
select '[' || to_char(1234567890, '9999999999S') || ']' "S", '[' || to_char(-9876, '9999MI') || ']' "MI",
       '[' || to_char(-98, '999PR') || ']' "PR" from dual;
select '[' || to_char(12, '0999') || ']' "0999", '[' || to_char(1234, '99') || ']' "Too narrow" from dual;
select to_char(3040, 'FM99999V99') "V", to_char(255, 'XX') "Hex", to_char(6000, 'FM99,999.00') "Comma" from dual;
select to_char(date '2024-03-14', 'Ddspth') "Spelled", to_char(date '2024-03-14', 'fmMonth DD, YYYY') "Long" from dual;
select to_char(date '2024-03-14', 'DY DD-MON-YYYY') "Short", '[' || to_char(date '2024-03-14', 'Day') || ']' "Padded" from dual;
select to_char(to_date('14-March-24', 'DD-MM-RR'), 'YYYY-MM-DD') "RR" from dual;
select to_char(to_date('14-03-98', 'DD-MM-RR'), 'YYYY') "RR 98", to_char(to_date('14-03-49', 'DD-MM-RR'), 'YYYY') "RR 49" from dual;
select to_date('January 15, 1989, 11:00 A.M.', 'Month dd, YYYY, HH:MI A.M.', 'NLS_DATE_LANGUAGE = American') "TO_DATE" from dual;
select to_date('1-JAN-1998', 'FXDD-MON-YYYY') from dual;
select to_date('01-JAN-1998', 'FXDD-MON-YYYY') "FX" from dual;
select to_char(to_number('1,234.50', '9G999D99')) "TO_NUMBER", to_char(to_number('0123')) "Plain" from dual;
select to_char(cast('42' as number) + 1) "CAST", cast(12.345 as number(5,1)) "Rounded" from dual;
select to_char(to_timestamp('10-Sep-02 14:10:10.123000', 'DD-Mon-RR HH24:MI:SS.FF'), 'YYYY-MM-DD HH24:MI:SS.FF3') "TO_TIMESTAMP" from dual;
