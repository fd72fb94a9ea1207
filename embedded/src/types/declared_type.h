// The client's type table: what describe reports for a declared column type and how its values
// are stored and delivered (type_map.cpp).
#ifndef KAVEXDB_TYPES_DECLARED_TYPE_H
#define KAVEXDB_TYPES_DECLARED_TYPE_H

#include <string>

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// What describe reports for a declared column type (the client's type table) and how values of
// it are stored and delivered.
enum class Storage { Text, Integer, Real, Numeric, Blob, Date, Timestamp, TimestampTz, Clob };
struct DeclaredType {
    int dataType = 2;     // ATTR_DATA_TYPE
    int size = 22;        // ATTR_DATA_SIZE
    int precision = 0;    // ATTR_PRECISION
    int scale = -127;     // ATTR_SCALE
    int charSetForm = 0;  // ATTR_CHARSET_FORM
    std::string typeName; // ATTR_TYPE_NAME (types 58, 108, 110 only)
    Storage storage = Storage::Numeric;
};
DeclaredType mapDeclaredType(const std::string& declaredType);

}  // namespace detail
}  // namespace kavexdb

#endif
