-- Private synonyms stand for the object they name in queries and DML.
create table parts (id number(3));
create synonym p for parts;
insert into p values (7);
select id from p;
select synonym_name, table_name from user_synonyms;
create synonym p for parts;
create or replace synonym p for parts;
drop synonym p;
select id from p;
drop table parts;
