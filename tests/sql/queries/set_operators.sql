-- UNION, UNION ALL, INTERSECT and MINUS.
create table a (n number(2));
create table b (n number(2));
insert into a select level from dual connect by level <= 4;
insert into b select level + 2 from dual connect by level <= 4;
insert into a values (1);
select n from a union select n from b order by n;
select n from a union all select n from b order by n;
select n from a intersect select n from b order by n;
select n from a minus select n from b order by 1;
select n, 'x' from a union select n from b;
select n "Value" from a where n < 3 union select n from b where n > 5 order by "Value" desc;
drop table a;
drop table b;
