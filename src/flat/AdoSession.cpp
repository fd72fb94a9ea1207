#include "flat/AdoSession.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "flat/AdoDataTypeHandlers.h"
#include "flat/AdoHandlers.h"
#include "values/ColumnInfo.h"

namespace {

// A handed-out pointer stays valid while at most this many further strings are handed out.
constexpr std::size_t kKeptStrings = 10;

// The type codes a read slot accepts, as a set that answers in one step.
class Codes {
public:
    constexpr Codes(std::initializer_list<std::int32_t> codes) {
        for (const std::int32_t code : codes) {
            bits[code / 64] |= std::uint64_t{1} << (code % 64);
        }
    }
    constexpr bool has(std::int32_t code) const {
        return code >= 0 && code < 256 && ((bits[code / 64] >> (code % 64)) & 1) != 0;
    }

private:
    std::uint64_t bits[4] = {};
};

constexpr Codes kStringCodes = {1,   2,   5,   8,   11,  12,  94,  96,  97,  104,
                                112, 184, 185, 186, 187, 188, 189, 190, 232};
constexpr Codes kIntegerCodes = {3, 68};
constexpr Codes kDoubleCodes = {22, 101};
constexpr Codes kFloatCodes = {4, 21, 100};
constexpr Codes kBytesCodes = {23, 24, 95, 113};

// Reads column `index` of the current row with the handler for its type and copies the result
// into the host's record. A refusal (no such column, no result set, a type the slot does not
// accept) writes byte 0 only.
template <class T, class Record>
bool readInto(AdoSession& session, CallingContext& context, int index, Record* record,
              const Codes& accepted) {
    if (record == nullptr) {
        return false;
    }
    const bool known = index >= 0 && static_cast<std::size_t>(index) < session.columns.size();
    const ColumnInfo* column = known ? session.columns[static_cast<std::size_t>(index)].get()
                                     : nullptr;
    if (column == nullptr || session.resultSet == nullptr || !accepted.has(column->type)) {
        record->isNull = 1;
        return false;
    }
    // Every code a slot accepts selects a handler of the slot's container type, and the flat
    // session's table is the flat one, so the downcast needs no run-time check.
    const auto& handler = static_cast<const AdoTypeHandler<T>&>(
        session.handlerAt(static_cast<std::size_t>(index), *column));
    // The flat context is the one process-wide object.
    if (&context != &AdoContext::instance()) {
        throw std::logic_error("flat values are read with the flat context");
    }
    const DataContainer<T> value = handler.readValue(static_cast<AdoContext&>(context), session,
                                                     *column, *session.resultSet);
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

const char* AdoSession::keepString(std::string text) {
    while (returnedStrings.size() > kKeptStrings) {
        // The larger storage is the one worth keeping for the next rendered text.
        if (returnedStrings.front().capacity() > released.capacity()) {
            released = std::move(returnedStrings.front());
        }
        returnedStrings.pop_front();
    }
    returnedStrings.push_back(std::move(text));
    return returnedStrings.back().c_str();
}

std::string AdoSession::recycledString() {
    std::string text = std::move(released);
    text.clear();
    return text;
}

const TypeHandler& AdoSession::handlerAt(std::size_t index, const ColumnInfo& column) {
    return handlers.at(index, column, typeHandlers != nullptr ? *typeHandlers : *handlerTable());
}

bool AdoSession::readString(CallingContext& context, int index, KavexPointerRecord* record) {
    return readInto<const char*>(*this, context, index, record, kStringCodes);
}

bool AdoSession::readInteger(CallingContext& context, int index, KavexIntRecord* record) {
    return readInto<int>(*this, context, index, record, kIntegerCodes);
}

bool AdoSession::readDouble(CallingContext& context, int index, KavexDoubleRecord* record) {
    return readInto<double>(*this, context, index, record, kDoubleCodes);
}

bool AdoSession::readFloat(CallingContext& context, int index, KavexFloatRecord* record) {
    return readInto<float>(*this, context, index, record, kFloatCodes);
}

bool AdoSession::readBytes(CallingContext& context, int index, KavexPointerRecord* record) {
    return readInto<const char*>(*this, context, index, record, kBytesCodes);
}
