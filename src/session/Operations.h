// The core operations behind both front ends. Each takes the handler the registry found for the
// caller's session id (null when the id names no open session) and returns 0 or its own
// non-negative value on success, a negative error id on failure.
#ifndef KAVEX_SESSION_OPERATIONS_H
#define KAVEX_SESSION_OPERATIONS_H

#include <cstdint>
#include <string>

#include "kavex_oracleociw.h"
#include "session/CallingContext.h"

class OcciHandler;

namespace core {

// Text of the failure stored for an id that names no open session.
extern const char* const kSessionNotInitialized;  // "Session is not initialized"
// Text of the failure stored for a call made while the same thread is inside another call on the
// same session (a Java list's add() calling back).
extern const char* const kSessionBusy;

// Statement execution and the cursor (statement/).
std::int32_t executeQuery(OcciHandler* handler, const char* sql, bool autoCommit);
std::int32_t prepareQuery(OcciHandler* handler, const char* sql, bool autoCommit);
std::int32_t execute(OcciHandler* handler);
std::int32_t nextRow(OcciHandler* handler);
std::int32_t getRow(OcciHandler* handler, CallingContext& context, void* row);
std::int32_t setIntSessionProperty(OcciHandler* handler, std::int32_t propertyId,
                                   std::int32_t value);

// Binding, batches and LOB streaming (statement/).
std::int32_t setNull(OcciHandler* handler, std::int32_t index, std::int32_t typeCode);
std::int32_t setString(OcciHandler* handler, std::int32_t index, const char* text, bool isNull);
std::int32_t setInt(OcciHandler* handler, std::int32_t index, std::int32_t value, bool isNull);
std::int32_t setFloat(OcciHandler* handler, std::int32_t index, float value, bool isNull);
std::int32_t setDouble(OcciHandler* handler, std::int32_t index, double value, bool isNull);
std::int32_t setTimestamp(OcciHandler* handler, std::int32_t index, std::int32_t year,
                          std::uint32_t month, std::uint32_t day, std::uint32_t hour,
                          std::uint32_t minute, std::uint32_t second, std::uint32_t fraction,
                          std::int32_t tzHour, std::int32_t tzMinute, bool isNull);
std::int32_t setMaxIterations(OcciHandler* handler, std::uint32_t count);
std::int32_t setMaxParSize(OcciHandler* handler, std::uint32_t index, std::uint32_t size);
std::int32_t addIteration(OcciHandler* handler);
std::int32_t streamParameterToLob(OcciHandler* handler, std::int32_t index, std::int32_t lobKind,
                                  const void* data, std::int64_t length);
std::int32_t streamParameterToLobLast(OcciHandler* handler, std::int32_t index);

// Column metadata (values/). The text getters return the value, or on failure the stored
// message's text; both are copies.
std::int32_t getMetaData(OcciHandler* handler, CallingContext& context,
                         const std::string& firstText, const std::string& objectName,
                         void* target);
std::int32_t getColumnsCount(OcciHandler* handler);
std::string getColumnName(OcciHandler* handler, std::int32_t index);
std::string getColumnSchemaName(OcciHandler* handler, std::int32_t index);
std::string getColumnTableName(OcciHandler* handler, std::int32_t index);
std::string getColumnTypeName(OcciHandler* handler, std::int32_t index);
std::int32_t getColumnType(OcciHandler* handler, std::int32_t index);
std::int32_t getColumnSize(OcciHandler* handler, std::int32_t index);
std::int32_t getColumnPrecision(OcciHandler* handler, std::int32_t index);
std::int32_t getColumnScale(OcciHandler* handler, std::int32_t index);
std::int32_t getColumnIsAutoincremented(OcciHandler* handler, std::int32_t index);
std::int32_t getColumnIsReadOnly(OcciHandler* handler, std::int32_t index);
std::int32_t getColumnIsDbGenerated(OcciHandler* handler, std::int32_t index);
std::int32_t getColumnIsNullable(OcciHandler* handler, std::int32_t index);

// Flat value transfer (values/).
std::int32_t getString(OcciHandler* handler, CallingContext& context, std::int32_t index,
                       KavexPointerRecord* record);
std::int32_t getByteArray(OcciHandler* handler, CallingContext& context, std::int32_t index,
                          KavexPointerRecord* record);
std::int32_t getInteger(OcciHandler* handler, CallingContext& context, std::int32_t index,
                        KavexIntRecord* record);
std::int32_t getFloat(OcciHandler* handler, CallingContext& context, std::int32_t index,
                      KavexFloatRecord* record);
std::int32_t getDouble(OcciHandler* handler, CallingContext& context, std::int32_t index,
                       KavexDoubleRecord* record);

}  // namespace core

#endif
