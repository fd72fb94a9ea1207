// The column metadata operations: describing an object and reading the column records.
#include <string>

#include "session/Guarded.h"
#include "session/OcciHandler.h"
#include "session/Operations.h"
#include "session/Session.h"
#include "values/ColumnInfo.h"

namespace {

constexpr char kCannotGetMetaData[] = "Cannot get columns metadata";

// The record at index, or null when the index names no column.
const ColumnInfo* columnAt(const Session& session, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= session.columns.size()) {
        return nullptr;
    }
    return session.columns[static_cast<std::size_t>(index)].get();
}

Session* sessionOf(OcciHandler* handler) {
    return handler != nullptr ? handler->session.get() : nullptr;
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

std::string readText(OcciHandler* handler, std::int32_t index,
                     std::string ColumnInfo::*field, const char* message) noexcept {
    Session* session = sessionOf(handler);
    if (session == nullptr) {
        return failedText(core::kSessionNotInitialized);
    }
    const ColumnInfo* column = columnAt(*session, index);
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
std::int32_t readColumn(OcciHandler* handler, std::int32_t index, const char* message,
                        Answer answer) noexcept {
    Session* session = sessionOf(handler);
    if (session == nullptr) {
        return storeFailure(core::kSessionNotInitialized);
    }
    const ColumnInfo* column = columnAt(*session, index);
    if (column == nullptr) {
        return storeFailure(message);
    }
    const std::int32_t value = answer(*column);
    return value < 0 ? storeFailure(message) : value;
}

// Number getters refuse a negative value like a bad index.
std::int32_t readNumber(OcciHandler* handler, std::int32_t index,
                        std::int32_t ColumnInfo::*field, const char* message) noexcept {
    return readColumn(handler, index, message,
                      [field](const ColumnInfo& column) { return column.*field; });
}

std::int32_t readFlag(OcciHandler* handler, std::int32_t index, bool ColumnInfo::*field,
                      const char* message) noexcept {
    return readColumn(handler, index, message,
                      [field](const ColumnInfo& column) { return column.*field ? 1 : 0; });
}

}  // namespace

namespace core {

std::int32_t getMetaData(OcciHandler* handler, CallingContext& context,
                         const std::string& firstText, const std::string& objectName,
                         void* target) {
    return guarded(
        handler,
        [&](Session& session) -> std::int32_t {
            if (!session.collectMetaData(context, firstText, objectName, target)) {
                return storeFailure(kCannotGetMetaData);
            }
            return 0;
        },
        [] { return std::string(kCannotGetMetaData); });
}

std::int32_t getColumnsCount(OcciHandler* handler) {
    Session* session = sessionOf(handler);
    if (session == nullptr) {
        return storeFailure(kSessionNotInitialized);
    }
    return static_cast<std::int32_t>(session->columns.size());
}

std::string getColumnName(OcciHandler* handler, std::int32_t index) {
    return readText(handler, index, &ColumnInfo::name, "Cannot read column's name");
}

std::string getColumnSchemaName(OcciHandler* handler, std::int32_t index) {
    return readText(handler, index, &ColumnInfo::schemaName, "Cannot read column's schema name");
}

std::string getColumnTableName(OcciHandler* handler, std::int32_t index) {
    return readText(handler, index, &ColumnInfo::tableName, "Cannot read column's table name");
}

std::string getColumnTypeName(OcciHandler* handler, std::int32_t index) {
    return readText(handler, index, &ColumnInfo::typeName, "Cannot read column's type name");
}

std::int32_t getColumnType(OcciHandler* handler, std::int32_t index) {
    return readNumber(handler, index, &ColumnInfo::type, "Cannot read column's type");
}

std::int32_t getColumnSize(OcciHandler* handler, std::int32_t index) {
    return readNumber(handler, index, &ColumnInfo::size, "Cannot read column size");
}

std::int32_t getColumnPrecision(OcciHandler* handler, std::int32_t index) {
    return readNumber(handler, index, &ColumnInfo::precision, "Cannot read column precision");
}

std::int32_t getColumnScale(OcciHandler* handler, std::int32_t index) {
    return readNumber(handler, index, &ColumnInfo::scale, "Cannot read column scale");
}

std::int32_t getColumnIsAutoincremented(OcciHandler* handler, std::int32_t index) {
    return readFlag(handler, index, &ColumnInfo::isAutoIncremented,
                    "Cannot read column property 'is autoincremented'");
}

std::int32_t getColumnIsReadOnly(OcciHandler* handler, std::int32_t index) {
    return readFlag(handler, index, &ColumnInfo::isReadOnly,
                    "Cannot read column property 'is readonly'");
}

std::int32_t getColumnIsDbGenerated(OcciHandler* handler, std::int32_t index) {
    return readFlag(handler, index, &ColumnInfo::isAutoIncremented,
                    "Cannot read column property 'is db generated'");
}

std::int32_t getColumnIsNullable(OcciHandler* handler, std::int32_t index) {
    return readFlag(handler, index, &ColumnInfo::isNullable,
                    "Cannot read column property 'is nullable'");
}

}  // namespace core
