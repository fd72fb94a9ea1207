// Number: exact decimals from integers, doubles and text, and the conversions back.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "kavexdb/occi.h"
#include "test_util.h"
#include "types/decimal.h"
#include "types/number_storage.h"
#include "types/values.h"

namespace {

using clienttest::oraCode;
using kavexdb::detail::numberFromDouble;
using kavexdb::detail::numberFromInt64;
using kavexdb::detail::numberFromText;
using kavexdb::detail::numberToDouble;
using kavexdb::detail::numberToInt64;
using kavexdb::detail::numberToPlainText;
using oracle::occi::Number;

std::string plain(const Number& n) { return numberToPlainText(n); }

TEST(Number, NullAndCopies) {
    Number n;
    EXPECT_TRUE(n.isNull());
    Number five(5);
    EXPECT_FALSE(five.isNull());
    Number copy(five);
    five.setNull();
    EXPECT_TRUE(five.isNull());
    EXPECT_EQ(plain(copy), "5");
    copy = n;
    EXPECT_TRUE(copy.isNull());
    EXPECT_EQ(oraCode([&] { (void)static_cast<int>(n); }), 1405);
    EXPECT_EQ(oraCode([&] { (void)static_cast<double>(n); }), 1405);
}

TEST(Number, ThirtyEightDigitsExactly) {
    const std::string digits38 = "12345678901234567890123456789012345678";
    EXPECT_EQ(plain(numberFromText(digits38)), digits38);
    EXPECT_EQ(plain(numberFromText("-" + digits38)), "-" + digits38);
    EXPECT_EQ(plain(numberFromText("0.00" + digits38)), "0.00" + digits38);
    // Twenty base-100 digits: 39 decimal ones when the exponent is odd, 40 when it is even;
    // beyond them the value is rounded half away from zero.
    EXPECT_EQ(plain(numberFromText("123456789012345678901234567890123456785")),
              "123456789012345678901234567890123456785");
    EXPECT_EQ(plain(numberFromText("1234567890123456789012345678901234567895")),
              "1234567890123456789012345678901234567895");
    EXPECT_EQ(plain(numberFromText("1.2345678901234567890123456789012345678951")),
              "1.2345678901234567890123456789012345679");
    EXPECT_EQ(plain(numberFromText("0.33333333333333333333333333333333333333333")),
              "0.3333333333333333333333333333333333333333");
    EXPECT_EQ(plain(numberFromText("99999999999999999999999999999999999999999")), "1E+41");
}

TEST(Number, FromText) {
    EXPECT_EQ(plain(numberFromText(" -12.50 ")), "-12.5");
    EXPECT_EQ(plain(numberFromText("+.5")), "0.5");
    EXPECT_EQ(plain(numberFromText("7.")), "7");
    EXPECT_EQ(plain(numberFromText("1e3")), "1000");
    EXPECT_EQ(plain(numberFromText("2.5E-3")), "0.0025");
    EXPECT_EQ(plain(numberFromText("-0")), "0");
    EXPECT_EQ(plain(numberFromText("000123.4500")), "123.45");
    EXPECT_EQ(plain(numberFromText("1E-131")), "0");  // below NUMBER's range
    for (const char* bad : {"", " ", "abc", "1.2.3", "--1", "1e", "1e+", "12a", ".", "- 1", "0x10"})
        EXPECT_EQ(oraCode([&] { numberFromText(bad); }), 1722) << bad;
    EXPECT_EQ(oraCode([] { numberFromText("1E+126"); }), 1426);
    EXPECT_EQ(plain(numberFromText("9.9E+125")), "9.9E+125");
}

TEST(Number, FromIntegers) {
    EXPECT_EQ(plain(numberFromInt64(0)), "0");
    EXPECT_EQ(plain(numberFromInt64(std::numeric_limits<std::int64_t>::min())),
              "-9223372036854775808");
    EXPECT_EQ(plain(numberFromInt64(std::numeric_limits<std::int64_t>::max())),
              "9223372036854775807");
    EXPECT_EQ(plain(Number(1200L)), "1200");
    EXPECT_EQ(plain(Number(static_cast<short>(-7))), "-7");
    // unsigned long is 64-bit on Linux, 32-bit on Windows.
    EXPECT_EQ(plain(Number(std::numeric_limits<unsigned long>::max())),
              std::to_string(std::numeric_limits<unsigned long>::max()));
    EXPECT_EQ(plain(Number(static_cast<unsigned char>(200))), "200");
}

TEST(Number, FromDoubleShortestForm) {
    EXPECT_EQ(plain(Number(0.1)), "0.1");
    EXPECT_EQ(plain(numberFromDouble(1.0 / 3)), "0.3333333333333333");
    EXPECT_EQ(plain(numberFromDouble(1e20)), "100000000000000000000");
    EXPECT_EQ(plain(numberFromDouble(-2.5e-7)), "-0.00000025");
    EXPECT_EQ(plain(numberFromDouble(123456.789)), "123456.789");
    EXPECT_EQ(plain(Number(0.1f)), "0.1");
    EXPECT_EQ(plain(Number(static_cast<long double>(0.25))), "0.25");
    EXPECT_EQ(plain(Number(0.1L)), "0.1");
    EXPECT_EQ(plain(numberFromDouble(5e-324)), "0");
    EXPECT_EQ(oraCode([] { numberFromDouble(1e300); }), 1426);
    EXPECT_EQ(oraCode([] { numberFromDouble(std::numeric_limits<double>::infinity()); }), 1426);
    EXPECT_EQ(oraCode([] { numberFromDouble(std::numeric_limits<double>::quiet_NaN()); }), 1722);
}

TEST(Number, PlainTextUsesExponentForExtremes) {
    EXPECT_EQ(plain(numberFromText("1E+39")), "1000000000000000000000000000000000000000");
    EXPECT_EQ(plain(numberFromText("1E+40")), "1E+40");
    EXPECT_EQ(plain(numberFromText("-1.5E-45")), "-1.5E-45");
    EXPECT_EQ(plain(Number()), "");
}

TEST(Number, BackToDoubleAndIntegers) {
    for (double v : {0.0, 0.1, -2.5, 1e-100, 1.7976931348623157e308 / 1e200, 123456789.125})
        EXPECT_EQ(numberToDouble(numberFromDouble(v)), v);
    EXPECT_EQ(static_cast<double>(Number(7)), 7.0);
    EXPECT_EQ(static_cast<int>(Number(12.9)), 12);
    EXPECT_EQ(static_cast<long>(Number(-12.9)), -12);
    EXPECT_EQ(static_cast<int>(Number(0.5)), 0);
    EXPECT_EQ(oraCode([] { (void)static_cast<int>(Number(1e10)); }), 1455);
    EXPECT_EQ(oraCode([] { (void)static_cast<long>(Number(1e19)); }), 1455);
    EXPECT_EQ(static_cast<long>(numberFromInt64(std::numeric_limits<long>::min())),
              std::numeric_limits<long>::min());

    std::int64_t out = 0;
    EXPECT_TRUE(numberToInt64(numberFromText("-9223372036854775808"), out));
    EXPECT_EQ(out, std::numeric_limits<std::int64_t>::min());
    EXPECT_TRUE(numberToInt64(numberFromText("1E+18"), out));
    EXPECT_EQ(out, 1000000000000000000);
    EXPECT_FALSE(numberToInt64(numberFromText("9223372036854775808"), out));
    EXPECT_FALSE(numberToInt64(numberFromText("1.5"), out));
    EXPECT_FALSE(numberToInt64(Number(), out));
}

}  // namespace

// The storage forms: INTEGER within 64 bits, REAL when a double gives the digits back, else the
// BLOB whose bytes sort as the numbers do.
namespace storage {

using kavexdb::detail::canonicalForm;
using kavexdb::detail::CanonicalForm;
using kavexdb::detail::Decimal;
using kavexdb::detail::numberKey;
using kavexdb::detail::parseDecimal;
using kavexdb::detail::storedNumber;

Decimal dec(const std::string& text) {
    Decimal d;
    EXPECT_TRUE(parseDecimal(text, d)) << text;
    return d;
}

TEST(NumberStorage, EachValueHasOneForm) {
    using K = CanonicalForm::Kind;
    EXPECT_EQ(K::Integer, canonicalForm(dec("-9223372036854775808")).kind);
    EXPECT_EQ(K::Integer, canonicalForm(dec("1.0e3")).kind);
    EXPECT_EQ(K::Blob, canonicalForm(dec("9223372036854775808")).kind);
    EXPECT_EQ(K::Real, canonicalForm(dec("0.1")).kind);
    EXPECT_EQ(K::Real, canonicalForm(dec("0.30000000000000004")).kind);
    EXPECT_EQ(K::Real, canonicalForm(dec("1e100")).kind);
    EXPECT_EQ(K::Blob, canonicalForm(dec("0.10000000000000000001")).kind);
    EXPECT_EQ(K::Blob, canonicalForm(dec("18446744073709551616")).kind);
    EXPECT_EQ(K::Blob, canonicalForm(dec("9999999999999999.99")).kind);
    EXPECT_EQ(0.1, canonicalForm(dec("0.1")).real);
}

TEST(NumberStorage, BlobBytesGiveTheDigitsBackAndSortByValue) {
    const char* ascending[] = {
        "-1e125", "-12345678901234567890123456789012345678", "-100.5", "-100.05", "-100",
        "-99.99999999999999999999", "-0.505", "-0.5", "-1e-130", "0", "1e-130",
        "0.1", "0.10000000000000000001", "0.5", "0.505", "5", "9999999999999999.99",
        "18446744073709551616", "12345678901234567890123456789012345678", "9.99e125"};
    std::string previous;
    for (const char* text : ascending) {
        const Decimal d = dec(text);
        const std::string key = numberKey(d);
        Decimal back;
        ASSERT_TRUE(storedNumber(key.data(), key.size(), &back)) << text;
        EXPECT_EQ(d.negative, back.negative) << text;
        EXPECT_EQ(d.exponent, back.exponent) << text;
        EXPECT_EQ(d.digits, back.digits) << text;
        if (!previous.empty()) {
            EXPECT_LT(previous, key) << text;
        }
        previous = key;
    }
    // Bytes that are no stored number: a RAW value, a truncated key, a digit out of range.
    const std::string key = numberKey(dec("-0.5"));
    EXPECT_FALSE(storedNumber("\x01\x02\x03", 3));
    EXPECT_FALSE(storedNumber(key.data(), key.size() - 1));
    EXPECT_FALSE(storedNumber("\xFFN\x03\x80\x66", 5));
    EXPECT_FALSE(storedNumber("\xFFN\x01\x80\x66", 5));  // a negative without digits
    EXPECT_FALSE(storedNumber("\xFFN\x03\x80", 4));
    EXPECT_FALSE(storedNumber("\xFFN\x03\xFF\x02", 5));  // 1E+253, past NUMBER's range
}

}  // namespace storage
