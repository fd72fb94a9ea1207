#include "jni/JniText.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace kavex {

namespace {

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isHighSurrogate(jchar c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(jchar c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Standard UTF-8 of UTF-16 text: a surrogate pair becomes one four-byte sequence, a surrogate
// without its partner (no character at all) U+FFFD, so no surrogate half is ever written.
std::string utf8Of(const jchar* chars, std::size_t count) {
    std::string out;
    out.reserve(count + count / 2);
    for (std::size_t i = 0; i < count; ++i) {
        const jchar c = chars[i];
        if (isHighSurrogate(c) && i + 1 < count && isLowSurrogate(chars[i + 1])) {
            appendUtf8(out, 0x10000u + ((c - 0xD800u) << 10) + (chars[i + 1] - 0xDC00u));
            ++i;
        } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

bool needsDecoding(const char* bytes, std::size_t length) {
    // Eight bytes at a time: any byte with its high bit set, or any zero byte.
    constexpr std::uint64_t kLow = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, sizeof word);
        if (((word | ((word - kLow) & ~word)) & kHigh) != 0) {
            return true;
        }
    }
    for (; i < length; ++i) {
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
    // The UTF-16 characters themselves: the JVM's UTF functions would give its modified UTF-8.
    const jsize length = env->GetStringLength(text);
    if (env->ExceptionCheck()) {
        return;
    }
    if (length > 0) {
        std::vector<jchar> chars(static_cast<std::size_t>(length));
        env->GetStringRegion(text, 0, length, chars.data());
        if (env->ExceptionCheck()) {
            return;
        }
        utf8 = utf8Of(chars.data(), chars.size());
    }
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

}  // namespace kavex
