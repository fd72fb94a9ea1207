#include "session/SessionLease.h"

#include <cstddef>
#include <utility>

#include "session/Messages.h"
#include "session/OcciHandler.h"
#include "session/Registry.h"
#include "session/Session.h"

namespace kavex {

namespace {

// A handler this thread keeps. An entry that a lease of this thread is using is pinned, so that
// a nested call on another session (a Java list's add() calling in) cannot evict it.
struct KeptHandler {
    std::int32_t sessionId = 0;
    std::shared_ptr<OcciHandler> handler;
    int pins = 0;
};

#ifndef _WIN32
constexpr std::size_t kKeptHandlers = 4;
thread_local KeptHandler kept[kKeptHandlers];
thread_local std::size_t nextEviction = 0;
#define KAVEX_KEEPS_HANDLERS 1
#endif
// MinGW keeps a DLL loaded until every thread that gave a thread_local object a destructor has
// exited, and a host that frees the DLL expects it gone: on Windows every lease asks the registry.

}  // namespace

SessionLease::SessionLease(std::int32_t sessionId) : refusalText(messages::kSessionNotInitialized) {
#ifdef KAVEX_KEEPS_HANDLERS
    for (KeptHandler& entry : kept) {
        if (entry.sessionId == sessionId && entry.handler) {
            if (!entry.handler->lock.isClosed()) {
                held = entry.handler.get();
                pin = &entry.pins;
            } else if (entry.pins == 0) {
                entry.handler.reset();  // closed: let the empty handler go
                entry.sessionId = 0;
            }
            break;
        }
    }
#endif
    if (held == nullptr) {
        std::shared_ptr<OcciHandler> found = registry::find(sessionId);
        if (!found) {
            return;
        }
        held = found.get();
#ifdef KAVEX_KEEPS_HANDLERS
        for (std::size_t i = 0; i < kKeptHandlers && pin == nullptr; ++i) {
            KeptHandler& entry = kept[(nextEviction + i) % kKeptHandlers];
            if (entry.pins == 0) {
                entry.sessionId = sessionId;
                entry.handler = std::move(found);
                pin = &entry.pins;
                nextEviction = (nextEviction + i + 1) % kKeptHandlers;
            }
        }
#endif
        if (pin == nullptr) {
            own = std::move(found);  // every entry is in use by this thread's outer calls
        }
    }
    if (pin != nullptr) {
        ++*pin;
    }
    if (held->lock.enter() == SessionLock::Entry::Reentered) {
        refusalText = messages::kSessionBusy;
        return;
    }
    if (held->lock.isClosed() || !held->session) {
        // Closed before this call got in: the call is turned away, and the first one in after
        // the close tears the session down if the close could not.
        held->tearDown();
        held->lock.leave();
        return;
    }
    entered = true;
}

Session* SessionLease::session() const {
    return entered ? held->session.get() : nullptr;
}

SessionLease::~SessionLease() {
    if (entered) {
        held->lock.leave();
        // Closed while this call was inside: the close left the teardown to the call, which does
        // it unless another call got in first (that one then does it).
        if (held->lock.isClosed() && held->lock.tryTake()) {
            held->tearDown();
            held->lock.leave();
        }
    }
    if (pin != nullptr) {
        --*pin;
    }
}

}  // namespace kavex
