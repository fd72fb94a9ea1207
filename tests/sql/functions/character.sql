-- Character functions, with the examples of the SQL Language Reference.
select initcap('the soap') "Capitals" from dual;
select lower('MR. SCOTT MCMILLAN') "Lowercase", upper('mr. scott mcmillan') "Uppercase" from dual;
select concat(concat('Hello', ' '), 'World') "Concat", 'Hello' || ' ' || 'World' "Pipes" from dual;
select lpad('Page 1', 15, '*.') "LPAD example" from dual;
select rpad('Page 1', 15, '*.') "RPAD example" from dual;
select substr('ABCDEFG', 3, 4) "Substring", substr('ABCDEFG', -5, 4) "Negative" from dual;
select to_char(instr('CORPORATE FLOOR', 'OR', 3, 2)) "Instring",
       to_char(instr('CORPORATE FLOOR', 'OR', -3, 2)) "Reversed Instring" from dual;
select replace('JACK and JUE', 'J', 'BL') "Changes" from dual;
select translate('SQL*Plus User''s Guide', ' */''', '___') "Translate" from dual;
select ltrim('<=====>BROWNING<=====>', '<>=') "LTRIM Example",
       rtrim('<=====>BROWNING<=====>', '<>=') "RTRIM Example" from dual;
select to_char(trim(0 from 0009872348900)) "TRIM Example" from dual;
select '[' || trim('  both  ') || ']' "Trimmed" from dual;
select trim(leading 'x' from 'xxabcxx') "Leading", trim(trailing 'x' from 'xxabcxx') "Trailing",
       trim(both 'x' from 'xxabcxx') "Both" from dual;
select to_char(length('CANDIDE')) "Length in characters" from dual;
select chr(67) || chr(65) || chr(84) "Dog", to_char(ascii('Q')) "Ascii" from dual;
select regexp_substr('500 Oracle Parkway, Redwood Shores', '[[:alpha:]]+', 1, 3) "Third word" from dual;
select regexp_replace('500   Oracle     Parkway,    Redwood  Shores, CA', '( ){2,}', ' ') "REGEXP_REPLACE" from dual;
select to_char(regexp_instr('500 Oracle Parkway, Redwood Shores, CA',
       '[^ ]+', 1, 6)) "REGEXP_INSTR" from dual;
select to_char(regexp_count('123123123123', '123', 3, 'i')) "Count" from dual;
select case when regexp_like('Steven', '^Ste(v|ph)en$') then 'match' else 'no match' end "Like" from dual;
select user from dual;
-- CONCAT takes more than two texts (Oracle Database 23ai); a NULL among them adds nothing.
select concat('Hello', ' ', 'World', null, '!') "Concat" from dual;
