-- COLUMN HEADING and FORMAT, laid out as the SQL*Plus User's Guide shows them for the sales
-- managers of the HR schema (LAST_NAME VARCHAR2(25), SALARY NUMBER(8,2), COMMISSION_PCT
-- NUMBER(2,2)).
SET FEEDBACK OFF
CREATE TABLE emp_details_view (last_name VARCHAR2(25), salary NUMBER(8,2), commission_pct NUMBER(2,2), job_id VARCHAR2(10));
INSERT INTO emp_details_view VALUES ('Russell', 14000, .4, 'SA_MAN');
INSERT INTO emp_details_view VALUES ('Partners', 13500, .3, 'SA_MAN');
INSERT INTO emp_details_view VALUES ('Errazuriz', 12000, .3, 'SA_MAN');
INSERT INTO emp_details_view VALUES ('Cambrault', 11000, .3, 'SA_MAN');
INSERT INTO emp_details_view VALUES ('Zlotkey', 10500, .2, 'SA_MAN');
INSERT INTO emp_details_view VALUES ('King', 24000, NULL, 'AD_PRES');
SET FEEDBACK 6
COLUMN LAST_NAME HEADING 'LAST NAME'
COLUMN SALARY HEADING 'MONTHLY SALARY'
COLUMN COMMISSION_PCT HEADING COMMISSION
SELECT LAST_NAME, SALARY, COMMISSION_PCT FROM EMP_DETAILS_VIEW WHERE JOB_ID='SA_MAN';
COLUMN LAST_NAME HEADING 'LAST|NAME'
COLUMN SALARY HEADING 'MONTHLY|SALARY'
SELECT LAST_NAME, SALARY, COMMISSION_PCT FROM EMP_DETAILS_VIEW WHERE JOB_ID='SA_MAN';
COLUMN SALARY FORMAT $99,990
SELECT LAST_NAME, SALARY, COMMISSION_PCT FROM EMP_DETAILS_VIEW WHERE JOB_ID='SA_MAN';
-- A text column of FORMAT A5 wraps its values; TRUNCATED cuts them. The heading is cut to the
-- column. 999,990.99 rounds to two decimals; a value too wide for the model shows as #s.
CLEAR COLUMNS
COLUMN last_name FORMAT a5
COLUMN salary FORMAT 9,990.99
SELECT last_name, salary FROM emp_details_view WHERE salary > 13000 ORDER BY salary;
COLUMN last_name FORMAT a5 TRUNCATED HEADING 'Who'
COLUMN salary FORMAT 999,990.99 NEW_VALUE top_pay
SELECT last_name, salary * 1.0005 AS salary FROM emp_details_view ORDER BY salary;
PROMPT The top pay is &top_pay
