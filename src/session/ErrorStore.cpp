// The error store: messages under negative ids, handed out once to the thread that fetches them.
#include "session/ErrorStore.h"

#include <iterator>
#include <limits>
#include <map>
#include <mutex>

#include "session/Messages.h"

namespace kavex {
namespace errors {
namespace {

struct Store {
    std::mutex mutex;
    // Ids run downwards, so the oldest message is the last entry.
    std::map<std::int32_t, std::string> messages;
    std::size_t bytes = 0;
    std::uint64_t dropped = 0;
    std::int32_t nextErrorId = -10;
};

// Allocated once and never destroyed: a host thread may still fetch a message while the library
// is being unloaded.
Store& store() {
    static Store* const instance = new Store;
    return *instance;
}

// What this thread fetched last, so that fetching the same id again gives the same text without
// any other thread's text ever taking its place.
struct Delivered {
    std::int32_t id = 0;  // never an error id
    std::string text;
};
thread_local Delivered delivered;

void dropOldest(Store& s) {
    auto oldest = std::prev(s.messages.end());
    s.bytes -= oldest->second.size();
    s.messages.erase(oldest);
    ++s.dropped;
}

}  // namespace

std::int32_t storeError(const std::string& message) {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    const std::int32_t id = s.nextErrorId;
    std::string& text = s.messages[id];
    // After two thousand million messages the lowest id is reused rather than wrapping into
    // positive numbers, which callers would read as success.
    if (s.nextErrorId > std::numeric_limits<std::int32_t>::min()) {
        --s.nextErrorId;
    }
    s.bytes -= text.size();
    try {
        text = message;
    } catch (...) {
        s.messages.erase(id);
        throw;
    }
    s.bytes += text.size();
    while (s.messages.size() > kMaxMessages || (s.bytes > kMaxBytes && s.messages.size() > 1)) {
        dropOldest(s);
    }
    return id;
}

std::string fetchError(std::int32_t errorId) {
    Store& s = store();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        auto found = s.messages.find(errorId);
        if (found != s.messages.end()) {
            std::string text = std::move(found->second);
            s.bytes -= text.size();
            s.messages.erase(found);
            delivered.text = text;  // may throw: the message is then lost, never misdelivered
            delivered.id = errorId;
            return text;
        }
    }
    if (errorId != 0 && errorId == delivered.id) {
        return delivered.text;
    }
    return messages::kUnknownError;
}

Counts counts() {
    Store& s = store();
    std::lock_guard<std::mutex> lock(s.mutex);
    return Counts{s.messages.size(), s.bytes, s.dropped};
}

}  // namespace errors

std::int32_t storeFailure(const std::string& message) noexcept {
    try {
        return errors::storeError(message);
    } catch (...) {
        return -1;
    }
}

}  // namespace kavex
