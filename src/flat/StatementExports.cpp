// Running statements, walking rows, binding parameters, batches and LOB streaming.
#include "flat/ExportFrame.h"
#include "kavex_oracleociw.h"

using flat::isSet;
using flat::withSession;

extern "C" {

KAVEX_API int ExecuteQuery(int sessionId, const char* sql, kavex_bool autoCommit) {
    return withSession(sessionId, "Cannot execute query", [&](OcciHandler* handler) {
        return core::executeQuery(handler, sql, isSet(autoCommit));
    });
}

KAVEX_API int PrepareQuery(int sessionId, const char* sql, kavex_bool autoCommit) {
    return withSession(sessionId, "Cannot prepare query", [&](OcciHandler* handler) {
        return core::prepareQuery(handler, sql, isSet(autoCommit));
    });
}

KAVEX_API int Execute(int sessionId) {
    return withSession(sessionId, "Cannot execute query iteration",
                       [](OcciHandler* handler) { return core::execute(handler); });
}

KAVEX_API int NextRow(int sessionId) {
    return withSession(sessionId, "Cannot move to next row",
                       [](OcciHandler* handler) { return core::nextRow(handler); });
}

KAVEX_API int SetIntSessionProperty(int sessionId, int propertyId, int value) {
    return withSession(sessionId, "Cannot set property", [&](OcciHandler* handler) {
        return core::setIntSessionProperty(handler, propertyId, value);
    });
}

KAVEX_API int SetMaxParSize(int sessionId, unsigned index, unsigned size) {
    return withSession(sessionId, "Cannot set max parameter size", [&](OcciHandler* handler) {
        return core::setMaxParSize(handler, index, size);
    });
}

KAVEX_API int SetMaxIterations(int sessionId, unsigned count) {
    return withSession(sessionId, "Cannot set max iterations number", [&](OcciHandler* handler) {
        return core::setMaxIterations(handler, count);
    });
}

KAVEX_API int AddIteration(int sessionId) {
    return withSession(sessionId, "Cannot execute batch iteration",
                       [](OcciHandler* handler) { return core::addIteration(handler); });
}

KAVEX_API int SetNull(int sessionId, int index, int typeCode) {
    return withSession(sessionId, "Cannot assign NULL value", [&](OcciHandler* handler) {
        return core::setNull(handler, index, typeCode);
    });
}

KAVEX_API int SetString(int sessionId, int index, const char* value, kavex_bool isNull) {
    return withSession(sessionId, "Cannot assign string value", [&](OcciHandler* handler) {
        // A missing text is a NULL, bound as the empty text.
        const bool bindsNull = value == nullptr || isSet(isNull);
        return core::setString(handler, index, bindsNull ? "" : value, bindsNull);
    });
}

KAVEX_API int SetInt(int sessionId, int index, int value, kavex_bool isNull) {
    return withSession(sessionId, "Cannot assign 'int' type value", [&](OcciHandler* handler) {
        return core::setInt(handler, index, value, isSet(isNull));
    });
}

KAVEX_API int SetFloat(int sessionId, int index, float value, kavex_bool isNull) {
    return withSession(sessionId, "Cannot assign 'float' type value", [&](OcciHandler* handler) {
        return core::setFloat(handler, index, value, isSet(isNull));
    });
}

KAVEX_API int SetDouble(int sessionId, int index, double value, kavex_bool isNull) {
    return withSession(sessionId, "Cannot assign 'double' type value", [&](OcciHandler* handler) {
        return core::setDouble(handler, index, value, isSet(isNull));
    });
}

KAVEX_API int SetTimestamp(int sessionId, int index, int year, unsigned month, unsigned day,
                           unsigned hour, unsigned minute, unsigned second, unsigned fraction,
                           int tzHour, int tzMinute, kavex_bool isNull) {
    return withSession(sessionId, "Cannot assign 'timestamp' value", [&](OcciHandler* handler) {
        return core::setTimestamp(handler, index, year, month, day, hour, minute, second,
                                  fraction, tzHour, tzMinute, isSet(isNull));
    });
}

KAVEX_API int StreamParameterToLob(int sessionId, int index, int lobKind, const void* data,
                                   unsigned length) {
    return withSession(sessionId, "Cannot stream BLOB/CLOB type value", [&](OcciHandler* handler) {
        return core::streamParameterToLob(handler, index, lobKind, data, length);
    });
}

KAVEX_API int StreamParameterToLobLast(int sessionId, int index) {
    return withSession(sessionId, "Cannot post BLOB/CLOB type value", [&](OcciHandler* handler) {
        return core::streamParameterToLobLast(handler, index);
    });
}

}  // extern "C"
