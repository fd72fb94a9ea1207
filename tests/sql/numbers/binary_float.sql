-- BINARY_FLOAT holds single precision: 1234.56 is stored as the float nearest to it, so its
-- REMAINDER against the BINARY_DOUBLE 1234.56 is about 5.859E-05.
create table float_point_demo (dec_num number(10,2), bin_double binary_double, bin_float binary_float);
insert into float_point_demo values (1234.56, 1234.56, 1234.56);
select dec_num, bin_double, bin_float from float_point_demo;
select remainder(bin_float, bin_double), bin_float - bin_double from float_point_demo;
-- Past the float range a BINARY_FLOAT is infinite; whole numbers beyond 2^24 lose their last bits.
insert into float_point_demo (bin_float) values (1e39);
insert into float_point_demo (bin_float) values (16777217);
select bin_float from float_point_demo where dec_num is null order by bin_float;
select to_binary_float(16777217) - 16777216, to_binary_double(16777217) - 16777216 from dual;
drop table float_point_demo;
