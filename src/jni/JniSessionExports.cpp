// Native methods of velmar.oracleociops.OcciWrapper that open and close sessions, fetch error
// texts, run statements and bind parameters.
#include <jni.h>

#include <string>

#include "jni/JniExportFrame.h"
#include "jni/JniOcciHandler.h"
#include "jni/JniText.h"
#include "session/CallBreak.h"
#include "session/Connect.h"
#include "session/ErrorStore.h"
#include "session/Registry.h"
#include "session/Session.h"

using kavex::JavaText;
using kavex::Session;
using kavex::withSession;
using kavex::jnientry::isTrue;
namespace core = kavex::core;
namespace messages = kavex::messages;

namespace {

// A Java byte[] pinned for the duration of one chunk's write; released without copy-back.
class PinnedBytes {
public:
    PinnedBytes(JNIEnv* env, jbyteArray array)
        : env(env), array(array), elements(env->GetPrimitiveArrayCritical(array, nullptr)) {}
    ~PinnedBytes() {
        if (elements != nullptr) {
            env->ReleasePrimitiveArrayCritical(array, elements, JNI_ABORT);
        }
    }
    PinnedBytes(const PinnedBytes&) = delete;
    PinnedBytes& operator=(const PinnedBytes&) = delete;

    const void* data() const { return elements; }

private:
    JNIEnv* const env;
    const jbyteArray array;
    void* const elements;
};

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_openConnection(
    JNIEnv* env, jobject, jstring connectString, jstring userName, jstring password) {
    try {
        const JavaText user(env, userName);
        const JavaText secret(env, password);
        const JavaText connect(env, connectString);
        // A null text (or one the JVM could not hand out) is refused by the set-up.
        return kavex::openSession(std::make_unique<kavex::JniOcciHandler>(), user.get(),
                                  secret.get(), connect.get());
    } catch (...) {
        return kavex::storeFailure(messages::kOpenFailed);
    }
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_closeConnection(JNIEnv*, jobject,
                                                                            jint sessionId) {
    try {
        return kavex::registry::close(sessionId);
    } catch (...) {
        return 0;
    }
}

JNIEXPORT jstring JNICALL Java_velmar_oracleociops_OcciWrapper_getError(JNIEnv* env, jobject,
                                                                       jint errorId) {
    try {
        return kavex::newJavaString(env, kavex::errors::fetchError(errorId));
    } catch (...) {
        return nullptr;
    }
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_executeQuery(JNIEnv* env, jobject,
                                                                        jint sessionId, jstring sql,
                                                                        jboolean autoCommit) {
    return withSession(sessionId, messages::kExecuteQuery.own, [&](Session& session) {
        const JavaText text(env, sql);
        return core::executeQuery(session, text.get(), isTrue(autoCommit));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_prepareQuery(JNIEnv* env, jobject,
                                                                        jint sessionId, jstring sql,
                                                                        jboolean autoCommit) {
    return withSession(sessionId, messages::kPrepareQuery.own, [&](Session& session) {
        const JavaText text(env, sql);
        return core::prepareQuery(session, text.get(), isTrue(autoCommit));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_execute(JNIEnv*, jobject,
                                                                   jint sessionId) {
    return withSession(sessionId, messages::kExecute,
                       [](Session& session) { return core::execute(session); });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_nextRow(JNIEnv*, jobject,
                                                                   jint sessionId) {
    return withSession(sessionId, messages::kNextRow,
                       [](Session& session) { return core::nextRow(session); });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setIntSessionProperty(
    JNIEnv*, jobject, jint sessionId, jint propertyId, jint value) {
    // A cancel comes from another thread while the call it stops holds the session.
    if (propertyId == KAVEX_PROPERTY_CANCEL) return kavex::breakSessionCall(sessionId);
    return withSession(sessionId, messages::kSetProperty, [&](Session& session) {
        return core::setIntSessionProperty(session, propertyId, value);
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setMaxParSize(JNIEnv*, jobject,
                                                                         jint sessionId,
                                                                         jint index, jint size) {
    return withSession(sessionId, messages::kSetMaxParSize, [&](Session& session) {
        return core::setMaxParSize(session, static_cast<std::uint32_t>(index),
                                   static_cast<std::uint32_t>(size));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setMaxIterations(JNIEnv*, jobject,
                                                                            jint sessionId,
                                                                            jint count) {
    return withSession(sessionId, messages::kSetMaxIterations, [&](Session& session) {
        return core::setMaxIterations(session, static_cast<std::uint32_t>(count));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_addIteration(JNIEnv*, jobject,
                                                                        jint sessionId) {
    return withSession(sessionId, messages::kAddIteration,
                       [](Session& session) { return core::addIteration(session); });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setNull(JNIEnv*, jobject,
                                                                   jint sessionId, jint index,
                                                                   jint typeCode) {
    return withSession(sessionId, messages::kSetNull.own, [&](Session& session) {
        return core::setNull(session, index, typeCode);
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setString(JNIEnv* env, jobject,
                                                                     jint sessionId, jint index,
                                                                     jstring value,
                                                                     jboolean isNull) {
    return withSession(sessionId, messages::kSetString.own, [&](Session& session) {
        if (value == nullptr) {
            return core::setString(session, index, "", true);
        }
        const JavaText text(env, value);
        if (text.isNull()) {
            // The JVM could not hand the characters out; its exception is pending.
            return kavex::storeFailure(messages::kSetString.at(index));
        }
        return core::setString(session, index, text.get(), isTrue(isNull));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setInt(JNIEnv*, jobject,
                                                                  jint sessionId, jint index,
                                                                  jint value, jboolean isNull) {
    return withSession(sessionId, messages::kSetInt.own, [&](Session& session) {
        return core::setInt(session, index, value, isTrue(isNull));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setFloat(JNIEnv*, jobject,
                                                                    jint sessionId, jint index,
                                                                    jfloat value,
                                                                    jboolean isNull) {
    return withSession(sessionId, messages::kSetFloat.own, [&](Session& session) {
        return core::setFloat(session, index, value, isTrue(isNull));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setDouble(JNIEnv*, jobject,
                                                                     jint sessionId, jint index,
                                                                     jdouble value,
                                                                     jboolean isNull) {
    return withSession(sessionId, messages::kSetDouble.own,
                       [&](Session& session) {
                           return core::setDouble(session, index, value, isTrue(isNull));
                       });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setTimestamp(
    JNIEnv*, jobject, jint sessionId, jint index, jint year, jint month, jint day, jint hour,
    jint minute, jint second, jint fraction, jint tzHour, jint tzMinute, jboolean isNull) {
    return withSession(sessionId, messages::kJniSetTimestamp, [&](Session& session) {
        return core::setTimestamp(session, index, year, static_cast<std::uint32_t>(month),
                                  static_cast<std::uint32_t>(day),
                                  static_cast<std::uint32_t>(hour),
                                  static_cast<std::uint32_t>(minute),
                                  static_cast<std::uint32_t>(second),
                                  static_cast<std::uint32_t>(fraction), tzHour, tzMinute,
                                  isTrue(isNull));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_streamParameterToLob(
    JNIEnv* env, jobject, jint sessionId, jint index, jint lobKind, jbyteArray data,
    jint length) {
    return withSession(sessionId, messages::kStreamToLob.own, [&](Session& session) {
        // The core refuses a negative length with the operation's own message; a missing array
        // or a length beyond its end is refused the same way, before anything is pinned.
        if (data == nullptr || length < 0 || length > env->GetArrayLength(data)) {
            return core::streamParameterToLob(session, index, lobKind, nullptr, -1);
        }
        const PinnedBytes bytes(env, data);
        if (bytes.data() == nullptr) {
            return core::streamParameterToLob(session, index, lobKind, nullptr, -1);
        }
        return core::streamParameterToLob(session, index, lobKind, bytes.data(), length);
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_streamParameterToLobLast(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return withSession(sessionId, messages::kPostLob.own, [&](Session& session) {
        return core::streamParameterToLobLast(session, index);
    });
}

}  // extern "C"
