// Number, date and timestamp format models, type names and the text of NUMBER, DATE and
// TIMESTAMP values.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "values/ColumnInfo.h"
#include "values/NumberText.h"
#include "values/TextConversion.h"
#include "values/TypeNames.h"

using namespace kavex;

namespace {

std::string formatFor(std::int32_t size, std::int32_t precision, std::int32_t scale,
                      bool floating = false) {
    ColumnInfo column(0);
    column.type = 2;
    column.size = size;
    column.precision = precision;
    column.scale = scale;
    column.buildNumberFormat(floating);
    return column.textFormat;
}

std::string nines(std::size_t count) {
    return std::string(count, '9');
}

TEST(NumberFormat, DigitPositionsCoverSizeAndPrecision) {
    EXPECT_EQ(formatFor(22, 10, 0), "FM" + nines(22));
    EXPECT_EQ(formatFor(22, 38, 0), "FM" + nines(38));
    EXPECT_EQ(formatFor(22, 10, 2), "FM" + nines(20) + "D99");
    EXPECT_EQ(formatFor(22, 28, 18), "FM" + nines(10) + "D" + nines(18));
    EXPECT_EQ(formatFor(22, 3, 25), "FMD" + nines(25));
}

TEST(NumberFormat, FloatingColumnsKeepFortySignificantDigits) {
    const std::string format = formatFor(22, 0, -127, true);
    EXPECT_EQ(format, "FM" + nines(16) + "D" + nines(39) + "EEEE");
    EXPECT_LT(format.size(), 64u);
}

TEST(DateTimeFormat, DatesAndTimestampsByTheirColumn) {
    ColumnInfo date(0);
    date.type = 12;
    date.buildDateTimeFormat();
    EXPECT_EQ(date.textFormat, "yyyy-mm-dd hh24:mi:ss");
    for (const std::int32_t type : {184, 185, 186, 187, 188, 232}) {
        ColumnInfo stamp(0);
        stamp.type = type;
        stamp.scale = 6;
        stamp.buildDateTimeFormat();
        EXPECT_EQ(stamp.textFormat, "yyyy-mm-dd hh24:mi:ss.ff6tzh:tzm") << type;
        EXPECT_EQ(stamp.fractionDigits(), 6u);
    }
    ColumnInfo whole(0);
    whole.type = 187;
    whole.buildDateTimeFormat();
    EXPECT_EQ(whole.textFormat, "yyyy-mm-dd hh24:mi:sstzh:tzm");
    EXPECT_EQ(whole.fractionDigits(), 0u);
    ColumnInfo other(0);
    other.type = 1;
    other.scale = 6;
    other.buildDateTimeFormat();
    EXPECT_EQ(other.textFormat, "");
}

TEST(NumberFormat, ZeroSizeStillHasOneDigitPosition) {
    EXPECT_EQ(formatFor(0, 0, 0), "FM9");
}

// The conversions themselves, on values made in an environment of their own.
class Conversion : public ::testing::Test {
protected:
    void SetUp() override {
        environment = occi::Environment::createEnvironment("AL32UTF8", "AL32UTF8",
                                                           occi::Environment::THREADED_UNMUTEXED);
    }
    void TearDown() override { occi::Environment::terminateEnvironment(environment); }

    occi::Environment* environment = nullptr;
};

TEST_F(Conversion, NumbersInTheirColumnsFormat) {
    EXPECT_EQ(numberToText(occi::Number(12.5), formatFor(22, 10, 2), environment), "12.5");
    EXPECT_EQ(numberToText(occi::Number(-3.75), formatFor(22, 10, 2), environment), "-3.75");
    EXPECT_EQ(numberToText(occi::Number(12345.5), formatFor(22, 28, 18), environment), "12345.5");
    EXPECT_EQ(numberToText(occi::Number(1e25), formatFor(22, 38, 0), environment),
              "10000000000000000000000000");
    EXPECT_EQ(numberToText(occi::Number(0.000123), formatFor(22, 3, 25), environment), ".000123");
    EXPECT_EQ(numberToText(occi::Number(12.5), formatFor(22, 0, -127, true), environment),
              "1.25E+01");
}

TEST_F(Conversion, FloatingNumbersKeepEveryDigit) {
    const std::string floating = formatFor(22, 0, -127, true);
#if LONG_MAX > 2147483647L
    // OCCI's Number takes 64-bit integers only as long, which is 32 bits on Windows.
    EXPECT_EQ(numberToText(occi::Number(9223372036854775807L), floating, environment),
              "9.223372036854775807E+18");
    EXPECT_EQ(numberToText(occi::Number(18446744073709551615UL), floating, environment),
              "1.8446744073709551615E+19");
    EXPECT_EQ(numberToText(occi::Number(-1234567890123456789L), floating, environment),
              "-1.234567890123456789E+18");
#endif
    EXPECT_EQ(numberToText(occi::Number(0.1), floating, environment), "1.E-01");
}

TEST_F(Conversion, DatesKeepTheirCenturyAndTimeOfDay) {
    EXPECT_EQ(dateToText(occi::Date(environment, 2024, 1, 15, 14, 30, 5), dateFormat),
              "2024-01-15 14:30:05");
    EXPECT_EQ(dateToText(occi::Date(environment, 1924, 1, 15, 2, 3, 4), dateFormat),
              "1924-01-15 02:03:04");
    EXPECT_EQ(dateToText(occi::Date(environment, 9999, 12, 31, 23, 59, 59), dateFormat),
              "9999-12-31 23:59:59");
}

TEST_F(Conversion, TimestampsKeepAfternoonsApartFromMornings) {
    const occi::Timestamp afternoon(environment, 2024, 1, 15, 14, 30, 5, 123456789, 5, 30);
    const occi::Timestamp morning(environment, 2024, 1, 15, 2, 30, 5, 0, -3, 0);
    EXPECT_EQ(timestampToText(afternoon, timestampFormat, 0), "2024-01-15 14:30:05+05:30");
    EXPECT_EQ(timestampToText(morning, timestampFormat, 0), "2024-01-15 02:30:05-03:00");
}

TEST_F(Conversion, TimestampsShowTheirColumnsFractionalDigits) {
    const occi::Timestamp value(environment, 2024, 1, 15, 14, 30, 5, 120450009, -3, -30);
    const auto text = [&](unsigned int digits) {
        return timestampToText(value, timestampFormatWithFraction(digits), digits);
    };
    EXPECT_EQ(text(0), "2024-01-15 14:30:05-03:30");
    EXPECT_EQ(text(1), "2024-01-15 14:30:05.1-03:30");
    EXPECT_EQ(text(3), "2024-01-15 14:30:05.120-03:30");
    EXPECT_EQ(text(6), "2024-01-15 14:30:05.120450-03:30");
    EXPECT_EQ(text(9), "2024-01-15 14:30:05.120450009-03:30");
}

// The column formats are written from the value's fields without OCCI's format machinery: the
// texts must stay exactly what OCCI renders, at the edges of every field too.
TEST_F(Conversion, ColumnFormatsGiveOccisOwnTexts) {
    const int years[] = {1, 33, 999, 1000, 1999, 2024, 9999, -44, -4712};
    for (const int year : years) {
        const occi::Date date(environment, year, 12, 31, 23, 59, 58);
        EXPECT_EQ(dateToText(date, dateFormat), date.toText(dateFormat, "")) << year;
        EXPECT_EQ(dateToText(date, ""), date.toText("", "")) << year;
    }
    const unsigned int fractions[] = {0, 1, 5, 120450009, 999999999};
    const int zones[][2] = {{0, 0}, {5, 30}, {-3, -30}, {0, -30}, {14, 0}, {-12, 0}};
    for (const int year : {1, 1970, 9999, -44}) {
        for (const unsigned int fraction : fractions) {
            for (const auto& zone : zones) {
                const occi::Timestamp value(environment, year, 2, 28, 0, 1, 2, fraction, zone[0],
                                            zone[1]);
                for (unsigned int digits = 0; digits <= 9; ++digits) {
                    const std::string format = timestampFormatWithFraction(digits);
                    EXPECT_EQ(timestampToText(value, format, digits),
                              value.toText(format, digits, ""))
                        << year << " " << fraction << " " << zone[0] << ":" << zone[1] << " "
                        << digits;
                }
                const std::string other = "DD-MON-YYYY HH:MI:SS.FF3 AM TZH:TZM";
                EXPECT_EQ(timestampToText(value, other, 3), value.toText(other, 3, ""));
            }
        }
    }
}

// NUMBER texts are written from the value's double where that settles them: every text must be
// the one OCCI renders for the Number the same cell gives, whatever the format, the column's
// scale or the way the value was stored.
TEST_F(Conversion, NumberTextsAreOccisOwn) {
    occi::Connection* connection = environment->createConnection("u", "p", ":memory:");
    const auto run = [&](const std::string& sql) {
        occi::Statement* statement = connection->createStatement(sql);
        statement->executeUpdate();
        connection->terminateStatement(statement);
    };
    run("CREATE TABLE t (f NUMBER, s2 NUMBER(20,2), s4 NUMBER(24,4), i NUMBER(10), b NUMBER(38))");
    std::vector<double> values = {0,      1,     -1,     0.5,       -0.5,        0.25,
                                  0.125,  1.005, -0.07,  2.5,       -2.5,        9999999999,
                                  1e12,   -1e13, 0.001,  123456.789, 1099511627776.0,
                                  1.0 / 3, 2.0 / 3, 1e-7, 99.995,    -0.0049};
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 400; ++i) {
        const double magnitude = std::pow(10.0, static_cast<int>(random() % 16) - 4);
        const double unit = std::pow(10.0, -static_cast<int>(random() % 7));
        double value = std::round(static_cast<double>(random() % 1000000007) / 1e9 * magnitude /
                                  unit) * unit;
        if (random() % 2 == 0) {
            value = -value;
        }
        values.push_back(random() % 5 == 0 ? value + unit / 2 : value);
    }
    occi::Statement* insert = connection->createStatement("INSERT INTO t VALUES (:1, :2, :3, :4, :5)");
    for (const double value : values) {
        occi::BDouble bound;
        bound.value = value;
        for (unsigned int column = 1; column <= 3; ++column) {
            insert->setBDouble(column, bound);
        }
        bound.value = std::fabs(value) < 1e9 ? std::round(value) : 0;
        insert->setBDouble(4, bound);
        insert->setString(5, std::to_string(static_cast<long long>(value * 1000)) + "123");
        insert->executeUpdate();
    }
    connection->terminateStatement(insert);
    // The columns' own formats and others, narrow ones among them (their texts are "#").
    const std::string formats[] = {formatFor(22, 0, 0),  formatFor(22, 20, 2), formatFor(22, 24, 4),
                                   formatFor(22, 10, 0), formatFor(22, 38, 0), "FM999",
                                   "FM9D9",              "FM99999999D99",      "FM9D999999",
                                   "FM999999999999999D999999"};
    occi::Statement* select = connection->createStatement(
        "SELECT f, s2, s4, i, b, f / 7, s2 * 3 FROM t");
    ASSERT_EQ(select->execute(), occi::Statement::RESULT_SET_AVAILABLE);
    occi::ResultSet* rows = select->getResultSet();
    NumberText writer;
    int compared = 0;
    while (rows->next() != occi::ResultSet::END_OF_FETCH) {
        for (unsigned int column = 1; column <= 7; ++column) {
            for (const std::string& format : formats) {
                std::string text;
                const occi::Number number = rows->getNumber(column);
                ASSERT_EQ(writer.append(*rows, column, format, environment, text),
                          !number.isNull());
                ASSERT_EQ(text, numberToText(number, format, environment))
                    << "column " << column << " format " << format << " value "
                    << rows->getString(column);
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, static_cast<int>(values.size()) * 7 * 10);
    select->closeResultSet(rows);
    connection->terminateStatement(select);
    environment->terminateConnection(connection);
}

TEST(TypeNames, PublishedNames) {
    EXPECT_STREQ(typeNameOf(2), "SQLT_NUM");
    EXPECT_STREQ(typeNameOf(1), "SQLT_CHR");
    EXPECT_STREQ(typeNameOf(232), "SQLT_TIMESTAMP_LTZ");
    EXPECT_STREQ(typeNameOf(187), "SQLT_TIMESTAMP");
    EXPECT_STREQ(typeNameOf(32768), "OCCICHAR");
    EXPECT_STREQ(typeNameOf(32789), "OCCICURSOR");
    EXPECT_EQ(typeNameCount(), 68u);
}

TEST(TypeNames, UnlistedCodesAreUnknown) {
    for (const std::int32_t code : {32770, 13, 0, -1, 58, 32790, 99999, 25, 67}) {
        EXPECT_STREQ(typeNameOf(code), "<unknown ATTR_DATA_TYPE>") << code;
    }
}

}  // namespace
