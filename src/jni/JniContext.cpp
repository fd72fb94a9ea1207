#include "jni/JniContext.h"

#include <initializer_list>

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

}  // namespace

JniContext::~JniContext() {
    for (Box* box : {&doubleBox, &floatBox, &integerBox}) {
        if (box->type != nullptr) {
            env->DeleteGlobalRef(box->type);
        }
    }
}

bool JniContext::prepare(Box& box, const char* className, const char* signature) {
    if (box.type != nullptr) {
        return true;
    }
    if (failed()) {
        return false;
    }
    jclass local = env->FindClass(className);
    if (local == nullptr) {
        return false;
    }
    box.type = static_cast<jclass>(env->NewGlobalRef(local));
    env->DeleteLocalRef(local);
    if (box.type == nullptr) {
        return false;
    }
    box.init = env->GetMethodID(box.type, "<init>", signature);
    if (box.init == nullptr) {
        env->DeleteGlobalRef(box.type);
        box.type = nullptr;
        return false;
    }
    return true;
}

jobject JniContext::newInteger(jint value) {
    if (!prepare(integerBox, "java/lang/Integer", "(I)V")) {
        return nullptr;
    }
    return env->NewObject(integerBox.type, integerBox.init, value);
}

jobject JniContext::newFloat(jfloat value) {
    if (!prepare(floatBox, "java/lang/Float", "(F)V")) {
        return nullptr;
    }
    // Variadic arguments promote float to double, which is what JNI expects for a (F) parameter.
    return env->NewObject(floatBox.type, floatBox.init, static_cast<jdouble>(value));
}

jobject JniContext::newDouble(jdouble value) {
    if (!prepare(doubleBox, "java/lang/Double", "(D)V")) {
        return nullptr;
    }
    return env->NewObject(doubleBox.type, doubleBox.init, value);
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
    if (length <= 0 || failed()) {
        return nullptr;
    }
    const BulkAppend& bulk = bulkAppend(env);
    if (bulk.addAll == nullptr || env->IsInstanceOf(list, bulk.collection) != JNI_TRUE) {
        return nullptr;
    }
    jobjectArray values = env->NewObjectArray(length, bulk.object, nullptr);
    if (values == nullptr) {
        env->ExceptionClear();  // no room for the array: append value by value instead
    }
    return values;
}

bool JniContext::appendAll(jobject list, jobjectArray values) {
    const BulkAppend& bulk = bulkAppend(env);
    env->CallStaticBooleanMethod(bulk.collections, bulk.addAll, list, values);
    return !failed();
}

}  // namespace kavex
