-- Datetime functions; the flat exports hand DATE values over as YYYY-MM-DD HH24:MI:SS.
select add_months(date '2024-01-31', 1) "Next month", add_months(date '2024-03-15', -13) "Back" from dual;
select last_day(date '2024-02-10') "Leap", last_day(date '2023-02-10') "Common" from dual;
select to_char(months_between(date '1995-02-02', date '1995-01-01'), 'FM9.99999999') "Months" from dual;
select to_char(months_between(date '2024-03-31', date '2024-02-29')) "Ends of months" from dual;
select next_day(date '2001-02-02', 'TUESDAY') "NEXT DAY" from dual;
select trunc(date '2024-08-17', 'YEAR') "Year", trunc(date '2024-08-17', 'MM') "Month",
       trunc(date '2024-08-17', 'Q') "Quarter" from dual;
select round(date '2000-10-27', 'YEAR') "New Year", round(date '2024-08-16', 'MONTH') "Month" from dual;
select to_char(extract(year from date '1998-03-07')) "Year",
       to_char(extract(month from date '1998-03-07')) "Month",
       to_char(extract(day from date '1998-03-07')) "Day" from dual;
select date '2024-03-14' + 1 "Tomorrow", to_char(date '2024-03-14' - date '2024-01-01') "Days" from dual;
select to_char(timestamp '2024-03-14 10:11:12' + interval '90' minute, 'YYYY-MM-DD HH24:MI:SS') "Later" from dual;
-- CEIL and FLOOR of a datetime (Oracle Database 23ai): the start of the period the format names
-- (default DD) holding it, for CEIL the next one unless it is a start already; always a DATE.
select ceil(to_date('28-FEB-2023', 'DD-MON-YYYY'), 'MM') "Month ceiling", ceil(to_timestamp('28-FEB-2023 14:10:10', 'DD-MON-YYYY HH24:MI:SS'), 'HH24') "Hour ceiling" from dual;
select ceil(date '2023-02-01', 'MONTH') "Already", floor(timestamp '2023-02-28 14:10:10.5') "Floor", ceil(date '2023-11-15', 'IW') "Week" from dual;
select to_char(ceil(2.1)) "Number ceiling", to_char(floor(-2.1)) "Number floor" from dual;
-- NEW_TIME: the time in the second zone when it is the date in the first; always a DATE (the
-- documented example: 01:23:45 Atlantic Standard Time is 21:23:45 the day before in Pacific).
select to_char(new_time(to_date('11-10-09 01:23:45', 'MM-DD-YY HH24:MI:SS'), 'AST', 'PST'), 'DD-MON-YYYY HH24:MI:SS') "New Date and Time" from dual;
select to_char(new_time(date '2024-01-01', 'GMT', 'NST'), 'YYYY-MM-DD HH24:MI') nst, to_char(new_time(timestamp '2024-06-30 23:59:59', 'EDT', 'BDT'), 'YYYY-MM-DD HH24:MI:SS') bdt, new_time(null, 'GMT', 'EST') none from dual;
select new_time(date '2024-01-01', 'GMT', 'CET') from dual;
