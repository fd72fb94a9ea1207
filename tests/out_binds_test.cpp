// A block's host binds as OUT binds, read back as a host reads them: the values the session's
// last block assigned come from SELECT NAME, VALUE FROM TABLE(KAVEX$BIND_VALUES), each value
// described with its own type.
#include "flat_host.h"

namespace {

class OutBinds : public FlatSession {
protected:
    // The value the last block gave bind name, as text; nullopt when NULL.
    std::optional<std::string> assigned(const std::string& name) {
        firstRow("select value from table(kavex$bind_values) where name = '" + name + "'");
        return text(0);
    }
    // A NUMBER reads as its text through TO_CHAR, as the library delivers NUMBERs.
    std::optional<std::string> assignedNumber(const std::string& name) {
        firstRow("select to_char(value) from table(kavex$bind_values) where name = '" + name +
                 "'");
        return text(0);
    }
    int assignedType(const std::string& name) {
        firstRow("select value from table(kavex$bind_values) where name = '" + name + "'");
        return GetColumnType(id, 0);
    }
};

// IN OUT binds: the block reads what the setters bound and the host reads back what it wrote;
// a bind the host set no value for and the block only writes starts NULL.
TEST_F(OutBinds, ABlockReadsTheBoundValuesAndTheHostReadsTheAssignedOnes) {
    run("create table acct (id number, balance number)");
    run("insert into acct values (7, 100)");
    ASSERT_EQ(PrepareQuery(id,
                           "begin update acct set balance = balance + :amount where id = :id "
                           "returning balance into :balance; :note := 'credited ' || :amount; "
                           "end;",
                           1),
              0);
    ASSERT_EQ(SetInt(id, 1, 25, 0), 0);
    ASSERT_EQ(SetInt(id, 2, 7, 0), 0);
    ASSERT_EQ(Execute(id), 1);
    EXPECT_EQ(assignedNumber("BALANCE"), "125");
    EXPECT_EQ(assigned("NOTE"), "credited 25");
    // Binds the block only read are none of its OUT binds.
    EXPECT_EQ(flathost::rowCount(id, "select * from table(kavex$bind_values) where name in "
                                     "('AMOUNT', 'ID')"),
              0);

    // Each value has the type it holds; a number bind keeps taking numbers.
    run("begin :n := 2.5; :d := date '2024-02-29'; :t := 'text'; end;");
    EXPECT_EQ(assignedType("N"), 2);   // NUMBER
    EXPECT_EQ(assignedType("D"), 12);  // DATE
    EXPECT_EQ(assignedType("T"), 1);   // VARCHAR2
    ASSERT_EQ(PrepareQuery(id, "begin :n := 'not a number'; end;", 1), 0);
    ASSERT_EQ(SetInt(id, 1, 1, 0), 0);
    const int refused = Execute(id);
    ASSERT_LT(refused, 0);
    EXPECT_EQ(flathost::errorText(refused),
              "ORA-06502: PL/SQL: numeric or value error: character to number conversion error\n"
              "ORA-06512: at line 1\n");
}

// SetMaxParSize is the longest text a bind takes back: past it the assignment fails inside the
// block, where a handler sees VALUE_ERROR, and a block that fails keeps no values.
TEST_F(OutBinds, TheMaximumParameterSizeBoundsTheTextABlockAssigns) {
    ASSERT_EQ(PrepareQuery(id, "begin :s := 'abcde'; :s := :s || 'f'; end;", 1), 0);
    ASSERT_EQ(SetMaxParSize(id, 1, 5), 0);
    ASSERT_EQ(SetString(id, 1, nullptr, 1), 0);
    const int failed = Execute(id);
    ASSERT_LT(failed, 0);
    EXPECT_EQ(flathost::errorText(failed),
              "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
              "ORA-06512: at line 1\n");
    EXPECT_EQ(flathost::rowCount(id, "select * from table(kavex$bind_values)"), 0);

    ASSERT_EQ(PrepareQuery(id,
                           "begin :s := 'abcde'; :s := :s || 'f'; exception when value_error "
                           "then :s := 'short'; end;",
                           1),
              0);
    ASSERT_EQ(SetMaxParSize(id, 1, 5), 0);
    ASSERT_EQ(SetString(id, 1, nullptr, 1), 0);
    ASSERT_EQ(Execute(id), 1);
    EXPECT_EQ(assigned("S"), "short");
}

// The values stay the session's until its next block, whatever runs between, and are the
// session's own.
TEST_F(OutBinds, TheValuesAreTheSessionsUntilItsNextBlock) {
    run("begin :x := 1; end;");
    const int other = flathost::open(database);
    run("create table t (a number)");
    run("insert into t values (1)");
    EXPECT_EQ(assignedNumber("X"), "1");
    EXPECT_EQ(flathost::rowCount(other, "select * from table(kavex$bind_values)"), 0);
    run("begin null; end;");
    EXPECT_EQ(flathost::rowCount(id, "select * from table(kavex$bind_values)"), 0);
    CloseConnection(other);
}

}  // namespace
