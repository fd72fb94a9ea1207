// Number format models, type names and the text of NUMBER, DATE and TIMESTAMP values.
#include <gtest/gtest.h>

#include <string>

#include "values/ColumnInfo.h"
#include "values/TextConversion.h"
#include "values/TypeNames.h"

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

TEST(NumberFormat, FloatingColumnsUseScientificNotation) {
    EXPECT_EQ(formatFor(22, 0, -127, true), "FM9999999999999999D9999999999999999EEEE");
}

TEST(NumberFormat, ZeroSizeStillHasOneDigitPosition) {
    EXPECT_EQ(formatFor(0, 0, 0), "FM9");
}

// The conversions themselves, on values made in an environment of their own.
class Conversion : public ::testing::Test {
protected:
    void SetUp() override {
        environment = occi::Environment::createEnvironment("utf8", "utf8",
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

TEST_F(Conversion, DatesInTheDefaultFormat) {
    const occi::Date date(environment, 2024, 1, 15, 14, 30, 5);
    EXPECT_EQ(dateToText(date, ""), "15-JAN-24");
}

TEST_F(Conversion, TimestampsKeepAfternoonsApartFromMornings) {
    const occi::Timestamp afternoon(environment, 2024, 1, 15, 14, 30, 5, 123456789, 5, 30);
    const occi::Timestamp morning(environment, 2024, 1, 15, 2, 30, 5, 0, -3, 0);
    EXPECT_EQ(timestampToText(afternoon, timestampFormat), "2024-01-15 14:30:05+05:30");
    EXPECT_EQ(timestampToText(morning, timestampFormat), "2024-01-15 02:30:05-03:00");
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
