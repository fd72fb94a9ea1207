-- ALTER SESSION as scripts written for Oracle begin: settings the session already has succeed and
-- change nothing; settings tuning what this database does not have (the optimizer, tracing,
-- parallel execution) are taken; any other value is refused, never ignored.
alter session set nls_language = american;
alter session set NLS_TERRITORY=America NLS_DATE_LANGUAGE='AMERICAN';
alter session set nls_date_format = 'DD-MON-RR';
alter session set nls_numeric_characters = '.,';
alter session set current_schema = scott;
alter session set "_ORACLE_SCRIPT" = true;
alter session set optimizer_mode = all_rows statistics_level = all;
alter session set plsql_warnings = 'ENABLE:SEVERE', 'DISABLE:PERFORMANCE';
alter session set isolation_level = serializable;
alter session set time_zone = dbtimezone;
alter session enable parallel dml;
alter session force parallel query parallel 4;
alter session enable resumable timeout 3600 name 'nightly load';
select sys_context('USERENV', 'NLS_DATE_FORMAT') fmt, to_char(date '2024-03-05') shown from dual;
-- Another value of a setting the session keeps: the value it keeps is named.
alter session set nls_date_format = 'YYYY-MM-DD';
alter session set nls_date_format = 'dd-mon-rr';
alter session set nls_language = french;
alter session set current_schema = hr;
alter session set time_zone = 'Europe/Paris';
-- What ALTER SESSION does not take.
alter session set no_such_parameter = 1;
alter session set;
alter session set nls_language;
alter session set isolation_level = dirty;
alter session enable parallel everything;
alter session rename;
-- It ends no transaction.
create table t (n number);
insert into t values (1);
alter session set nls_sort = binary;
rollback;
select count(*) from t;
drop table t;
