// Native methods of velmar.oracleociops.OcciWrapper that open and close sessions, fetch error
// texts, run statements and bind parameters.
#include <jni.h>

#include <string>

#include "jni/JniExportFrame.h"
#include "jni/JniOcciHandler.h"
#include "jni/JniText.h"
#include "session/Connect.h"
#include "session/ErrorStore.h"
#include "session/PositionMessage.h"
#include "session/Registry.h"

using jnientry::isTrue;
using jnientry::withSession;

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
        return openSession(std::make_unique<JniOcciHandler>(), user.get(), secret.get(),
                           connect.get());
    } catch (...) {
        return storeFailure("Cannot open connection");
    }
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_closeConnection(JNIEnv*, jobject,
                                                                            jint sessionId) {
    try {
        return registry::close(sessionId);
    } catch (...) {
        return 0;
    }
}

JNIEXPORT jstring JNICALL Java_velmar_oracleociops_OcciWrapper_getError(JNIEnv* env, jobject,
                                                                       jint errorId) {
    try {
        return newJavaString(env, errors::fetchError(errorId));
    } catch (...) {
        return nullptr;
    }
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_executeQuery(JNIEnv* env, jobject,
                                                                        jint sessionId, jstring sql,
                                                                        jboolean autoCommit) {
    return withSession(sessionId, "Cannot execute query", [&](OcciHandler* handler) {
        const JavaText text(env, sql);
        return core::executeQuery(handler, text.get(), isTrue(autoCommit));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_prepareQuery(JNIEnv* env, jobject,
                                                                        jint sessionId, jstring sql,
                                                                        jboolean autoCommit) {
    return withSession(sessionId, "Cannot prepare query", [&](OcciHandler* handler) {
        const JavaText text(env, sql);
        return core::prepareQuery(handler, text.get(), isTrue(autoCommit));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_execute(JNIEnv*, jobject,
                                                                   jint sessionId) {
    return withSession(sessionId, "Cannot execute query iteration",
                       [](OcciHandler* handler) { return core::execute(handler); });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_nextRow(JNIEnv*, jobject,
                                                                   jint sessionId) {
    return withSession(sessionId, "Cannot move to next row",
                       [](OcciHandler* handler) { return core::nextRow(handler); });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setIntSessionProperty(
    JNIEnv*, jobject, jint sessionId, jint propertyId, jint value) {
    return withSession(sessionId, "Cannot set property", [&](OcciHandler* handler) {
        return core::setIntSessionProperty(handler, propertyId, value);
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setMaxParSize(JNIEnv*, jobject,
                                                                         jint sessionId,
                                                                         jint index, jint size) {
    return withSession(sessionId, "Cannot set max parameter size", [&](OcciHandler* handler) {
        return core::setMaxParSize(handler, static_cast<std::uint32_t>(index),
                                   static_cast<std::uint32_t>(size));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setMaxIterations(JNIEnv*, jobject,
                                                                            jint sessionId,
                                                                            jint count) {
    return withSession(sessionId, "Cannot set max iterations number", [&](OcciHandler* handler) {
        return core::setMaxIterations(handler, static_cast<std::uint32_t>(count));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_addIteration(JNIEnv*, jobject,
                                                                        jint sessionId) {
    return withSession(sessionId, "Cannot execute batch iteration",
                       [](OcciHandler* handler) { return core::addIteration(handler); });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setNull(JNIEnv*, jobject,
                                                                   jint sessionId, jint index,
                                                                   jint typeCode) {
    return withSession(sessionId, "Cannot assign NULL value", [&](OcciHandler* handler) {
        return core::setNull(handler, index, typeCode);
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setString(JNIEnv* env, jobject,
                                                                     jint sessionId, jint index,
                                                                     jstring value,
                                                                     jboolean isNull) {
    return withSession(sessionId, "Cannot assign string value", [&](OcciHandler* handler) {
        if (value == nullptr) {
            return core::setString(handler, index, "", true);
        }
        const JavaText text(env, value);
        if (text.isNull()) {
            // The JVM could not hand the characters out; its exception is pending.
            return jnientry::refuse(handler, [&] {
                return core::parameterMessage("Cannot assign string value to [", index);
            });
        }
        return core::setString(handler, index, text.get(), isTrue(isNull));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setInt(JNIEnv*, jobject,
                                                                  jint sessionId, jint index,
                                                                  jint value, jboolean isNull) {
    return withSession(sessionId, "Cannot assign 'int' type value", [&](OcciHandler* handler) {
        return core::setInt(handler, index, value, isTrue(isNull));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setFloat(JNIEnv*, jobject,
                                                                    jint sessionId, jint index,
                                                                    jfloat value,
                                                                    jboolean isNull) {
    return withSession(sessionId, "Cannot assign 'float' type value", [&](OcciHandler* handler) {
        return core::setFloat(handler, index, value, isTrue(isNull));
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setDouble(JNIEnv*, jobject,
                                                                     jint sessionId, jint index,
                                                                     jdouble value,
                                                                     jboolean isNull) {
    return withSession(sessionId, "Cannot assign 'double' type value",
                       [&](OcciHandler* handler) {
                           return core::setDouble(handler, index, value, isTrue(isNull));
                       });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_setTimestamp(
    JNIEnv*, jobject, jint sessionId, jint index, jint year, jint month, jint day, jint hour,
    jint minute, jint second, jint fraction, jint tzHour, jint tzMinute, jboolean isNull) {
    return withSession(sessionId, "Cannot assign timestamp value", [&](OcciHandler* handler) {
        return core::setTimestamp(handler, index, year, static_cast<std::uint32_t>(month),
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
    return withSession(sessionId, "Cannot stream BLOB/CLOB type value", [&](OcciHandler* handler) {
        // The core refuses a negative length with the operation's own message; a missing array
        // or a length beyond its end is refused the same way, before anything is pinned.
        if (data == nullptr || length < 0 || length > env->GetArrayLength(data)) {
            return core::streamParameterToLob(handler, index, lobKind, nullptr, -1);
        }
        const PinnedBytes bytes(env, data);
        if (bytes.data() == nullptr) {
            return core::streamParameterToLob(handler, index, lobKind, nullptr, -1);
        }
        return core::streamParameterToLob(handler, index, lobKind, bytes.data(), length);
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_streamParameterToLobLast(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return withSession(sessionId, "Cannot post BLOB/CLOB type value", [&](OcciHandler* handler) {
        return core::streamParameterToLobLast(handler, index);
    });
}

}  // extern "C"
