-- Numeric literals: integers, decimals, scientific notation, and the f and d suffixes of
-- BINARY_FLOAT and BINARY_DOUBLE literals.
select to_char(25) i, to_char(+6.34) d, to_char(0.5) z, to_char(25e-03) e, to_char(-1) m from dual;
select case when 1.5f + 1 = 2.5 then 'y' end f, case when 2.0d * 3 = 6 then 'y' end d, case when 1e3d = 1000 then 'y' end e from dual;
select 1.5f x, 2.0d y from dual;
