#include "jni/ListAppender.h"

#include "jni/JniText.h"

namespace kavex {

ListAppender::ListAppender(JniContext& context, jobject list, jsize expected)
    : context(context), list(list), expected(expected) {
    // A single value gains nothing from gathering.
    if (expected > 1) {
        gathered = context.gatherFor(list, expected);
    }
}

ListAppender::ListAppender(JniContext& context, jobject list, jsize expected, jobjectArray row,
                           bool keepReferences, RowTexts* texts)
    : context(context), list(list), gathered(row), expected(expected), ownsGathering(false),
      keepReferences(keepReferences), texts(row != nullptr ? texts : nullptr) {}

ListAppender::~ListAppender() {
    dropGathering();
}

void ListAppender::dropGathering() {
    if (gathered != nullptr && ownsGathering) {
        context.env->DeleteLocalRef(gathered);
    }
    gathered = nullptr;
}

void ListAppender::release(jobject item) {
    if (item != nullptr && !keepReferences) {
        context.env->DeleteLocalRef(item);
    }
}

void ListAppender::value(jobject item) {
    if (!stopped) {
        if (item == nullptr && context.failed()) {
            stopped = true;  // a failed creation: nothing more can reach Java
        } else if (gathered != nullptr && gatheredCount < expected) {
            if (texts == nullptr) {
                context.env->SetObjectArrayElement(gathered, gatheredCount, item);
            } else if (item == nullptr) {
                texts->null();  // no element to set
            } else {
                context.env->SetObjectArrayElement(gathered, gatheredCount, item);
                texts->value();
            }
            ++gatheredCount;
        } else {
            finish();  // more values than expected: keep the order
            if (!stopped) {
                addOne(item);
            }
        }
    }
    release(item);
}

void ListAppender::text(const std::string& item) {
    if (!stopped) {
        value(newJavaString(context.env, item));
    }
}

void ListAppender::staged() {
    if (!stopped) {
        ++gatheredCount;  // staged only while gathering, at most `expected` values
    }
}

void ListAppender::integer(jint item) {
    if (!stopped) {
        value(context.newInteger(item));
    }
}

void ListAppender::addOne(jobject item) {
    add = context.addToList(item, list, add);
    stopped = add == nullptr;
}

void ListAppender::finish() {
    // A Java exception is pending only after a value could not be made, which stopped the
    // appender: no JNI call needed to find out.
    if (gathered == nullptr || gatheredCount == 0 || stopped) {
        return;
    }
    if (texts != nullptr) {
        // Whole or cut short by a failed read: the values read, in order.
        stopped = !texts->handOver(context, list, gathered, gatheredCount);
    } else if (gatheredCount == expected) {
        stopped = !context.appendAll(list, gathered);
    } else {
        // Cut short by a failed read: the values before it, one by one.
        for (jsize i = 0; i < gatheredCount && !stopped; ++i) {
            jobject item = context.env->GetObjectArrayElement(gathered, i);
            addOne(item);
            if (item != nullptr) {
                context.env->DeleteLocalRef(item);
            }
        }
    }
    gatheredCount = 0;
    dropGathering();
}

}  // namespace kavex
