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
