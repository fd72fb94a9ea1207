// Interval columns and expressions as a host reads them through the flat exports: as the text
// Oracle displays, with the interval type codes and precisions in the metadata.
#include <string>

#include "flat_host.h"

namespace {

class IntervalValues : public FlatSession {};

TEST_F(IntervalValues, ColumnsAndExpressionsReadAsOraclesText) {
    run("create table trips (id number, planned interval year to month, "
        "took interval day(3) to second(2), started timestamp)");
    run("insert into trips values (1, '2-6', '4 5:12:10.222', TIMESTAMP '2024-01-15 10:00:00')");
    run("insert into trips values (2, NULL, NULL, NULL)");
    firstRow("select planned, took, started + took, id from trips order by id");
    EXPECT_EQ(189, GetColumnType(id, 0));
    EXPECT_EQ(2, GetColumnPrecision(id, 0));
    EXPECT_EQ(190, GetColumnType(id, 1));
    EXPECT_EQ(3, GetColumnPrecision(id, 1));
    EXPECT_EQ(2, GetColumnScale(id, 1));
    EXPECT_EQ("+02-06", text(0).value_or("<null>"));
    EXPECT_EQ("+004 05:12:10.22", text(1).value_or("<null>"));
    EXPECT_EQ(187, GetColumnType(id, 2));  // a TIMESTAMP moved by an interval stays one
    ASSERT_EQ(1, NextRow(id));
    EXPECT_FALSE(text(0).has_value());
    EXPECT_FALSE(text(1).has_value());

    firstRow("select INTERVAL '4 5:12:10.222' DAY TO SECOND, TIMESTAMP '2024-01-16 12:30:00' - "
             "TIMESTAMP '2024-01-15 10:00:00', TO_YMINTERVAL('P1Y2M') from dual");
    EXPECT_EQ(190, GetColumnType(id, 0));
    EXPECT_EQ("+04 05:12:10.222000", text(0).value_or("<null>"));
    EXPECT_EQ("+000000001 02:30:00.000000", text(1).value_or("<null>"));
    EXPECT_EQ(189, GetColumnType(id, 2));
    EXPECT_EQ("+000000001-02", text(2).value_or("<null>"));
}

TEST_F(IntervalValues, ErrorsComeBackInOraclesWords) {
    const int failed =
        ExecuteQuery(id, "select DATE '2024-01-31' + INTERVAL '1' MONTH from dual", 1);
    ASSERT_LT(failed, 0);
    EXPECT_EQ(std::string("ORA-01839: date not valid for month specified\n"), GetError(failed));
    const int literal = ExecuteQuery(id, "select INTERVAL '123' YEAR from dual", 1);
    ASSERT_LT(literal, 0);
    EXPECT_EQ(std::string("ORA-01873: the leading precision of the interval is too small\n"),
              GetError(literal));
}

}  // namespace
