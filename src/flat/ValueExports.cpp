// Column values of the current row, delivered into the host's packed records.
#include "flat/AdoContext.h"
#include "flat/ExportFrame.h"
#include "kavex_oracleociw.h"
#include "session/PositionMessage.h"

namespace {

using core::columnMessage;

// A missing record is refused with the reader's own message; nothing is written.
template <class Record, class Reader>
int readInto(int sessionId, int index, Record* record, const char* ownPrefix,
             Reader reader) noexcept {
    try {
        const SessionLease lease(sessionId);
        OcciHandler* handler = lease.handler();
        if (handler == nullptr) {
            return storeFailure(lease.refusal());
        }
        if (record == nullptr) {
            return storeFailure(columnMessage(ownPrefix, index));
        }
        return reader(handler, AdoContext::instance(), index, record);
    } catch (...) {
        try {
            return storeFailure(columnMessage(ownPrefix, index));
        } catch (...) {
            return storeFailure(ownPrefix);
        }
    }
}

}  // namespace

extern "C" {

KAVEX_API int GetString(int sessionId, int index, KavexPointerRecord* record) {
    return readInto(sessionId, index, record, "Cannot read character type value from [",
                    core::getString);
}

KAVEX_API int GetByteArray(int sessionId, int index, KavexPointerRecord* record) {
    return readInto(sessionId, index, record, "Cannot read 'byte array' type value from [",
                    core::getByteArray);
}

KAVEX_API int GetInteger(int sessionId, int index, KavexIntRecord* record) {
    return readInto(sessionId, index, record, "Cannot read 'int' type value from [",
                    core::getInteger);
}

KAVEX_API int GetFloat(int sessionId, int index, KavexFloatRecord* record) {
    return readInto(sessionId, index, record, "Cannot read 'float' type value from [",
                    core::getFloat);
}

KAVEX_API int GetDouble(int sessionId, int index, KavexDoubleRecord* record) {
    return readInto(sessionId, index, record, "Cannot read 'double' type value from [",
                    core::getDouble);
}

}  // extern "C"
