#include "values/TypeCodes.h"

#include <algorithm>
#include <iterator>

namespace kavex::types {
namespace {

struct KindOfCode {
    std::int32_t code;
    HandlerKind kind;
};

// Sorted by code for a binary search.
constexpr KindOfCode kKinds[] = {
    {kChar, HandlerKind::CStr},
    {kNumber, HandlerKind::Number},
    {kInteger, HandlerKind::Integer},
    {kFloat, HandlerKind::Float},
    {kString, HandlerKind::CStr},
    {kLong, HandlerKind::CStr},
    {kRowId, HandlerKind::RowId},
    {kDate, HandlerKind::Date},
    {kBinaryFloat, HandlerKind::Float},
    {kBinaryDouble, HandlerKind::Double},
    {kRaw, HandlerKind::Binary},
    {kLongRaw, HandlerKind::Binary},
    {kUnsignedInteger, HandlerKind::Integer},
    {kLongVarchar, HandlerKind::Clob},
    {kLongVarraw, HandlerKind::Blob},
    {kFixedChar, HandlerKind::CStr},
    {kAnsiFixedChar, HandlerKind::CStr},
    {kIBinaryFloat, HandlerKind::Float},
    {kIBinaryDouble, HandlerKind::Double},
    {kRowIdDescriptor, HandlerKind::RowId},
    {kClob, HandlerKind::Clob},
    {kBlob, HandlerKind::Blob},
    {kDateTime, HandlerKind::Timestamp},
    {kTime, HandlerKind::Timestamp},
    {kTimeWithZone, HandlerKind::Timestamp},
    {kTimestamp, HandlerKind::Timestamp},
    {kTimestampWithZone, HandlerKind::Timestamp},
    // Intervals read as the text Oracle displays for them.
    {kIntervalYearToMonth, HandlerKind::CStr},
    {kIntervalDayToSecond, HandlerKind::CStr},
    {kTimestampLocalZone, HandlerKind::Timestamp},
};

constexpr bool sortedByCode() {
    for (std::size_t i = 1; i < std::size(kKinds); ++i) {
        if (kKinds[i - 1].code >= kKinds[i].code) {
            return false;
        }
    }
    return true;
}
static_assert(sortedByCode(), "the kinds are sorted by code");
static_assert(std::size(kTableCodes) == 24, "the handler tables hold 24 codes");

}  // namespace

HandlerKind handlerKindOf(std::int32_t code) {
    const auto* end = std::end(kKinds);
    const auto* found = std::lower_bound(
        std::begin(kKinds), end, code,
        [](const KindOfCode& entry, std::int32_t wanted) { return entry.code < wanted; });
    return (found != end && found->code == code) ? found->kind : HandlerKind::Default;
}

}  // namespace kavex::types
