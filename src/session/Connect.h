// Opening a session: the connection set-up shared by both front ends.
#ifndef KAVEX_SESSION_CONNECT_H
#define KAVEX_SESSION_CONNECT_H

#include <cstdint>
#include <memory>

namespace kavex {

class OcciHandler;

// Creates the handler's session and registers it; returns the new session id, or an error id
// with the composed "Cannot open connection to server: ..." message. Never throws: anything that
// escapes is stored as "Cannot open connection". Null texts fail with "Cannot open connection".
std::int32_t openSession(std::unique_ptr<OcciHandler> handler, const char* userName,
                         const char* password, const char* connectString);

}  // namespace kavex

#endif
