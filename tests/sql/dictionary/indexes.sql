-- USER_INDEXES and USER_IND_COLUMNS, joined and sorted as scripts read them.
create table k1 (a number(3), b varchar2(5));
create unique index k1_a on k1 (a);
create index k1_b on k1 (b);
select i.index_name, i.uniqueness, c.column_name, to_char(c.column_position) pos from user_indexes i join user_ind_columns c on c.index_name = i.index_name where i.table_name = 'K1' order by c.column_name;
select index_name from user_indexes where table_name = 'K1' order by index_name desc;
drop table k1;
