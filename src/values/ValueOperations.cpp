// The flat value getters: read one column of the current row into the host's packed record.
#include <string>

#include "session/Guarded.h"
#include "session/Operations.h"
#include "session/PositionMessage.h"
#include "session/Session.h"

namespace {

template <class Record, class Slot>
std::int32_t readValue(OcciHandler* handler, CallingContext& context, std::int32_t index,
                       Record* record, Slot slot, const char* prefix) {
    const auto message = [prefix, index] { return core::columnMessage(prefix, index); };
    return guarded(
        handler,
        [&](Session& session) -> std::int32_t {
            if (record == nullptr || !(session.*slot)(context, index, record)) {
                return storeFailure(message());
            }
            return 0;
        },
        message);
}

}  // namespace

namespace core {

std::int32_t getString(OcciHandler* handler, CallingContext& context, std::int32_t index,
                       KavexPointerRecord* record) {
    return readValue(handler, context, index, record, &Session::readString,
                     "Cannot read character type value from [");
}

std::int32_t getByteArray(OcciHandler* handler, CallingContext& context, std::int32_t index,
                          KavexPointerRecord* record) {
    return readValue(handler, context, index, record, &Session::readBytes,
                     "Cannot read 'byte array' type value from [");
}

std::int32_t getInteger(OcciHandler* handler, CallingContext& context, std::int32_t index,
                        KavexIntRecord* record) {
    return readValue(handler, context, index, record, &Session::readInteger,
                     "Cannot read 'int' type value from [");
}

std::int32_t getFloat(OcciHandler* handler, CallingContext& context, std::int32_t index,
                      KavexFloatRecord* record) {
    return readValue(handler, context, index, record, &Session::readFloat,
                     "Cannot read 'float' type value from [");
}

std::int32_t getDouble(OcciHandler* handler, CallingContext& context, std::int32_t index,
                       KavexDoubleRecord* record) {
    return readValue(handler, context, index, record, &Session::readDouble,
                     "Cannot read 'double' type value from [");
}

}  // namespace core
