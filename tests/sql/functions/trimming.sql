-- LTRIM, RTRIM and TRIM (SQL Language Reference): a result with nothing left is NULL, as every
-- empty character value is in Oracle.
select ltrim('<=====>BROWNING<=====>', '<>=') "LTRIM Example" from dual;
select rtrim('<=====>BROWNING<=====>', '<>=') "RTRIM Example" from dual;
select ltrim('xyxXxyLAST WORD', 'xy') "LTRIM", rtrim('BROWNINGyxXxy', 'xy') "RTRIM" from dual;
select trim(leading 'x' from 'xxabcxx') "Leading", 'a' || trim('  b  ') || 'c' "Both" from dual;
select case when trim('   ') is null then 'null' end "TRIM of blanks",
       case when ltrim('xx', 'x') is null then 'null' end "LTRIM of all",
       case when rtrim(' ') is null then 'null' end "RTRIM of a blank" from dual;
select coalesce(trim(' '), 'z') "COALESCE", nvl(to_char(length(ltrim('xx', 'x'))), 'null') "LENGTH" from dual;
select ltrim(null) "Null text", rtrim('ab', null) "Null set" from dual;
