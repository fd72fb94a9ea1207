-- EMPTY_CLOB() and EMPTY_BLOB() are empty LOBs, not NULL, in a select list as in a column;
-- TO_CLOB of an empty string (NULL in Oracle) is NULL.
select '[' || length(empty_clob()) || ']' "Length" from dual;
select empty_clob() "Empty", to_clob('') "Null" from dual;
select empty_blob() "Empty" from dual;
create table lob_values (id number(2), c clob, b blob);
insert into lob_values values (1, empty_clob(), empty_blob());
insert into lob_values values (2, null, null);
insert into lob_values values (3, to_clob(''), empty_blob());
select id, c, b, case when c is null then 'null' else 'not null' end "C is", to_char(length(c)) "Length" from lob_values order by id;
select id, case when 1 = 1 then empty_clob() end "Case" from lob_values where id = 1;
drop table lob_values;
