#include "session/SessionLock.h"

SessionLock::Entry SessionLock::enter() {
    const std::thread::id self = std::this_thread::get_id();
    // Only this thread ever stores its own id here, so the comparison cannot be fooled by a race,
    // and no ordering with other threads is needed.
    if (holder.load(std::memory_order_relaxed) == self) {
        return Entry::Reentered;
    }
    mutex.lock();
    if (closed.load(std::memory_order_acquire)) {
        mutex.unlock();
        return Entry::Closed;
    }
    holder.store(self, std::memory_order_relaxed);
    return Entry::Entered;
}

void SessionLock::leave() {
    holder.store(std::thread::id(), std::memory_order_relaxed);
    mutex.unlock();
}
