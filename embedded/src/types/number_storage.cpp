#include "types/number_storage.h"

#include <charconv>
#include <cstdlib>
#include <limits>

namespace kavexdb {
namespace detail {

namespace {

constexpr unsigned char kMarker0 = 0xFF, kMarker1 = 'N';
constexpr unsigned char kNegative = 1, kZero = 2, kPositive = 3;
constexpr int kExponentBias = 128;
constexpr unsigned char kNegativeEnd = 102;

// d as a whole number within 64 bits, when it is one.
bool wholeOf(const Decimal& d, std::int64_t& out) {
    if (d.isZero()) {
        out = 0;
        return true;
    }
    if (d.exponent < static_cast<int>(d.digits.size()) || d.exponent > 19) return false;
    unsigned __int128 magnitude = 0;
    for (int i = 0; i < d.exponent; ++i)
        magnitude = magnitude * 10 + (i < static_cast<int>(d.digits.size()) ? d.digits[i] - '0' : 0);
    const unsigned __int128 limit =
        d.negative ? static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max()) + 1
                   : static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > limit) return false;
    out = d.negative ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(magnitude))
                     : static_cast<std::int64_t>(magnitude);
    return true;
}

// The double whose shortest text is d's digits, when there is one.
bool realOf(const Decimal& d, double& out) {
    if (d.digits.size() > 17) return false;
    const std::string text = (d.negative ? "-0." : "0.") + d.digits + "e" + std::to_string(d.exponent);
    const double real = std::strtod(text.c_str(), nullptr);
    char shortest[32];
    const auto end = std::to_chars(shortest, shortest + sizeof shortest, real).ptr;
    Decimal back;
    if (!parseDecimal(std::string(shortest, end), back) || back.negative != d.negative ||
        back.exponent != d.exponent || back.digits != d.digits)
        return false;
    out = real;
    return true;
}

}  // namespace

bool mayHoldStoredBlobs(const DeclaredType& t) {
    constexpr int kNumber = 2;  // as describe reports NUMBER, FLOAT and INTEGER
    return t.dataType == kNumber &&
           (t.precision <= 0 || (t.precision > 15 && !(t.scale == 0 && t.precision <= 18)));
}

CanonicalForm canonicalForm(const Decimal& d) {
    CanonicalForm f;
    if (wholeOf(d, f.whole)) return f;
    if (realOf(d, f.real)) {
        f.kind = CanonicalForm::Kind::Real;
        return f;
    }
    f.kind = CanonicalForm::Kind::Blob;
    f.bytes = numberKey(d);
    return f;
}

std::string numberKey(const Decimal& d) {
    std::string out{static_cast<char>(kMarker0), static_cast<char>(kMarker1)};
    if (d.isZero()) {
        out += static_cast<char>(kZero);
        return out;
    }
    // value = 0.d1d2... * 10^e = 0.D1D2... * 100^E with E = ceil(e / 2): an odd e puts a zero
    // before the first digit.
    std::string digits = d.digits;
    int e = d.exponent;
    if (e % 2 != 0) {
        digits.insert(digits.begin(), '0');
        ++e;
    }
    if (digits.size() % 2 != 0) digits += '0';
    const int base100Exponent = e / 2;
    out += static_cast<char>(d.negative ? kNegative : kPositive);
    const int biased = base100Exponent + kExponentBias;
    out += static_cast<char>(d.negative ? 255 - biased : biased);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int digit = (digits[i] - '0') * 10 + (digits[i + 1] - '0');
        out += static_cast<char>(d.negative ? 101 - digit : digit + 1);
    }
    if (d.negative) out += static_cast<char>(kNegativeEnd);
    return out;
}

bool storedNumber(const void* bytes, std::size_t size, Decimal* out) {
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    if (size < 3 || b[0] != kMarker0 || b[1] != kMarker1) return false;
    if (b[2] == kZero) {
        if (size != 3) return false;
        if (out) *out = Decimal{};
        return true;
    }
    const bool negative = b[2] == kNegative;
    if (!negative && b[2] != kPositive) return false;
    const std::size_t end = negative ? size - 1 : size;
    if (end <= 4 || (negative && b[size - 1] != kNegativeEnd)) return false;  // no digit
    Decimal d;
    d.negative = negative;
    const int biased = negative ? 255 - b[3] : b[3];
    for (std::size_t i = 4; i < end; ++i) {
        const int digit = negative ? 101 - b[i] : b[i] - 1;
        if (digit < 0 || digit > 99) return false;
        d.digits += static_cast<char>('0' + digit / 10);
        d.digits += static_cast<char>('0' + digit % 10);
    }
    // Normalised: no leading or trailing zero base-100 digit.
    if (d.digits.compare(0, 2, "00") == 0 || d.digits.compare(d.digits.size() - 2, 2, "00") == 0)
        return false;
    d.exponent = 2 * (biased - kExponentBias);
    if (d.digits[0] == '0') {
        d.digits.erase(0, 1);
        --d.exponent;
    }
    if (d.digits.back() == '0') d.digits.pop_back();
    if (d.exponent > kMaxExponent || d.exponent < kMinExponent) return false;  // past NUMBER
    if (out) *out = std::move(d);
    return true;
}

}  // namespace detail
}  // namespace kavexdb
