-- GROUP BY with ROLLUP, CUBE and GROUPING SETS, and GROUPING to tell the total rows apart.
-- Sums are wrapped in TO_CHAR so that they arrive as Oracle's default conversion gives them.
create table sales (region varchar2(5), product varchar2(5), amount number(6));
insert into sales values ('East', 'A', 10);
insert into sales values ('East', 'B', 20);
insert into sales values ('West', 'A', 30);
insert into sales values ('West', 'A', 5);
select region, product, to_char(sum(amount)) "Total" from sales group by region, product
  order by region, product;
select region, product, to_char(sum(amount)) "Total" from sales group by rollup (region, product)
  order by region, product;
select region, product, to_char(sum(amount)) "Total", to_char(grouping(region)) "GR",
       to_char(grouping(product)) "GP" from sales
  group by cube (region, product) order by region, product;
select decode(grouping(region), 1, 'All regions', region) "Region", to_char(count(*)) "Rows" from sales
  group by rollup (region) order by 1;
select region, to_char(sum(amount)) "Total" from sales group by region having sum(amount) > 30
  order by region;
select listagg(product, ',') within group (order by product) "Products" from sales;
drop table sales;
