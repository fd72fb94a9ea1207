-- ROWNUM is assigned as rows pass the WHERE clause, before ORDER BY.
create sequence order_seq start with 1000 increment by 10;
create table orders (id number(10) default order_seq.nextval, item varchar2(10));
insert into orders (item) values ('a');
insert into orders values (order_seq.nextval, 'b');
insert into orders values (order_seq.nextval, 'c');
select to_char(order_seq.currval) "Current" from dual;
select id from orders where rownum <= 2 and item <> 'a';
select item from orders order by id offset 1 rows fetch next 1 row only;
select id, item from (select id, item from orders order by id desc) where rownum <= 2;
select item from orders where rownum > 1;
select sequence_name from user_sequences;
drop table orders;
drop sequence order_seq;
