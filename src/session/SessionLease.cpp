#include "session/SessionLease.h"

#include "session/Messages.h"
#include "session/OcciHandler.h"
#include "session/Registry.h"

namespace kavex {

SessionLease::SessionLease(std::int32_t sessionId)
    : held(registry::find(sessionId)), refusalText(messages::kSessionNotInitialized) {
    if (!held || !held->session) {
        return;
    }
    switch (held->lock.enter()) {
    case SessionLock::Entry::Entered:
        entered = true;
        break;
    case SessionLock::Entry::Reentered:
        refusalText = messages::kSessionBusy;
        break;
    case SessionLock::Entry::Closed:
        break;
    }
}

Session* SessionLease::session() const {
    return entered ? held->session.get() : nullptr;
}

SessionLease::~SessionLease() {
    if (entered) {
        held->lock.leave();
    }
    // The last lease of a closed session destroys it here, outside every lock.
    held.reset();
}

}  // namespace kavex
