#include "jni/JniOcciHandler.h"

#include "jni/JniSession.h"

namespace kavex {

std::unique_ptr<Session> JniOcciHandler::createSession(const char* userName,
                                                       const char* password,
                                                       const char* connectString) {
    return std::make_unique<JniSession>(userName, password, connectString);
}

}  // namespace kavex
