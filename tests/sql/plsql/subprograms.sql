-- A block's own procedures and functions: they see the block's variables, take positional and
-- named arguments, recurse, and are callable from the block's expressions; a function without
-- parameters is called by its name. SUBTYPE names a constrained type.
declare
  subtype money is number(8,2);
  total money := 0;
  calls pls_integer := 0;
  procedure add_to_total (n in number) is
  begin
    total := total + n;
    calls := calls + 1;
  end add_to_total;
  function doubled (x number) return number is
  begin
    return x * 2;
  end;
  function fact (n pls_integer) return number is
  begin
    if n <= 1 then
      return 1;
    end if;
    return n * fact(n - 1);
  end;
  function greeting return varchar2 is
  begin
    return 'hi';
  end;
  procedure swap (a in out number, b in out number) is
    t number := a;
  begin
    a := b;
    b := t;
  end;
  x number := 1;
  y number := 2;
begin
  dbms_output.enable;
  add_to_total(10.555);
  add_to_total(n => doubled(5));
  dbms_output.put_line('total ' || total || ' after ' || calls || ' calls');
  dbms_output.put_line('fact(10) = ' || fact(10) || ', ' || greeting || ' ' || upper(greeting));
  swap(x, y);
  dbms_output.put_line('swapped ' || x || ' ' || y);
end;
/
select column_value from table(dbms_output.get_lines);
-- A function that ends without RETURN is ORA-06503; a procedure called as a function is refused.
declare
  function nothing return number is
  begin
    null;
  end;
  n number;
begin
  n := nothing;
end;
/
declare
  procedure p is
  begin
    null;
  end;
  n number;
begin
  n := p;
end;
/
