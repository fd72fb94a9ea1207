// UTF-8 helpers shared by the character-set conversion and the CLOB streams. Storage text is
// standard UTF-8; Oracle's "UTF8" writes a character beyond the Basic Multilingual Plane as a
// surrogate pair of two 3-byte sequences (as JNI's modified UTF-8 does).
#ifndef KAVEXDB_UTF8_H
#define KAVEXDB_UTF8_H

#include <cstddef>
#include <string>

#include "base/charset.h"

namespace kavexdb {
namespace detail {
namespace utf8 {

inline bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the sequence a lead byte starts; 1 for a stray byte so that malformed text still
// advances one byte at a time.
inline std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF8) return 4;
    return 1;
}

// Number of characters (code points) in a run of storage text.
std::size_t countCharacters(const char* data, std::size_t size);

// Byte offset of the character that follows `count` characters from `from`, or size when the
// text ends first.
std::size_t advanceCharacters(const std::string& text, std::size_t from, std::size_t count);

// Length of the longest prefix of data[0, size) that ends on a character boundary and, under
// UTF8, does not end with the first half of a surrogate pair (whose second half may follow).
std::size_t completePrefix(const char* data, std::size_t size, Charset cs);

// Appends client text in the given character set to storage text (surrogate pairs joined).
void appendToStorage(std::string& out, const char* data, std::size_t size, Charset cs);
// Appends storage text to client text (4-byte sequences split into pairs under UTF8).
void appendFromStorage(std::string& out, const char* data, std::size_t size, Charset cs);

}  // namespace utf8
}  // namespace detail
}  // namespace kavexdb

#endif
