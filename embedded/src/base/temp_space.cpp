#include "base/temp_space.h"

#include <cctype>
#include <limits>

namespace kavexdb {
namespace detail {

namespace {
thread_local TempSpace* threadSpace = nullptr;
}  // namespace

bool TempSpace::parseLimit(const std::string& text, std::int64_t& out) {
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

bool TempSpace::reserve(std::int64_t bytes) {
    std::int64_t now = used_.load(std::memory_order_relaxed);
    do {
        if (bytes > limit_ - now) {
            refused_.store(bytes, std::memory_order_relaxed);
            return false;
        }
    } while (!used_.compare_exchange_weak(now, now + bytes, std::memory_order_relaxed));
    return true;
}

TempSpace* TempSpace::current() { return threadSpace; }

TempSpace::Scope::Scope(TempSpace& space) : outer_(threadSpace) { threadSpace = &space; }

TempSpace::Scope::~Scope() { threadSpace = outer_; }

}  // namespace detail
}  // namespace kavexdb
