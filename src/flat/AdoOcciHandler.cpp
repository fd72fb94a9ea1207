#include "flat/AdoOcciHandler.h"

#include "flat/AdoSession.h"

namespace kavex {

std::unique_ptr<Session> AdoOcciHandler::createSession(const char* userName, const char* password,
                                                       const char* connectString) {
    return std::make_unique<AdoSession>(userName, password, connectString);
}

}  // namespace kavex
