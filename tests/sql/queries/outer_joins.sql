-- Outer joins, in Oracle's (+) notation and in ANSI syntax.
create table departments (department_id number(4), department_name varchar2(20));
create table employees (employee_id number(4), last_name varchar2(20), department_id number(4));
insert into departments values (10, 'Administration');
insert into departments values (20, 'Marketing');
insert into departments values (30, 'Purchasing');
insert into employees values (200, 'Whalen', 10);
insert into employees values (201, 'Hartstein', 20);
insert into employees values (202, 'Fay', 20);
insert into employees values (178, 'Grant', null);
select d.department_name, e.last_name from departments d, employees e
  where d.department_id = e.department_id (+) order by d.department_id, e.last_name;
select e.last_name, d.department_name from employees e, departments d
  where e.department_id = d.department_id (+) order by e.last_name;
select d.department_name, e.last_name from departments d left outer join employees e
  on d.department_id = e.department_id order by d.department_id, e.last_name;
select d.department_name, e.last_name from departments d full outer join employees e
  on d.department_id = e.department_id order by d.department_name, e.last_name;
select d.department_name from departments d, employees e
  where d.department_id = e.department_id (+) and e.employee_id is null;
select d.department_name, e.last_name from departments d, employees e
  where d.department_id (+) = e.department_id (+);
drop table employees;
drop table departments;
