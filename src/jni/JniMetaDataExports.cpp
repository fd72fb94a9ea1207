// Native methods of velmar.oracleociops.OcciWrapper that deliver results: rows and column
// metadata into Java lists, the single column getters, and the four value getters that exist
// only for the class's shape (values reach Java through getRow).
#include <jni.h>

#include <string>

#include "jni/JniContext.h"
#include "jni/JniExportFrame.h"
#include "jni/JniText.h"

using kavex::JavaText;
using kavex::JniContext;
using kavex::Session;
using kavex::withSession;
namespace core = kavex::core;
namespace messages = kavex::messages;

namespace {

using kavex::core::ColumnNumberGetter;
using kavex::core::ColumnTextGetter;

// An empty text reads as null in Java.
jstring javaTextOrNull(JNIEnv* env, const std::string& text) {
    return text.empty() ? nullptr : kavex::newJavaString(env, text);
}

// A column text for Java (the value, the refusal, or the failure's text, which is not stored):
// null for an empty text or an unexpected failure.
jstring columnText(JNIEnv* env, jint sessionId, jint index, ColumnTextGetter getter) noexcept {
    return kavex::inSession(
        sessionId, [&](Session& session) { return javaTextOrNull(env, getter(session, index)); },
        [env](const char* refusal) { return javaTextOrNull(env, refusal); },
        []() -> jstring { return nullptr; });
}

jint columnNumber(jint sessionId, jint index, const char* ownMessage,
                  ColumnNumberGetter getter) noexcept {
    return withSession(sessionId, ownMessage,
                       [&](Session& session) { return getter(session, index); });
}

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getMetaData(JNIEnv* env, jobject,
                                                                       jint sessionId,
                                                                       jstring firstText,
                                                                       jstring objectName,
                                                                       jobject metaData) {
    auto describe = [&](Session& session) {
        JniContext context(env);
        const JavaText first(env, firstText);
        const JavaText name(env, objectName);
        if (name.isNull()) {
            return kavex::storeFailure(messages::kGetMetaData);
        }
        // The first text is not used; a null one counts as empty.
        return core::getMetaData(session, context, first.isNull() ? std::string() : first.get(),
                                 name.get(), metaData);
    };
    const std::int32_t result = withSession(sessionId, messages::kGetMetaData, describe);
    // A target that is no list or refuses values (an immutable list) leaves a Java exception
    // pending; the caller is answered with the error id alone, which it can fetch.
    if (env->ExceptionCheck() == JNI_TRUE) {
        env->ExceptionClear();
        return result < 0 ? result : kavex::storeFailure(messages::kGetMetaData);
    }
    return result;
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getRow(JNIEnv* env,
                                                                  jclass wrapper,
                                                                  jint sessionId, jobject row) {
    return withSession(sessionId, messages::kGetRow, [&](Session& session) {
        JniContext context(env, wrapper);
        return core::getRow(session, context, row);
    });
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnsCount(JNIEnv*, jobject,
                                                                           jint sessionId) {
    // The JNI entry has always stored this text when its frame fails.
    return withSession(sessionId, messages::kSessionNotInitialized,
                       [](Session& session) { return core::getColumnsCount(session); });
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
    return columnNumber(sessionId, index, messages::kColumnType, core::getColumnType);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnSize(JNIEnv*, jobject,
                                                                         jint sessionId,
                                                                         jint index) {
    return columnNumber(sessionId, index, messages::kColumnSize, core::getColumnSize);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnScale(JNIEnv*, jobject,
                                                                          jint sessionId,
                                                                          jint index) {
    return columnNumber(sessionId, index, messages::kColumnScale, core::getColumnScale);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnPrecision(JNIEnv*,
                                                                              jobject,
                                                                              jint sessionId,
                                                                              jint index) {
    return columnNumber(sessionId, index, messages::kColumnPrecision,
                        core::getColumnPrecision);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnIsAutoincremented(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return columnNumber(sessionId, index, messages::kColumnIsAutoincremented,
                        core::getColumnIsAutoincremented);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnIsReadOnly(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return columnNumber(sessionId, index, messages::kColumnIsReadOnly,
                        core::getColumnIsReadOnly);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnIsDbGenerated(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return columnNumber(sessionId, index, messages::kColumnIsDbGenerated,
                        core::getColumnIsDbGenerated);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_OcciWrapper_getColumnIsNullable(
    JNIEnv*, jobject, jint sessionId, jint index) {
    return columnNumber(sessionId, index, messages::kColumnIsNullable,
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
