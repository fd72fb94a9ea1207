// The registry entry of a session opened through JNI: the factory of JniSession.
#ifndef KAVEX_JNI_JNIOCCIHANDLER_H
#define KAVEX_JNI_JNIOCCIHANDLER_H

#include "jni/JniSession.h"
#include "session/OcciHandler.h"

namespace kavex {

class JniOcciHandler : public OcciHandlerFor<JniSession> {};

}  // namespace kavex

#endif
