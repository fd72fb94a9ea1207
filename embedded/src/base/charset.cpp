// The client character sets. Storage is always standard UTF-8; under Oracle's "UTF8" a
// supplementary character travels as a surrogate pair of two 3-byte sequences.
#include "base/charset.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "base/utf8.h"

namespace kavexdb {
namespace detail {

Charset parseCharset(const std::string& name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "utf8") return Charset::UTF8;
    if (lower == "al32utf8") return Charset::AL32UTF8;
    raise(ora::kCannotCreateEnvironment);
}

bool storageDiffers(const std::string& text, Charset cs) {
    return cs != Charset::AL32UTF8 && text.find('\xED') != std::string::npos;
}

std::string toStorage(const std::string& text, Charset cs) {
    if (!storageDiffers(text, cs)) return text;
    std::string out;
    out.reserve(text.size());
    utf8::appendToStorage(out, text.data(), text.size(), cs);
    return out;
}

std::string fromStorage(const std::string& text, Charset cs) {
    if (cs == Charset::AL32UTF8) return text;
    std::string out;
    out.reserve(text.size());
    utf8::appendFromStorage(out, text.data(), text.size(), cs);
    return out;
}

namespace utf8 {
namespace {

unsigned char byteAt(const char* data, std::size_t i) { return static_cast<unsigned char>(data[i]); }

// A 3-byte sequence ED A0..AF xx (first half) or ED B0..BF xx (second half) at data[i].
bool isSurrogate(const char* data, std::size_t size, std::size_t i, unsigned char low,
                 unsigned char high) {
    return i + 2 < size && byteAt(data, i) == 0xED && byteAt(data, i + 1) >= low &&
           byteAt(data, i + 1) <= high && isContinuation(byteAt(data, i + 2));
}

unsigned int decode3(const char* p) {
    return ((static_cast<unsigned char>(p[0]) & 0x0Fu) << 12) |
           ((static_cast<unsigned char>(p[1]) & 0x3Fu) << 6) |
           (static_cast<unsigned char>(p[2]) & 0x3Fu);
}

void encode3(std::string& out, unsigned int u) {
    out.push_back(static_cast<char>(0xE0 | (u >> 12)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
}

}  // namespace

std::size_t countCharacters(const char* data, std::size_t size) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < size; ++i) count += isContinuation(byteAt(data, i)) ? 0 : 1;
    return count;
}

std::size_t advanceCharacters(const std::string& text, std::size_t from, std::size_t count) {
    std::size_t pos = from;
    const std::size_t size = text.size();
    while (count > 0 && pos < size) {
        ++pos;
        while (pos < size && isContinuation(static_cast<unsigned char>(text[pos]))) ++pos;
        --count;
    }
    return std::min(pos, size);
}

std::size_t completePrefix(const char* data, std::size_t size, Charset cs) {
    if (size == 0) return 0;
    std::size_t lead = size - 1;
    while (lead > 0 && size - lead < 4 && isContinuation(byteAt(data, lead))) --lead;
    std::size_t complete = size;
    if (!isContinuation(byteAt(data, lead)) && sequenceLength(byteAt(data, lead)) > size - lead)
        complete = lead;  // the last character is still arriving
    // The first half of a pair waits for its second half.
    if (cs == Charset::UTF8 && complete >= 3 && isSurrogate(data, complete, complete - 3, 0xA0, 0xAF))
        complete -= 3;
    return complete;
}

void appendToStorage(std::string& out, const char* data, std::size_t size, Charset cs) {
    if (cs == Charset::AL32UTF8) {
        out.append(data, size);
        return;
    }
    std::size_t done = 0;
    while (done < size) {
        const void* hit = std::memchr(data + done, 0xED, size - done);
        if (!hit) break;
        std::size_t i = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
        if (isSurrogate(data, size, i, 0xA0, 0xAF) && isSurrogate(data, size, i + 3, 0xB0, 0xBF)) {
            out.append(data + done, i - done);
            unsigned int cp = 0x10000 + ((decode3(data + i) - 0xD800) << 10) +
                              (decode3(data + i + 3) - 0xDC00);
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
            done = i + 6;
        } else {
            out.append(data + done, i + 1 - done);
            done = i + 1;
        }
    }
    out.append(data + done, size - done);
}

void appendFromStorage(std::string& out, const char* data, std::size_t size, Charset cs) {
    if (cs == Charset::AL32UTF8) {
        out.append(data, size);
        return;
    }
    std::size_t done = 0;
    for (std::size_t i = 0; i < size; ++i) {
        unsigned char c = byteAt(data, i);
        if (c < 0xF0 || c > 0xF4 || i + 3 >= size || !isContinuation(byteAt(data, i + 1)) ||
            !isContinuation(byteAt(data, i + 2)) || !isContinuation(byteAt(data, i + 3)))
            continue;
        unsigned int cp = ((c & 0x07u) << 18) | ((byteAt(data, i + 1) & 0x3Fu) << 12) |
                          ((byteAt(data, i + 2) & 0x3Fu) << 6) | (byteAt(data, i + 3) & 0x3Fu);
        if (cp < 0x10000 || cp > 0x10FFFF) continue;
        out.append(data + done, i - done);
        cp -= 0x10000;
        encode3(out, 0xD800 + (cp >> 10));
        encode3(out, 0xDC00 + (cp & 0x3FF));
        done = i + 4;
        i += 3;
    }
    out.append(data + done, size - done);
}

}  // namespace utf8
}  // namespace detail
}  // namespace kavexdb
