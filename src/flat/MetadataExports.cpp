// Column metadata of the current result or of a described object.
#include "flat/AdoContext.h"
#include "flat/ExportFrame.h"
#include "kavex_oracleociw.h"
#include "session/Session.h"

using flat::withSession;

namespace {

using TextGetter = std::string (*)(OcciHandler*, std::int32_t);

// The text (value or failure message) is handed out through the session's returned strings.
// Without a session the refusal, a constant text, is returned; a failure of the frame itself
// returns the getter's own message, also a constant. Nothing is stored: the caller gets no id.
const char* returnedText(int sessionId, int index, TextGetter getter,
                         const char* ownMessage) noexcept {
    try {
        const SessionLease lease(sessionId);
        OcciHandler* handler = lease.handler();
        if (handler == nullptr) {
            return lease.refusal();
        }
        const std::string text = getter(handler, index);
        return handler->session->returnString(text.data(),
                                              static_cast<std::int32_t>(text.size()));
    } catch (...) {
        return ownMessage;
    }
}

}  // namespace

extern "C" {

KAVEX_API int GetMetaData(int sessionId, const char* unused, const char* objectName) {
    static const char* const ownMessage = "Cannot get columns metadata";
    return withSession(sessionId, ownMessage, [&](OcciHandler* handler) -> std::int32_t {
        if (objectName == nullptr) {
            return storeFailure(ownMessage);
        }
        return core::getMetaData(handler, AdoContext::instance(), unused ? unused : "",
                                 objectName, nullptr);
    });
}

KAVEX_API int GetColumnsCount(int sessionId) {
    return withSession(sessionId, "Cannot read columns count",
                       [](OcciHandler* handler) { return core::getColumnsCount(handler); });
}

KAVEX_API const char* GetColumnName(int sessionId, int index) {
    return returnedText(sessionId, index, core::getColumnName, "Cannot read column's name");
}

KAVEX_API const char* GetColumnSchemaName(int sessionId, int index) {
    return returnedText(sessionId, index, core::getColumnSchemaName,
                        "Cannot read column's schema name");
}

KAVEX_API const char* GetColumnTableName(int sessionId, int index) {
    return returnedText(sessionId, index, core::getColumnTableName,
                        "Cannot read column's table name");
}

KAVEX_API const char* GetColumnTypeName(int sessionId, int index) {
    return returnedText(sessionId, index, core::getColumnTypeName,
                        "Cannot read column's type name");
}

KAVEX_API int GetColumnType(int sessionId, int index) {
    return withSession(sessionId, "Cannot read column's type", [&](OcciHandler* handler) {
        return core::getColumnType(handler, index);
    });
}

KAVEX_API int GetColumnSize(int sessionId, int index) {
    return withSession(sessionId, "Cannot read column size", [&](OcciHandler* handler) {
        return core::getColumnSize(handler, index);
    });
}

KAVEX_API int GetColumnScale(int sessionId, int index) {
    return withSession(sessionId, "Cannot read column scale", [&](OcciHandler* handler) {
        return core::getColumnScale(handler, index);
    });
}

KAVEX_API int GetColumnPrecision(int sessionId, int index) {
    return withSession(sessionId, "Cannot read column precision", [&](OcciHandler* handler) {
        return core::getColumnPrecision(handler, index);
    });
}

KAVEX_API int GetColumnIsAutoincremented(int sessionId, int index) {
    return withSession(sessionId, "Cannot read column property 'is autoincremented'",
                       [&](OcciHandler* handler) {
                           return core::getColumnIsAutoincremented(handler, index);
                       });
}

KAVEX_API int GetColumnIsReadOnly(int sessionId, int index) {
    return withSession(sessionId, "Cannot read column property 'is readonly'",
                       [&](OcciHandler* handler) {
                           return core::getColumnIsReadOnly(handler, index);
                       });
}

KAVEX_API int GetColumnIsDbGenerated(int sessionId, int index) {
    return withSession(sessionId, "Cannot read column property 'is db generated'",
                       [&](OcciHandler* handler) {
                           return core::getColumnIsDbGenerated(handler, index);
                       });
}

KAVEX_API int GetColumnIsNullable(int sessionId, int index) {
    return withSession(sessionId, "Cannot read column property 'is nullable'",
                       [&](OcciHandler* handler) {
                           return core::getColumnIsNullable(handler, index);
                       });
}

}  // extern "C"
