-- SAMPLE (percent) reads each row with that chance; SEED makes the sample repeatable; the
-- percentage must be in [0.000001, 100) (ORA-30562).
create table sample_rows (id number, v varchar2(5));
begin
  for i in 1 .. 10000 loop insert into sample_rows values (i, 'x'); end loop;
end;
/
select case when count(*) between 800 and 1200 then 'about a tenth' else 'off' end as rows_read
  from sample_rows sample (10);
select case when count(*) between 4700 and 5300 then 'about half' else 'off' end as rows_read
  from sample_rows sample block (50) s where s.v = 'x';
select (select count(*) from sample_rows sample (10) seed (42)) -
       (select count(*) from sample_rows sample (10) seed (42)) as seeded_difference
  from dual;
select count(*) from sample_rows sample (99.999999);
select count(*) from sample_rows sample (100);
select count(*) from sample_rows sample (0);
drop table sample_rows;
