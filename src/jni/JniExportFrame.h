// The frame every native method shares: find the session, run one core operation, and let no
// C++ exception reach the JVM.
#ifndef KAVEX_JNI_JNIEXPORTFRAME_H
#define KAVEX_JNI_JNIEXPORTFRAME_H

#include <jni.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "session/Guarded.h"
#include "session/OcciHandler.h"
#include "session/Operations.h"
#include "session/Registry.h"

namespace jnientry {

// A Java boolean counts as true only when it is JNI_TRUE.
inline bool isTrue(jboolean flag) { return flag == JNI_TRUE; }

// Runs operation(handler) for the session; an id that names no open session stores "Session is
// not initialized". `ownMessage` is stored when the conversion around the operation fails.
template <class Operation>
jint withSession(jint sessionId, const char* ownMessage, Operation&& operation) noexcept {
    try {
        OcciHandler* handler = registry::find(sessionId);
        if (handler == nullptr || !handler->session) {
            return storeFailure(core::kSessionNotInitialized);
        }
        return operation(handler);
    } catch (...) {
        return storeFailure(ownMessage);
    }
}

// Refuses an argument the operation cannot take, with the operation's own message.
template <class OwnMessage>
std::int32_t refuse(OcciHandler* handler, OwnMessage&& ownMessage) noexcept {
    return guarded(
        handler, [](Session&) -> std::int32_t { throw std::invalid_argument("bad argument"); },
        ownMessage);
}

}  // namespace jnientry

#endif
