#include "session/SessionLock.h"

namespace kavex {

bool SessionLock::take(std::thread::id self) {
    std::thread::id none;
    return holder.compare_exchange_strong(none, self, std::memory_order_seq_cst,
                                          std::memory_order_relaxed);
}

bool SessionLock::tryTake() {
    return take(std::this_thread::get_id());
}

SessionLock::Entry SessionLock::enter() {
    const std::thread::id self = std::this_thread::get_id();
    // Only this thread ever stores its own id here, so the comparison cannot be fooled by a race,
    // and no ordering with other threads is needed.
    if (holder.load(std::memory_order_relaxed) == self) {
        return Entry::Reentered;
    }
    if (!take(self)) {
        std::unique_lock<std::mutex> lock(waitMutex);
        // Counted before the next try, so that a leave() after that try sees the count and wakes
        // this thread (both sides are sequentially consistent).
        waiting.fetch_add(1);
        while (!take(self)) {
            released.wait(lock);
        }
        waiting.fetch_sub(1);
    }
    return Entry::Entered;
}

void SessionLock::leave() {
    holder.store(std::thread::id());
    if (waiting.load() != 0) {
        // Under the mutex: a waiter is either before its last try (which then succeeds) or
        // asleep, never in between.
        const std::lock_guard<std::mutex> lock(waitMutex);
        released.notify_all();
    }
}

}  // namespace kavex
