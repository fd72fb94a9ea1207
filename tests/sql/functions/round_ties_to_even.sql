-- ROUND_TIES_TO_EVEN rounds a value halfway between two to the one whose last kept digit is even;
-- the first two statements are the SQL Language Reference's own examples.
select to_char(round_ties_to_even(0.05, 1)) "ROUND_TIES_TO_EVEN(0.05,1)" from dual;
select to_char(round_ties_to_even(45.177, -1)) "ROUND_EVEN" from dual;
select to_char(round_ties_to_even(2.5)) "2.5", to_char(round_ties_to_even(3.5)) "3.5",
       to_char(round_ties_to_even(-2.5)) "-2.5", to_char(round_ties_to_even(0.5)) "0.5" from dual;
-- Only an exact tie goes to even: anything past the 5 rounds up.
select to_char(round_ties_to_even(1.25, 1)) "1.25", to_char(round_ties_to_even(1.251, 1)) "1.251",
       to_char(round_ties_to_even(250, -2)) "250", to_char(round_ties_to_even(350, -2)) "350" from dual;
select round_ties_to_even(null) "Null" from dual;
