// Serializes the calls on one session: a call enters before it touches the session and leaves
// when it returns. A thread that is already inside a call on the session (a Java list's add()
// calling back into it) is turned away instead of waiting for itself.
#ifndef KAVEX_SESSION_SESSIONLOCK_H
#define KAVEX_SESSION_SESSIONLOCK_H

#include <atomic>
#include <mutex>
#include <thread>

namespace kavex {

class SessionLock {
public:
    enum class Entry { Entered, Closed, Reentered };

    // Waits while another thread's call is inside. Closed: the session was closed before this
    // call got in (nothing is held then, as for Reentered). Entered calls must leave().
    Entry enter();
    void leave();
    // Later calls are turned away; a call inside goes on to its end.
    void markClosed() { closed.store(true); }

private:
    std::mutex mutex;
    std::atomic<std::thread::id> holder{};
    std::atomic<bool> closed{false};
};

}  // namespace kavex

#endif
