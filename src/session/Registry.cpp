// The registry of open sessions: one mutex over the id counter and the map.
#include "session/Registry.h"

#include <map>
#include <mutex>

#include "session/OcciHandler.h"
#include "session/Session.h"

namespace kavex {

namespace registry {
namespace {

struct Sessions {
    std::mutex mutex;
    std::map<std::int32_t, std::shared_ptr<OcciHandler>> handlers;
    std::int32_t lastSessionId = 10;
};

// Allocated once and never destroyed: unloading must not close sessions that are still open or
// call the client library, and host threads may still be calling in.
Sessions& sessions() {
    static Sessions* const instance = new Sessions;
    return *instance;
}

}  // namespace

std::shared_ptr<OcciHandler> find(std::int32_t sessionId) {
    Sessions& s = sessions();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto found = s.handlers.find(sessionId);
    return found == s.handlers.end() ? nullptr : found->second;
}

std::int32_t close(std::int32_t sessionId) {
    Sessions& s = sessions();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto found = s.handlers.find(sessionId);
    if (found != s.handlers.end()) {
        std::shared_ptr<OcciHandler> handler = std::move(found->second);
        s.handlers.erase(found);
        handler->lock.markClosed();
        // Unless a call is inside, the session is torn down here, under the lock; otherwise the
        // call tears it down as it leaves (SessionLease). Threads that used the session may keep
        // its empty handler a while longer.
        if (handler->lock.tryTake()) {
            handler->tearDown();
            handler->lock.leave();
        }
        handler.reset();
    }
    return 0;
}

std::int32_t add(std::unique_ptr<OcciHandler>& handler) {
    Sessions& s = sessions();
    std::lock_guard<std::mutex> lock(s.mutex);
    std::shared_ptr<OcciHandler> entry(std::move(handler));
    const std::int32_t id = s.lastSessionId + 1;
    entry->sessionId = id;
    s.handlers.emplace(id, std::move(entry));  // may throw before the id is consumed
    s.lastSessionId = id;
    return id;
}

}  // namespace registry

}  // namespace kavex
