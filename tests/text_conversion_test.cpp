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
