#include "Interrupt.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include "kavex_oracleociw.h"

namespace kavexsql {
namespace interrupt {

namespace {

volatile std::sig_atomic_t interrupted = 0;
// Ctrl-Cs pressed so far; lock-free, so the signal handler may count them.
std::atomic<unsigned> presses{0};
static_assert(std::atomic<unsigned>::is_always_lock_free, "the signal handler counts presses");

// The signal handler may only write to a pipe; the thread reading its other end calls the library.
int wakeWrite = -1;

// The session whose running call a Ctrl-C cancels (0 while none), and the presses counted when
// it was named: the watcher may read a wake-up late, after the shell has already spent that
// Ctrl-C and begun the next statement, which it must then leave alone.
std::mutex armedMutex;
int armedSession = 0;
unsigned armedAt = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
    presses.fetch_add(1);
    if (wakeWrite >= 0) {
        const int saved = errno;
        const char byte = 1;
        // A full pipe already holds a wake-up; nothing is lost by dropping this one.
        [[maybe_unused]] ssize_t written = write(wakeWrite, &byte, 1);
        errno = saved;
    }
}

void passOnInterrupts(int wakeRead) {
    char bytes[64];
    for (;;) {
        const ssize_t got = read(wakeRead, bytes, sizeof bytes);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        std::lock_guard<std::mutex> lock(armedMutex);
        if (armedSession > 0 && presses.load() != armedAt)
            SetIntSessionProperty(armedSession, KAVEX_PROPERTY_CANCEL, 1);
    }
}

// Starts the thread with SIGINT blocked, so the signal always reaches the main thread, whose
// terminal reads it breaks off.
void startWatcher() {
    int ends[2];
    if (pipe(ends) != 0) return;
    fcntl(ends[1], F_SETFL, fcntl(ends[1], F_GETFL) | O_NONBLOCK);
    sigset_t block, previous;
    sigemptyset(&block);
    sigaddset(&block, SIGINT);
    pthread_sigmask(SIG_BLOCK, &block, &previous);
    std::thread(passOnInterrupts, ends[0]).detach();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    wakeWrite = ends[1];
}

}  // namespace

void install() {
    if (wakeWrite < 0) startWatcher();
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocked terminal read returns, so the prompt can react
    sigaction(SIGINT, &action, nullptr);
}

bool pending() { return interrupted != 0; }

bool take() {
    bool was = interrupted != 0;
    interrupted = 0;
    return was;
}

CancelsCalls::CancelsCalls(int sessionId) {
    std::lock_guard<std::mutex> lock(armedMutex);
    armedSession = sessionId;
    armedAt = presses.load();
}

CancelsCalls::~CancelsCalls() {
    std::lock_guard<std::mutex> lock(armedMutex);
    armedSession = 0;
}

}  // namespace interrupt
}  // namespace kavexsql
