-- Exceptions: predefined ones, user-defined ones, PRAGMA EXCEPTION_INIT, RAISE_APPLICATION_ERROR,
-- SQLCODE and SQLERRM, re-raising, and what reaches the host when a block does not handle one.
create table log_pl (n number(3) not null, msg varchar2(100));
begin
  dbms_output.enable;
end;
/
-- ZERO_DIVIDE, as the PL/SQL Language Reference's stock price example raises it.
declare
  stock_price number := 9.73;
  net_earnings number := 0;
  pe_ratio number;
begin
  pe_ratio := stock_price / net_earnings;
  dbms_output.put_line('Price/earnings ratio = ' || pe_ratio);
exception
  when zero_divide then
    dbms_output.put_line('Company had zero earnings.');
    pe_ratio := null;
end;
/
select column_value from table(dbms_output.get_lines);
-- A user-defined exception, one bound to an error number, and OTHERS with SQLCODE/SQLERRM.
declare
  past_due exception;
  deadlock_detected exception;
  pragma exception_init(deadlock_detected, -60);
  cannot_insert_null exception;
  pragma exception_init(cannot_insert_null, -1400);
begin
  begin
    raise past_due;
  exception
    when past_due then dbms_output.put_line('past_due: ' || sqlcode || ' ' || sqlerrm);
  end;
  begin
    insert into log_pl (n, msg) values (null, 'x');
  exception
    when cannot_insert_null then dbms_output.put_line('bound: ' || sqlcode);
  end;
  begin
    insert into log_pl values (1000, 'too big');
  exception
    when others then dbms_output.put_line('others: ' || sqlerrm);
  end;
  dbms_output.put_line('outside a handler: ' || sqlcode || ' ' || sqlerrm);
end;
/
select column_value from table(dbms_output.get_lines);
-- RAISE_APPLICATION_ERROR, caught by number; RAISE; re-raises to the enclosing block; an error
-- in a declaration goes to the enclosing block, not to the block's own handlers.
declare
  app_error exception;
  pragma exception_init(app_error, -20101);
begin
  begin
    raise_application_error(-20101, 'balance too low');
  exception
    when app_error then
      dbms_output.put_line('caught ' || sqlcode || ': ' || sqlerrm);
      raise;
  end;
exception
  when others then
    dbms_output.put_line('re-raised ' || sqlcode);
    begin
      declare
        small varchar2(2) := 'abc';
      begin
        null;
      exception
        when value_error then dbms_output.put_line('never: own handler');
      end;
    exception
      when value_error then dbms_output.put_line('declaration error goes out: ' || sqlcode);
    end;
end;
/
select column_value from table(dbms_output.get_lines);
-- Unhandled: the host gets the error, then the line of the block it was raised on. The block is
-- one statement: what it did is undone, and the transaction's earlier work stays.
insert into log_pl values (1, 'before the block');
begin
  insert into log_pl values (2, 'inside the block');
  raise_application_error(-20000, 'stop here');
end;
/
select n, msg from log_pl order by n;
declare
  n number;
begin
  select 1 into n from log_pl where n = 99;
end;
/
declare
  e exception;
begin
  raise e;
end;
/
begin
  raise_application_error(-1, 'number out of range');
end;
/
rollback;
-- Blocks that do not compile: nothing of them runs.
begin
  insert into log_pl values (3, 'never');
  undefined_procedure(1);
end;
/
declare
  x number;
begin
  x := ;
end;
/
begin
  exit;
end;
/
select to_char(count(*)) from log_pl;
drop table log_pl;

-- SQLERRM(code): the message of an error number; ORA-0000 for 0, ORA-01403 for +100, and
-- "-n: non-ORACLE exception" for another positive number.
begin
  dbms_output.put_line('SQLERRM(-6511): ' || to_char(sqlerrm(-6511)));
  dbms_output.put_line(sqlerrm(-1476));
  dbms_output.put_line(sqlerrm(100));
  dbms_output.put_line(sqlerrm(0));
  dbms_output.put_line(sqlerrm(5));
  dbms_output.put_line(sqlerrm(-20001));
end;
/
select column_value from table(dbms_output.get_lines);
