-- A dimension (as the SH schema's scripts create them) is kept in the dictionary and changes
-- no result: USER_DIMENSIONS and USER_OBJECTS list it, DROP DIMENSION removes it.
create table dim_times (time_id date primary key, month_id number, year_id number);
create table dim_channels (channel_id number primary key, channel_desc varchar2(20),
  channel_class_id number, channel_class varchar2(20), channel_total_id number,
  channel_total varchar2(13));
create dimension times_dim
   level day         is dim_times.time_id
   level month       is dim_times.month_id
   level year        is dim_times.year_id
   hierarchy cal_rollup (day child of month child of year);
create dimension channels_dim
   level channel       is (dim_channels.channel_id)
   level channel_class is (dim_channels.channel_class_id)
   level channel_total is (dim_channels.channel_total_id)
   hierarchy channel_rollup (channel child of channel_class child of channel_total)
   attribute channel determines (channel_desc)
   attribute channel_class determines (channel_class)
   attribute channel_total determines (channel_total);
select dimension_name, invalid, compile_state, revision from user_dimensions
  order by dimension_name;
select object_name, object_type, status from user_objects where object_type = 'DIMENSION'
  order by object_name;
-- The name is taken until the dimension is replaced or dropped; dropping one that is not
-- there is ORA-04043.
create dimension times_dim level day is dim_times.time_id;
create or replace dimension times_dim level day is dim_times.time_id;
drop dimension times_dim;
drop dimension times_dim;
drop dimension channels_dim;
select count(*) from user_dimensions;
drop table dim_times;
drop table dim_channels;
