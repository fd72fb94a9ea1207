// Running statements, walking rows, binding parameters, batches and LOB streaming.
#include "flat/ExportFrame.h"
#include "session/CallBreak.h"

using kavex::Session;
using kavex::withSession;
using kavex::flat::isSet;
namespace core = kavex::core;
namespace messages = kavex::messages;

extern "C" {

KAVEX_API int ExecuteQuery(int sessionId, const char* sql, kavex_bool autoCommit) {
    return withSession(sessionId, messages::kExecuteQuery.own, [&](Session& session) {
        return core::executeQuery(session, sql, isSet(autoCommit));
    });
}

KAVEX_API int PrepareQuery(int sessionId, const char* sql, kavex_bool autoCommit) {
    return withSession(sessionId, messages::kPrepareQuery.own, [&](Session& session) {
        return core::prepareQuery(session, sql, isSet(autoCommit));
    });
}

KAVEX_API int Execute(int sessionId) {
    return withSession(sessionId, messages::kExecute,
                       [](Session& session) { return core::execute(session); });
}

KAVEX_API int NextRow(int sessionId) {
    return withSession(sessionId, messages::kNextRow,
                       [](Session& session) { return core::nextRow(session); });
}

KAVEX_API int SetIntSessionProperty(int sessionId, int propertyId, int value) {
    // A cancel comes from another thread while the call it stops holds the session.
    if (propertyId == KAVEX_PROPERTY_CANCEL) return kavex::breakSessionCall(sessionId);
    return withSession(sessionId, messages::kSetProperty, [&](Session& session) {
        return core::setIntSessionProperty(session, propertyId, value);
    });
}

KAVEX_API int SetMaxParSize(int sessionId, unsigned index, unsigned size) {
    return withSession(sessionId, messages::kSetMaxParSize, [&](Session& session) {
        return core::setMaxParSize(session, index, size);
    });
}

KAVEX_API int SetMaxIterations(int sessionId, unsigned count) {
    return withSession(sessionId, messages::kSetMaxIterations, [&](Session& session) {
        return core::setMaxIterations(session, count);
    });
}

KAVEX_API int AddIteration(int sessionId) {
    return withSession(sessionId, messages::kAddIteration,
                       [](Session& session) { return core::addIteration(session); });
}

KAVEX_API int SetNull(int sessionId, int index, int typeCode) {
    return withSession(sessionId, messages::kSetNull.own, [&](Session& session) {
        return core::setNull(session, index, typeCode);
    });
}

KAVEX_API int SetString(int sessionId, int index, const char* value, kavex_bool isNull) {
    return withSession(sessionId, messages::kSetString.own, [&](Session& session) {
        // A missing text is a NULL, bound as the empty text.
        const bool bindsNull = value == nullptr || isSet(isNull);
        return core::setString(session, index, bindsNull ? "" : value, bindsNull);
    });
}

KAVEX_API int SetInt(int sessionId, int index, int value, kavex_bool isNull) {
    return withSession(sessionId, messages::kSetInt.own, [&](Session& session) {
        return core::setInt(session, index, value, isSet(isNull));
    });
}

KAVEX_API int SetFloat(int sessionId, int index, float value, kavex_bool isNull) {
    return withSession(sessionId, messages::kSetFloat.own, [&](Session& session) {
        return core::setFloat(session, index, value, isSet(isNull));
    });
}

KAVEX_API int SetDouble(int sessionId, int index, double value, kavex_bool isNull) {
    return withSession(sessionId, messages::kSetDouble.own, [&](Session& session) {
        return core::setDouble(session, index, value, isSet(isNull));
    });
}

KAVEX_API int SetTimestamp(int sessionId, int index, int year, unsigned month, unsigned day,
                           unsigned hour, unsigned minute, unsigned second, unsigned fraction,
                           int tzHour, int tzMinute, kavex_bool isNull) {
    return withSession(sessionId, messages::kSetTimestamp.own, [&](Session& session) {
        return core::setTimestamp(session, index, year, month, day, hour, minute, second,
                                  fraction, tzHour, tzMinute, isSet(isNull));
    });
}

KAVEX_API int StreamParameterToLob(int sessionId, int index, int lobKind, const void* data,
                                   unsigned length) {
    return withSession(sessionId, messages::kStreamToLob.own, [&](Session& session) {
        return core::streamParameterToLob(session, index, lobKind, data, length);
    });
}

KAVEX_API int StreamParameterToLobLast(int sessionId, int index) {
    return withSession(sessionId, messages::kPostLob.own, [&](Session& session) {
        return core::streamParameterToLobLast(session, index);
    });
}

}  // extern "C"
