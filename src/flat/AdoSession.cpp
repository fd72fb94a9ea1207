#include "flat/AdoSession.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "flat/AdoDataTypeHandlers.h"
#include "flat/AdoHandlers.h"
#include "values/ColumnInfo.h"
#include "values/TypeCodes.h"

namespace kavex {

namespace {

using types::HandlerKind;
// A set of handler kinds, one bit each.
using Kinds = unsigned int;

constexpr Kinds kindsOf(std::initializer_list<HandlerKind> kinds) {
    Kinds set = 0;
    for (const HandlerKind kind : kinds) {
        set |= 1u << static_cast<unsigned int>(kind);
    }
    return set;
}

// Each slot accepts the codes whose handlers produce its container type; no code is accepted by
// two slots.
constexpr Kinds kStringKinds =
    kindsOf({HandlerKind::CStr, HandlerKind::RowId, HandlerKind::Number, HandlerKind::Date,
             HandlerKind::Timestamp, HandlerKind::Clob});
constexpr Kinds kIntegerKinds = kindsOf({HandlerKind::Integer});
constexpr Kinds kDoubleKinds = kindsOf({HandlerKind::Double});
constexpr Kinds kFloatKinds = kindsOf({HandlerKind::Float});
constexpr Kinds kBytesKinds = kindsOf({HandlerKind::Binary, HandlerKind::Blob});

bool accepts(Kinds kinds, HandlerKind kind) {
    return (kinds & (1u << static_cast<unsigned int>(kind))) != 0;
}

// Reads column `index` of the current row with the handler for its type and copies the result
// into the host's record (never null). A refusal (no such column, no result set, a type the slot
// does not accept) writes byte 0 only.
template <class T, class Record>
bool readInto(AdoSession& session, CallingContext& context, int index, Record* record,
              Kinds accepted) {
    const bool known = index >= 0 && static_cast<std::size_t>(index) < session.columns.size();
    const ColumnInfo* column = known ? session.columns[static_cast<std::size_t>(index)].get()
                                     : nullptr;
    occi::ResultSet* resultSet = session.currentResultSet();
    if (column == nullptr || resultSet == nullptr) {
        record->isNull = 1;
        return false;
    }
    const ColumnHandlers::Found found = session.handlerAt(static_cast<std::size_t>(index), *column);
    if (!accepts(accepted, found.kind)) {
        record->isNull = 1;
        return false;
    }
    // Every code a slot accepts selects a handler of the slot's container type, and the flat
    // session's table is the flat one, so the downcast needs no run-time check.
    const auto& handler = static_cast<const AdoTypeHandler<T>&>(found.handler);
    const DataContainer<T> value =
        handler.readValue(context.as<AdoContext>(), session, *column, *resultSet);
    record->isNull = value.isNull ? 1 : 0;
    record->length = value.length;
    record->value = value.value;
    return true;
}

}  // namespace

AdoSession::~AdoSession() = default;

Session::DataTypeHandlers* AdoSession::handlerTable() {
    return &adoHandlerTable();
}

bool AdoSession::collectMetaData(CallingContext&, const std::string&,
                                 const std::string& objectName, void*) {
    if (objectName.empty()) {
        return true;
    }
    return describeObject(objectName);
}

bool AdoSession::readRow(CallingContext&, void*) {
    return false;
}

const char* AdoSession::returnString(const char* text, std::int32_t length) {
    if (text == nullptr) {
        return nullptr;
    }
    return handedOut.copy(text, static_cast<std::size_t>(std::max<std::int32_t>(length, 0)));
}

bool AdoSession::readString(CallingContext& context, int index, KavexPointerRecord* record) {
    return readInto<const char*>(*this, context, index, record, kStringKinds);
}

bool AdoSession::readInteger(CallingContext& context, int index, KavexIntRecord* record) {
    return readInto<int>(*this, context, index, record, kIntegerKinds);
}

bool AdoSession::readDouble(CallingContext& context, int index, KavexDoubleRecord* record) {
    return readInto<double>(*this, context, index, record, kDoubleKinds);
}

bool AdoSession::readFloat(CallingContext& context, int index, KavexFloatRecord* record) {
    return readInto<float>(*this, context, index, record, kFloatKinds);
}

bool AdoSession::readBytes(CallingContext& context, int index, KavexPointerRecord* record) {
    return readInto<const char*>(*this, context, index, record, kBytesKinds);
}

}  // namespace kavex
