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

ListAppender::~ListAppender() {
    if (gathered != nullptr) {
        context.env->DeleteLocalRef(gathered);
    }
}

void ListAppender::value(jobject item) {
    if (!stopped) {
        if (item == nullptr && context.failed()) {
            stopped = true;  // a failed creation: nothing more can reach Java
        } else if (gathered != nullptr && gatheredCount < expected) {
            context.env->SetObjectArrayElement(gathered, gatheredCount++, item);
        } else {
            finish();  // more values than expected: keep the order
            if (!stopped) {
                addOne(item);
            }
        }
    }
    if (item != nullptr) {
        context.env->DeleteLocalRef(item);
    }
}

void ListAppender::text(const std::string& item) {
    if (!stopped) {
        value(newJavaString(context.env, item));
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
    if (gathered == nullptr || gatheredCount == 0 || context.failed()) {
        return;
    }
    if (gatheredCount == expected) {
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
    context.env->DeleteLocalRef(gathered);
    gathered = nullptr;
}

}  // namespace kavex
