// The frame every flat export shares: find the session, run one core operation, and let no
// exception cross the C boundary.
#ifndef KAVEX_FLAT_EXPORTFRAME_H
#define KAVEX_FLAT_EXPORTFRAME_H

#include <cstdint>
#include <string>

#include "session/Guarded.h"
#include "session/OcciHandler.h"
#include "session/Operations.h"
#include "session/Registry.h"

namespace flat {

// The one-byte bool of the interface: only that byte counts.
inline bool isSet(kavex_bool flag) { return flag != 0; }

// Runs operation(handler) for the session; an id that names no open session stores "Session is
// not initialized". `ownMessage` is stored when even the lookup fails.
template <class Operation>
std::int32_t withSession(std::int32_t sessionId, const char* ownMessage,
                         Operation&& operation) noexcept {
    try {
        OcciHandler* handler = registry::find(sessionId);
        if (handler == nullptr || !handler->session) {
            return storeFailure(core::kSessionNotInitialized);
        }
        return operation(handler);
    } catch (...) {
        return storeFailure(ownMessage);
    }
}

}  // namespace flat

#endif
