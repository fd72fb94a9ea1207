#include "base/quiet_thread.h"

#include <utility>

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#endif

namespace kavexdb {
namespace detail {

#ifndef _WIN32
namespace {

// Blocks every signal on the calling thread while alive; a thread started meanwhile inherits
// the full mask.
class SignalsBlocked {
public:
    SignalsBlocked() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_SETMASK, &all, &previous_);
    }
    ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsBlocked(const SignalsBlocked&) = delete;
    SignalsBlocked& operator=(const SignalsBlocked&) = delete;

private:
    sigset_t previous_;
};

}  // namespace

std::thread startQuietThread(std::function<void()> work) {
    SignalsBlocked blocked;
    return std::thread(std::move(work));
}
#else
// Windows delivers console interrupts on a thread of its own, never to a thread we start.
std::thread startQuietThread(std::function<void()> work) { return std::thread(std::move(work)); }
#endif

}  // namespace detail
}  // namespace kavexdb
