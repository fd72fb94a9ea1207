#include "session/CallBreak.h"

#include <memory>

#include "session/ErrorStore.h"
#include "session/Messages.h"
#include "session/OcciHandler.h"
#include "session/Registry.h"

namespace kavex {

std::int32_t breakSessionCall(std::int32_t sessionId) noexcept {
    try {
        const std::shared_ptr<OcciHandler> handler = registry::find(sessionId);
        if (!handler || handler->lock.isClosed())
            return storeFailure(messages::kSessionNotInitialized);
        return handler->breakRunningCall() ? 0 : storeFailure(messages::kSetProperty);
    } catch (...) {
        return storeFailure(messages::kSetProperty);
    }
}

}  // namespace kavex
