-- Queries inside inline views, WITH clauses and row limits are Oracle queries like any other:
-- their date arithmetic, concatenation, division and comparisons follow Oracle's rules, and
-- SELECT * names their columns by the expressions' text.
create table t (id number(3), d date, v varchar2(5), n number(3), s varchar2(5), pid number(3));
insert into t values (1, date '2024-02-29', null, 7, '10', null);
insert into t values (2, date '2024-03-05', 'b', 9, '8', 1);
insert into t values (3, date '2024-03-05', 'c', 9, '9', 1);
-- The top-N query: ORDER BY in the inline view, ROWNUM outside.
select * from (select id, d+1, 'x'||v c, to_char(n/4) q, to_char(d - date '2024-02-01') days from t order by id) where rownum <= 2;
select * from (select id from t where d + 1 > date '2024-03-01' order by id) where rownum <= 10;
select * from (select id, v from t order by v || 'a') where rownum <= 1;
-- Pagination: the three-level form.
select id, dd, q, to_char(rn) rn from (select a.*, rownum rn from (select id, d+1 dd, to_char(n/4) q from t order by id) a where rownum <= 3) where rn >= 2;
select id, rownum || ':' || v tag from t where n > 8 and rownum <= 2;
select to_char(count(*)) c from (select id from t where v || 'a' = 'ba') where rownum <= 5;
select id from t where n - 1 > 7 and rownum <= 1;
-- Row limiting with an expression key, and limits on both levels.
select id, n from t order by n + 0 fetch first 2 rows with ties;
select id from t where d + 1 > date '2024-03-01' order by id fetch first 50 percent rows only;
select * from (select id from t order by id desc fetch first 2 rows only) order by id fetch first 1 rows only;
-- A text column compared with a number is converted to a number, wherever the comparison is.
select id from t where s > 9;
with w as (select id, s from t where s > 9) select id from w;
with w as (select id, s from t) select id from w where s > 9;
select id from t where s > 9 start with pid is null connect by prior id = pid;
select id from t start with s > 9 connect by prior id = pid order siblings by id;
-- A measure and a trimmed operand are rewritten like any other expression.
select listagg(to_char(d + 1, 'YYYY-MM-DD'), ',') within group (order by id) days from t;
select '[' || trim(leading 'x' from 'xxa' || v) || ']' tv from t order by id;
drop table t;
