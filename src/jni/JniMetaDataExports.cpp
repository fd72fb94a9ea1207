// Native methods of velmar.oracleociops.OcciWrapper that deliver results: rows and column
// metadata into Java lists, the single column getters, and the four value getters that exist
// only for the class's shape (values reach Java through getRow).
#include <jni.h>

#include <string>

#include "jni/JniContext.h"
#include "jni/JniExportFrame.h"
#include "jni/JniText.h"

using jnientry::withSession;

namespace {

const char* const kCannotGetMetaData = "Cannot get columns metadata";

// A column text for Java (the value, or the failure's text, which is not stored): null for an
// empty text or an unexpected failure.
template <class Getter>
jstring columnText(JNIEnv* env, jint sessionId, jint index, Getter&& getter) noexcept {
    try {
        const SessionLease lease(sessionId);
        const std::string text =
            lease.handler() != nullptr ? getter(lease.handler(), index) : lease.refusal();
        return text.empty() ? nullptr : newJavaString(env, text);
    } catch (...) {
        return nullptr;
    }
}

template <class Getter>
jint columnNumber(jint sessionId, jint index, const char* ownMessage, Getter&& getter) noexcept {
    return withSession(sessionId, ownMessage,
                       [&](OcciHandler* handler) { return getter(handler, index); });
}

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getMetaData(JNIEnv* env, jobject,
                                                                       jint sessionId,
                                                                       jstring firstText,
                                                                       jstring objectName,
                                                                       jobject metaData) {
    auto describe = [&](OcciHandler* handler) {
        JniContext context(env);
        const JavaText first(env, firstText);
        const JavaText name(env, objectName);
        if (name.isNull()) {
            return jnientry::refuse(handler, [] { return std::string(kCannotGetMetaData); });
        }
        // The first text is not used; a null one counts as empty.
        return core::getMetaData(handler, context, first.isNull() ? std::string() : first.get(),
                                 name.get(), metaData);
    };
    const std::int32_t result = withSession(sessionId, kCannotGetMetaData, describe);
    // A target that is no list or refuses values (an immutable list) leaves a Java exception
    // pending; the caller is answered with the error id alone, which it can fetch.
    if (env->ExceptionCheck() == JNI_TRUE) {
        env->ExceptionClear();
        return result < 0 ? result : storeFailure(kCannotGetMetaData);
    }
    return result;
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getRow(JNIEnv* env, jobject,
                                                                  jint sessionId, jobject row) {
    return withSession(sessionId, "Cannot read data row", [&](OcciHandler* handler) {
        JniContext context(env);
        return core::getRow(handler, context, row);
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnsCount(JNIEnv*, jobject,
                                                                           jint sessionId) {
    return withSession(sessionId, core::kSessionNotInitialized,
                       [](OcciHandler* handler) { return core::getColumnsCount(handler); });
}

JNIEXPORT jstring JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnName(JNIEnv* env,
                                                                            jobject,
                                                                            jint sessionId,
                                                                            jint index) {
    return columnText(env, sessionId, index, core::getColumnName);
}

JNIEXPORT jstring JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnSchemaName(
    JNIEnv* env, jobject, jint sessionId, jint index) {
    return columnText(env, sessionId, index, core::getColumnSchemaName);
}

JNIEXPORT jstring JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnTableName(
    JNIEnv* env, jobject, jint sessionId, jint index) {
    return columnText(env, sessionId, index, core::getColumnTableName);
}

JNIEXPORT jstring JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnTypeName(
    JNIEnv* env, jobject, jint sessionId, jint index) {
    return columnText(env, sessionId, index, core::getColumnTypeName);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnType(JNIEnv*, jobject,
                                                                         jint sessionId,
                                                                         jint index) {
    return columnNumber(sessionId, index, "Cannot read column's type", core::getColumnType);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnSize(JNIEnv*, jobject,
                                                                         jint sessionId,
                                                                         jint index) {
    return columnNumber(sessionId, index, "Cannot read column size", core::getColumnSize);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnScale(JNIEnv*, jobject,
                                                                          jint sessionId,
                                                                          jint index) {
    return columnNumber(sessionId, index, "Cannot read column scale", core::getColumnScale);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnPrecision(JNIEnv*,
                                                                              jobject,
                                                                              jint sessionId,
                                                                              jint index) {
    return columnNumber(sessionId, index, "Cannot read column precision",
                        core::getColumnPrecision);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnIsAutoincremented(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return columnNumber(sessionId, index, "Cannot read column property 'is autoincremented'",
                        core::getColumnIsAutoincremented);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnIsReadOnly(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return columnNumber(sessionId, index, "Cannot read column property 'is readonly'",
                        core::getColumnIsReadOnly);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnIsDbGenerated(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return columnNumber(sessionId, index, "Cannot read column property 'is db generated'",
                        core::getColumnIsDbGenerated);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnIsNullable(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return columnNumber(sessionId, index, "Cannot read column property 'is nullable'",
                        core::getColumnIsNullable);
}

// Values reach Java only through getRow: these four do no work and return zero (null).
JNIEXPORT jstring JNICALL Java_velmar_oracleociops_OcciWrapper_getString(JNIEnv*, jobject, jint,
                                                                        jint) {
    return nullptr;
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getInteger(JNIEnv*, jobject, jint,
                                                                      jint) {
    return 0;
}

JNIEXPORT jfloat JNICALL Java_velmar_oracleociops_OcciWrapper_getFloat(JNIEnv*, jobject, jint,
                                                                      jint) {
    return 0.0f;
}

JNIEXPORT jdouble JNICALL Java_velmar_oracleociops_OcciWrapper_getDouble(JNIEnv*, jobject, jint,
                                                                        jint) {
    return 0.0;
}

}  // extern "C"
