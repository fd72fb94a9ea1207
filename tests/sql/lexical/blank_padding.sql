-- Text literals compare with blank-padded semantics, as CHAR values do; a VARCHAR2 column
-- compares nonpadded.
select case when 'ab' = 'ab  ' then 'y' else 'n' end eq, case when 'a' < 'a  ' then 'y' else 'n' end lt, case 'x' when 'x ' then 'y' else 'n' end simple from dual;
create table pads (c char(5), v varchar2(5));
insert into pads values ('ab', 'ab');
select case when c = 'ab' then 'y' else 'n' end c_short, case when c = 'ab   ' then 'y' else 'n' end c_padded, case when v = 'ab  ' then 'y' else 'n' end v_padded from pads;
drop table pads;
