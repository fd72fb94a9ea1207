#include "jni/JniContext.h"

#include <atomic>

#include "jni/JniText.h"
#include "jni/RowTexts.h"

namespace kavex {

namespace {

// java.util.List and its add method, looked up once per process: nearly every row goes to a
// List, and a method lookup per row costs about as much as the appends of a narrow row. The
// class is the JVM's own and is never unloaded, so its global reference is kept to the end.
struct ListInterface {
    jclass type = nullptr;
    jmethodID add = nullptr;
};

const ListInterface& listInterface(JNIEnv* env) {
    static const ListInterface lists = [env] {
        ListInterface found;
        jclass local = env->FindClass("java/util/List");
        if (local == nullptr) {
            return found;
        }
        jmethodID add = env->GetMethodID(local, "add", "(Ljava/lang/Object;)Z");
        if (add != nullptr) {
            found.type = static_cast<jclass>(env->NewGlobalRef(local));
            found.add = found.type != nullptr ? add : nullptr;
        }
        env->DeleteLocalRef(local);
        return found;
    }();
    return lists;
}

// java.util.Collection, java.lang.Object and the static java.util.Collections.addAll, for
// appending a whole row in one call (see gatherFor). Looked up once like the List interface.
struct BulkAppend {
    jclass collection = nullptr;
    jclass object = nullptr;
    jclass collections = nullptr;
    jmethodID addAll = nullptr;
};

jclass globalClass(JNIEnv* env, const char* name) {
    jclass local = env->FindClass(name);
    if (local == nullptr) {
        env->ExceptionClear();  // the per-value path still works without it
        return nullptr;
    }
    auto global = static_cast<jclass>(env->NewGlobalRef(local));
    env->DeleteLocalRef(local);
    return global;
}

const BulkAppend& bulkAppend(JNIEnv* env) {
    static const BulkAppend bulk = [env] {
        BulkAppend found;
        found.collection = globalClass(env, "java/util/Collection");
        found.object = globalClass(env, "java/lang/Object");
        found.collections = globalClass(env, "java/util/Collections");
        if (found.collection != nullptr && found.object != nullptr &&
            found.collections != nullptr) {
            found.addAll = env->GetStaticMethodID(found.collections, "addAll",
                                                  "(Ljava/util/Collection;[Ljava/lang/Object;)Z");
            if (found.addAll == nullptr) {
                env->ExceptionClear();
            }
        }
        return found;
    }();
    return bulk;
}

// A boxing class and its constructor, looked up on first use and kept for the process (the
// classes are the JVM's own and are never unloaded). Lookups that fail are not kept, so a later
// call tries again.
struct Box {
    std::atomic<jclass> type{nullptr};
    std::atomic<jmethodID> init{nullptr};
};

Box integerBox;
Box floatBox;
Box doubleBox;

// Finds the box's class and constructor; false (with a Java exception pending, or one pending
// already) when either cannot be had.
bool prepare(JNIEnv* env, Box& box, const char* className, const char* signature, jclass& type,
             jmethodID& init) {
    init = box.init.load(std::memory_order_acquire);
    if (init != nullptr) {
        type = box.type.load(std::memory_order_relaxed);
        return true;
    }
    if (env->ExceptionCheck()) {
        return false;
    }
    jclass local = env->FindClass(className);
    if (local == nullptr) {
        return false;
    }
    type = static_cast<jclass>(env->NewGlobalRef(local));
    env->DeleteLocalRef(local);
    if (type == nullptr) {
        return false;
    }
    init = env->GetMethodID(type, "<init>", signature);
    if (init == nullptr) {
        env->DeleteGlobalRef(type);
        return false;
    }
    // Two threads may look the class up at once: the first one's reference is kept.
    jclass kept = nullptr;
    if (!box.type.compare_exchange_strong(kept, type)) {
        env->DeleteGlobalRef(type);
        type = kept;
    }
    box.init.store(init, std::memory_order_release);
    return true;
}

}  // namespace

jobject JniContext::newInteger(jint value) {
    jclass type = nullptr;
    jmethodID init = nullptr;
    if (!prepare(env, integerBox, "java/lang/Integer", "(I)V", type, init)) {
        return nullptr;
    }
    return env->NewObject(type, init, value);
}

jobject JniContext::newFloat(jfloat value) {
    jclass type = nullptr;
    jmethodID init = nullptr;
    if (!prepare(env, floatBox, "java/lang/Float", "(F)V", type, init)) {
        return nullptr;
    }
    // Variadic arguments promote float to double, which is what JNI expects for a (F) parameter.
    return env->NewObject(type, init, static_cast<jdouble>(value));
}

jobject JniContext::newDouble(jdouble value) {
    jclass type = nullptr;
    jmethodID init = nullptr;
    if (!prepare(env, doubleBox, "java/lang/Double", "(D)V", type, init)) {
        return nullptr;
    }
    return env->NewObject(type, init, value);
}

jbyteArray JniContext::newByteArray(const void* bytes, std::int32_t length) {
    if (length < 0 || failed()) {
        return nullptr;
    }
    jbyteArray array = env->NewByteArray(length);
    if (array == nullptr) {
        return nullptr;
    }
    if (length > 0) {
        env->SetByteArrayRegion(array, 0, length, static_cast<const jbyte*>(bytes));
    }
    return array;
}

jmethodID JniContext::addToList(jobject value, jobject list, jmethodID addMethod) {
    // A value that was made leaves nothing pending; a null one may stand for a failed creation.
    if (value == nullptr && failed()) {
        return nullptr;
    }
    if (addMethod == nullptr) {
        const ListInterface& lists = listInterface(env);
        if (lists.add == nullptr) {
            if (failed()) {  // the one-time lookup itself failed
                return nullptr;
            }
        } else if (env->IsInstanceOf(list, lists.type) == JNI_TRUE) {
            addMethod = lists.add;
        }
    }
    if (addMethod == nullptr) {
        jclass listClass = env->GetObjectClass(list);
        if (listClass == nullptr) {
            return nullptr;
        }
        addMethod = env->GetMethodID(listClass, "add", "(Ljava/lang/Object;)Z");
        env->DeleteLocalRef(listClass);
        if (addMethod == nullptr) {
            return nullptr;
        }
    }
    env->CallBooleanMethod(list, addMethod, value);
    return failed() ? nullptr : addMethod;
}

jobjectArray JniContext::gatherFor(jobject list, jsize length) {
    if (length <= 0 || failed() || !isCollection(list)) {
        return nullptr;
    }
    return newObjectArray(length);
}

bool JniContext::isCollection(jobject list) {
    const BulkAppend& bulk = bulkAppend(env);
    return bulk.addAll != nullptr && env->IsInstanceOf(list, bulk.collection) == JNI_TRUE;
}

jobjectArray JniContext::newObjectArray(jsize length) {
    jobjectArray values = env->NewObjectArray(length, bulkAppend(env).object, nullptr);
    if (values == nullptr) {
        env->ExceptionClear();  // no room for the array: append value by value instead
    }
    return values;
}

bool JniContext::makeRoomFor(jsize count) {
    // Every native call may hold 16 local references; its arguments and the few references a
    // row's reading holds for a moment take at most six of them.
    constexpr jsize kFree = 10;
    constexpr jsize kHeld = 6;
    if (count <= kFree) {
        return true;
    }
    if (failed()) {
        return false;
    }
    if (env->EnsureLocalCapacity(count + kHeld) == JNI_OK) {
        return true;
    }
    env->ExceptionClear();  // the JVM may report the refusal as an OutOfMemoryError
    return false;
}

bool JniContext::appendAll(jobject list, jobjectArray values) {
    const BulkAppend& bulk = bulkAppend(env);
    env->CallStaticBooleanMethod(bulk.collections, bulk.addAll, list, values);
    return !failed();
}

jobject JniContext::textValue(const std::string& text) {
    if (rowTexts != nullptr && rowTexts->stage(text)) {
        staged = true;
        return nullptr;
    }
    return newJavaString(env, text);
}

}  // namespace kavex
