SET SERVEROUTPUT ON
BEGIN
  DBMS_OUTPUT.PUT_LINE('Hello from PL/SQL');
END;
/
DECLARE
  total NUMBER := 0;
BEGIN
  FOR i IN 1 .. 4 LOOP
    total := total + i;
    DBMS_OUTPUT.PUT_LINE('i = ' || i || ', total = ' || total);
  END LOOP;
END;
/
SELECT 'a query' AS what FROM dual;
BEGIN
  DBMS_OUTPUT.PUT_LINE('written before the error');
  RAISE_APPLICATION_ERROR(-20042, 'the block failed');
END;
/
SET SERVEROUTPUT OFF
BEGIN
  DBMS_OUTPUT.PUT_LINE('not shown');
END;
/
SET SERVEROUTPUT ON SIZE 1000000
BEGIN
  DBMS_OUTPUT.PUT('no ');
  DBMS_OUTPUT.PUT('line ');
  DBMS_OUTPUT.PUT_LINE('break');
END;
/
