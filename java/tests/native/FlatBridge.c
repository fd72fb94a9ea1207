/* Test-only JNI helper: lets the Java tests reach the library's flat C interface, so that
 * sessions can be shared by id between the two front ends. */
#include <jni.h>
#include <stddef.h>

#include "kavex_oracleociw.h"

static const char* textOf(JNIEnv* env, jstring text) {
    return text == NULL ? NULL : (*env)->GetStringUTFChars(env, text, NULL);
}

static void release(JNIEnv* env, jstring text, const char* chars) {
    if (chars != NULL) {
        (*env)->ReleaseStringUTFChars(env, text, chars);
    }
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_tests_FlatBridge_openConnection(
    JNIEnv* env, jclass cls, jstring connectString, jstring userName, jstring password) {
    (void)cls;
    const char* connect = textOf(env, connectString);
    const char* user = textOf(env, userName);
    const char* secret = textOf(env, password);
    int result = OpenConnection(connect, user, secret);
    release(env, connectString, connect);
    release(env, userName, user);
    release(env, password, secret);
    return result;
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_tests_FlatBridge_closeConnection(JNIEnv* env,
                                                                                 jclass cls,
                                                                                 jint sessionId) {
    (void)env;
    (void)cls;
    return CloseConnection(sessionId);
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_tests_FlatBridge_executeQuery(JNIEnv* env,
                                                                              jclass cls,
                                                                              jint sessionId,
                                                                              jstring sql) {
    (void)cls;
    const char* text = textOf(env, sql);
    int result = ExecuteQuery(sessionId, text, 1);
    release(env, sql, text);
    return result;
}

JNIEXPORT jint JNICALL Java_velmar_oracleociops_tests_FlatBridge_nextRow(JNIEnv* env, jclass cls,
                                                                         jint sessionId) {
    (void)env;
    (void)cls;
    return NextRow(sessionId);
}

/* The flat column name, or null when the library handed out no text. */
JNIEXPORT jstring JNICALL Java_velmar_oracleociops_tests_FlatBridge_columnName(JNIEnv* env,
                                                                               jclass cls,
                                                                               jint sessionId,
                                                                               jint index) {
    (void)cls;
    const char* name = GetColumnName(sessionId, index);
    return name == NULL ? NULL : (*env)->NewStringUTF(env, name);
}

/* GetString's value as a Java string: null when the record says NULL or holds no pointer. The
 * result code goes to result[0]. */
JNIEXPORT jstring JNICALL Java_velmar_oracleociops_tests_FlatBridge_getString(JNIEnv* env,
                                                                              jclass cls,
                                                                              jint sessionId,
                                                                              jint index,
                                                                              jintArray result) {
    (void)cls;
    KavexPointerRecord record = {1, 0, NULL};
    jint code = GetString(sessionId, index, &record);
    (*env)->SetIntArrayRegion(env, result, 0, 1, &code);
    if (code < 0 || record.isNull || record.value == NULL) {
        return NULL;
    }
    return (*env)->NewStringUTF(env, record.value);
}
