// Oracle's data type codes (their numbers are the public header's KAVEX_SQLT_ constants) and what
// the library does with each: the one table the core and both front ends read.
#ifndef KAVEX_VALUES_TYPECODES_H
#define KAVEX_VALUES_TYPECODES_H

#include <cstddef>
#include <cstdint>

#include "kavex_oracleociw.h"

namespace kavex::types {

inline constexpr std::int32_t kChar = KAVEX_SQLT_CHR;
inline constexpr std::int32_t kNumber = KAVEX_SQLT_NUM;
inline constexpr std::int32_t kInteger = KAVEX_SQLT_INT;
inline constexpr std::int32_t kFloat = KAVEX_SQLT_FLT;
inline constexpr std::int32_t kString = KAVEX_SQLT_STR;
inline constexpr std::int32_t kLong = KAVEX_SQLT_LNG;
inline constexpr std::int32_t kRowId = KAVEX_SQLT_RID;
inline constexpr std::int32_t kDate = KAVEX_SQLT_DAT;
inline constexpr std::int32_t kBinaryFloat = KAVEX_SQLT_BFLOAT;
inline constexpr std::int32_t kBinaryDouble = KAVEX_SQLT_BDOUBLE;
inline constexpr std::int32_t kRaw = KAVEX_SQLT_BIN;
inline constexpr std::int32_t kLongRaw = KAVEX_SQLT_LBI;
inline constexpr std::int32_t kOpaque = 58;  // XMLTYPE and other opaque types
inline constexpr std::int32_t kUnsignedInteger = KAVEX_SQLT_UIN;
inline constexpr std::int32_t kLongVarchar = KAVEX_SQLT_LVC;
inline constexpr std::int32_t kLongVarraw = KAVEX_SQLT_LVB;
inline constexpr std::int32_t kFixedChar = KAVEX_SQLT_AFC;
inline constexpr std::int32_t kAnsiFixedChar = KAVEX_SQLT_AVC;
inline constexpr std::int32_t kIBinaryFloat = KAVEX_SQLT_IBFLOAT;
inline constexpr std::int32_t kIBinaryDouble = KAVEX_SQLT_IBDOUBLE;
inline constexpr std::int32_t kRowIdDescriptor = KAVEX_SQLT_RDD;
inline constexpr std::int32_t kRef = KAVEX_SQLT_REF;
inline constexpr std::int32_t kClob = KAVEX_SQLT_CLOB;
inline constexpr std::int32_t kBlob = KAVEX_SQLT_BLOB;
inline constexpr std::int32_t kBfile = KAVEX_SQLT_BFILEE;
inline constexpr std::int32_t kDateTime = KAVEX_SQLT_DATE;
inline constexpr std::int32_t kTime = KAVEX_SQLT_TIME;
inline constexpr std::int32_t kTimeWithZone = KAVEX_SQLT_TIME_TZ;
inline constexpr std::int32_t kTimestamp = KAVEX_SQLT_TIMESTAMP;
inline constexpr std::int32_t kTimestampWithZone = KAVEX_SQLT_TIMESTAMP_TZ;
inline constexpr std::int32_t kIntervalYearToMonth = KAVEX_SQLT_INTERVAL_YM;
inline constexpr std::int32_t kIntervalDayToSecond = KAVEX_SQLT_INTERVAL_DS;
inline constexpr std::int32_t kTimestampLocalZone = KAVEX_SQLT_TIMESTAMP_LTZ;

// The value handler a code selects, the same for both front ends. Codes the table does not list
// select Default, which reads as the text "not supported data type (<code>)".
// clang-format off
enum class HandlerKind {
    Default, CStr, RowId, Number, Integer, Float, Double, Date, Timestamp, Clob, Blob, Binary
};
// clang-format on
HandlerKind handlerKindOf(std::int32_t code);

// The 24 codes whose handlers each front end's table holds; other codes get a handler per read.
// clang-format off
inline constexpr std::int32_t kTableCodes[] = {
    kChar,         kNumber,        kInteger,       kBinaryFloat,     kIBinaryFloat,
    kBinaryDouble, kIBinaryDouble, kString,        kLong,            kRowId,
    kRaw,          kFixedChar,     kAnsiFixedChar, kRowIdDescriptor, kClob,
    kBlob,         kDate,          kDateTime,      kTime,            kTimeWithZone,
    kTimestamp,    kTimestampWithZone, kTimestampLocalZone, kOpaque
};
// clang-format on

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
inline constexpr bool hasServerTypeName(std::int32_t code) {
    return code == kOpaque || code == kRef;
}
inline constexpr bool isTimestampType(std::int32_t code) {
    return (code >= kDateTime && code <= kTimestampWithZone) || code == kTimestampLocalZone;
}

}  // namespace kavex::types

#endif
