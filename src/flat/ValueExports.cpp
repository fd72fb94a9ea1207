// Column values of the current row, delivered into the host's packed records.
#include "flat/AdoContext.h"
#include "flat/ExportFrame.h"

namespace {

using kavex::Session;
namespace messages = kavex::messages;

template <class Record, class Reader>
int readInto(int sessionId, int index, Record* record, const messages::NamingPosition& text,
             Reader reader) noexcept {
    return kavex::withSession(
        sessionId, [&] { return text.atOrPrefix(index); },
        [&](Session& session) {
            return reader(session, kavex::AdoContext::instance(), index, record);
        });
}

}  // namespace

extern "C" {

KAVEX_API int GetString(int sessionId, int index, KavexPointerRecord* record) {
    return readInto(sessionId, index, record, messages::kGetString, kavex::core::getString);
}

KAVEX_API int GetByteArray(int sessionId, int index, KavexPointerRecord* record) {
    return readInto(sessionId, index, record, messages::kGetByteArray, kavex::core::getByteArray);
}

KAVEX_API int GetInteger(int sessionId, int index, KavexIntRecord* record) {
    return readInto(sessionId, index, record, messages::kGetInteger, kavex::core::getInteger);
}

KAVEX_API int GetFloat(int sessionId, int index, KavexFloatRecord* record) {
    return readInto(sessionId, index, record, messages::kGetFloat, kavex::core::getFloat);
}

KAVEX_API int GetDouble(int sessionId, int index, KavexDoubleRecord* record) {
    return readInto(sessionId, index, record, messages::kGetDouble, kavex::core::getDouble);
}

}  // extern "C"
