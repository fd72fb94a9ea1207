// The frame every native method shares: find the session, run one core operation, and let no
// C++ exception reach the JVM.
#ifndef KAVEX_JNI_JNIEXPORTFRAME_H
#define KAVEX_JNI_JNIEXPORTFRAME_H

#include <jni.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "session/SessionEntry.h"

namespace jnientry {

// A Java boolean counts as true only when it is JNI_TRUE.
inline bool isTrue(jboolean flag) { return flag == JNI_TRUE; }

using core::withSession;

// Refuses an argument the operation cannot take, with the operation's own message.
template <class OwnMessage>
std::int32_t refuse(OcciHandler* handler, OwnMessage&& ownMessage) noexcept {
    return guarded(
        handler, [](Session&) -> std::int32_t { throw std::invalid_argument("bad argument"); },
        ownMessage);
}

}  // namespace jnientry

#endif
