// Appends values to a Java list through its add(Object) method. Each value's local reference is
// dropped once it is placed, so a row or metadata list of any width holds a bounded number of
// references. Stops at the first failure (no add method, or a Java exception pending): after
// that it makes no JNI call but releases.
//
// Values for a java.util.Collection are gathered in an Object[] and handed over by finish() in
// one call that still runs list.add for each, in order; other lists get one add per value.
#ifndef KAVEX_JNI_LISTAPPENDER_H
#define KAVEX_JNI_LISTAPPENDER_H

#include <jni.h>

#include <string>

#include "jni/JniContext.h"

namespace kavex {

class ListAppender {
public:
    // expected: how many values are to come (the size of the gathering array).
    ListAppender(JniContext& context, jobject list, jsize expected);
    ~ListAppender();
    ListAppender(const ListAppender&) = delete;
    ListAppender& operator=(const ListAppender&) = delete;

    bool complete() const { return !stopped; }

    // Takes over the local reference; a null value without a pending exception is a null element.
    void value(jobject item);
    void text(const std::string& item);
    void integer(jint item);
    // Hands the gathered values to the list; also to be called when reading stops half-way, so
    // that the values read before a failure reach the list.
    void finish();

private:
    void addOne(jobject item);

    JniContext& context;
    const jobject list;
    jobjectArray gathered = nullptr;
    jsize gatheredCount = 0;
    jsize expected;
    jmethodID add = nullptr;
    bool stopped = false;
};

}  // namespace kavex

#endif
