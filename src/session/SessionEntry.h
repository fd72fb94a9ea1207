// The entry every export of both front ends shares: enter the session, run one core operation,
// and let no exception cross the host boundary.
#ifndef KAVEX_SESSION_SESSIONENTRY_H
#define KAVEX_SESSION_SESSIONENTRY_H

#include <cstdint>

#include "session/Guarded.h"
#include "session/OcciHandler.h"
#include "session/Operations.h"
#include "session/SessionLease.h"

namespace core {

// Runs operation(handler) holding the session (see SessionLease); an id that names no open
// session stores "Session is not initialized". `ownMessage` is stored when the lookup or the work
// around the operation fails.
template <class Operation>
std::int32_t withSession(std::int32_t sessionId, const char* ownMessage,
                         Operation&& operation) noexcept {
    try {
        const SessionLease lease(sessionId);
        if (lease.handler() == nullptr) {
            return storeFailure(lease.refusal());
        }
        return operation(lease.handler());
    } catch (...) {
        return storeFailure(ownMessage);
    }
}

}  // namespace core

#endif
