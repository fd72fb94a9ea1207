-- A query without FROM is a query of DUAL's one row (Oracle Database 23ai), a hierarchy included.
select to_char(count(*)) "Rows" from (select level l connect by level <= 3);
-- A CONNECT BY that ends before its condition is a missing expression, not a crash.
select 1 from dual connect by prior;
select 1 from dual connect by;
-- Long chains of + and * are as deep to SQLite as the logarithm of their length: a sum of
-- a month's daily columns, or of a hundred terms, is one expression as in Oracle.
select to_char(1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1) "Forty" from dual;
select to_char(1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22+23+24+25+26+27+28+29+30+31+32+33+34+35+36+37+38+39+40+41+42+43+44+45+46+47+48+49+50+51+52+53+54+55+56+57+58+59+60+61+62+63+64+65+66+67+68+69+70+71+72+73+74+75+76+77+78+79+80+81+82+83+84+85+86+87+88+89+90+91+92+93+94+95+96+97+98+99+100) "Gauss" from dual;
select to_char(1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22+23+24+25+26+27+28+29+30+31+32+33+34+35+36+37+38+39+40-20+1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22+23+24+25+26+27+28+29+30+31+32+33+34+35+36+37+38+39+40) "Runs" from dual;
select to_char(2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2*2) "Power" from dual;
create table daily (d1 NUMBER(5), d2 NUMBER(5), d3 NUMBER(5), d4 NUMBER(5), d5 NUMBER(5), d6 NUMBER(5), d7 NUMBER(5), d8 NUMBER(5), d9 NUMBER(5), d10 NUMBER(5), d11 NUMBER(5), d12 NUMBER(5), d13 NUMBER(5), d14 NUMBER(5), d15 NUMBER(5), d16 NUMBER(5), d17 NUMBER(5), d18 NUMBER(5), d19 NUMBER(5), d20 NUMBER(5), d21 NUMBER(5), d22 NUMBER(5), d23 NUMBER(5), d24 NUMBER(5), d25 NUMBER(5), d26 NUMBER(5), d27 NUMBER(5), d28 NUMBER(5), d29 NUMBER(5), d30 NUMBER(5), d31 NUMBER(5));
insert into daily values (1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
select to_char(d1+d2+d3+d4+d5+d6+d7+d8+d9+d10+d11+d12+d13+d14+d15+d16+d17+d18+d19+d20+d21+d22+d23+d24+d25+d26+d27+d28+d29+d30+d31) "Month" from daily;
drop table daily;
-- A datetime anywhere in a run of additions moves by the days the numbers add up to.
select date '2024-01-01' + 1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1 "Moved", 1+1+DATE '2024-01-01'+1+1+1+1+1+1+1+1 "Between" from dual;
-- One NULL makes the whole chain NULL; text operands are converted to numbers.
select to_char(1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+NULL+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1) "Null", to_char('5'+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1) "Text" from dual;
