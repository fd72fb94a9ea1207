#include "jni/JniText.h"

#include <cstdint>
#include <vector>

namespace {

// Re-encodes the JVM's modified UTF-8 as standard UTF-8: a surrogate pair written as two
// three-byte sequences becomes one four-byte sequence. Everything else is already standard
// (the two-byte U+0000 stays, it cannot pass as a NUL-terminated text anyway).
std::string standardUtf8(const std::string& modified) {
    std::string out;
    out.reserve(modified.size());
    const auto* p = reinterpret_cast<const unsigned char*>(modified.data());
    const std::size_t n = modified.size();
    std::size_t i = 0;
    while (i < n) {
        if (p[i] == 0xED && i + 5 < n && (p[i + 1] & 0xF0) == 0xA0 && p[i + 3] == 0xED &&
            (p[i + 4] & 0xF0) == 0xB0) {
            const std::uint32_t high = 0xD000u | ((p[i + 1] & 0x3Fu) << 6) | (p[i + 2] & 0x3Fu);
            const std::uint32_t low = 0xD000u | ((p[i + 4] & 0x3Fu) << 6) | (p[i + 5] & 0x3Fu);
            const std::uint32_t cp = 0x10000u + ((high - 0xD800u) << 10) + (low - 0xDC00u);
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
            i += 6;
        } else {
            out += static_cast<char>(p[i]);
            ++i;
        }
    }
    return out;
}

bool needsDecoding(const char* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 0 || c >= 0x80) {
            return true;
        }
    }
    return false;
}

// Decodes UTF-8 (standard four-byte sequences and three-byte surrogate pairs alike) into UTF-16;
// a malformed or overlong sequence or a value beyond U+10FFFF gives one U+FFFD and decoding
// resumes at the next byte.
std::vector<jchar> utf16Of(const char* bytes, std::size_t length) {
    std::vector<jchar> out;
    out.reserve(length);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char c = p[i];
        std::uint32_t cp = 0;
        std::size_t extra = 0;
        std::uint32_t minimum = 0;
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1Fu;
            extra = 1;
            minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0Fu;
            extra = 2;
            minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07u;
            extra = 3;
            minimum = 0x10000;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool valid = i + extra < length;
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) {
                valid = false;
            } else {
                cp = (cp << 6) | (p[i + k] & 0x3Fu);
            }
        }
        // A surrogate in three bytes is Oracle's UTF8 (and the JVM's) for half of a character
        // beyond U+FFFF: it goes to Java as the UTF-16 unit it is.
        if (!valid || cp < minimum || cp > 0x10FFFF) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<jchar>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<jchar>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<jchar>(cp));
        }
        i += extra + 1;
    }
    return out;
}

}  // namespace

JavaText::JavaText(JNIEnv* env, jstring text) {
    // After an earlier conversion failed, the JVM takes no further calls but releases.
    if (text == nullptr || env->ExceptionCheck()) {
        return;
    }
    const jsize characters = env->GetStringLength(text);
    const jsize bytes = env->GetStringUTFLength(text);
    if (env->ExceptionCheck()) {
        return;
    }
    std::string modified(static_cast<std::size_t>(bytes), '\0');
    env->GetStringUTFRegion(text, 0, characters, modified.data());
    if (env->ExceptionCheck()) {
        return;
    }
    utf8 = modified.find('\xED') == std::string::npos ? std::move(modified) : standardUtf8(modified);
    present = true;
}

jstring newJavaString(JNIEnv* env, const std::string& text) {
    if (!needsDecoding(text.data(), text.size())) {
        // Plain ASCII reads the same in both UTF-8 forms: the JVM's own conversion is the fast path.
        return env->NewStringUTF(text.c_str());
    }
    const std::vector<jchar> chars = utf16Of(text.data(), text.size());
    return env->NewString(chars.data(), static_cast<jsize>(chars.size()));
}
