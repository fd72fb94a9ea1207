REM VARIABLE declares bind variables with SQL*Plus's types; a block and EXECUTE assign them, and
REM PRINT shows them as a query result headed by the name.
VARIABLE ret_val NUMBER
VARIABLE pet_name VARCHAR2(10)
VARIABLE code CHAR(3)
VARIABLE ratio BINARY_DOUBLE
VARIABLE notes CLOB
VARIABLE
VARIABLE pet_name
CREATE TABLE pets (id NUMBER, name VARCHAR2(20));
INSERT INTO pets VALUES (1, 'Rex');
INSERT INTO pets VALUES (2, 'Tom');
CREATE OR REPLACE PROCEDURE pet_of(p_id IN NUMBER, p_name OUT VARCHAR2, p_calls IN OUT NUMBER) IS
BEGIN
  SELECT name INTO p_name FROM pets WHERE id = p_id;
  p_calls := NVL(p_calls, 0) + 1;
END;
/
EXECUTE :ret_val := 4
PRINT ret_val
BEGIN
  :ret_val := :ret_val * 10;
  :code := 'A';
  :ratio := 0.5;
  :notes := 'a note';
END;
/
PRINT ret_val code ratio notes
EXEC pet_of(2, :pet_name, :ret_val)
PRINT pet_name ret_val
REM Text longer than VARCHAR2(10) is ORA-06502 from the block, which keeps the old value.
EXEC :pet_name := 'a name too long'
PRINT pet_name
REM SQL*Plus's layout, and AUTOPRINT after a block.
SET LINESIZE 80
SET AUTOPRINT ON
EXEC SELECT COUNT(*) INTO :ret_val FROM pets
SET AUTOPRINT OFF
PRINT
VARIABLE missing
PRINT missing
VARIABLE cur REFCURSOR
VARIABLE v VARCHAR2
DROP PROCEDURE pet_of;
DROP TABLE pets;
