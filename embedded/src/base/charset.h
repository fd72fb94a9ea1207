// The client character sets (AL32UTF8 and the older UTF8) and how text is stored under each.
#ifndef KAVEXDB_BASE_CHARSET_H
#define KAVEXDB_BASE_CHARSET_H

#include <string>

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// ---- Character sets (charset.cpp) ----------------------------------------------------------
enum class Charset { AL32UTF8, UTF8 };
// "utf8"/"AL32UTF8" in any case; anything else throws ORA-32101 (as SQLException code 32101).
Charset parseCharset(const std::string& name);
// Under UTF8, surrogate pairs written as two 3-byte sequences become one 4-byte sequence before
// storing; fromStorage does the reverse when delivering. Under AL32UTF8 both return the input.
std::string toStorage(const std::string& text, Charset cs);
// Whether toStorage(text, cs) differs from text.
bool storageDiffers(const std::string& text, Charset cs);
std::string fromStorage(const std::string& text, Charset cs);

}  // namespace detail
}  // namespace kavexdb

#endif
