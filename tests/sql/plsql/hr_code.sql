-- HR's procedures and triggers as its hr_code.sql writes them: a statement trigger that calls a
-- procedure (created, then disabled), and an AFTER UPDATE OF row trigger that records the old
-- job through a procedure with %TYPE parameters.
CREATE TABLE jobs (job_id VARCHAR2(10) PRIMARY KEY, job_title VARCHAR2(35) NOT NULL, min_salary NUMBER(6), max_salary NUMBER(6));
CREATE TABLE departments (department_id NUMBER(4) PRIMARY KEY, department_name VARCHAR2(30) NOT NULL);
CREATE TABLE employees
    ( employee_id    NUMBER(6) PRIMARY KEY
    , first_name     VARCHAR2(20)
    , last_name      VARCHAR2(25) NOT NULL
    , email          VARCHAR2(25) NOT NULL
    , hire_date      DATE NOT NULL
    , job_id         VARCHAR2(10) NOT NULL REFERENCES jobs
    , salary         NUMBER(8,2)
    , department_id  NUMBER(4) REFERENCES departments
    ) ;
CREATE TABLE job_history
    ( employee_id   NUMBER(6) NOT NULL
    , start_date    DATE NOT NULL
    , end_date      DATE NOT NULL
    , job_id        VARCHAR2(10) NOT NULL
    , department_id NUMBER(4)
    , CONSTRAINT    jhist_date_interval CHECK (end_date > start_date)
    , CONSTRAINT jhist_emp_id_st_date_pk PRIMARY KEY (employee_id, start_date)
    ) ;
INSERT INTO jobs VALUES ('AD_PRES', 'President', 20080, 40000);
INSERT INTO jobs VALUES ('IT_PROG', 'Programmer', 4000, 10000);
INSERT INTO jobs VALUES ('SA_REP', 'Sales Representative', 6000, 12008);
INSERT INTO departments VALUES (60, 'IT');
INSERT INTO departments VALUES (80, 'Sales');
INSERT INTO employees VALUES (100, 'Steven', 'King', 'SKING', TO_DATE('17-06-2003', 'dd-MM-yyyy'), 'AD_PRES', 24000, 60);
INSERT INTO employees VALUES (103, 'Alexander', 'Hunold', 'AHUNOLD', TO_DATE('03-01-2006', 'dd-MM-yyyy'), 'IT_PROG', 9000, 60);
CREATE OR REPLACE PROCEDURE secure_dml
IS
BEGIN
  IF TO_CHAR (SYSDATE, 'HH24:MI') NOT BETWEEN '08:00' AND '18:00'
        OR TO_CHAR (SYSDATE, 'DY') IN ('SAT', 'SUN') THEN
	RAISE_APPLICATION_ERROR (-20205,
		'You may only make changes during normal office hours');
  END IF;
END secure_dml;
/
CREATE OR REPLACE TRIGGER secure_employees
  BEFORE INSERT OR UPDATE OR DELETE ON employees
BEGIN
  secure_dml;
END secure_employees;
/
ALTER TRIGGER secure_employees DISABLE;
CREATE OR REPLACE PROCEDURE add_job_history
  (  p_emp_id          job_history.employee_id%type
   , p_start_date      job_history.start_date%type
   , p_end_date        job_history.end_date%type
   , p_job_id          job_history.job_id%type
   , p_department_id   job_history.department_id%type
   )
IS
BEGIN
  INSERT INTO job_history (employee_id, start_date, end_date,
                           job_id, department_id)
    VALUES(p_emp_id, p_start_date, p_end_date, p_job_id, p_department_id);
END add_job_history;
/
CREATE OR REPLACE TRIGGER update_job_history
  AFTER UPDATE OF job_id, department_id ON employees
  FOR EACH ROW
BEGIN
  add_job_history(:old.employee_id, :old.hire_date, sysdate,
                  :old.job_id, :old.department_id);
END;
/
UPDATE employees SET job_id = 'SA_REP', department_id = 80 WHERE employee_id = 103;
UPDATE employees SET salary = salary * 1.1 WHERE employee_id = 100;
SELECT employee_id, TO_CHAR(start_date, 'YYYY-MM-DD') start_date, job_id, department_id,
       CASE WHEN end_date > start_date THEN 'after start' END end_date
  FROM job_history;
SELECT trigger_name, trigger_type, triggering_event, status FROM user_triggers ORDER BY 1;
DROP TABLE job_history;
DROP TABLE employees;
DROP TABLE departments;
DROP TABLE jobs;
DROP PROCEDURE secure_dml;
DROP PROCEDURE add_job_history;
