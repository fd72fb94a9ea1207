-- The kavex-sql demo: the library at work on a fresh embedded database, signed in with an account
-- made by CREATE USER. Run by `make demo` (see run-demo).

\echo == 1. A schema with the main Oracle types and an identity column
CREATE TABLE employees (
    id         NUMBER(6) GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    name       VARCHAR2(40) NOT NULL,
    grade      CHAR(1),
    salary     NUMBER(9,2),
    rating     BINARY_DOUBLE,
    hired      DATE,
    last_login TIMESTAMP(6) WITH TIME ZONE
);
CREATE TABLE documents (
    id     NUMBER(6) GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    title  VARCHAR2(60) NOT NULL,
    added  TIMESTAMP,
    body   CLOB,
    scan   BLOB
);
DESCRIBE employees

\echo == 2. A batch load: employees.csv in batches of 4 rows (SetMaxIterations, SetMaxParSize, AddIteration)
\load employees.csv employees 4
COMMIT;

\echo == 3. Queries: NULLs, numbers, dates and timestamps
SELECT id, name, grade, salary, rating, hired, last_login FROM employees ORDER BY id;
SELECT grade, COUNT(*) AS people, SUM(salary) AS payroll, AVG(salary) AS average, MAX(rating) AS best
  FROM employees GROUP BY grade ORDER BY grade;

\echo == 4. Bind variables: text, a BINARY_DOUBLE and a timestamp with its zone
\set who Grace Hopper
\set -double score 4.875
\set -timestamp seen 2024-06-03 14:30:00 +02:00
UPDATE employees SET rating = :score, last_login = :seen WHERE name = :who;
SELECT name, rating, last_login FROM employees WHERE name = :who;

\echo == 5. A streamed LOB: handbook.txt into a CLOB through StreamParameterToLob
\clob handbook handbook.txt
\set -timestamp now 2024-06-03 09:00:00
INSERT INTO documents (title, added, body) VALUES ('Employee handbook', :now, :handbook);
SELECT id, title, added, LENGTH(body) AS characters, SUBSTR(body, 1, 17) AS starts_with FROM documents;
COMMIT;

\echo == 6. An error: the shell prints the library's message and goes on
SELECT name FROM payroll;
SELECT COUNT(*) AS still_here FROM employees;
