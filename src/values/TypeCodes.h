// Oracle's data type codes as column metadata reports them and SetNull takes them, and what the
// library does with each: the one table the core and both front ends read.
#ifndef KAVEX_VALUES_TYPECODES_H
#define KAVEX_VALUES_TYPECODES_H

#include <cstddef>
#include <cstdint>

#include "kavex_oracleociw.h"

namespace kavex::types {

inline constexpr std::int32_t kChar = 1;              // VARCHAR2, NVARCHAR2
inline constexpr std::int32_t kNumber = 2;
inline constexpr std::int32_t kInteger = 3;
inline constexpr std::int32_t kFloat = 4;
inline constexpr std::int32_t kString = 5;            // NUL-terminated text
inline constexpr std::int32_t kLong = 8;
inline constexpr std::int32_t kRowId = 11;
inline constexpr std::int32_t kDate = 12;
inline constexpr std::int32_t kBinaryFloat = 21;
inline constexpr std::int32_t kBinaryDouble = 22;
inline constexpr std::int32_t kRaw = 23;
inline constexpr std::int32_t kLongRaw = KAVEX_LOB_LONG_RAW;  // 24
inline constexpr std::int32_t kOpaque = 58;           // XMLTYPE and other opaque types
inline constexpr std::int32_t kUnsignedInteger = 68;
inline constexpr std::int32_t kLongVarchar = 94;
inline constexpr std::int32_t kLongVarraw = 95;
inline constexpr std::int32_t kFixedChar = 96;        // CHAR, NCHAR
inline constexpr std::int32_t kAnsiFixedChar = 97;
inline constexpr std::int32_t kIBinaryFloat = 100;
inline constexpr std::int32_t kIBinaryDouble = 101;
inline constexpr std::int32_t kRowIdDescriptor = 104;
inline constexpr std::int32_t kRef = 110;
inline constexpr std::int32_t kClob = KAVEX_LOB_CLOB;    // 112
inline constexpr std::int32_t kBlob = KAVEX_LOB_BLOB;    // 113
inline constexpr std::int32_t kBfile = KAVEX_LOB_BFILE;  // 114
inline constexpr std::int32_t kDateTime = 184;
inline constexpr std::int32_t kTime = 185;
inline constexpr std::int32_t kTimeWithZone = 186;
inline constexpr std::int32_t kTimestamp = 187;
inline constexpr std::int32_t kTimestampWithZone = 188;
inline constexpr std::int32_t kIntervalYearToMonth = 189;
inline constexpr std::int32_t kIntervalDayToSecond = 190;
inline constexpr std::int32_t kTimestampLocalZone = 232;

// The value handler a code selects, the same for both front ends. Codes the table does not list
// select Default, which reads as the text "not supported data type (<code>)".
enum class HandlerKind {
    Default, CStr, RowId, Number, Integer, Float, Double, Date, Timestamp, Clob, Blob, Binary,
};
HandlerKind handlerKindOf(std::int32_t code);

// The 24 codes whose handlers each front end's table holds; other codes get a handler per read.
inline constexpr std::int32_t kTableCodes[] = {
    kChar,         kNumber,      kInteger,       kBinaryFloat,   kIBinaryFloat,
    kBinaryDouble, kIBinaryDouble, kString,      kLong,          kRowId,
    kRaw,          kFixedChar,   kAnsiFixedChar, kRowIdDescriptor, kClob,
    kBlob,         kDate,        kDateTime,      kTime,          kTimeWithZone,
    kTimestamp,    kTimestampWithZone, kTimestampLocalZone, kOpaque,
};

// LOB kinds a value can be streamed into (StreamParameterToLob): CLOB, BLOB, LONG RAW, BFILE.
inline constexpr bool isLobKind(std::int32_t code) {
    return code == kClob || code == kBlob || code == kBfile || code == kLongRaw;
}
// Long character data whose character set form is read with the column.
inline constexpr bool isCharacterLob(std::int32_t code) {
    return code == kLongVarchar || code == kClob;
}
// LONG and LONG RAW: the client cuts their values to the session's maximum column size.
inline constexpr bool isLongType(std::int32_t code) { return code == kLong || code == kLongRaw; }
// Columns whose server type name is read with the column.
inline constexpr bool hasServerTypeName(std::int32_t code) { return code == kOpaque || code == kRef; }
inline constexpr bool isTimestampType(std::int32_t code) {
    return (code >= kDateTime && code <= kTimestampWithZone) || code == kTimestampLocalZone;
}

}  // namespace kavex::types

#endif
