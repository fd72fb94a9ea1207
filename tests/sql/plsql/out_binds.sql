-- A block's host binds are its OUT binds: a bind the host set nothing for starts NULL when the
-- block only writes it, and the values the block assigned stay with the session, read back from
-- TABLE(KAVEX$BIND_VALUES) (NAME upper case without the colon; VALUE of the value's own type).
create table ob_pets (id number primary key, name varchar2(20), born date);

insert into ob_pets values (1, 'Rex', date '2019-04-01');

insert into ob_pets values (2, 'Tom', date '2021-11-30');

create or replace procedure ob_lookup(p_id in number, p_name out varchar2, p_count in out number) is
begin
  select name into p_name from ob_pets where id = p_id;
  p_count := nvl(p_count, 0) + 1;
end;
/

-- Assignment, and a bind read back in the same block after the block wrote it.
begin
  :n := 5;
  :doubled := :n * 2;
  :greeting := 'hello';
  :when := date '2024-02-29';
end;
/

select name from table(kavex$bind_values);

select to_char(value) from table(kavex$bind_values) where name = 'DOUBLED';

select value from table(kavex$bind_values) where name = 'GREETING';

select value from table(kavex$bind_values) where name = 'WHEN';

-- A query leaves them; the next block replaces them with what it assigned, and only that: a
-- bind it names but does not write is none of them.
select to_char(count(*)) from ob_pets;

select name from table(kavex$bind_values);

begin
  select name, born into :pet, :born from ob_pets where id = 2;
  if :pet is not null then
    null;
  end if;
end;
/

select name, value from table(kavex$bind_values) where name = 'PET';

select value from table(kavex$bind_values) where name = 'BORN';

-- A procedure's OUT and IN OUT parameters write the binds passed to them; an IN OUT argument is
-- read first, so a bind nobody set before it is ORA-01008 there.
begin
  :calls := null;
  ob_lookup(1, :pet_name, :calls);
  ob_lookup(2, :pet_name, :calls);
end;
/

select name, value from table(kavex$bind_values);

begin
  ob_lookup(1, :pet_name, :never_set);
end;
/

-- FETCH INTO, a RETURNING INTO and an exception handler that writes a bind.
declare
  cursor c is select name from ob_pets order by id desc;
begin
  open c;
  fetch c into :first_fetched;
  close c;
  update ob_pets set name = 'Rexy' where id = 1 returning name into :renamed;
  select name into :missing from ob_pets where id = 99;
exception
  when no_data_found then
    :handled := 'no pet 99';
end;
/

select name, value from table(kavex$bind_values);

-- A block that fails keeps no values; reading a bind nobody set before it is written is
-- ORA-01008.
begin
  :early := 1;
  :late := :never_set;
end;
/

select to_char(count(*)) from table(kavex$bind_values);

begin
  :ok := 1;
  raise_application_error(-20001, 'stop');
end;
/

select to_char(count(*)) from table(kavex$bind_values);

-- A BOOLEAN is no value a host bind takes.
begin
  :flag := true;
end;
/

-- A name written in lower case reads back in upper case.
begin
  :lower_case_name := 'x';
end;
/

select name from table(kavex$bind_values);

rollback;

drop procedure ob_lookup;

drop table ob_pets;
