#include "Interrupt.h"

#include <csignal>

namespace kavexsql {
namespace interrupt {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

}  // namespace

void install() {
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

}  // namespace interrupt
}  // namespace kavexsql
