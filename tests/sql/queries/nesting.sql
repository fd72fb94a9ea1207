-- A query without FROM is a query of DUAL's one row (Oracle Database 23ai), a hierarchy included.
select to_char(count(*)) "Rows" from (select level l connect by level <= 3);
-- A CONNECT BY that ends before its condition is a missing expression, not a crash.
select 1 from dual connect by prior;
select 1 from dual connect by;
