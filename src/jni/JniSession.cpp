#include "jni/JniSession.h"

#include <stdexcept>
#include <string>

#include "jni/JniContext.h"
#include "jni/JniDataTypeHandlers.h"
#include "jni/JniHandlers.h"
#include "jni/JniText.h"
#include "values/ColumnInfo.h"

namespace {

// Appends values to a Java list through its add(Object) method, looked up at the first append.
// Each value's local reference is dropped once appended, so a row or metadata list of any width
// holds a bounded number of references. Stops at the first failure (no add method, or a Java
// exception pending): after that it makes no JNI call but releases.
class ListAppender {
public:
    ListAppender(JniContext& context, jobject list) : context(context), list(list) {}

    bool complete() const { return !stopped; }

    void value(jobject item) {
        if (!stopped) {
            add = context.addToList(item, list, add);
        }
        stopped = stopped || add == nullptr;
        if (item != nullptr) {
            context.env->DeleteLocalRef(item);
        }
    }
    void text(const std::string& item) {
        if (!stopped) {
            value(newJavaString(context.env, item));
        }
    }
    void integer(jint item) {
        if (!stopped) {
            value(context.newInteger(item));
        }
    }

private:
    JniContext& context;
    const jobject list;
    jmethodID add = nullptr;
    bool stopped = false;
};

}  // namespace

Session::DataTypeHandlers* JniSession::handlerTable() {
    return &JniDataTypeHandlers::instance();
}

const char* JniSession::returnString(const char*, std::int32_t) {
    return nullptr;
}

bool JniSession::readRow(CallingContext& context, void* target) {
    auto& jni = static_cast<JniContext&>(context);
    auto row = static_cast<jobject>(target);
    if (row == nullptr) {
        throw std::invalid_argument("no row list");
    }
    if (!columns.empty() && resultSet == nullptr) {
        // Columns of a described object, with no query result to read them from.
        throw std::logic_error("no result set");
    }
    const DataTypeHandlers& table = typeHandlers != nullptr ? *typeHandlers : *handlerTable();
    ListAppender appender(jni, row);
    for (const auto& column : columns) {
        if (!appender.complete()) {
            break;
        }
        std::unique_ptr<TypeHandler> fresh;
        const auto& handler =
            static_cast<const JniTypeHandler&>(*table.handlerFor(column->type, fresh));
        appender.value(handler.readValue(jni, *this, *column, *resultSet));
    }
    return appender.complete();
}

bool JniSession::collectMetaData(CallingContext& context, const std::string&,
                                 const std::string& objectName, void* target) {
    auto& jni = static_cast<JniContext&>(context);
    auto list = static_cast<jobject>(target);
    if (list == nullptr) {
        throw std::invalid_argument("no metadata list");
    }
    if (!objectName.empty() && !describeObject(objectName)) {
        return false;
    }
    ListAppender appender(jni, list);
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
    return appender.complete();
}
