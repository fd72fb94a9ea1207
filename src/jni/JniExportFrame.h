// What every native method shares: the call frame (session/CallFrame.h), the core operations and
// the reading of Java booleans.
#ifndef KAVEX_JNI_JNIEXPORTFRAME_H
#define KAVEX_JNI_JNIEXPORTFRAME_H

#include <jni.h>

#include "session/CallFrame.h"
#include "session/Messages.h"
#include "statement/Operations.h"

namespace kavex::jnientry {

// A Java boolean counts as true only when it is JNI_TRUE.
inline bool isTrue(jboolean flag) { return flag == JNI_TRUE; }

}  // namespace kavex::jnientry

#endif
