#include "types/short_decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kavexdb {
namespace detail {

namespace {

constexpr int kMaxDigits = 38;  // what the 128-bit coefficient always holds

__int128 powerOfTen(int k) {
    __int128 p = 1;
    for (int i = 0; i < k; ++i) p *= 10;
    return p;
}

int digitCount(__int128 v) {
    if (v < 0) v = -v;
    int n = 0;
    while (v != 0) {
        v /= 10;
        ++n;
    }
    return n;
}

void stripZeros(ShortDecimal& v) {
    if (v.coefficient == 0) {
        v.exponent = 0;
        return;
    }
    while (v.coefficient % 10 == 0) {
        v.coefficient /= 10;
        ++v.exponent;
    }
}

}  // namespace

std::string decimalText(__int128 v, int scale) {
    const bool negative = v < 0;
    unsigned __int128 m =
        negative ? static_cast<unsigned __int128>(-(v + 1)) + 1 : static_cast<unsigned __int128>(v);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
        m /= 10;
    } while (m != 0);
    while (static_cast<int>(digits.size()) <= scale) digits.insert(digits.begin(), '0');
    if (scale > 0) digits.insert(digits.size() - static_cast<std::size_t>(scale), ".");
    return negative ? "-" + digits : digits;
}

ShortDecimal shortDecimalOf(std::int64_t whole) {
    ShortDecimal v;
    v.coefficient = whole;
    return v;
}

bool shortDecimalOf(double d, ShortDecimal& out) {
    if (!std::isfinite(d)) return false;
    char text[40];
    const auto written =
        std::to_chars(text, text + sizeof text - 1, d, std::chars_format::scientific);
    if (written.ec != std::errc()) return false;
    *written.ptr = '\0';  // for atoi
    ShortDecimal v;
    bool negative = false;
    const char* p = text;
    if (*p == '-') {
        negative = true;
        ++p;
    }
    int fraction = 0;
    bool point = false;
    for (; p < written.ptr && *p != 'e'; ++p) {
        if (*p == '.') {
            point = true;
            continue;
        }
        v.coefficient = v.coefficient * 10 + (*p - '0');
        if (point) ++fraction;
    }
    int exponent = 0;
    if (p < written.ptr && *p == 'e') exponent = std::atoi(p + 1);
    v.exponent = exponent - fraction;
    if (negative) v.coefficient = -v.coefficient;
    stripZeros(v);
    out = v;
    return true;
}

bool shortSum(const ShortDecimal& a, const ShortDecimal& b, bool subtract, ShortDecimal& out) {
    const int e = a.exponent < b.exponent ? a.exponent : b.exponent;
    const int shiftA = a.exponent - e, shiftB = b.exponent - e;
    if (digitCount(a.coefficient) + shiftA >= kMaxDigits ||
        digitCount(b.coefficient) + shiftB >= kMaxDigits)
        return false;
    const __int128 x = a.coefficient * powerOfTen(shiftA), y = b.coefficient * powerOfTen(shiftB);
    out.coefficient = subtract ? x - y : x + y;
    out.exponent = e;
    stripZeros(out);
    return true;
}

bool shortProduct(const ShortDecimal& a, const ShortDecimal& b, ShortDecimal& out) {
    if (digitCount(a.coefficient) + digitCount(b.coefficient) > kMaxDigits) return false;
    out.coefficient = a.coefficient * b.coefficient;
    out.exponent = a.exponent + b.exponent;
    stripZeros(out);
    return true;
}

bool storageFormOf(ShortDecimal v, bool keep15, StorageForm& out) {
    int digits = digitCount(v.coefficient);
    if (v.exponent >= 0 && digits + v.exponent <= 18) {
        out.integer = true;
        out.whole = static_cast<std::int64_t>(v.coefficient * powerOfTen(v.exponent));
        return true;
    }
    if (digits > 15) {
        if (!keep15) return false;
        // Half away from zero, on the magnitude.
        const __int128 unit = powerOfTen(digits - 15);
        const bool negative = v.coefficient < 0;
        __int128 m = negative ? -v.coefficient : v.coefficient;
        m = (m + unit / 2) / unit;
        v.coefficient = negative ? -m : m;
        v.exponent += digits - 15;
        stripZeros(v);
        digits = digitCount(v.coefficient);
    }
    // The coefficient (at most 15 digits) and 10^|exponent| (up to 10^22) are exact doubles, so
    // one multiplication or division gives the double nearest to the value.
    if (v.exponent >= 0) {
        if (digits + v.exponent <= 18) {
            out.integer = true;
            out.whole = static_cast<std::int64_t>(v.coefficient * powerOfTen(v.exponent));
            return true;
        }
        if (v.exponent > 22) return false;
        out.real = static_cast<double>(v.coefficient) * static_cast<double>(powerOfTen(v.exponent));
        return true;
    }
    if (-v.exponent > 22) return false;
    out.real = static_cast<double>(v.coefficient) / static_cast<double>(powerOfTen(-v.exponent));
    return true;
}

}  // namespace detail
}  // namespace kavexdb
