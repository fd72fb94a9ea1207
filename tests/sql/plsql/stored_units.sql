-- Stored procedures and functions: CREATE [OR REPLACE], calls with positional and named
-- arguments, defaults, OUT and IN OUT parameters, functions in PL/SQL expressions and in SQL,
-- the error stack through a unit, USER_OBJECTS and USER_SOURCE, units that do not compile, and
-- DROP.
create table acct_pl (id number(4) primary key, owner varchar2(10), bal number(10,2));
insert into acct_pl values (1, 'ann', 100);
insert into acct_pl values (2, 'bob', 50);
create or replace procedure transfer_pl (p_from in number, p_to in number,
                                         p_amount in number default 10) is
  v_bal acct_pl.bal%type;
begin
  select bal into v_bal from acct_pl where id = p_from;
  if v_bal < p_amount then
    raise_application_error(-20001, 'insufficient funds in account ' || p_from);
  end if;
  update acct_pl set bal = bal - p_amount where id = p_from;
  update acct_pl set bal = bal + p_amount where id = p_to;
end transfer_pl;
/
create or replace function balance_pl (p_id number) return number is
  v acct_pl.bal%type;
begin
  select bal into v from acct_pl where id = p_id;
  return v;
exception
  when no_data_found then
    return null;
end;
/
create or replace procedure split_pl (p_full in varchar2, p_first out varchar2,
                                      p_count in out number) as
begin
  p_first := substr(p_full, 1, instr(p_full, ' ') - 1);
  p_count := p_count + 1;
end;
/
-- Positional and named notation, a default, and a function in an expression.
begin
  dbms_output.enable;
  transfer_pl(1, 2, 30);
  transfer_pl(p_to => 1, p_from => 2);
  dbms_output.put_line('ann ' || balance_pl(1) || ', bob ' || balance_pl(2)
                       || ', nobody ' || nvl(to_char(balance_pl(9)), 'none'));
end;
/
select column_value from table(dbms_output.get_lines);
-- A function in SQL, in the select list and in WHERE.
select id, owner, to_char(balance_pl(id)) as bal from acct_pl where balance_pl(id) > 75 order by id;
-- A function in SQL is headed by the call as written.
select to_char(balance_pl(1)), owner from acct_pl where id = 2;
-- A function without arguments is called by its name alone too, headed by that name, and with
-- (): in the select list, WHERE, ORDER BY and INSERT ... VALUES.
create or replace function answer_pl return number is
begin
  return 42;
end;
/
select answer_pl from dual;
select answer_pl() from dual;
create table ids_pl (id number(4));
insert into ids_pl values (answer_pl);
insert into ids_pl values (answer_pl() + 1);
insert into ids_pl values (7);
select id from ids_pl where id >= answer_pl order by id;
select id from ids_pl order by abs(id - answer_pl);
-- A column of the statement's tables, or a select item's alias, of that name is what the name
-- stands for; () still calls the function.
create table answers_pl (id number(4), answer_pl number(4));
insert into answers_pl values (1, 7);
insert into answers_pl values (2, 50);
select id, answer_pl from answers_pl where answer_pl < answer_pl() order by id;
select id from answers_pl a where exists (select 1 from ids_pl i where i.id = answer_pl);
select 5 answer_pl from dual order by answer_pl;
select answer_pl from (select 6 as answer_pl from dual);
-- In the SQL of a PL/SQL block, and in its expressions.
declare
  n number;
begin
  select count(*) into n from ids_pl where id = answer_pl;
  insert into ids_pl values (answer_pl * 2);
  dbms_output.put_line(n || ' of ' || answer_pl || ', then ' || (answer_pl + 1));
end;
/
select column_value from table(dbms_output.get_lines);
select id from ids_pl order by id;
drop table answers_pl;
drop table ids_pl;
drop function answer_pl;
-- OUT and IN OUT parameters come back to the caller's variables.
declare
  first_name varchar2(10);
  calls number := 0;
begin
  split_pl('Grace Hopper', first_name, calls);
  split_pl('Alan Turing', first_name, calls);
  dbms_output.put_line(first_name || ' after ' || calls || ' calls');
end;
/
select column_value from table(dbms_output.get_lines);
-- A function called from PL/SQL may change data; one a query calls may not (ORA-14551).
create table calls_pl (n number);
create or replace function logged_pl return number is
begin
  insert into calls_pl values (1);
  return 42;
end;
/
declare
  x number;
begin
  x := logged_pl;
  x := x + logged_pl();
  dbms_output.put_line('logged ' || x);
end;
/
select column_value from table(dbms_output.get_lines);
select to_char(count(*)) from calls_pl;
select logged_pl() from dual;
drop function logged_pl;
drop table calls_pl;
-- An error raised in a unit names the unit's line, then the block's.
begin
  transfer_pl(2, 1, 1000);
end;
/
select to_char(bal) from acct_pl order by id;
-- Wrong arguments, a procedure called as a function's way, and an IN parameter assigned.
begin
  transfer_pl(1);
end;
/
begin
  transfer_pl(1, 2, p_nothing => 3);
end;
/
begin
  balance_pl(1);
end;
/
create or replace procedure assign_in_pl (p number) is
begin
  p := 1;
end;
/
begin
  assign_in_pl(1);
end;
/
-- What the dictionary shows.
select object_name, object_type, status from user_objects
 where object_type in ('PROCEDURE', 'FUNCTION') order by object_name;
select object_name, object_type, authid from user_procedures
 where object_name in ('TRANSFER_PL', 'BALANCE_PL') order by object_name;
select object_name, argument_name, to_char(position) as position, to_char(sequence) as seq,
       data_type, in_out, defaulted
  from user_arguments where object_name in ('TRANSFER_PL', 'BALANCE_PL', 'SPLIT_PL')
 order by object_name, sequence;
select to_char(line) as line, rtrim(text, chr(10)) as text from user_source where name = 'BALANCE_PL' order by line;
-- A unit that does not compile is created INVALID; calling it says so. Its name is taken.
create or replace procedure broken_pl is
begin
  v := ;
end;
/
select status from user_objects where object_name = 'BROKEN_PL';
select name, type, to_char(line) as line, to_char(position) as position, text,
       to_char(message_number) as message_number
  from user_errors where name = 'BROKEN_PL';
begin
  broken_pl;
end;
/
create procedure broken_pl is begin null; end;
/
create or replace function acct_pl return number is begin return 1; end;
/
drop procedure broken_pl;
drop procedure assign_in_pl;
drop function balance_pl;
drop procedure transfer_pl;
drop procedure split_pl;
drop procedure split_pl;
drop table acct_pl;
