// Names of OCI data type codes and OCCI type enumeration values.
#ifndef KAVEX_VALUES_TYPENAMES_H
#define KAVEX_VALUES_TYPENAMES_H

#include <cstddef>
#include <cstdint>

namespace kavex {

// The published name of the code, or "<unknown ATTR_DATA_TYPE>"; never null.
const char* typeNameOf(std::int32_t typeCode);
// How many codes have a name of their own (68).
std::size_t typeNameCount();

}  // namespace kavex

#endif
