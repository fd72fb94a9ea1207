// The core operations behind both front ends. Each runs on the session the export's frame entered
// (see session/CallFrame.h), never throws, and returns 0 or its own non-negative value on success,
// a negative error id on failure.
#ifndef KAVEX_STATEMENT_OPERATIONS_H
#define KAVEX_STATEMENT_OPERATIONS_H

#include <cstdint>
#include <string>

#include "kavex_oracleociw.h"
#include "session/CallingContext.h"

namespace kavex {

class Session;

namespace core {

// Statement execution and the cursor.
std::int32_t executeQuery(Session& session, const char* sql, bool autoCommit) noexcept;
std::int32_t prepareQuery(Session& session, const char* sql, bool autoCommit) noexcept;
std::int32_t execute(Session& session) noexcept;
std::int32_t nextRow(Session& session) noexcept;
std::int32_t getRow(Session& session, CallingContext& context, void* row) noexcept;
std::int32_t setIntSessionProperty(Session& session, std::int32_t propertyId,
                                   std::int32_t value) noexcept;

// Binding, batches and LOB streaming.
std::int32_t setNull(Session& session, std::int32_t index, std::int32_t typeCode) noexcept;
std::int32_t setString(Session& session, std::int32_t index, const char* text,
                       bool isNull) noexcept;
std::int32_t setInt(Session& session, std::int32_t index, std::int32_t value, bool isNull) noexcept;
std::int32_t setFloat(Session& session, std::int32_t index, float value, bool isNull) noexcept;
std::int32_t setDouble(Session& session, std::int32_t index, double value, bool isNull) noexcept;
std::int32_t setTimestamp(Session& session, std::int32_t index, std::int32_t year,
                          std::uint32_t month, std::uint32_t day, std::uint32_t hour,
                          std::uint32_t minute, std::uint32_t second, std::uint32_t fraction,
                          std::int32_t tzHour, std::int32_t tzMinute, bool isNull) noexcept;
std::int32_t setMaxIterations(Session& session, std::uint32_t count) noexcept;
std::int32_t setMaxParSize(Session& session, std::uint32_t index, std::uint32_t size) noexcept;
std::int32_t addIteration(Session& session) noexcept;
std::int32_t streamParameterToLob(Session& session, std::int32_t index, std::int32_t lobKind,
                                  const void* data, std::int64_t length) noexcept;
std::int32_t streamParameterToLobLast(Session& session, std::int32_t index) noexcept;

// Column metadata. The text getters return the value, or on failure the message's text, which
// is not stored (the caller receives no id to fetch it with).
using ColumnTextGetter = std::string (*)(Session&, std::int32_t);
using ColumnNumberGetter = std::int32_t (*)(Session&, std::int32_t) noexcept;
std::int32_t getMetaData(Session& session, CallingContext& context, const std::string& firstText,
                         const std::string& objectName, void* target) noexcept;
std::int32_t getColumnsCount(Session& session) noexcept;
std::string getColumnName(Session& session, std::int32_t index);
std::string getColumnSchemaName(Session& session, std::int32_t index);
std::string getColumnTableName(Session& session, std::int32_t index);
std::string getColumnTypeName(Session& session, std::int32_t index);
std::int32_t getColumnType(Session& session, std::int32_t index) noexcept;
std::int32_t getColumnSize(Session& session, std::int32_t index) noexcept;
std::int32_t getColumnPrecision(Session& session, std::int32_t index) noexcept;
std::int32_t getColumnScale(Session& session, std::int32_t index) noexcept;
std::int32_t getColumnIsAutoincremented(Session& session, std::int32_t index) noexcept;
std::int32_t getColumnIsReadOnly(Session& session, std::int32_t index) noexcept;
std::int32_t getColumnIsDbGenerated(Session& session, std::int32_t index) noexcept;
std::int32_t getColumnIsNullable(Session& session, std::int32_t index) noexcept;

// Flat value transfer into the host's record; a null record is refused with the read's own
// message and nothing is written.
std::int32_t getString(Session& session, CallingContext& context, std::int32_t index,
                       KavexPointerRecord* record) noexcept;
std::int32_t getByteArray(Session& session, CallingContext& context, std::int32_t index,
                          KavexPointerRecord* record) noexcept;
std::int32_t getInteger(Session& session, CallingContext& context, std::int32_t index,
                        KavexIntRecord* record) noexcept;
std::int32_t getFloat(Session& session, CallingContext& context, std::int32_t index,
                      KavexFloatRecord* record) noexcept;
std::int32_t getDouble(Session& session, CallingContext& context, std::int32_t index,
                       KavexDoubleRecord* record) noexcept;

}  // namespace core
}  // namespace kavex

#endif
