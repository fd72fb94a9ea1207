// The column metadata operations: describing an object and reading the column records.
#include <string>

#include "session/CallFrame.h"
#include "session/Messages.h"
#include "statement/Operations.h"
#include "values/ColumnInfo.h"

namespace kavex::core {

namespace {

// The record at index, or null when the index names no column.
const ColumnInfo* columnAt(const Session& session, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= session.columns.size()) {
        return nullptr;
    }
    return session.columns[static_cast<std::size_t>(index)].get();
}

// A text getter answers a failure with the message itself. Nothing is stored: the caller receives
// no id under which it could fetch it.
std::string failedText(const char* message) noexcept {
    try {
        return message;
    } catch (...) {
        return std::string();
    }
}

std::string readText(const Session& session, std::int32_t index, std::string ColumnInfo::*field,
                     const char* message) noexcept {
    const ColumnInfo* column = columnAt(session, index);
    if (column == nullptr) {
        return failedText(message);
    }
    try {
        return column->*field;
    } catch (...) {
        return failedText(message);
    }
}

// answer(column) for the column at index; a bad index, or a negative answer, stores message.
template <class Answer>
std::int32_t readColumn(const Session& session, std::int32_t index, const char* message,
                        Answer answer) noexcept {
    const ColumnInfo* column = columnAt(session, index);
    if (column == nullptr) {
        return storeFailure(message);
    }
    const std::int32_t value = answer(*column);
    return value < 0 ? storeFailure(message) : value;
}

// Number getters refuse a negative value like a bad index.
std::int32_t readNumber(const Session& session, std::int32_t index, std::int32_t ColumnInfo::*field,
                        const char* message) noexcept {
    return readColumn(session, index, message,
                      [field](const ColumnInfo& column) { return column.*field; });
}

std::int32_t readFlag(const Session& session, std::int32_t index, bool ColumnInfo::*field,
                      const char* message) noexcept {
    return readColumn(session, index, message,
                      [field](const ColumnInfo& column) { return column.*field ? 1 : 0; });
}

}  // namespace

std::int32_t getMetaData(Session& session, CallingContext& context, const std::string& firstText,
                         const std::string& objectName, void* target) noexcept {
    return guarded(
        [&]() -> std::int32_t {
            if (!session.collectMetaData(context, firstText, objectName, target)) {
                return storeFailure(messages::kGetMetaData);
            }
            return 0;
        },
        [] { return std::string(messages::kGetMetaData); });
}

std::int32_t getColumnsCount(Session& session) noexcept {
    return static_cast<std::int32_t>(session.columns.size());
}

std::string getColumnName(Session& session, std::int32_t index) {
    return readText(session, index, &ColumnInfo::name, messages::kColumnName);
}

std::string getColumnSchemaName(Session& session, std::int32_t index) {
    return readText(session, index, &ColumnInfo::schemaName, messages::kColumnSchemaName);
}

std::string getColumnTableName(Session& session, std::int32_t index) {
    return readText(session, index, &ColumnInfo::tableName, messages::kColumnTableName);
}

std::string getColumnTypeName(Session& session, std::int32_t index) {
    return readText(session, index, &ColumnInfo::typeName, messages::kColumnTypeName);
}

std::int32_t getColumnType(Session& session, std::int32_t index) noexcept {
    return readNumber(session, index, &ColumnInfo::type, messages::kColumnType);
}

std::int32_t getColumnSize(Session& session, std::int32_t index) noexcept {
    return readNumber(session, index, &ColumnInfo::size, messages::kColumnSize);
}

std::int32_t getColumnPrecision(Session& session, std::int32_t index) noexcept {
    return readNumber(session, index, &ColumnInfo::precision, messages::kColumnPrecision);
}

std::int32_t getColumnScale(Session& session, std::int32_t index) noexcept {
    return readNumber(session, index, &ColumnInfo::scale, messages::kColumnScale);
}

std::int32_t getColumnIsAutoincremented(Session& session, std::int32_t index) noexcept {
    return readFlag(session, index, &ColumnInfo::isAutoIncremented,
                    messages::kColumnIsAutoincremented);
}

std::int32_t getColumnIsReadOnly(Session& session, std::int32_t index) noexcept {
    return readFlag(session, index, &ColumnInfo::isReadOnly, messages::kColumnIsReadOnly);
}

std::int32_t getColumnIsDbGenerated(Session& session, std::int32_t index) noexcept {
    return readFlag(session, index, &ColumnInfo::isAutoIncremented, messages::kColumnIsDbGenerated);
}

std::int32_t getColumnIsNullable(Session& session, std::int32_t index) noexcept {
    return readFlag(session, index, &ColumnInfo::isNullable, messages::kColumnIsNullable);
}

}  // namespace kavex::core
