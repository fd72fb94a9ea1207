#include "jni/RowTexts.h"

#include <atomic>
#include <cstring>

#include "jni/JniContext.h"

namespace kavex {

namespace {

// The Java class's addRow, looked up once per process: the library is loaded by one class loader
// only, so one class declares getRow. A class without it (an older one) leaves rows unstaged.
enum class Lookup { unknown, found, missing };
std::atomic<Lookup> addRowLookup{Lookup::unknown};
std::atomic<jmethodID> addRowMethod{nullptr};

jmethodID addRow(JniContext& context) {
    const Lookup state = addRowLookup.load(std::memory_order_acquire);
    if (state != Lookup::unknown) {
        return state == Lookup::found ? addRowMethod.load(std::memory_order_relaxed) : nullptr;
    }
    if (context.wrapper == nullptr) {
        return nullptr;
    }
    jmethodID method = context.env->GetStaticMethodID(
        context.wrapper, "addRow", "(Ljava/util/Collection;[Ljava/lang/Object;[BI)V");
    if (method == nullptr) {
        context.env->ExceptionClear();
        addRowLookup.store(Lookup::missing, std::memory_order_release);
        return nullptr;
    }
    addRowMethod.store(method, std::memory_order_relaxed);
    addRowLookup.store(Lookup::found, std::memory_order_release);
    return method;
}

bool isPlainAscii(const char* text, std::size_t length) {
    // Eight bytes at a time: any byte with its high bit set.
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text + i, sizeof word);
        if ((word & kHigh) != 0) {
            return false;
        }
    }
    for (; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0x80) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool RowTexts::begin(JniContext& context, jsize columns) {
    if (addRow(context) == nullptr) {
        return false;
    }
    const std::size_t size = 4 * static_cast<std::size_t>(columns) + kTextRoom;
    if (array == nullptr || columns != width) {
        jbyteArray made = context.env->NewByteArray(static_cast<jsize>(size));
        if (made == nullptr) {
            context.env->ExceptionClear();  // the row goes without staging
            return false;
        }
        auto kept = static_cast<jbyteArray>(context.env->NewGlobalRef(made));
        context.env->DeleteLocalRef(made);
        if (kept == nullptr) {
            context.env->ExceptionClear();
            return false;
        }
        release(context.env);
        array = kept;
        width = columns;
        bytes.assign(size, 0);
    }
    used = 4 * static_cast<std::size_t>(width);
    next = 0;
    return true;
}

void RowTexts::mark(std::int32_t length) {
    if (next >= width) {
        return;  // not a value of the row this was begun for
    }
    const auto bits = static_cast<std::uint32_t>(length);
    char* at = bytes.data() + 4 * static_cast<std::size_t>(next++);
    at[0] = static_cast<char>(bits & 0xFF);
    at[1] = static_cast<char>((bits >> 8) & 0xFF);
    at[2] = static_cast<char>((bits >> 16) & 0xFF);
    at[3] = static_cast<char>(bits >> 24);
}

bool RowTexts::stage(const std::string& text) {
    if (next >= width || text.size() > bytes.size() - used ||
        !isPlainAscii(text.data(), text.size())) {
        return false;
    }
    std::memcpy(bytes.data() + used, text.data(), text.size());
    used += text.size();
    mark(static_cast<std::int32_t>(text.size()));
    return true;
}

bool RowTexts::handOver(JniContext& context, jobject list, jobjectArray values, jsize count) {
    JNIEnv* env = context.env;
    env->SetByteArrayRegion(array, 0, static_cast<jsize>(used),
                            reinterpret_cast<const jbyte*>(bytes.data()));
    env->CallStaticVoidMethod(context.wrapper, addRow(context), list, values, array, count);
    return !context.failed();
}

void RowTexts::release(JNIEnv* env) {
    if (array != nullptr) {
        env->DeleteGlobalRef(array);
        array = nullptr;
    }
}

}  // namespace kavex
