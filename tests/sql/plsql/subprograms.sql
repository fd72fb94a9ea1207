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

-- Collections and records as parameters: IN ones come in whole, OUT ones go back whole; the
-- overload is the one whose collection type the argument has.
declare
  type date_tab_typ is table of date index by pls_integer;
  type num_tab_typ is table of number index by pls_integer;
  type pair_t is record (a number, b varchar2(10));
  hiredate_tab date_tab_typ;
  sal_tab num_tab_typ;
  p pair_t;
  procedure initialize (tab out date_tab_typ, n integer) is
  begin
    dbms_output.put_line('Invoked first version');
    for i in 1 .. n loop
      tab(i) := sysdate;
    end loop;
  end initialize;
  procedure initialize (tab out num_tab_typ, n integer) is
  begin
    dbms_output.put_line('Invoked second version');
    for i in 1 .. n loop
      tab(i) := 0.0;
    end loop;
  end initialize;
  function total (tab num_tab_typ) return number is
    t number := 0;
  begin
    for i in 1 .. tab.count loop
      t := t + tab(i);
    end loop;
    return t;
  end;
  procedure fill (r in out pair_t) is
  begin
    r.a := r.a * 2;
    r.b := 'filled';
  end;
begin
  initialize(hiredate_tab, 50);
  initialize(sal_tab, 100);
  sal_tab(3) := 7;
  dbms_output.put_line(hiredate_tab.count || ' ' || sal_tab.count || ' ' || total(sal_tab));
  p.a := 21;
  fill(p);
  dbms_output.put_line(p.a || ' ' || p.b);
end;
/
select column_value from table(dbms_output.get_lines);
