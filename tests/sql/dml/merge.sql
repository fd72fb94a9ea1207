-- MERGE: the update count covers the rows updated and the rows inserted; the DELETE clause
-- removes updated rows that meet its condition.
create table stock (item varchar2(10) primary key, qty number(5));
insert into stock values ('a', 1);
insert into stock values ('c', 3);
merge into stock s using (select 'a' item, 5 qty from dual union all select 'b', 7 from dual) n
  on (s.item = n.item)
  when matched then update set s.qty = s.qty + n.qty
  when not matched then insert values (n.item, n.qty);
select listagg(item || '=' || qty, ';') within group (order by item) "Stock" from stock;
merge into stock s using (select 'c' item, 0 qty from dual) n on (s.item = n.item)
  when matched then update set s.qty = n.qty delete where s.qty = 0;
select item, qty from stock order by item;
merge into stock s using (select 'd' item, 4 qty from dual) n on (s.item = n.item)
  when not matched then insert (item, qty) values (n.item, n.qty) where n.qty > 5;
select to_char(count(*)) "D rows" from stock where item = 'd';
drop table stock;
-- A CASE expression in the UPDATE SET of MERGE, its WHEN no clause of MERGE.
create table bonus (id number(3), sal number(7,2));
insert into bonus values (1, 100);
insert into bonus values (2, 40);
merge into bonus b using (select id from bonus) s on (b.id = s.id) when matched then update set b.sal = case when b.sal > 50 then b.sal * 2 else b.sal end;
select id, to_char(sal) sal from bonus order by id;
drop table bonus;
