#include "session/SessionLock.h"

namespace kavex {

SessionLock::Entry SessionLock::enter() {
    const std::thread::id self = std::this_thread::get_id();
    // Only this thread ever stores its own id here, so the comparison cannot be fooled by a race.
    if (holder.load() == self) {
        return Entry::Reentered;
    }
    mutex.lock();
    if (closed.load()) {
        mutex.unlock();
        return Entry::Closed;
    }
    holder.store(self);
    return Entry::Entered;
}

void SessionLock::leave() {
    holder.store(std::thread::id());
    mutex.unlock();
}

}  // namespace kavex
