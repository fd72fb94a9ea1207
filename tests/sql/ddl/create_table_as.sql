-- CREATE TABLE AS SELECT makes each column wide enough for every row it copies.
create table src as select level id from dual connect by level <= 100;
create table dst as select id, case when id < 90 then 'a' else 'abcdefgh' end v from src;
select to_char(count(*)) c, to_char(max(length(v))) m from dst;
select column_name, to_char(data_length) len from user_tab_columns where table_name = 'DST' and column_name = 'V';
-- The numbers NVL chooses between are stored as they are.
create table nums as select nvl(null, 99.99) n from dual;
select to_char(n) n from nums;
drop table nums;
drop table dst;
drop table src;
-- Over no rows, a column of text literals is as wide as the widest of them.
create table empty_texts as select case when 1 = 0 then 'abc' when 1 = 2 then 'it''s long' end c, nvl(null, 'abcd') n from dual where 1 = 0;
select column_name, data_type, to_char(data_length) len from user_tab_columns where table_name = 'EMPTY_TEXTS' order by column_id;
insert into empty_texts values ('it''s long', 'abcd');
select c, n from empty_texts;
drop table empty_texts;
-- ORGANIZATION INDEX and its attributes are storage choices: the table holds its rows as any.
create table iot (id number(3) primary key, name varchar2(10), note varchar2(100)) organization index pctthreshold 20 including name overflow tablespace users;
insert into iot values (1, 'one', 'first');
select id, name, note from iot;
drop table iot;
