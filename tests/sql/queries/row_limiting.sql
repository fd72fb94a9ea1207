-- The row limiting clause: OFFSET, FETCH FIRST/NEXT, PERCENT and WITH TIES.
create table scores (id number(3), score number(3));
insert into scores select level, case when level <= 4 then 100 else 100 - level end from dual connect by level <= 10;
select id, score from scores order by id fetch first 3 rows only;
select id from scores order by id offset 8 rows;
select id from scores order by id offset 2 rows fetch next 2 rows only;
select id from scores order by id fetch first 20 percent rows only;
select id, score from scores order by score desc fetch first 2 rows with ties;
select id from scores order by id offset 20 rows fetch next 1 row only;
select to_char(count(*)) "Rows" from (select id from scores order by id fetch first 0 rows only);
drop table scores;
