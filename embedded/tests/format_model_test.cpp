// Number format models: Oracle's reference conversions and the formats the library builds per
// column (from ATTR_DATA_SIZE and ATTR_SCALE).
#include <gtest/gtest.h>

#include <string>

#include "kavexdb/occi.h"
#include "test_util.h"
#include "types/values.h"

namespace {

using kavexdb::detail::numberFromText;
using oracle::occi::Number;

std::string render(const std::string& value, const std::string& fmt) {
    return numberFromText(value).toText(nullptr, fmt);
}

int errorOf(const std::string& value, const std::string& fmt) {
    return clienttest::oraCode([&] { render(value, fmt); });
}

// The library's format for a NUMBER column of the given size and scale (scale 0 or more).
std::string columnFormat(int size, int scale) {
    std::string fmt = "FM" + std::string(static_cast<std::size_t>(size), '9');
    if (scale <= 0) return fmt;
    fmt += "9";
    fmt[static_cast<std::size_t>(size - scale + 2)] = 'D';
    return fmt;
}

const char* const kFloating = "FM9999999999999999D9999999999999999EEEE";

TEST(NumberFormat, OracleReferenceTable) {
    EXPECT_EQ(render("123.456", "FM999.009"), "123.456");
    EXPECT_EQ(render("123.45", "FM999.009"), "123.45");
    EXPECT_EQ(render("123", "FM999.009"), "123.00");
    EXPECT_EQ(render("123.456", "9.9EEEE"), "  1.2E+02");
    EXPECT_EQ(render("123.456", "FM9.9EEEE"), "1.2E+02");
    EXPECT_EQ(render("0", "9999"), "    0");
    EXPECT_EQ(render("-0.2", "90.99"), " -0.20");
    EXPECT_EQ(render("12.5", "FM99999D99"), "12.5");
    EXPECT_EQ(render("12", "FM99999D99"), "12.");
    EXPECT_EQ(render("0.5", "FM99999D99"), ".5");
    EXPECT_EQ(render("1234", "FM99"), "###");
    EXPECT_EQ(render("12.5", kFloating), "1.25E+01");
}

TEST(NumberFormat, PaddingSignAndRounding) {
    EXPECT_EQ(render("5", "9999"), "    5");
    EXPECT_EQ(render("-5", "9999"), "   -5");
    EXPECT_EQ(render("-1234", "9999"), "-1234");
    EXPECT_EQ(render("12345", "9999"), "#####");
    EXPECT_EQ(render("5", "0999"), " 0005");
    EXPECT_EQ(render("5", "9099"), "  005");
    EXPECT_EQ(render("0.5", "99.99"), "   .50");
    EXPECT_EQ(render("0", "99.99"), "   .00");
    EXPECT_EQ(render("1.005", "9.99"), " 1.01");   // half away from zero, exactly
    EXPECT_EQ(render("-1.005", "9.99"), "-1.01");
    EXPECT_EQ(render("9.996", "9.99"), "#####");   // rounding carries past the model
    EXPECT_EQ(render("9.996", "99.99"), " 10.00");
    EXPECT_EQ(render("0.4", "9"), " 0");
    EXPECT_EQ(render("12", "99999D99"), "    12.00");
    EXPECT_EQ(render("0.5", "99999D99"), "      .50");
}

TEST(NumberFormat, ScientificNotation) {
    EXPECT_EQ(render("-123.456", "9.9EEEE"), " -1.2E+02");
    EXPECT_EQ(render("9.96", "9.9EEEE"), "  1.0E+01");
    EXPECT_EQ(render("1E+100", "9.9EEEE"), " 1.0E+100");
    EXPECT_EQ(render("0.000123", "FM9.99EEEE"), "1.23E-04");
    EXPECT_EQ(render("123", "FM9EEEE"), "1E+02");
    EXPECT_EQ(render("0", "9.9EEEE"), "  0.0E+00");
}

TEST(NumberFormat, GroupsAndSigns) {
    EXPECT_EQ(render("1234567", "9,999,999"), " 1,234,567");
    EXPECT_EQ(render("123", "9,999"), "   123");
    EXPECT_EQ(render("1234.5", "FM9G999D00"), "1,234.50");
    EXPECT_EQ(render("5", "S9"), "+5");
    EXPECT_EQ(render("-5", "9S"), "5-");
    EXPECT_EQ(render("-5", "9MI"), "5-");
    EXPECT_EQ(render("5", "9MI"), "5 ");
    EXPECT_EQ(render("-5", "9PR"), "<5>");
    EXPECT_EQ(render("-5", "$99"), " -$5");
}

TEST(NumberFormat, InvalidModels) {
    EXPECT_EQ(errorOf("1", "99X"), 1481);
    EXPECT_EQ(errorOf("1", "9D9D9"), 1481);
    EXPECT_EQ(errorOf("1", "FM"), 1481);
    EXPECT_EQ(errorOf("1", "9EEEE9"), 1481);
    EXPECT_EQ(errorOf("1", "YYYY"), 1481);
    EXPECT_EQ(errorOf("1", "9MI9"), 1481);
    EXPECT_EQ(errorOf("1", ",99"), 1481);
}

TEST(NumberFormat, EmptyModelIsTextMinimum) {
    EXPECT_EQ(render("0.5", ""), ".5");
    EXPECT_EQ(render("-0.5", ""), "-.5");
    EXPECT_EQ(render("123.25", ""), "123.25");
    EXPECT_EQ(Number().toText(nullptr, "FM99"), "");  // TO_CHAR of NULL is NULL
}

TEST(NumberFormat, LibraryIntegerColumns) {
    const std::string fmt = columnFormat(22, 0);
    EXPECT_EQ(fmt, "FM" + std::string(22, '9'));
    EXPECT_EQ(render("0", fmt), "0");
    EXPECT_EQ(render("123", fmt), "123");
    EXPECT_EQ(render("-2147483648", fmt), "-2147483648");
    EXPECT_EQ(render("9999999999", fmt), "9999999999");  // NUMBER(10,0)
    EXPECT_EQ(render(std::string(22, '9'), fmt), std::string(22, '9'));
    EXPECT_EQ(render("1" + std::string(22, '0'), fmt), std::string(23, '#'));
    // NUMBER(38,0) needs 38 positions to show every value of the column.
    const std::string wide = "FM" + std::string(38, '9');
    EXPECT_EQ(render(std::string(38, '9'), wide), std::string(38, '9'));
    EXPECT_EQ(render("-12345678901234567890123456789012345678", wide),
              "-12345678901234567890123456789012345678");
}

TEST(NumberFormat, LibraryScaledColumns) {
    const std::string money = columnFormat(22, 2);  // NUMBER(10,2)
    EXPECT_EQ(money, "FM" + std::string(20, '9') + "D99");
    EXPECT_EQ(render("12345678.91", money), "12345678.91");
    EXPECT_EQ(render("12.5", money), "12.5");
    EXPECT_EQ(render("12", money), "12.");
    EXPECT_EQ(render("-0.25", money), "-.25");
    EXPECT_EQ(render("0.005", money), ".01");
    EXPECT_EQ(render("0", money), "0.");

    const std::string fine = columnFormat(22, 18);  // NUMBER(28,18)
    EXPECT_EQ(fine, "FM9999D" + std::string(18, '9'));
    EXPECT_EQ(render("1234.123456789012345678", fine), "1234.123456789012345678");
    EXPECT_EQ(render("0.000000000000000001", fine), ".000000000000000001");
    EXPECT_EQ(render("12345.5", fine), std::string(24, '#'));

    // NUMBER(3,25): every digit after the decimal character.
    const std::string tiny = "FMD" + std::string(25, '9');
    EXPECT_EQ(render("0.0000000000000000000000123", tiny), ".0000000000000000000000123");
    EXPECT_EQ(render("-0.001", tiny), "-.001");
}

TEST(NumberFormat, LibraryFloatingColumns) {
    EXPECT_EQ(std::string(kFloating).size(), 39u);
    EXPECT_EQ(render("123.456", kFloating), "1.23456E+02");
    EXPECT_EQ(render("-0.001", kFloating), "-1.E-03");
    EXPECT_EQ(render("1", kFloating), "1.E+00");
    EXPECT_EQ(render("0", kFloating), "0.E+00");
    EXPECT_EQ(render("1E+125", kFloating), "1.E+125");
    EXPECT_EQ(render("1E-130", kFloating), "1.E-130");
    EXPECT_EQ(render("0.33333333333333333333333333333333333333", kFloating),
              "3.3333333333333333E-01");
    EXPECT_EQ(render("99999999999999999.5", kFloating), "1.E+17");
    EXPECT_EQ(Number(0.1).toText(nullptr, kFloating), "1.E-01");
}

}  // namespace
