// Binding every kind of parameter value and NULL through the setters, read back through the
// value getters.
#include <gtest/gtest.h>
#include <kavexdb/test_support.h>

#include <cmath>
#include <string>

#include "flat_host.h"
#include "kavex_oracleociw.h"
#include "session/Registry.h"
#include "session/OcciHandler.h"
#include "session/Session.h"

using namespace kavex;

namespace {

using flathost::errorText;
namespace kt = kavexdb::testing;

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = flathost::open(flathost::memoryDatabase());
        flathost::run(session,
                      "create table v (k NUMBER(10), i NUMBER(10), s VARCHAR2(40), "
                      "f BINARY_FLOAT, d BINARY_DOUBLE, ts TIMESTAMP(6) WITH TIME ZONE, "
                      "c CLOB, b BLOB, p PLS_INTEGER)");
    }
    void TearDown() override {
        kt::clearFaults();
        CloseConnection(session);
    }
    // Moves the cursor onto the row with key k.
    void selectRow(int k) {
        const std::string sql = "select i, s, f, d, ts, p from v where k = " + std::to_string(k);
        ASSERT_EQ(ExecuteQuery(session, sql.c_str(), 0), 0);
        ASSERT_EQ(NextRow(session), 1);
    }
    std::size_t bufferCount() {
        return registry::find(session)->session->parameters.size();
    }

    int session = 0;
};

TEST_F(BindingTest, ValuesReadBackEqual) {
    ASSERT_EQ(PrepareQuery(session, "insert into v (k, i, s, f, d, ts, p) values (1, :1, :2, :3, :4, :5, :6)", 0), 0);
    EXPECT_EQ(SetInt(session, 1, -123456, 0), 0);
    EXPECT_EQ(SetInt(session, 6, 0, 0), 0);
    EXPECT_EQ(SetString(session, 2, "h\xC3\xA9llo w\xC3\xB6rld", 0), 0);
    EXPECT_EQ(SetFloat(session, 3, 1.5f, 0), 0);
    EXPECT_EQ(SetDouble(session, 4, -2.25e300, 0), 0);
    EXPECT_EQ(SetTimestamp(session, 5, 2024, 1, 15, 14, 30, 5, 0, 5, 30, 0), 0);
    ASSERT_EQ(Execute(session), 1);

    selectRow(1);
    EXPECT_EQ(flathost::text(session, 0), "-123456");
    KavexIntRecord integer{};
    ASSERT_EQ(GetInteger(session, 5, &integer), 0);
    EXPECT_EQ(integer.isNull, 0);  // a zero is a value
    const int integerValue = integer.value;  // packed: copy before binding a reference
    EXPECT_EQ(integerValue, 0);
    EXPECT_EQ(flathost::text(session, 1), "h\xC3\xA9llo w\xC3\xB6rld");
    KavexFloatRecord real{};
    ASSERT_EQ(GetFloat(session, 2, &real), 0);
    EXPECT_EQ(real.isNull, 0);
    const float realValue = real.value;
    EXPECT_EQ(realValue, 1.5f);
    KavexDoubleRecord wide{};
    ASSERT_EQ(GetDouble(session, 3, &wide), 0);
    EXPECT_EQ(wide.isNull, 0);
    const double wideValue = wide.value;
    EXPECT_EQ(wideValue, -2.25e300);
    EXPECT_EQ(flathost::text(session, 4), "2024-01-15 14:30:05.000000+05:30");
}

TEST_F(BindingTest, NullFormsOfEverySetter) {
    ASSERT_EQ(PrepareQuery(session, "insert into v (k, i, s, f, d, ts) values (2, :1, :2, :3, :4, :5)", 0), 0);
    EXPECT_EQ(SetInt(session, 1, 42, 1), 0);
    EXPECT_EQ(SetString(session, 2, "ignored", 1), 0);
    EXPECT_EQ(SetFloat(session, 3, 1.5f, 1), 0);
    EXPECT_EQ(SetDouble(session, 4, 2.5, 1), 0);
    EXPECT_EQ(SetTimestamp(session, 5, 2024, 1, 15, 14, 30, 5, 0, 0, 0, 1), 0);
    ASSERT_EQ(Execute(session), 1);
    EXPECT_EQ(flathost::rowCount(session, "select * from v where k = 2 and i is null and s is null "
                                          "and f is null and d is null and ts is null"),
              1);
}

TEST_F(BindingTest, SetNullOfEveryKind) {
    ASSERT_EQ(PrepareQuery(session, "insert into v (k, i, s, c, b) values (3, :1, :2, :3, :4)", 0), 0);
    EXPECT_EQ(SetNull(session, 1, 2), 0);
    EXPECT_EQ(SetNull(session, 2, 1), 0);
    EXPECT_EQ(SetNull(session, 3, 112), 0);
    EXPECT_EQ(SetNull(session, 4, 113), 0);
    EXPECT_EQ(bufferCount(), 2u);  // LOB NULLs bind directly
    ASSERT_EQ(Execute(session), 1);
    EXPECT_EQ(flathost::rowCount(session, "select * from v where k = 3 and i is null and s is null "
                                          "and c is null and b is null"),
              1);

    ASSERT_EQ(PrepareQuery(session, "insert into v (k, s, i, c) values (4, :1, :2, :3)", 0), 0);
    EXPECT_EQ(bufferCount(), 0u);
    EXPECT_EQ(SetNull(session, 1, 94), 0);
    EXPECT_EQ(SetNull(session, 2, 24), 0);
    EXPECT_EQ(SetNull(session, 3, 114), 0);
    EXPECT_EQ(bufferCount(), 2u);  // 24 and 114 go through buffers
    ASSERT_EQ(Execute(session), 1);
    EXPECT_EQ(flathost::rowCount(session, "select * from v where k = 4 and i is null and s is null and c is null"), 1);
}

TEST_F(BindingTest, BufferedNullIsBoundOncePerIndex) {
    ASSERT_EQ(PrepareQuery(session, "insert into v (k, i) values (5, :1)", 0), 0);
    EXPECT_EQ(SetNull(session, 1, 2), 0);
    EXPECT_EQ(SetNull(session, 1, 1), 0);
    EXPECT_EQ(bufferCount(), 1u);
    ASSERT_EQ(Execute(session), 1);
    ASSERT_EQ(ExecuteQuery(session, "select * from v", 0), 0);
    EXPECT_EQ(bufferCount(), 0u);
}

TEST_F(BindingTest, StringNullAndEmptyRules) {
    ASSERT_EQ(PrepareQuery(session, "insert into v (k, s) values (:1, :2)", 0), 0);
    const struct {
        int key;
        const char* text;
        kavex_bool isNull;
    } cases[] = {{10, "abc", 0}, {11, "abc", 1}, {12, nullptr, 0}, {13, "", 0}, {14, nullptr, 1}};
    for (const auto& c : cases) {
        ASSERT_EQ(SetInt(session, 1, c.key, 0), 0);
        ASSERT_EQ(SetString(session, 2, c.text, c.isNull), 0);
        ASSERT_EQ(Execute(session), 1);
    }
    EXPECT_EQ(flathost::column(session, "select nvl(s, '<null>') from v order by k"),
              "abc|<null>|<null>|<null>|<null>");
}

TEST_F(BindingTest, FailureTextsNameTheParameter) {
    ASSERT_EQ(PrepareQuery(session, "insert into v (k, d) values (1, :1)", 0), 0);
    kt::injectFault("Statement::setBDouble", 1, kt::FaultKind::RuntimeError, 0, "x");
    EXPECT_EQ(errorText(SetDouble(session, 12, 1.0, 0)),
              "Cannot assign 'double' type value to [12] parameter");
    kt::injectFault("Statement::setInt", 1, kt::FaultKind::BadAlloc);
    EXPECT_EQ(errorText(SetInt(session, 3, 1, 0)), "Cannot assign 'int' type value to [3] parameter");
    kt::injectFault("Statement::setString", 1, kt::FaultKind::RuntimeError);
    EXPECT_EQ(errorText(SetString(session, 2, "a", 0)), "Cannot assign string value to [2] parameter");
    kt::injectFault("Statement::setBFloat", 1, kt::FaultKind::RuntimeError);
    EXPECT_EQ(errorText(SetFloat(session, 4, 1, 0)), "Cannot assign 'float' type value to [4] parameter");
    kt::injectFault("Statement::setTimestamp", 1, kt::FaultKind::RuntimeError);
    EXPECT_EQ(errorText(SetTimestamp(session, 5, 2024, 1, 1, 0, 0, 0, 0, 0, 0, 0)),
              "Cannot assign 'timestamp' value to [5] parameter");
    kt::injectFault("Statement::setDataBuffer", 1, kt::FaultKind::RuntimeError);
    EXPECT_EQ(errorText(SetNull(session, 6, 2)), "Cannot assign NULL value to [6] parameter");
    EXPECT_EQ(SetNull(session, 6, 2), 0);  // the buffer made before the failure stays
}

TEST_F(BindingTest, ClientRefusalsKeepTheirText) {
    ASSERT_EQ(PrepareQuery(session, "insert into v (k) values (:1)", 0), 0);
    // The client refuses the position when binding or when running.
    int failed = SetInt(session, 7, 1, 0);
    if (failed == 0) {
        failed = Execute(session);
    }
    ASSERT_LT(failed, 0);
    const std::string text = errorText(failed);
    EXPECT_EQ(text.rfind("ORA-", 0), 0u) << text;
}

// A PL/SQL block takes the setters' values as IN binds, by the names' order of appearance (a
// name used twice is one bind); a name the host set nothing for is ORA-01008 when the block reads
// it, with everything the block did undone.
TEST_F(BindingTest, APlSqlBlockTakesTheSettersValuesAsInBinds) {
    ASSERT_EQ(PrepareQuery(session,
                           "begin insert into v (k, i, s, d) values (:k, :k * 10, :s, :d); end;",
                           1),
              0);
    ASSERT_EQ(SetInt(session, 1, 5, 0), 0);
    ASSERT_EQ(SetString(session, 2, "from a block", 0), 0);
    ASSERT_EQ(SetDouble(session, 3, 2.5, 0), 0);
    ASSERT_EQ(Execute(session), 1);
    selectRow(5);
    EXPECT_EQ(flathost::text(session, 0), "50");
    EXPECT_EQ(flathost::text(session, 1), "from a block");
    EXPECT_EQ(flathost::rowCount(session, "select * from v where k = 5 and d = 2.5"), 1);

    ASSERT_EQ(PrepareQuery(session, "begin insert into v (k) values (6); insert into v (k, s) "
                                    "values (7, :never_set); end;",
                           1),
              0);
    const int unbound = Execute(session);
    ASSERT_LT(unbound, 0);
    EXPECT_EQ(errorText(unbound), "ORA-01008: not all variables bound\nORA-06512: at line 1\n");
    EXPECT_EQ(flathost::rowCount(session, "select * from v where k in (6, 7)"), 0);
}

TEST_F(BindingTest, SettersWithoutStatementFailWithTheirOwnText) {
    const int fresh = flathost::open(flathost::memoryDatabase());
    EXPECT_EQ(errorText(SetNull(fresh, 1, 2)), "Cannot assign NULL value to [1] parameter");
    EXPECT_EQ(errorText(SetString(fresh, 2, "a", 0)), "Cannot assign string value to [2] parameter");
    EXPECT_EQ(errorText(SetInt(fresh, 3, 1, 0)), "Cannot assign 'int' type value to [3] parameter");
    EXPECT_EQ(errorText(SetFloat(fresh, 4, 1, 0)), "Cannot assign 'float' type value to [4] parameter");
    EXPECT_EQ(errorText(SetDouble(fresh, 5, 1, 0)), "Cannot assign 'double' type value to [5] parameter");
    EXPECT_EQ(errorText(SetTimestamp(fresh, 6, 2024, 1, 1, 0, 0, 0, 0, 0, 0, 0)),
              "Cannot assign 'timestamp' value to [6] parameter");
    CloseConnection(fresh);
}

}  // namespace
