// Appends values to a Java list through its add(Object) method. Stops at the first failure (no
// add method, or a Java exception pending): after that it makes no JNI call but releases.
//
// Values for a java.util.Collection are gathered in an Object[] and handed over by finish() in
// one call that still runs list.add for each, in order; other lists get one add per value.
#ifndef KAVEX_JNI_LISTAPPENDER_H
#define KAVEX_JNI_LISTAPPENDER_H

#include <jni.h>

#include <string>

#include "jni/JniContext.h"
#include "jni/RowTexts.h"

namespace kavex {

class ListAppender {
public:
    // expected: how many values are to come (the size of a gathering array made for them). Each
    // value's local reference is dropped once it is placed, so a list of any length holds a
    // bounded number of references.
    ListAppender(JniContext& context, jobject list, jsize expected);
    // Gathers into `row`, an Object[] of exactly `expected` elements that the caller keeps (null:
    // one add per value). With keepReferences the values' local references are left to the end
    // of the native call, for which the caller has made room (JniContext::makeRoomFor). With
    // texts (begun for `expected` values) the row goes to the list through texts.handOver, and
    // values the context staged are announced with staged().
    ListAppender(JniContext& context, jobject list, jsize expected, jobjectArray row,
                 bool keepReferences, RowTexts* texts = nullptr);
    ~ListAppender();
    ListAppender(const ListAppender&) = delete;
    ListAppender& operator=(const ListAppender&) = delete;

    bool complete() const { return !stopped; }

    // Takes over the local reference; a null value without a pending exception is a null element.
    void value(jobject item);
    void text(const std::string& item);
    void integer(jint item);
    // The next value is a text the context staged in the row's texts.
    void staged();
    // Hands the gathered values to the list; also to be called when reading stops half-way, so
    // that the values read before a failure reach the list.
    void finish();

private:
    void addOne(jobject item);
    void release(jobject item);
    void dropGathering();

    JniContext& context;
    const jobject list;
    jobjectArray gathered = nullptr;
    jsize gatheredCount = 0;
    jsize expected;
    jmethodID add = nullptr;
    bool ownsGathering = true;
    bool keepReferences = false;
    bool stopped = false;
    RowTexts* texts = nullptr;
};

}  // namespace kavex

#endif
