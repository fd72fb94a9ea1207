#include "base/temp_space.h"

namespace kavexdb {
namespace detail {

namespace {
thread_local TempSpace* threadSpace = nullptr;
}  // namespace

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
