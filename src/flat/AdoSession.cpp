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

// A handed-out pointer stays valid while at most this many further strings are handed out.
constexpr std::size_t kKeptStrings = 10;

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

AdoSession::~AdoSession() {
    returnedStrings.clear();
}

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
    return keepString(std::string(text, static_cast<std::size_t>(std::max<std::int32_t>(length, 0))));
}

const char* AdoSession::keepString(std::string&& text) {
    if (pending) {
        released = std::move(returnedStrings.back());
        returnedStrings.pop_back();
        pending = false;
    }
    returnedStrings.push_back(std::move(text));
    letOldestGo();
    return returnedStrings.back().c_str();
}

std::string& AdoSession::startString() {
    if (!pending) {
        returnedStrings.push_back(std::move(released));
        pending = true;
    }
    std::string& text = returnedStrings.back();
    text.clear();
    return text;
}

const char* AdoSession::finishString() {
    pending = false;
    std::string& text = returnedStrings.back();
    if (text.empty()) {
        released = std::move(text);
        returnedStrings.pop_back();
        return nullptr;
    }
    letOldestGo();
    return text.c_str();  // letting the front go leaves the back in place
}

void AdoSession::letOldestGo() {
    // Each hand-out adds one string to at most 11, so one goes at most.
    if (returnedStrings.size() > kKeptStrings + 1) {
        // The larger storage is the one worth keeping for the next rendered text.
        if (returnedStrings.front().capacity() > released.capacity()) {
            released = std::move(returnedStrings.front());
        }
        returnedStrings.pop_front();
    }
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
