// Column metadata of the current result or of a described object.
#include <string>

#include "flat/AdoContext.h"
#include "flat/ExportFrame.h"

using kavex::Session;
using kavex::withSession;
namespace core = kavex::core;
namespace messages = kavex::messages;

namespace {

using kavex::core::ColumnNumberGetter;
using kavex::core::ColumnTextGetter;

// The text (value or failure message) is handed out through the session's returned strings.
// Without a session the refusal, a constant text, is returned; a failure of the frame itself
// returns the getter's own message, also a constant. Nothing is stored: the caller gets no id.
const char* returnedText(int sessionId, int index, ColumnTextGetter getter,
                         const char* ownMessage) noexcept {
    return kavex::inSession(
        sessionId,
        [&](Session& session) {
            const std::string text = getter(session, index);
            return session.returnString(text.data(), static_cast<std::int32_t>(text.size()));
        },
        [](const char* refusal) { return refusal; }, [ownMessage] { return ownMessage; });
}

int columnNumber(int sessionId, int index, ColumnNumberGetter getter,
                 const char* ownMessage) noexcept {
    return withSession(sessionId, ownMessage,
                       [&](Session& session) { return getter(session, index); });
}

}  // namespace

extern "C" {

KAVEX_API int GetMetaData(int sessionId, const char* unused, const char* objectName) {
    return withSession(sessionId, messages::kGetMetaData, [&](Session& session) {
        if (objectName == nullptr) {
            return kavex::storeFailure(messages::kGetMetaData);
        }
        return core::getMetaData(session, kavex::AdoContext::instance(), unused ? unused : "",
                                 objectName, nullptr);
    });
}

KAVEX_API int GetColumnsCount(int sessionId) {
    return withSession(sessionId, messages::kColumnsCount,
                       [](Session& session) { return core::getColumnsCount(session); });
}

KAVEX_API const char* GetColumnName(int sessionId, int index) {
    return returnedText(sessionId, index, core::getColumnName, messages::kColumnName);
}

KAVEX_API const char* GetColumnSchemaName(int sessionId, int index) {
    return returnedText(sessionId, index, core::getColumnSchemaName, messages::kColumnSchemaName);
}

KAVEX_API const char* GetColumnTableName(int sessionId, int index) {
    return returnedText(sessionId, index, core::getColumnTableName, messages::kColumnTableName);
}

KAVEX_API const char* GetColumnTypeName(int sessionId, int index) {
    return returnedText(sessionId, index, core::getColumnTypeName, messages::kColumnTypeName);
}

KAVEX_API int GetColumnType(int sessionId, int index) {
    return columnNumber(sessionId, index, core::getColumnType, messages::kColumnType);
}

KAVEX_API int GetColumnSize(int sessionId, int index) {
    return columnNumber(sessionId, index, core::getColumnSize, messages::kColumnSize);
}

KAVEX_API int GetColumnScale(int sessionId, int index) {
    return columnNumber(sessionId, index, core::getColumnScale, messages::kColumnScale);
}

KAVEX_API int GetColumnPrecision(int sessionId, int index) {
    return columnNumber(sessionId, index, core::getColumnPrecision, messages::kColumnPrecision);
}

KAVEX_API int GetColumnIsAutoincremented(int sessionId, int index) {
    return columnNumber(sessionId, index, core::getColumnIsAutoincremented,
                        messages::kColumnIsAutoincremented);
}

KAVEX_API int GetColumnIsReadOnly(int sessionId, int index) {
    return columnNumber(sessionId, index, core::getColumnIsReadOnly, messages::kColumnIsReadOnly);
}

KAVEX_API int GetColumnIsDbGenerated(int sessionId, int index) {
    return columnNumber(sessionId, index, core::getColumnIsDbGenerated,
                        messages::kColumnIsDbGenerated);
}

KAVEX_API int GetColumnIsNullable(int sessionId, int index) {
    return columnNumber(sessionId, index, core::getColumnIsNullable, messages::kColumnIsNullable);
}

}  // extern "C"
