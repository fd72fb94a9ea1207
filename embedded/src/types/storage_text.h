// Dates and timestamps read straight from a fetched buffer, so that a getter need not copy the
// storage text into a string first. Same texts and errors as dateFromText/timestampFromText.
#ifndef KAVEXDB_STORAGE_TEXT_H
#define KAVEXDB_STORAGE_TEXT_H

#include <cstddef>

#include "types/format_model.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

occi::Date dateFromText(const char* text, std::size_t length);
occi::Timestamp timestampFromText(const char* text, std::size_t length);
// The fields of a storage text, without range checks (ORA-01861 when it is none).
DateTimeFields storageFields(const char* text, std::size_t length);

}  // namespace detail
}  // namespace kavexdb

#endif
