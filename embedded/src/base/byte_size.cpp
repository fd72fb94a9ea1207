#include "base/byte_size.h"

#include <cctype>
#include <limits>

namespace kavexdb {
namespace detail {

bool parseByteSize(const std::string& text, std::int64_t& out) {
    std::size_t i = 0;
    std::int64_t value = 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        const int digit = text[i] - '0';
        if (value > (kMax - digit) / 10) return false;
        value = value * 10 + digit;
    }
    if (i == 0) return false;
    int shift = 0;
    if (i + 1 == text.size()) {
        switch (std::toupper(static_cast<unsigned char>(text[i]))) {
        case 'K': shift = 10; break;
        case 'M': shift = 20; break;
        case 'G': shift = 30; break;
        default: return false;
        }
    } else if (i != text.size()) {
        return false;
    }
    if (value > (kMax >> shift)) return false;
    out = value << shift;
    return true;
}

}  // namespace detail
}  // namespace kavexdb
