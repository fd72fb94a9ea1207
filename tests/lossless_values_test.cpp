// Values come back as they were stored: characters beyond U+FFFF as standard UTF-8, DATEs with
// century and time of day, TIMESTAMPs with their fractional seconds, NUMBERs with every digit;
// values cut to the maximum column size end on a character boundary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flat_host.h"

namespace {

using LosslessValues = FlatSession;

const std::string kGrin = "\xF0\x9F\x98\x80";   // U+1F600
const std::string kClef = "\xF0\x9D\x84\x9E";   // U+1D11E

// Supplementary characters alone, at either end, next to Latin-1 accents and CJK.
const std::vector<std::string>& samples() {
    static const std::vector<std::string> texts = {
        "Zo\xC3\xAB " + kGrin,
        kGrin,
        kGrin + "\xC3\xA9",
        "\xE6\x97\xA5\xE6\x9C\xAC" + kGrin + "\xE8\xAA\x9E",
        kClef + " caf\xC3\xA9 " + kGrin + kGrin,
    };
    return texts;
}

// A character beyond U+FFFF written as a pair of three-byte surrogate halves (CESU-8, modified
// UTF-8) starts with ED A0..BF.
bool hasSurrogateHalf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const auto next = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xED && next >= 0xA0 && next <= 0xBF) {
            return true;
        }
    }
    return false;
}

std::string repeated(const std::string& piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += piece;
    }
    return out;
}

TEST_F(LosslessValues, SupplementaryCharactersThroughSingleBinds) {
    run("CREATE TABLE t (k NUMBER(4), v VARCHAR2(100), n NVARCHAR2(100))");
    ASSERT_EQ(PrepareQuery(id, "INSERT INTO t VALUES (:1, :2, :3)", 0), 0);
    for (std::size_t i = 0; i < samples().size(); ++i) {
        ASSERT_EQ(SetInt(id, 1, static_cast<int>(i), 0), 0);
        ASSERT_EQ(SetString(id, 2, samples()[i].c_str(), 0), 0);
        ASSERT_EQ(SetString(id, 3, samples()[i].c_str(), 0), 0);
        ASSERT_EQ(Execute(id), 1);
    }
    run("SELECT v, n FROM t ORDER BY k");
    for (const std::string& expected : samples()) {
        ASSERT_EQ(NextRow(id), 1);
        EXPECT_EQ(text(0), expected);
        EXPECT_EQ(text(1), expected);
        EXPECT_FALSE(hasSurrogateHalf(*text(0)));
    }
}

TEST_F(LosslessValues, SupplementaryCharactersThroughABatch) {
    run("CREATE TABLE t (k NUMBER(4), v VARCHAR2(100))");
    ASSERT_EQ(PrepareQuery(id, "INSERT INTO t VALUES (:1, :2)", 0), 0);
    const auto count = static_cast<unsigned>(samples().size());
    ASSERT_EQ(SetMaxIterations(id, count), 0);
    ASSERT_EQ(SetMaxParSize(id, 2, 100), 0);
    for (unsigned i = 0; i < count; ++i) {
        ASSERT_EQ(SetInt(id, 1, static_cast<int>(i), 0), 0);
        ASSERT_EQ(SetString(id, 2, samples()[i].c_str(), 0), 0);
        if (i + 1 < count) {
            ASSERT_EQ(AddIteration(id), 0);
        }
    }
    ASSERT_EQ(Execute(id), static_cast<int>(count));
    run("SELECT v FROM t ORDER BY k");
    for (const std::string& expected : samples()) {
        ASSERT_EQ(NextRow(id), 1);
        EXPECT_EQ(text(0), expected);
    }
}

TEST_F(LosslessValues, SupplementaryCharactersStreamedIntoAClob) {
    run("CREATE TABLE t (c CLOB)");
    std::string value;
    for (int i = 0; i < 500; ++i) {
        value += samples()[static_cast<std::size_t>(i) % samples().size()];
    }
    ASSERT_EQ(PrepareQuery(id, "INSERT INTO t VALUES (:1)", 0), 0);
    // Odd chunk sizes split four-byte sequences between calls.
    for (std::size_t at = 0; at < value.size(); at += 1001) {
        const auto size = static_cast<unsigned>(std::min<std::size_t>(1001, value.size() - at));
        ASSERT_EQ(StreamParameterToLob(id, 1, 112, value.data() + at, size),
                  static_cast<int>(size));
    }
    ASSERT_EQ(StreamParameterToLobLast(id, 1), 0);
    ASSERT_EQ(Execute(id), 1);
    ASSERT_EQ(SetIntSessionProperty(id, 1, 1 << 20), 0);
    firstRow("SELECT c FROM t");
    EXPECT_TRUE(text(0) == value);
}

TEST_F(LosslessValues, SupplementaryCharactersInSqlText) {
    firstRow("SELECT '" + kGrin + "x" + kClef + "' FROM dual");
    EXPECT_EQ(text(0), kGrin + "x" + kClef);
}

TEST_F(LosslessValues, LongValuesAreCutBetweenCharacters) {
    run("CREATE TABLE t (l LONG)");
    const std::string value = "a" + repeated(kGrin, 1000);  // 4001 bytes
    ASSERT_EQ(PrepareQuery(id, "INSERT INTO t VALUES (:1)", 0), 0);
    ASSERT_EQ(SetString(id, 1, value.c_str(), 0), 0);
    ASSERT_EQ(Execute(id), 1);

    // A LONG column keeps the size in force when its query ran.
    const auto longText = [&](int size) {
        EXPECT_EQ(SetIntSessionProperty(id, 1, size), 0);
        firstRow("SELECT l FROM t");
        return text(0).value_or("");
    };
    // 2000 bytes end three bytes into the 500th character.
    EXPECT_TRUE(longText(2000) == "a" + repeated(kGrin, 499));
    for (const int size : {2001, 2002, 2003, 2004}) {
        EXPECT_TRUE(longText(size) == "a" + repeated(kGrin, 500)) << size;
    }
    EXPECT_TRUE(longText(2005) == "a" + repeated(kGrin, 501));
    EXPECT_TRUE(longText(5000) == value);
}

TEST_F(LosslessValues, ClobValuesAreCutBetweenCharacters) {
    run("CREATE TABLE t (c CLOB)");
    const std::string value = "\xC3\xA9" + repeated(kGrin + "\xE6\x97\xA5", 20);
    ASSERT_EQ(PrepareQuery(id, "INSERT INTO t VALUES (:1)", 0), 0);
    ASSERT_EQ(SetString(id, 1, value.c_str(), 0), 0);
    ASSERT_EQ(Execute(id), 1);
    ASSERT_EQ(SetIntSessionProperty(id, 1, 4), 0);
    firstRow("SELECT c FROM t");
    // The maximum size of a CLOB counts characters.
    EXPECT_EQ(text(0), "\xC3\xA9" + kGrin + "\xE6\x97\xA5" + kGrin);
}

TEST_F(LosslessValues, DatesInOtherCenturiesWithTheirTimes) {
    run("CREATE TABLE t (k NUMBER(2), d DATE)");
    const std::vector<std::string> dates = {"1924-01-15 00:00:00", "2024-01-15 23:59:59",
                                            "1899-12-31 12:34:56", "2100-02-28 07:08:09",
                                            "0999-06-30 13:00:01"};
    for (std::size_t i = 0; i < dates.size(); ++i) {
        run("INSERT INTO t VALUES (" + std::to_string(i) + ", TO_DATE('" + dates[i] +
            "', 'YYYY-MM-DD HH24:MI:SS'))");
    }
    run("SELECT d FROM t ORDER BY k");
    for (const std::string& expected : dates) {
        ASSERT_EQ(NextRow(id), 1);
        EXPECT_EQ(text(0), expected);
    }
}

TEST_F(LosslessValues, TimestampsKeepTheirColumnsFractionalSeconds) {
    run("CREATE TABLE t (a TIMESTAMP(0), b TIMESTAMP(3), c TIMESTAMP(6), d TIMESTAMP(9), "
        "e TIMESTAMP(9) WITH TIME ZONE, f TIMESTAMP(3) WITH TIME ZONE)");
    ASSERT_EQ(PrepareQuery(id, "INSERT INTO t VALUES (:1, :2, :3, :4, :5, :6)", 0), 0);
    ASSERT_EQ(SetTimestamp(id, 1, 1924, 1, 15, 14, 30, 5, 0, 0, 0, 0), 0);
    ASSERT_EQ(SetTimestamp(id, 2, 2024, 2, 29, 23, 59, 58, 125000000, 0, 0, 0), 0);
    ASSERT_EQ(SetTimestamp(id, 3, 2024, 2, 29, 0, 0, 1, 123456000, 0, 0, 0), 0);
    ASSERT_EQ(SetTimestamp(id, 4, 1999, 12, 31, 23, 59, 59, 123456789, 0, 0, 0), 0);
    ASSERT_EQ(SetTimestamp(id, 5, 2024, 7, 1, 12, 0, 0, 1, 5, 30, 0), 0);
    ASSERT_EQ(SetTimestamp(id, 6, 2024, 7, 1, 12, 0, 0, 0, -3, -30, 0), 0);
    ASSERT_EQ(Execute(id), 1);
    firstRow("SELECT a, b, c, d, e, f FROM t");
    EXPECT_EQ(text(0), "1924-01-15 14:30:05+00:00");
    EXPECT_EQ(text(1), "2024-02-29 23:59:58.125+00:00");
    EXPECT_EQ(text(2), "2024-02-29 00:00:01.123456+00:00");
    EXPECT_EQ(text(3), "1999-12-31 23:59:59.123456789+00:00");
    EXPECT_EQ(text(4), "2024-07-01 12:00:00.000000001+05:30");
    EXPECT_EQ(text(5), "2024-07-01 12:00:00.000-03:30");
}

TEST_F(LosslessValues, NineteenDigitNumbersKeepEveryDigit) {
    run("CREATE TABLE t (k NUMBER(2), n NUMBER, p NUMBER(19))");
    run("INSERT INTO t VALUES (1, 1234567890123456789, 1234567890123456789)");
    run("INSERT INTO t VALUES (2, 9223372036854775807, 9223372036854775807)");
    run("INSERT INTO t VALUES (3, -9223372036854775808, -9223372036854775808)");
    run("INSERT INTO t VALUES (4, 1000000000000000001, 1000000000000000001)");
    run("SELECT n, p FROM t ORDER BY k");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"1.234567890123456789E+18", "1234567890123456789"},
        {"9.223372036854775807E+18", "9223372036854775807"},
        {"-9.223372036854775808E+18", "-9223372036854775808"},
        {"1.000000000000000001E+18", "1000000000000000001"},
    };
    for (const auto& [floating, fixed] : expected) {
        ASSERT_EQ(NextRow(id), 1);
        EXPECT_EQ(text(0), floating);
        EXPECT_EQ(text(1), fixed);
    }
}

}  // namespace
