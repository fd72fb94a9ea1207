// The error store: messages under negative ids, erased lazily once delivered.
#include "session/ErrorStore.h"

#include <limits>
#include <map>
#include <mutex>
#include <vector>

#include "session/Guarded.h"
#include "session/Operations.h"

namespace core {
const char* const kSessionNotInitialized = "Session is not initialized";
}

namespace errors {
namespace {

struct Store {
    std::mutex mutex;
    std::map<std::int32_t, std::string> messages;
    std::int32_t nextErrorId = -10;
    std::vector<std::int32_t> readErrorIds;
    std::string lastErrorText = "Unknown error";
};

// Allocated once and never destroyed: a host thread may still fetch a message while the library
// is being unloaded.
Store& store() {
    static Store* const instance = new Store;
    return *instance;
}

}  // namespace

std::int32_t storeError(const std::string& message) {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    const std::int32_t id = s.nextErrorId;
    // After two thousand million messages the lowest id is reused rather than wrapping into
    // positive numbers, which callers would read as success.
    if (s.nextErrorId > std::numeric_limits<std::int32_t>::min()) {
        --s.nextErrorId;
    }
    s.messages[id] = message;
    return id;
}

std::string fetchError(std::int32_t errorId, bool markRead) {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (markRead) {
        for (std::int32_t id : s.readErrorIds) {
            s.messages.erase(id);
        }
        s.readErrorIds.clear();
    }
    auto found = s.messages.find(errorId);
    if (found != s.messages.end()) {
        s.lastErrorText = found->second;
        if (markRead) {
            s.readErrorIds.push_back(errorId);
        }
    }
    return s.lastErrorText;
}

}  // namespace errors

std::int32_t storeFailure(const std::string& message) noexcept {
    try {
        return errors::storeError(message);
    } catch (...) {
        // Not even the message could be kept (memory exhaustion): -1 is still a failure, and
        // GetError answers it with the text delivered last.
        return -1;
    }
}
