// Serializes the calls on one session: a call enters before it touches the session and leaves
// when it returns. A thread that is already inside a call on the session (a Java list's add()
// calling back into it) is turned away instead of waiting for itself.
//
// A call that finds the session free takes it with one atomic exchange and leaves with another:
// hosts make a call per value, and a mutex costs more than the read. Only a call that finds
// another thread inside waits, on a condition variable.
#ifndef KAVEX_SESSION_SESSIONLOCK_H
#define KAVEX_SESSION_SESSIONLOCK_H

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace kavex {

class SessionLock {
public:
    enum class Entry { Entered, Reentered };

    // Waits while another thread's call is inside. Entered calls must leave(); a Reentered call
    // holds nothing.
    Entry enter();
    // Takes the session only when no call is inside (not even one of this thread).
    bool tryTake();
    void leave();
    // Later calls are turned away; a call inside goes on to its end. Sequentially consistent
    // with the lock's own operations: a call leaving after markClosed() sees it.
    void markClosed() { closed.store(true); }
    bool isClosed() const { return closed.load(); }

private:
    bool take(std::thread::id self);

    std::atomic<std::thread::id> holder{};  // the thread inside, or no thread
    std::atomic<int> waiting{0};            // threads waiting to get in
    std::atomic<bool> closed{false};
    std::mutex waitMutex;
    std::condition_variable released;
};

}  // namespace kavex

#endif
