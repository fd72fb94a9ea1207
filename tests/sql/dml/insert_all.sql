-- Multitable inserts: INSERT ALL into every matching table, INSERT FIRST into the first.
create table small_orders (id number(3), amount number(6));
create table large_orders (id number(3), amount number(6));
create table all_orders (id number(3), amount number(6));
insert all
  into small_orders values (1, 10)
  into large_orders values (2, 5000)
  into all_orders (id) values (3)
select * from dual;
insert all
  when amount < 1000 then into small_orders
  when amount >= 1000 then into large_orders
  else into all_orders
select id + 10 id, amount from (select 1 id, 500 amount from dual union all
                                 select 2, 2000 from dual union all
                                 select 3, null from dual);
insert first
  when amount > 100 then into large_orders
  when amount > 10 then into small_orders
select 30 id, 150 amount from dual union all select 31, 50 from dual;
select id, amount from small_orders order by id;
select id, amount from large_orders order by id;
select id, amount from all_orders order by id;
drop table small_orders;
drop table large_orders;
drop table all_orders;
