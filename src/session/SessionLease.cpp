#include "session/SessionLease.h"

#include "session/OcciHandler.h"
#include "session/Operations.h"
#include "session/Registry.h"

namespace core {
const char* const kSessionBusy =
    "Session is busy: a call on it from this thread has not returned yet";
}

SessionLease::SessionLease(std::int32_t sessionId)
    : held(registry::find(sessionId)), refusalText(core::kSessionNotInitialized) {
    if (!held || !held->session) {
        return;
    }
    switch (held->lock.enter()) {
    case SessionLock::Entry::Entered:
        entered = true;
        break;
    case SessionLock::Entry::Reentered:
        refusalText = core::kSessionBusy;
        break;
    case SessionLock::Entry::Closed:
        break;
    }
}

SessionLease::~SessionLease() {
    if (entered) {
        held->lock.leave();
    }
    // The last lease of a closed session destroys it here, outside every lock.
    held.reset();
}
