-- Text literals in Oracle's forms (SQL Language Reference, "Text Literals"): q-quoted with a
-- bracket pair or any other delimiter, national, and the quote doubled inside.
select q'[it's]' "Bracket" from dual;
select q'{it's}' "Brace", q'(it's)' "Paren", q'<it's>' "Angle", q'!it's!' "Bang" from dual;
select Q'#a 'quoted' word#' "Upper Q" from dual;
select nq'[it's]' "National", n'abc' "N" from dual;
select 'it''s' "Doubled", q'[;--/* :x]' "Inside" from dual;
select q'[ab]' || 'c' "Concatenated" from dual;
select 'a' "x" from dual where q'[it's]' = 'it''s';
