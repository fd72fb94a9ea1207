// Multitable INSERT ALL / INSERT FIRST, with the results the SQL Language Reference's examples
// document, and the values their steps (and MERGE's) write converted to the columns' types.
#include "client_fixture.h"
#include "query_rows.h"

namespace clienttest {
namespace {

class MultitableInsert : public ::testing::Test {
protected:
    MultitableInsert() : s(memdb()) {
        s.exec("create table orders (order_id number(12), customer_id number(6), "
               "order_total number(8,2), sales_rep_id number(6))");
        for (const char* row : {"1, 101, 50000, 1", "2, 102, 150000, 2", "3, 103, 250000, 2",
                                "4, 104, 350000, 2", "5, 105, null, 3"})
            s.exec(std::string("insert into orders values (") + row + ")");
        for (const char* t : {"small_orders", "medium_orders", "large_orders"})
            s.exec(std::string("create table ") + t + " (order_id number(12), "
                   "customer_id number(6), order_total number(8,2), sales_rep_id number(6))");
    }
    std::string ids(const char* table) {
        return queryRows(s, std::string("select order_id from ") + table + " order by 1", ",");
    }
    Session s;
};

TEST_F(MultitableInsert, UnconditionalAllRunsEveryIntoForEveryRow) {
    s.exec("create table sales_input_table (product_id number(6), customer_id number, "
           "weekly_start_date date, sales_sun number, sales_mon number, sales_tue number)");
    s.exec("insert into sales_input_table values (111, 222, date '2000-10-01', 100, 200, 300)");
    s.exec("create table sales (prod_id number(6), cust_id number, time_id date, "
           "amount_sold number(10,2))");
    EXPECT_EQ(3u, s.exec("insert all "
                         "into sales (prod_id, cust_id, time_id, amount_sold) "
                         "values (product_id, customer_id, weekly_start_date, sales_sun) "
                         "into sales (prod_id, cust_id, time_id, amount_sold) "
                         "values (product_id, customer_id, weekly_start_date + 1, sales_mon) "
                         "into sales (prod_id, cust_id, time_id, amount_sold) "
                         "values (product_id, customer_id, weekly_start_date + 2, sales_tue) "
                         "select product_id, customer_id, weekly_start_date, sales_sun, "
                         "sales_mon, sales_tue from sales_input_table"));
    EXPECT_EQ("2000-10-01|100;2000-10-02|200;2000-10-03|300",
              queryRows(s, "select to_char(time_id, 'YYYY-MM-DD'), amount_sold from sales "
                           "order by time_id", ";"));
    // Several rows into one table from DUAL.
    EXPECT_EQ(2u, s.exec("insert all into small_orders (order_id) values (9) "
                         "into small_orders (order_id, order_total) values (10, 1.234) "
                         "select * from dual"));
    EXPECT_EQ("1.23", s.one("select order_total from small_orders where order_id = 10"));
}

TEST_F(MultitableInsert, ConditionalAllAndFirst) {
    // Without VALUES the select list fills the table's columns in order.
    EXPECT_EQ(4u, s.exec("insert all when order_total <= 100000 then into small_orders "
                         "when order_total > 100000 and order_total <= 200000 then "
                         "into medium_orders when order_total > 200000 then into large_orders "
                         "select order_id, customer_id, order_total, sales_rep_id from orders"));
    EXPECT_EQ("1", ids("small_orders"));
    EXPECT_EQ("2", ids("medium_orders"));
    EXPECT_EQ("3,4", ids("large_orders"));
    s.exec("delete from small_orders");
    s.exec("delete from medium_orders");
    s.exec("delete from large_orders");
    // FIRST: only the first WHEN that holds; ELSE when none holds (a NULL total too).
    EXPECT_EQ(5u, s.exec("insert first when ottl <= 100000 then into small_orders "
                         "values (oid, cid, ottl, sid) "
                         "when ottl <= 200000 then into medium_orders values (oid, cid, ottl, sid) "
                         "else into large_orders values (oid, cid, ottl, sid) "
                         "select o.order_id oid, o.customer_id cid, o.order_total ottl, "
                         "o.sales_rep_id sid from orders o"));
    EXPECT_EQ("1", ids("small_orders"));
    EXPECT_EQ("2", ids("medium_orders"));
    EXPECT_EQ("3,4,5", ids("large_orders"));
    // ALL runs every WHEN that holds; one statement fails or succeeds whole.
    EXPECT_EQ(3u, s.exec("insert all when order_total > 300000 then into small_orders "
                         "when order_total > 200000 then into medium_orders "
                         "select * from orders"));
    EXPECT_EQ("1,4", ids("small_orders"));
    EXPECT_EQ(1400, oraCode([&] {
        s.exec("create table strict_orders (order_id number not null)");
        s.exec("insert all into small_orders (order_id) values (order_id) "
               "into strict_orders values (customer_id) select 77 order_id, null customer_id "
               "from dual");
    }));
    EXPECT_EQ("1,4", ids("small_orders"));
    EXPECT_EQ(928, oraCode([&] { s.exec("insert all into small_orders values (1, 2, 3, 4)"); }));
}

TEST_F(MultitableInsert, StepsConvertWrittenValuesToTheColumnType) {
    s.exec("create table d (n number(8,2), h date)");
    EXPECT_EQ(1861, oraCode([&] {
        s.exec("insert all into d (h) values ('garbage') select * from dual");
    }));
    Statement* st = s.conn()->createStatement(
        "insert all into d (n, h) values (:1, :2) into d (n) values (:1) select * from dual");
    st->setString(1, "2.345");
    st->setString(2, "15-JAN-24");
    EXPECT_EQ(2u, st->executeUpdate());
    s.conn()->terminateStatement(st);
    EXPECT_EQ(1u, s.exec("merge into d using dual on (1 = 0) when not matched then "
                         "insert (n, h) values (5.678, '2024-02-01')"));
    EXPECT_EQ("2.35|2024-01-15;2.35|-;5.68|2024-02-01",
              queryRows(s, "select n, to_char(h, 'YYYY-MM-DD') from d order by n, h", ";"));
}

}  // namespace
}  // namespace clienttest
