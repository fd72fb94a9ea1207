#include "functions/decimal_sum.h"

#include "base/errors.h"
#include "base/ora_messages.h"
#include "types/decimal.h"
#include "types/number_arithmetic.h"
#include "types/number_storage.h"
#include "types/short_decimal.h"
#include "types/values.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <string>

namespace kavexdb {
namespace detail {

namespace {

// Below 10^36: room left for adding without overflow checks of every step.
constexpr __int128 kLimit = static_cast<__int128>(1000000000000000000LL) * 1000000000000000000LL;

bool timesTen(__int128& v, int times) {
    for (int i = 0; i < times; ++i) {
        if (v > kLimit || v < -kLimit) return false;
        v *= 10;
    }
    return true;
}

// The digits of |v| as text with scale decimals, signed.

}  // namespace

void DecimalSum::addWhole(std::int64_t w, int direction) {
    if (inexact) return;
    __int128 v = w;
    if (!timesTen(v, scale)) {
        inexact = true;
        return;
    }
    const __int128 sum = units() + direction * v;
    setUnits(sum);
    if (sum > kLimit || sum < -kLimit) inexact = true;
}

void DecimalSum::add(double d, int direction) {
    if (inexact) return;
    if (!std::isfinite(d)) {
        inexact = true;
        return;
    }
    // Fast path: d is a decimal of at most 15 digits at the sum's scale (money at scale 2). Two
    // such decimals never read back as the same double, so this is the decimal d stands for.
    static const double kPowers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (scale < 10) {
        const double scaled = d * kPowers[scale];
        if (std::fabs(scaled) < 1e15) {
            const double r = std::nearbyint(scaled);
            if (r / kPowers[scale] == d) {
                const __int128 sum =
                    units() + direction * static_cast<__int128>(static_cast<std::int64_t>(r));
                setUnits(sum);
                if (sum > kLimit || sum < -kLimit) inexact = true;
                return;
            }
        }
    }
    // The shortest text that reads back as d: its digits and the power of ten after them.
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::scientific);
    std::string text(buffer, written.ptr);
    const std::size_t e = text.find('e');
    int exponent = std::atoi(text.c_str() + e + 1);
    std::string digits;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] >= '0' && text[i] <= '9') digits += text[i];
    exponent -= static_cast<int>(digits.size()) - 1;  // d = digits * 10^exponent
    const int needed = exponent < 0 ? -exponent : 0;
    if (needed > kMaxScale || exponent > 18) {
        inexact = true;
        return;
    }
    if (needed > scale) {
        __int128 scaled = units();
        if (!timesTen(scaled, needed - scale)) {
            inexact = true;
            return;
        }
        setUnits(scaled);
        scale = needed;
    }
    __int128 v = std::strtoll(digits.c_str(), nullptr, 10);
    if (!timesTen(v, exponent + scale)) {
        inexact = true;
        return;
    }
    const __int128 sum = units() + (text[0] == '-' ? -direction : direction) * v;
    setUnits(sum);
    if (sum > kLimit || sum < -kLimit) inexact = true;
}

double DecimalSum::value() const { return std::strtod(text().c_str(), nullptr); }

std::string DecimalSum::text() const { return decimalText(units(), scale); }

double DecimalSum::dividedBy(std::int64_t count) const {
    // The quotient to 40 significant digits, as Oracle divides, then the nearest double.
    const __int128 total = units();
    __int128 q = total / count, r = total % count;
    std::string text = decimalText(q, 0);
    if (q == 0 && total < 0) text = "-0";
    std::string fraction;
    for (int i = 0; i < 40 && r != 0; ++i) {
        r *= 10;
        fraction += static_cast<char>('0' + static_cast<int>((r < 0 ? -r : r) / count));
        r %= count;
    }
    const std::string shifted =
        text + "." + (fraction.empty() ? "0" : fraction) + "e-" + std::to_string(scale);
    return std::strtod(shifted.c_str(), nullptr);
}

void NumberSum::add(const oracle::occi::Number& n, int direction) {
    const oracle::occi::Number total =
        direction > 0 ? numeric::add(value(), n) : numeric::subtract(value(), n);
    const std::string bytes = numberKey(decimalOf(total));
    if (bytes.size() > sizeof key) raise(ora::kNumericOverflow);
    std::memcpy(key, bytes.data(), bytes.size());
    length = static_cast<unsigned char>(bytes.size());
}

oracle::occi::Number NumberSum::value() const {
    Decimal d;
    if (length == 0 || !storedNumber(key, length, &d)) return numberFromInt64(0);
    return numberOf(std::move(d));
}

}  // namespace detail
}  // namespace kavexdb
