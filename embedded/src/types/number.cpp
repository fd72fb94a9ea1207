// Number: an exact decimal of up to 38 significant digits, as Oracle's NUMBER.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "base/access.h"
#include "base/errors.h"
#include "base/ora_messages.h"
#include "base/text.h"
#include "types/decimal.h"
#include "types/values.h"

namespace occi = oracle::occi;

namespace kavexdb {
namespace detail {

namespace {

void stripZeros(Decimal& d) {
    std::size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        d.digits.clear();
        return;
    }
    d.digits.erase(0, first);
    d.exponent -= static_cast<int>(first);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

Decimal fromUnsigned(std::uint64_t magnitude, bool negative) {
    Decimal d;
    d.negative = negative;
    d.digits = std::to_string(magnitude);
    d.exponent = static_cast<int>(d.digits.size());
    stripZeros(d);
    return d;
}

occi::Number fromShortestText(const char* begin, const char* end) {
    Decimal d;
    if (!parseDecimal(std::string(begin, end), d)) raise(ora::kInvalidNumber);
    return numberOf(std::move(d));
}

// The integer part, truncated toward zero; false when it does not fit in 64 bits.
bool truncateToInt64(const Decimal& d, std::int64_t& out) {
    if (d.isZero() || d.exponent <= 0) {
        out = 0;
        return true;
    }
    if (d.exponent > 19) return false;
    std::uint64_t magnitude = 0;
    for (int i = 0; i < d.exponent; ++i) {
        unsigned digit = i < static_cast<int>(d.digits.size()) ? d.digits[i] - '0' : 0;
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    const std::uint64_t limit = d.negative ? std::uint64_t(1) << 63 : (std::uint64_t(1) << 63) - 1;
    if (magnitude > limit) return false;
    out = d.negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

Decimal requireValue(const occi::Number& n) {
    if (Access::null(n)) raise(ora::kFetchedValueIsNull);
    return decimalOf(n);
}

std::int64_t integralPart(const occi::Number& n, std::int64_t low, std::int64_t high) {
    std::int64_t v = 0;
    if (!truncateToInt64(requireValue(n), v) || v < low || v > high) raise(ora::kIntegerOverflow);
    return v;
}

}  // namespace

Decimal decimalOf(const occi::Number& n) {
    Decimal d;
    d.negative = Access::negative(n);
    d.exponent = Access::exponent(n);
    const unsigned char* digits = Access::digits(n);
    d.digits.resize(Access::ndigits(n));
    for (std::size_t i = 0; i < d.digits.size(); ++i) d.digits[i] = static_cast<char>('0' + digits[i]);
    return d;
}

Decimal roundDigits(Decimal d, long keep) {
    if (keep >= static_cast<long>(d.digits.size())) return d;
    if (keep < 0) return Decimal{};
    bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        long i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    stripZeros(d);
    if (d.isZero()) d = Decimal{};
    return d;
}

occi::Number numberOf(Decimal d) {
    stripZeros(d);
    // Twenty base-100 digits: forty decimal ones when the exponent (in units of 10) is even, so
    // that the leading base-100 digit holds two, thirty-nine when it holds one.
    d = roundDigits(std::move(d), static_cast<long>(d.exponent % 2 == 0 ? kMaxDigits : kMaxDigits - 1));
    occi::Number n(0);
    if (d.isZero() || d.exponent < kMinExponent) return n;
    if (d.exponent > kMaxExponent) raise(ora::kNumericOverflow);
    Access::negative(n) = d.negative;
    Access::exponent(n) = d.exponent;
    Access::ndigits(n) = static_cast<unsigned char>(d.digits.size());
    for (std::size_t i = 0; i < d.digits.size(); ++i) Access::digits(n)[i] = static_cast<unsigned char>(d.digits[i] - '0');
    return n;
}

bool parseDecimal(const std::string& text, Decimal& out) {
    std::size_t i = 0, end = text.size();
    while (i < end && isBlank(text[i])) ++i;
    while (end > i && isBlank(text[end - 1])) --end;
    Decimal d;
    if (i < end && (text[i] == '+' || text[i] == '-')) d.negative = text[i++] == '-';
    bool anyDigit = false, point = false;
    long pointPos = 0;
    for (; i < end; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            anyDigit = true;
            d.digits.push_back(c);
            if (!point) ++pointPos;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return false;
    long exp10 = 0;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negExp = false;
        if (i < end && (text[i] == '+' || text[i] == '-')) negExp = text[i++] == '-';
        if (i == end) return false;
        for (; i < end; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            if (exp10 < 100000) exp10 = exp10 * 10 + (text[i] - '0');
        }
        if (negExp) exp10 = -exp10;
    }
    if (i != end) return false;
    long exponent = pointPos + exp10;
    stripZeros(d);  // adjusts d.exponent relative to 0
    exponent += d.exponent;
    if (d.isZero()) exponent = 0;
    if (exponent > 100000) exponent = 100000;
    if (exponent < -100000) exponent = -100000;
    d.exponent = static_cast<int>(exponent);
    out = std::move(d);
    return true;
}

occi::Number numberFromInt64(std::int64_t v) {
    std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    return numberOf(fromUnsigned(magnitude, v < 0));
}

occi::Number numberFromDouble(double v) {
    if (std::isnan(v)) raise(ora::kInvalidNumber);
    if (std::isinf(v)) raise(ora::kNumericOverflow);
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, v);
    return fromShortestText(buf, result.ptr);
}

occi::Number numberFromText(const std::string& text) {
    Decimal d;
    if (!parseDecimal(text, d)) raise(ora::kInvalidNumber);
    return numberOf(std::move(d));
}

std::string numberToPlainText(const occi::Number& n) {
    if (Access::null(n)) return std::string();
    Decimal d = decimalOf(n);
    if (d.isZero()) return "0";
    std::string out = d.negative ? "-" : "";
    const int count = static_cast<int>(d.digits.size());
    if (d.exponent > 40 || d.exponent < -39) {
        // Scientific form: d.ddd E+xx
        out += d.digits[0];
        if (count > 1) out += "." + d.digits.substr(1);
        int e = d.exponent - 1;
        char buf[16];
        std::snprintf(buf, sizeof buf, "E%c%02d", e < 0 ? '-' : '+', e < 0 ? -e : e);
        return out + buf;
    }
    if (d.exponent <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.exponent), '0');
        return out + d.digits;
    }
    if (d.exponent >= count) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.exponent - count), '0');
        return out;
    }
    return out + d.digits.substr(0, static_cast<std::size_t>(d.exponent)) + "." +
           d.digits.substr(static_cast<std::size_t>(d.exponent));
}

bool numberToInt64(const occi::Number& n, std::int64_t& out) {
    if (Access::null(n)) return false;
    Decimal d = decimalOf(n);
    if (!d.isZero() && d.exponent < static_cast<int>(d.digits.size())) return false;
    return truncateToInt64(d, out);
}

namespace {

double decimalToDouble(const Decimal& d) {
    if (d.isZero()) return 0.0;
    // An integer mantissa with an exponent needs no decimal character, so the locale is moot.
    std::string text = (d.negative ? "-" : "") + d.digits + "e" +
                       std::to_string(d.exponent - static_cast<int>(d.digits.size()));
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace

double numberToDouble(const occi::Number& n) { return decimalToDouble(requireValue(n)); }

double singlePrecision(double d) {
    // Past the largest float by half its last step rounds to infinity; the cast itself is only
    // defined within the float range.
    constexpr double kOverflow = 3.4028235677973366e38;
    if (std::isnan(d)) return d;
    if (d >= kOverflow) return HUGE_VAL;
    if (d <= -kOverflow) return -HUGE_VAL;
    return static_cast<double>(static_cast<float>(d));
}

double binaryFromText(const std::string& text) {
    std::string word = asciiUpper(text);
    const std::size_t first = word.find_first_not_of(" \t");
    const std::size_t last = word.find_last_not_of(" \t");
    word = first == std::string::npos ? std::string() : word.substr(first, last - first + 1);
    if (word == "INF" || word == "+INF" || word == "INFINITY" || word == "+INFINITY")
        return HUGE_VAL;
    if (word == "-INF" || word == "-INFINITY") return -HUGE_VAL;
    if (word == "NAN") return std::nan("");
    Decimal d;
    if (!parseDecimal(text, d)) raise(ora::kInvalidNumber);
    return decimalToDouble(d);
}

}  // namespace detail
}  // namespace kavexdb

namespace oracle {
namespace occi {

using kavexdb::detail::numberFromDouble;
using kavexdb::detail::numberFromInt64;

Number::Number() : null_(true), negative_(false), exponent_(0), ndigits_(0), digits_() {}
Number::Number(const Number& other) = default;
Number& Number::operator=(const Number& other) = default;
Number::~Number() = default;

Number::Number(long double val) : Number() {
    double narrow = static_cast<double>(val);
    if (static_cast<long double>(narrow) == val || std::isnan(val) || std::isinf(val)) {
        *this = numberFromDouble(narrow);
        return;
    }
    // The shortest decimal that reads back as the same long double.
    char buf[64];
    for (int precision = 17; precision <= 21; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*Le", precision - 1, val);
        if (std::strtold(buf, nullptr) == val) break;
    }
    *this = kavexdb::detail::numberFromText(buf);
}
Number::Number(double val) : Number() { *this = numberFromDouble(val); }
Number::Number(float val) : Number() {
    if (std::isnan(val) || std::isinf(val)) {
        *this = numberFromDouble(val);
        return;
    }
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, val);  // shortest form of the float
    *this = kavexdb::detail::numberFromText(std::string(buf, result.ptr));
}
Number::Number(long val) : null_(false), negative_(false), exponent_(0), ndigits_(0), digits_() {
    if (val != 0) *this = numberFromInt64(val);
}
Number::Number(int val) : Number(static_cast<long>(val)) {}
Number::Number(short val) : Number(static_cast<long>(val)) {}
Number::Number(char val) : Number(static_cast<long>(val)) {}
Number::Number(signed char val) : Number(static_cast<long>(val)) {}
Number::Number(unsigned long val) : Number(0L) {
    if (val != 0) {
        kavexdb::detail::Decimal d;
        d.digits = std::to_string(val);
        d.exponent = static_cast<int>(d.digits.size());
        *this = kavexdb::detail::numberOf(std::move(d));
    }
}
Number::Number(unsigned int val) : Number(static_cast<unsigned long>(val)) {}
Number::Number(unsigned short val) : Number(static_cast<unsigned long>(val)) {}
Number::Number(unsigned char val) : Number(static_cast<unsigned long>(val)) {}

bool Number::isNull() const { return null_; }

void Number::setNull() { *this = Number(); }

Number::operator double() const { return kavexdb::detail::numberToDouble(*this); }

Number::operator long() const {
    return static_cast<long>(kavexdb::detail::integralPart(*this, std::numeric_limits<long>::min(),
                                                           std::numeric_limits<long>::max()));
}

Number::operator int() const {
    return static_cast<int>(kavexdb::detail::integralPart(*this, std::numeric_limits<int>::min(),
                                                          std::numeric_limits<int>::max()));
}

}  // namespace occi
}  // namespace oracle
