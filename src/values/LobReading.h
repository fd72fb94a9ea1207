// Reading LOB and RAW values into byte strings, for the value handlers of both front ends.
#ifndef KAVEX_VALUES_LOBREADING_H
#define KAVEX_VALUES_LOBREADING_H

#include <cstdint>
#include <string>

#include "occi/occi.h"

namespace kavex {

// Everything the stream delivers, read in 128-byte pieces until a read delivers nothing.
std::string readLobStream(occi::Stream& stream);

// The first maxLength characters of a non-null CLOB (UTF-8 bytes), read with the column's
// character set form, whole characters only. The LOB is open read-only for the read only. Empty
// for an empty CLOB.
std::string readClobText(occi::Clob& clob, std::int32_t charSetForm, std::int32_t maxLength);
// The first maxLength bytes of a non-null BLOB; empty for an empty BLOB.
std::string readBlobBytes(occi::Blob& blob, std::int32_t maxLength);
// The first maxLength bytes of a non-null RAW or LONG RAW value.
std::string readRawBytes(const occi::Bytes& bytes, std::int32_t maxLength);

}  // namespace kavex

#endif
