// A size in bytes as settings give it: digits, optionally followed by K, M or G (powers of 1024).
#ifndef KAVEXDB_BASE_BYTE_SIZE_H
#define KAVEXDB_BASE_BYTE_SIZE_H

#include <cstdint>
#include <string>

namespace kavexdb {
namespace detail {

// The bytes text names; false, leaving out as it was, for anything else (or past 2^63 - 1).
bool parseByteSize(const std::string& text, std::int64_t& out);

// What parseByteSize takes, for error messages.
inline constexpr const char* kByteSizeForms = "bytes, or a number followed by K, M or G";

}  // namespace detail
}  // namespace kavexdb

#endif
