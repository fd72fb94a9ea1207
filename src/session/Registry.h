// The process-wide table of open sessions, shared by both front ends. Ids start at 11 and are
// never reused while the library is loaded. The table, the calls in progress and the threads
// that used a session lately share the ownership of its handler; the session itself is torn down
// at close, or by the call inside when it leaves.
#ifndef KAVEX_SESSION_REGISTRY_H
#define KAVEX_SESSION_REGISTRY_H

#include <cstdint>
#include <memory>

namespace kavex {

class OcciHandler;

namespace registry {

// The handler registered under id, or null. The lock is held only for the lookup; calls reach
// handlers through a SessionLease, which also takes the session's own lock.
std::shared_ptr<OcciHandler> find(std::int32_t sessionId);
// Erases the entry and turns later calls away. With no call inside, the session is torn down
// under the lock; otherwise when that call ends. Always 0.
std::int32_t close(std::int32_t sessionId);
// Issues the next id and inserts the handler under it, under the lock. Returns the new id.
std::int32_t add(std::unique_ptr<OcciHandler>& handler);

}  // namespace registry

}  // namespace kavex

#endif
