#include "jni/JniSession.h"

#include <stdexcept>
#include <string>

#include "jni/JniContext.h"
#include "jni/JniDataTypeHandlers.h"
#include "jni/JniHandlers.h"
#include "jni/ListAppender.h"
#include "values/ColumnInfo.h"

namespace kavex {

Session::DataTypeHandlers* JniSession::handlerTable() {
    return &JniDataTypeHandlers::instance();
}

const char* JniSession::returnString(const char*, std::int32_t) {
    return nullptr;
}

bool JniSession::readRow(CallingContext& context, void* target) {
    auto& jni = context.as<JniContext>();
    auto row = static_cast<jobject>(target);
    if (row == nullptr) {
        throw std::invalid_argument("no row list");
    }
    occi::ResultSet* resultSet = currentResultSet();
    if (!columns.empty() && resultSet == nullptr) {
        // Columns of a described object, with no query result to read them from.
        throw std::logic_error("no result set");
    }
    const DataTypeHandlers& table = typeHandlers != nullptr ? *typeHandlers : *handlerTable();
    ListAppender appender(jni, row, static_cast<jsize>(columns.size()));
    try {
        for (const auto& column : columns) {
            if (!appender.complete()) {
                break;
            }
            std::unique_ptr<TypeHandler> fresh;
            const auto& handler =
                static_cast<const JniTypeHandler&>(*table.handlerFor(column->type, fresh));
            appender.value(handler.readValue(jni, *this, *column, *resultSet));
        }
    } catch (...) {
        appender.finish();  // the values read before the failure stay in the list
        throw;
    }
    appender.finish();
    return appender.complete();
}

bool JniSession::collectMetaData(CallingContext& context, const std::string&,
                                 const std::string& objectName, void* target) {
    auto& jni = context.as<JniContext>();
    auto list = static_cast<jobject>(target);
    if (list == nullptr) {
        throw std::invalid_argument("no metadata list");
    }
    if (!objectName.empty() && !describeObject(objectName)) {
        return false;
    }
    ListAppender appender(jni, list, static_cast<jsize>(1 + 12 * columns.size()));
    appender.integer(static_cast<jint>(columns.size()));
    for (const auto& column : columns) {
        if (!appender.complete()) {
            break;
        }
        appender.text(column->name);
        appender.text(column->schemaName);
        appender.text(column->tableName);
        appender.integer(column->type);
        appender.text(column->typeName);
        appender.integer(column->size);
        appender.integer(column->scale);
        appender.integer(column->precision);
        appender.integer(column->isNullable ? 1 : 0);
        appender.integer(column->isReadOnly ? 1 : 0);
        appender.integer(column->isAutoIncremented ? 1 : 0);  // is autoincremented
        appender.integer(column->isAutoIncremented ? 1 : 0);  // is db generated
    }
    appender.finish();
    return appender.complete();
}

}  // namespace kavex
