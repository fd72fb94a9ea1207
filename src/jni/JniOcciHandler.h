// The registry entry of a session opened through JNI: the factory of JniSession.
#ifndef KAVEX_JNI_JNIOCCIHANDLER_H
#define KAVEX_JNI_JNIOCCIHANDLER_H

#include "session/OcciHandler.h"

namespace kavex {

class JniOcciHandler : public OcciHandler {
public:
    std::unique_ptr<Session> createSession(const char* userName, const char* password,
                                           const char* connectString) override;
};

}  // namespace kavex

#endif
