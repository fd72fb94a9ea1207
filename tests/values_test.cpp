// Column values read through GetString, GetByteArray, GetInteger, GetFloat and GetDouble.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "flat_host.h"
#include "kavexdb/test_support.h"
#include "session/OcciHandler.h"
#include "session/Registry.h"
#include "flat/AdoSession.h"

using namespace kavex;

namespace {

using Values = FlatSession;

// SQL for a text of `count` copies of 'x', made by SQLite functions.
std::string repeatedX(int count) {
    return "substr(replace(hex(zeroblob(" + std::to_string(count) + ")), '0', 'x'), 1, " +
           std::to_string(count) + ")";
}

TEST_F(Values, CharacterColumnsAndNulls) {
    run("CREATE TABLE t (v VARCHAR2(30), c CHAR(3), n NVARCHAR2(10), e VARCHAR2(5))");
    run("INSERT INTO t VALUES ('héllo wörld', 'abc', 'ñ', NULL)");
    firstRow("SELECT v, c, n, e FROM t");
    EXPECT_EQ(text(0), "héllo wörld");
    EXPECT_EQ(text(1), "abc");
    EXPECT_EQ(text(2), "ñ");
    EXPECT_EQ(text(3), std::nullopt);
}

TEST_F(Values, NumberTextInEachFormatKind) {
    run("CREATE TABLE t (a NUMBER(10,2), b NUMBER(10), c NUMBER, d NUMBER(28,18), e NUMBER(38), "
        "f INTEGER, g NUMBER(10,2), h NUMBER)");
    run("INSERT INTO t VALUES (12.5, 1234567890, 12.5, 12345.5, 10000000000000000000000000, "
        "42, -3.75, NULL)");
    firstRow("SELECT a, b, c, d, e, f, g, h FROM t");
    EXPECT_EQ(text(0), "12.5");
    EXPECT_EQ(text(1), "1234567890");
    EXPECT_EQ(text(2), "1.25E+01");
    EXPECT_EQ(text(3), "12345.5");
    EXPECT_EQ(text(4), "10000000000000000000000000");
    EXPECT_EQ(text(5), "42");
    EXPECT_EQ(text(6), "-3.75");
    EXPECT_EQ(text(7), std::nullopt);
}

TEST_F(Values, DateWithCenturyAndTimeOfDay) {
    run("CREATE TABLE t (d DATE, n DATE)");
    run("INSERT INTO t VALUES ('2024-01-15 14:30:05', NULL)");
    firstRow("SELECT d, n FROM t");
    EXPECT_EQ(text(0), "2024-01-15 14:30:05");
    EXPECT_EQ(text(1), std::nullopt);
}

TEST_F(Values, TimestampsOnTheTwentyFourHourClockWithTheirPrecision) {
    run("CREATE TABLE t (a TIMESTAMP, b TIMESTAMP WITH TIME ZONE, "
        "c TIMESTAMP WITH LOCAL TIME ZONE, d TIMESTAMP)");
    run("INSERT INTO t VALUES ('2024-01-15 14:30:05.123456', "
        "'2024-01-15 14:30:05.5+05:30', '2024-01-15 02:30:05', NULL)");
    firstRow("SELECT a, b, c, d FROM t");
    EXPECT_EQ(text(0), "2024-01-15 14:30:05.123456+00:00");
    EXPECT_EQ(text(1), "2024-01-15 14:30:05.500000+05:30");
    EXPECT_EQ(text(2), "2024-01-15 02:30:05.000000+00:00");
    EXPECT_EQ(text(3), std::nullopt);
}

TEST_F(Values, RowIdAsText) {
    run("CREATE TABLE t (v VARCHAR2(3))");
    run("INSERT INTO t VALUES ('a')");
    firstRow("SELECT ROWID, v FROM t");
    EXPECT_EQ(text(0), "1");
}

TEST_F(Values, LobsAreCutToTheMaximumColumnSizeOfTheRead) {
    run("CREATE TABLE t (c CLOB, b BLOB, r RAW(4000))");
    run("INSERT INTO t VALUES (" + repeatedX(5000) + ", zeroblob(5000), zeroblob(3000))");
    firstRow("SELECT c, b, r FROM t");
    EXPECT_EQ(text(0), std::string(2000, 'x'));
    EXPECT_EQ(bytes(1), std::string(2000, '\0'));
    EXPECT_EQ(bytes(2), std::string(2000, '\0'));

    ASSERT_EQ(SetIntSessionProperty(id, 1, 10000), 0);
    EXPECT_EQ(text(0), std::string(5000, 'x'));
    EXPECT_EQ(bytes(1), std::string(5000, '\0'));
    EXPECT_EQ(bytes(2), std::string(3000, '\0'));

    ASSERT_EQ(SetIntSessionProperty(id, 1, 0), 0);
    EXPECT_EQ(text(0)->size(), 2000u);
}

TEST_F(Values, LongColumnsKeepTheSizeOfTheirResultSet) {
    run("CREATE TABLE t (l LONG, r LONG RAW)");
    run("INSERT INTO t VALUES (" + repeatedX(3000) + ", zeroblob(3000))");
    firstRow("SELECT l, r FROM t");
    EXPECT_EQ(text(0)->size(), 2000u);
    EXPECT_EQ(bytes(1)->size(), 2000u);

    ASSERT_EQ(SetIntSessionProperty(id, 1, 10000), 0);
    EXPECT_EQ(text(0)->size(), 2000u) << "LONG keeps the size applied at collection";
    firstRow("SELECT l, r FROM t");
    EXPECT_EQ(text(0), std::string(3000, 'x'));
    EXPECT_EQ(bytes(1), std::string(3000, '\0'));
}

// An empty LOB is a value of length 0 (IS NULL is false for it in SQL); a NULL LOB has none.
TEST_F(Values, EmptyLobsAreValuesAndNullLobsHaveNone) {
    run("CREATE TABLE t (c CLOB, b BLOB, nc CLOB, nb BLOB)");
    run("INSERT INTO t VALUES (EMPTY_CLOB(), EMPTY_BLOB(), NULL, NULL)");
    firstRow("SELECT c, b, nc, nb FROM t");
    EXPECT_EQ(text(0), std::string());
    EXPECT_EQ(bytes(1), std::string());
    EXPECT_EQ(text(2), std::nullopt);
    EXPECT_EQ(bytes(3), std::nullopt);
    firstRow("SELECT EMPTY_BLOB(), EMPTY_CLOB() FROM dual");
    EXPECT_EQ(GetColumnType(id, 0), 113) << "described as a BLOB";
    EXPECT_EQ(GetColumnType(id, 1), 112) << "described as a CLOB";
    EXPECT_EQ(bytes(0), std::string());
}

TEST_F(Values, BytesContainingZeros) {
    run("CREATE TABLE t (r RAW(16), b BLOB, l LONG RAW, n RAW(4))");
    run("INSERT INTO t VALUES (X'00112233445566778899AABBCCDD0000', X'000100', X'FF00FF', NULL)");
    firstRow("SELECT r, b, l, n FROM t");
    EXPECT_EQ(bytes(0), std::string("\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xAA\xBB\xCC\xDD\x00\x00",
                                    16));
    EXPECT_EQ(bytes(1), std::string("\x00\x01\x00", 3));
    EXPECT_EQ(bytes(2), std::string("\xFF\x00\xFF", 3));
    EXPECT_EQ(bytes(3), std::nullopt);
}

TEST_F(Values, NClobText) {
    run("CREATE TABLE t (c NCLOB)");
    run("INSERT INTO t VALUES ('žluťoučký kůň')");
    firstRow("SELECT c FROM t");
    EXPECT_EQ(text(0), "žluťoučký kůň");
}

TEST_F(Values, IntegerSlotFlagsOnlyNull) {
    run("CREATE TABLE t (a PLS_INTEGER, b PLS_INTEGER, c BINARY_INTEGER, d PLS_INTEGER)");
    run("INSERT INTO t VALUES (7, 0, -2147483648, NULL)");
    firstRow("SELECT a, b, c, d FROM t");
    const auto read = [&](int column) {
        KavexIntRecord record{};
        EXPECT_EQ(GetInteger(id, column, &record), 0);
        return record;
    };
    EXPECT_EQ(read(0).isNull, 0);
    EXPECT_EQ(std::int32_t{read(0).value}, 7);
    EXPECT_EQ(read(1).isNull, 0) << "a stored zero is a value";
    EXPECT_EQ(std::int32_t{read(1).value}, 0);
    EXPECT_EQ(std::int32_t{read(2).value}, -2147483647 - 1);
    EXPECT_EQ(read(3).isNull, 1);
    EXPECT_EQ(std::int32_t{read(3).value}, 0);
    EXPECT_EQ(std::int32_t{read(3).length}, 0);
}

TEST_F(Values, FloatAndDoubleSlotsFlagOnlyNull) {
    run("CREATE TABLE t (f BINARY_FLOAT, fz BINARY_FLOAT, fn BINARY_FLOAT, fnull BINARY_FLOAT, "
        "d BINARY_DOUBLE, dz BINARY_DOUBLE, dn BINARY_DOUBLE, dnull BINARY_DOUBLE)");
    run("INSERT INTO t VALUES (2.5, 0.0, -0.0, NULL, 2.5, 0.0, -0.0, NULL)");
    firstRow("SELECT f, fz, fn, fnull, d, dz, dn, dnull FROM t");
    for (int column = 0; column < 3; ++column) {
        KavexFloatRecord record{};
        ASSERT_EQ(GetFloat(id, column, &record), 0);
        EXPECT_EQ(record.isNull, 0) << column;
        EXPECT_EQ(float{record.value}, column == 0 ? 2.5f : 0.0f);
        KavexDoubleRecord wide{};
        ASSERT_EQ(GetDouble(id, column + 4, &wide), 0);
        EXPECT_EQ(wide.isNull, 0) << column;
        EXPECT_EQ(double{wide.value}, column == 0 ? 2.5 : 0.0);
    }
    KavexFloatRecord nullFloat{};
    ASSERT_EQ(GetFloat(id, 3, &nullFloat), 0);
    EXPECT_EQ(nullFloat.isNull, 1);
    KavexDoubleRecord nullDouble{};
    ASSERT_EQ(GetDouble(id, 7, &nullDouble), 0);
    EXPECT_EQ(nullDouble.isNull, 1);
    EXPECT_EQ(double{nullDouble.value}, 0.0);
}

// A refusal writes byte 0 only; the other bytes keep what the host put there.
template <class Record, class Getter>
void expectRefused(Getter getter, int id, int index, const std::string& message) {
    Record record;
    std::memset(&record, 0xAB, sizeof record);
    const int result = getter(id, index, &record);
    ASSERT_LE(result, -10);
    EXPECT_EQ(GetError(result), message);
    const auto* raw = reinterpret_cast<const unsigned char*>(&record);
    EXPECT_EQ(raw[0], 1);
    for (std::size_t i = 1; i < sizeof record; ++i) {
        EXPECT_EQ(raw[i], 0xAB) << "byte " << i;
    }
}

TEST_F(Values, RefusalsWriteByteZeroOnly) {
    run("CREATE TABLE t (n NUMBER, v VARCHAR2(3), i PLS_INTEGER, r RAW(2))");
    run("INSERT INTO t VALUES (1, 'a', 3, X'01')");
    firstRow("SELECT n, v, i, r FROM t");
    expectRefused<KavexIntRecord>(GetInteger, id, 0, "Cannot read 'int' type value from [0] column");
    expectRefused<KavexFloatRecord>(GetFloat, id, 2, "Cannot read 'float' type value from [2] column");
    expectRefused<KavexDoubleRecord>(GetDouble, id, 1,
                                     "Cannot read 'double' type value from [1] column");
    expectRefused<KavexPointerRecord>(GetString, id, 3,
                                      "Cannot read character type value from [3] column");
    expectRefused<KavexPointerRecord>(GetByteArray, id, 1,
                                      "Cannot read 'byte array' type value from [1] column");
    // Indexes outside the columns.
    expectRefused<KavexPointerRecord>(GetString, id, -1,
                                      "Cannot read character type value from [-1] column");
    expectRefused<KavexPointerRecord>(GetString, id, 4,
                                      "Cannot read character type value from [4] column");
    expectRefused<KavexIntRecord>(GetInteger, id, 99, "Cannot read 'int' type value from [99] column");
}

TEST_F(Values, ReadsWithoutAResultSetAreRefused) {
    run("CREATE TABLE t (v VARCHAR2(3))");
    // Describing a table gives column records but no result set to read from.
    ASSERT_EQ(GetMetaData(id, "", "T"), 0);
    ASSERT_EQ(GetColumnsCount(id), 1);
    expectRefused<KavexPointerRecord>(GetString, id, 0,
                                      "Cannot read character type value from [0] column");
}

TEST_F(Values, ClientFailuresReachTheHostWithTheirOwnText) {
    run("CREATE TABLE t (v VARCHAR2(3))");
    run("INSERT INTO t VALUES ('a')");
    run("SELECT v FROM t");
    KavexPointerRecord record{};
    const int result = GetString(id, 0, &record);  // before the first row
    ASSERT_LE(result, -10);
    EXPECT_EQ(std::string(GetError(result)).rfind("ORA-01002", 0), 0u) << GetError(result);
}

TEST_F(Values, SqliteTypesAndExpressionsReachTheirSlots) {
    run("CREATE TABLE t (a TEXT, b REAL, c BLOB, d INT, e FLOAT, f TIMESTAMP(3) WITH TIME ZONE)");
    run("INSERT INTO t VALUES ('text', 0.5, X'CAFE', 12, 2.5, '2024-06-30 23:59:59.999+14:00')");
    firstRow("SELECT a, b, c, d, e, f, 1 + 1, 'lit' FROM t");
    EXPECT_EQ(text(0), "text");
    KavexDoubleRecord real{};
    ASSERT_EQ(GetDouble(id, 1, &real), 0);
    EXPECT_EQ(double{real.value}, 0.5);
    EXPECT_EQ(bytes(2), std::string("\xCA\xFE", 2));
    EXPECT_EQ(text(3), "12");
    EXPECT_EQ(text(4), "2.5E+00");
    EXPECT_EQ(text(5), "2024-06-30 23:59:59.999+14:00");
    EXPECT_EQ(text(6), "2.E+00") << "fill mode keeps the decimal character";
    EXPECT_EQ(text(7), "lit");
}

class FaultedValues : public FlatSession {
protected:
    void TearDown() override {
        kavexdb::testing::clearFaults();
        FlatSession::TearDown();
    }
};

TEST_F(FaultedValues, LobReadFailureKeepsTheClientsTextAndTheSessionUsable) {
    run("CREATE TABLE t (c CLOB, b BLOB)");
    run("INSERT INTO t VALUES ('some text', X'0102')");
    firstRow("SELECT c, b FROM t");
    const std::string failure = "ORA-03113: end-of-file on communication channel\n";
    kavexdb::testing::injectFault("Stream::readBuffer", 1,
                                  kavexdb::testing::FaultKind::SqlException, 3113, failure);
    KavexPointerRecord record;
    std::memset(&record, 0xAB, sizeof record);
    const int result = GetString(id, 0, &record);
    ASSERT_LE(result, -10);
    EXPECT_EQ(GetError(result), failure);
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(&record)[0], 0xAB) << "record left as it was";

    kavexdb::testing::injectFault("Stream::readBuffer", 1,
                                  kavexdb::testing::FaultKind::RuntimeError, 0, "boom");
    EXPECT_STREQ(GetError(GetByteArray(id, 1, &record)),
                 "Cannot read 'byte array' type value from [1] column");

    EXPECT_EQ(text(0), "some text");
    EXPECT_EQ(bytes(1), std::string("\x01\x02", 2));
}

TEST_F(FaultedValues, OtherFailuresStoreTheGettersOwnMessage) {
    run("CREATE TABLE t (v VARCHAR2(3), i PLS_INTEGER)");
    run("INSERT INTO t VALUES ('a', 1)");
    firstRow("SELECT v, i FROM t");
    kavexdb::testing::injectFault("ResultSet::getString", 1,
                                  kavexdb::testing::FaultKind::BadAlloc);
    KavexPointerRecord record{};
    EXPECT_STREQ(GetError(GetString(id, 0, &record)),
                 "Cannot read character type value from [0] column");
    kavexdb::testing::injectFault("ResultSet::getInt", 1,
                                  kavexdb::testing::FaultKind::RuntimeError, 0, "x");
    KavexIntRecord integer{};
    EXPECT_STREQ(GetError(GetInteger(id, 1, &integer)), "Cannot read 'int' type value from [1] column");
}

TEST_F(FaultedValues, FailedDescribeKeepsTheRecordsBuiltBeforeIt) {
    run("CREATE TABLE t (a VARCHAR2(3), b VARCHAR2(3), c VARCHAR2(3))");
    // Four whole-number reads per column: the fifth is the second column's first.
    kavexdb::testing::injectFault("MetaData::getInt", 5,
                                  kavexdb::testing::FaultKind::RuntimeError, 0, "x");
    const int result = GetMetaData(id, "", "T");
    ASSERT_LE(result, -10);
    EXPECT_STREQ(GetError(result), "Cannot get columns metadata");
    EXPECT_EQ(GetColumnsCount(id), 1);
    EXPECT_STREQ(GetColumnName(id, 0), "A");
}

TEST_F(Values, UnknownSessionIsRefused) {
    KavexPointerRecord record{};
    const int result = GetString(987654, 0, &record);
    ASSERT_LE(result, -10);
    EXPECT_STREQ(GetError(result), "Session is not initialized");
}

// The texts the session keeps for the host.
const HandedOutStrings& handedOut(int id) {
    OcciHandler* handler = registry::find(id).get();  // the registry keeps it alive
    auto* session = dynamic_cast<AdoSession*>(handler->session.get());
    return session->handedOut;
}

bool stillHeld(int id, const char* pointer) {
    return handedOut(id).holds(pointer);
}

TEST_F(Values, HandedOutStringsLastTenFurtherHandOuts) {
    run("CREATE TABLE t (v VARCHAR2(3), n VARCHAR2(3))");
    run("INSERT INTO t VALUES ('a', NULL)");
    firstRow("SELECT v, n FROM t");
    KavexPointerRecord first{};
    ASSERT_EQ(GetString(id, 0, &first), 0);
    for (int i = 0; i < 10; ++i) {
        // NULL values and failures hand nothing out.
        KavexPointerRecord ignored{};
        ASSERT_EQ(GetString(id, 1, &ignored), 0);
        ASSERT_LT(GetString(id, 5, &ignored), 0);
        if (i % 2 == 0) {
            ASSERT_STREQ(GetColumnName(id, 0), "V");
        } else {
            ASSERT_EQ(GetString(id, 0, &ignored), 0);
        }
        EXPECT_TRUE(stillHeld(id, first.value)) << "after " << i + 1 << " further hand-outs";
        EXPECT_LE(handedOut(id).count(), 11u);
    }
    ASSERT_STREQ(GetColumnName(id, 1), "N");
    EXPECT_FALSE(stillHeld(id, first.value));
    EXPECT_EQ(handedOut(id).count(), 11u);
}

TEST_F(FaultedValues, TextFailingWhileWrittenHandsNothingOutAndTheNextOnesAreWhole) {
    run("CREATE TABLE t (v VARCHAR2(3), n NUMBER(5,1))");
    run("INSERT INTO t VALUES ('a', 12.5)");
    firstRow("SELECT v, n FROM t");
    KavexPointerRecord first{};
    ASSERT_EQ(GetString(id, 0, &first), 0);
    kavexdb::testing::injectFault("ResultSet::getBDouble", 1,
                                  kavexdb::testing::FaultKind::RuntimeError, 0, "x");
    KavexPointerRecord failed{};
    EXPECT_STREQ(GetError(GetString(id, 1, &failed)),
                 "Cannot read character type value from [1] column");
    for (int i = 0; i < 10; ++i) {
        KavexPointerRecord number{};
        ASSERT_EQ(GetString(id, 1, &number), 0);
        EXPECT_EQ(std::string(number.value, static_cast<std::size_t>(number.length)), "12.5");
        EXPECT_TRUE(stillHeld(id, first.value)) << "after " << i + 1 << " further hand-outs";
        EXPECT_LE(handedOut(id).count(), 11u);
    }
    KavexPointerRecord last{};
    ASSERT_EQ(GetString(id, 1, &last), 0);
    EXPECT_FALSE(stillHeld(id, first.value));
    EXPECT_EQ(handedOut(id).count(), 11u);
}

TEST_F(FaultedValues, RenderedTextsThatHandNothingOutLeaveEveryKeptTextValid) {
    run("CREATE TABLE t (v VARCHAR2(3), n NUMBER(5,1), z NUMBER(5,1))");
    run("INSERT INTO t VALUES ('a', 12.5, NULL)");
    firstRow("SELECT v, n, z FROM t");
    KavexPointerRecord first{};
    ASSERT_EQ(GetString(id, 0, &first), 0);
    for (int i = 0; i < 10; ++i) {
        KavexPointerRecord number{};
        ASSERT_EQ(GetString(id, 1, &number), 0);
    }
    // Eleven texts held: a NULL NUMBER and a NUMBER failing while written are rendered in place
    // and hand nothing out, so the oldest stays.
    KavexPointerRecord none{};
    ASSERT_EQ(GetString(id, 2, &none), 0);
    EXPECT_EQ(none.isNull, 1);
    kavexdb::testing::injectFault("ResultSet::getBDouble", 1,
                                  kavexdb::testing::FaultKind::RuntimeError, 0, "x");
    KavexPointerRecord failed{};
    EXPECT_LT(GetString(id, 1, &failed), 0);
    EXPECT_TRUE(stillHeld(id, first.value));
    EXPECT_EQ(std::string(first.value, static_cast<std::size_t>(first.length)), "a");
    KavexPointerRecord next{};
    ASSERT_EQ(GetString(id, 1, &next), 0);
    EXPECT_EQ(std::string(next.value, static_cast<std::size_t>(next.length)), "12.5");
    EXPECT_FALSE(stillHeld(id, first.value));
    EXPECT_EQ(handedOut(id).count(), 11u);
}

}  // namespace
