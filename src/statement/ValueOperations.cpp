// The flat value getters: read one column of the current row into the host's packed record.
#include <string>

#include "session/CallFrame.h"
#include "session/Messages.h"
#include "statement/Operations.h"

namespace kavex::core {

namespace {

template <class Record, class Slot>
std::int32_t readValue(Session& session, CallingContext& context, std::int32_t index,
                       Record* record, Slot slot, const messages::NamingPosition& text) noexcept {
    const auto message = [&text, index] { return text.at(index); };
    return guarded(
        [&]() -> std::int32_t {
            if (record == nullptr || !(session.*slot)(context, index, record)) {
                return storeFailure(message());
            }
            return 0;
        },
        message);
}

}  // namespace

std::int32_t getString(Session& session, CallingContext& context, std::int32_t index,
                       KavexPointerRecord* record) noexcept {
    return readValue(session, context, index, record, &Session::readString, messages::kGetString);
}

std::int32_t getByteArray(Session& session, CallingContext& context, std::int32_t index,
                          KavexPointerRecord* record) noexcept {
    return readValue(session, context, index, record, &Session::readBytes, messages::kGetByteArray);
}

std::int32_t getInteger(Session& session, CallingContext& context, std::int32_t index,
                        KavexIntRecord* record) noexcept {
    return readValue(session, context, index, record, &Session::readInteger, messages::kGetInteger);
}

std::int32_t getFloat(Session& session, CallingContext& context, std::int32_t index,
                      KavexFloatRecord* record) noexcept {
    return readValue(session, context, index, record, &Session::readFloat, messages::kGetFloat);
}

std::int32_t getDouble(Session& session, CallingContext& context, std::int32_t index,
                       KavexDoubleRecord* record) noexcept {
    return readValue(session, context, index, record, &Session::readDouble, messages::kGetDouble);
}

}  // namespace kavex::core
