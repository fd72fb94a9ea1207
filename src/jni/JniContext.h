// Everything one native call needs to build Java objects: the caller's JNIEnv, the boxing classes
// and constructors (looked up once per process), and the list append. Lives in the native
// method's frame and is never shared or kept.
#ifndef KAVEX_JNI_JNICONTEXT_H
#define KAVEX_JNI_JNICONTEXT_H

#include <jni.h>

#include <cstdint>
#include <string>

#include "session/CallingContext.h"

namespace kavex {

class RowTexts;

class JniContext : public CallingContext {
public:
    // wrapper: the class whose native method was called, where the call has it (getRow).
    explicit JniContext(JNIEnv* environment, jclass wrapper = nullptr)
        : env(environment), wrapper(wrapper) {}
    JniContext(const JniContext&) = delete;
    JniContext& operator=(const JniContext&) = delete;

    // New boxed values, or null when the class, its constructor or the object cannot be made
    // (a Java exception is then pending).
    jobject newInteger(jint value);
    jobject newFloat(jfloat value);
    jobject newDouble(jdouble value);
    // A new byte[] holding a copy of the bytes, or null when it cannot be made.
    jbyteArray newByteArray(const void* bytes, std::int32_t length);
    // Appends value to list through its add(Object) method, looking the method up when addMethod
    // is null. Returns the method for the next append, or null when the list has no such method
    // or the append left a Java exception pending. A null value may come from a failed creation:
    // nothing is appended then if an exception is pending.
    jmethodID addToList(jobject value, jobject list, jmethodID addMethod);

    // An Object[] of length for gathering values that go to list, or null when list is not a
    // java.util.Collection (or the array cannot be made): the values then go one add at a time.
    jobjectArray gatherFor(jobject list, jsize length);
    // True when list is a java.util.Collection that appendAll can fill.
    bool isCollection(jobject list);
    // A new Object[] of length (a local reference), or null when it cannot be made.
    jobjectArray newObjectArray(jsize length);
    // Makes room for `count` more local references in this native call; false when the JVM
    // cannot promise them (the caller then deletes each reference once it is done with it).
    bool makeRoomFor(jsize count);
    // Appends every element of values to list with java.util.Collections.addAll, which calls
    // list.add for each in order: one call into Java instead of one per value. False when it
    // left a Java exception pending.
    bool appendAll(jobject list, jobjectArray values);

    // True when a Java exception is pending: the work must stop making JNI calls other than
    // releases, and return.
    bool failed() const { return env->ExceptionCheck() == JNI_TRUE; }

    // A value's text as a new String, or null when it cannot be made (a Java exception is then
    // pending). While a row is read with staged texts (rowTexts set), a plain ASCII text is staged
    // instead: the result is null and takeStaged() then answers true once.
    jobject textValue(const std::string& text);
    bool takeStaged() {
        const bool was = staged;
        staged = false;
        return was;
    }

    JNIEnv* const env;
    const jclass wrapper;
    // The row's text staging, set only while getRow reads a row that gathers into an Object[].
    RowTexts* rowTexts = nullptr;

private:
    bool staged = false;
};

}  // namespace kavex

#endif
