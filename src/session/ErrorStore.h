// The process-wide store of failure messages under negative error ids (-10, -11, ...). A message
// leaves the store when it is fetched; the store stays bounded for hosts that never fetch.
#ifndef KAVEX_SESSION_ERRORSTORE_H
#define KAVEX_SESSION_ERRORSTORE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavex {

namespace errors {

// Beyond this many unfetched messages, or this many bytes of their text, the oldest are dropped
// (the newest message is always kept, whatever its size).
constexpr std::size_t kMaxMessages = 10000;
constexpr std::size_t kMaxBytes = 8u << 20;

// Keeps a copy of message under a fresh id and returns the id.
std::int32_t storeError(const std::string& message);
// The message stored under errorId, which leaves the store; the same text again when errorId is
// the id this thread fetched last; otherwise "Unknown error". A thread never receives a text
// another thread fetched.
std::string fetchError(std::int32_t errorId);

struct Counts {
    std::size_t stored;     // unfetched messages held
    std::size_t bytes;      // their text
    std::uint64_t dropped;  // unfetched messages dropped to keep the bounds, since load
};
Counts counts();

}  // namespace errors

// storeError that never throws: when not even the message can be kept (memory exhaustion) the
// result is -1, still a failure, which GetError answers with "Unknown error".
std::int32_t storeFailure(const std::string& message) noexcept;

}  // namespace kavex

#endif
