#include "base/quiet_thread.h"

#include <utility>

#ifndef _WIN32
#include <pthread.h>
#include <signal.h>
#endif

namespace kavexdb {
namespace detail {

namespace {

// Blocks every signal on the calling thread while alive; a thread started meanwhile inherits
// the full mask.
class SignalsBlocked {
public:
#ifndef _WIN32
    SignalsBlocked() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_SETMASK, &all, &previous_);
    }
    ~SignalsBlocked() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

private:
    sigset_t previous_;
#endif
};

}  // namespace

std::thread startQuietThread(std::function<void()> work) {
    SignalsBlocked blocked;
    return std::thread(std::move(work));
}

}  // namespace detail
}  // namespace kavexdb
