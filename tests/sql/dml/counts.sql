-- UPDATE and DELETE report the rows they touched; a statement that meets no row reports 0.
create table items (id number(3), price number(6), status varchar2(8));
insert into items select level, level * 10, 'new' from dual connect by level <= 5;
update items set status = 'cheap' where price < 30;
update items set price = price * 2;
update items set status = 'none' where id > 100;
delete from items where status = 'cheap';
select id, price, status from items order by id;
insert into items (id) select id + 10 from items;
update items set status = (select 'max' from dual) where id = (select max(id) from items);
select id, price, status from items where id > 10 order by id;
commit;
delete from items;
delete from items;
rollback;
select to_char(count(*)) "Rows" from items;
drop table items;
-- ROWNUM in the WHERE of UPDATE and DELETE counts the rows the WHERE finds: the idiom for
-- changing rows in batches.
create table batch (id number(3), state varchar2(4));
insert into batch select level, 'new' from dual connect by level <= 10;
update batch set state = 'done' where state = 'new' and rownum <= 3;
update batch b set b.state = 'done' where b.state = 'new' and rownum <= 3;
select state, to_char(count(*)) n from batch group by state order by state;
delete from batch where state = 'done' and rownum <= 4;
delete batch where rownum < 3;
select to_char(count(*)) n from batch;
select to_char(count(*)) n from batch where rowid in (select rowid from batch where rownum <= 2);
drop table batch;
