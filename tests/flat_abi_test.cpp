// The binary interface a managed host relies on: packed records, TestMarshaling and one-byte
// booleans passed in wider registers.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "flat_bool_abi.h"
#include "flat_host.h"
#include "kavex_oracleociw.h"

namespace {

TEST(FlatAbi, RecordsArePackedWithoutPadding) {
    EXPECT_EQ(sizeof(KavexPointerRecord), 13u);
    EXPECT_EQ(sizeof(KavexDoubleRecord), 13u);
    EXPECT_EQ(sizeof(KavexIntRecord), 9u);
    EXPECT_EQ(sizeof(KavexFloatRecord), 9u);
    EXPECT_EQ(offsetof(KavexPointerRecord, length), 1u);
    EXPECT_EQ(offsetof(KavexPointerRecord, value), 5u);
    EXPECT_EQ(offsetof(KavexIntRecord, value), 5u);
    EXPECT_EQ(sizeof(kavex_bool), 1u);
}

TEST(FlatAbi, TestMarshalingClearsFlagAndValueOnly) {
    unsigned char record[15];
    std::memset(record, 0xFF, sizeof record);
    EXPECT_EQ(TestMarshaling(record), 0);
    EXPECT_EQ(record[0], 0);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(record[i], 0xFF) << i;
    }
    for (int i = 5; i <= 12; ++i) {
        EXPECT_EQ(record[i], 0) << i;
    }
    EXPECT_EQ(record[13], 0xFF);  // nothing beyond the 13 bytes
    EXPECT_EQ(TestMarshaling(nullptr), 0);
}

TEST(FlatAbi, OnlyTheLowByteOfABoolCounts) {
    const std::string db = flathost::fileDatabase();
    const int writer = flathost::open(db);
    const int reader = flathost::open(db);
    flathost::run(writer, "create table t (n NUMBER(10), s VARCHAR2(10))");

    ASSERT_EQ(PrepareQuery(writer, "insert into t values (:1, :2)", 0), 0);
    ASSERT_EQ(kavex_c_set_int(writer, 1, 42, 0x100), 0);
    ASSERT_EQ(kavex_c_set_string(writer, 2, "abc", 0x7F00), 0);
    ASSERT_EQ(Execute(writer), 1);
    // Auto-commit was off (0x100 has a zero low byte): the other session sees nothing yet.
    EXPECT_EQ(flathost::rowCount(reader, "select * from t"), 0);

    ASSERT_EQ(kavex_c_execute_query(writer, "insert into t values (1, null)", 0x201), 1);
    EXPECT_EQ(flathost::rowCount(reader, "select * from t"), 2);
    EXPECT_EQ(flathost::rowCount(reader, "select * from t where n = 42 and s = 'abc'"), 1);

    ASSERT_EQ(PrepareQuery(writer, "insert into t values (:1, :2)", 0), 0);
    ASSERT_EQ(kavex_c_set_int(writer, 1, 7, 0x101), 0);
    ASSERT_EQ(kavex_c_set_string(writer, 2, "xyz", 0x0001), 0);
    ASSERT_EQ(Execute(writer), 1);
    EXPECT_EQ(flathost::rowCount(writer, "select * from t where n is null and s is null"), 1);
    CloseConnection(writer);
    CloseConnection(reader);
}

TEST(FlatAbi, NullPointersAreRefusedWithTheOperationsOwnText) {
    const int session = flathost::open(flathost::memoryDatabase());
    flathost::run(session, "select 'a' as x from dual");
    ASSERT_EQ(NextRow(session), 1);
    EXPECT_EQ(flathost::errorText(GetMetaData(session, "", nullptr)), "Cannot get columns metadata");
    EXPECT_EQ(GetMetaData(session, nullptr, ""), 0);  // the unused first text may be null
    EXPECT_EQ(GetColumnsCount(session), 1);
    EXPECT_EQ(flathost::errorText(GetString(session, 0, nullptr)),
              "Cannot read character type value from [0] column");
    EXPECT_EQ(flathost::errorText(GetByteArray(session, 1, nullptr)),
              "Cannot read 'byte array' type value from [1] column");
    EXPECT_EQ(flathost::errorText(GetInteger(session, 2, nullptr)),
              "Cannot read 'int' type value from [2] column");
    EXPECT_EQ(flathost::errorText(GetFloat(session, 3, nullptr)),
              "Cannot read 'float' type value from [3] column");
    EXPECT_EQ(flathost::errorText(GetDouble(session, 4, nullptr)),
              "Cannot read 'double' type value from [4] column");
    EXPECT_EQ(flathost::text(session, 0), "a");  // the session is unharmed
    CloseConnection(session);
}

}  // namespace
