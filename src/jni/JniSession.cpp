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

JniSession::~JniSession() {
    if (rowValues == nullptr) {
        return;
    }
    // Closed from a thread the JVM does not know (through the flat interface), the array is left
    // to the JVM: a global reference can only be deleted through an attached thread.
    JNIEnv* env = nullptr;
    if (jvm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_6) == JNI_OK) {
        env->DeleteGlobalRef(rowValues);
        texts.release(env);
    }
}

jobjectArray JniSession::rowArray(JniContext& context, jobject list, jsize width) {
    // A single value gains nothing from gathering. (No Java exception is pending yet: a native
    // call starts without one, and nothing before this asked the JVM for anything.)
    if (width < 2 || !context.isCollection(list)) {
        return nullptr;
    }
    if (rowValues != nullptr && rowValuesWidth == width) {
        return rowValues;
    }
    jobjectArray made = context.newObjectArray(width);
    if (made == nullptr) {
        return nullptr;
    }
    auto kept = static_cast<jobjectArray>(context.env->NewGlobalRef(made));
    context.env->DeleteLocalRef(made);
    if (kept == nullptr || (jvm == nullptr && context.env->GetJavaVM(&jvm) != JNI_OK)) {
        if (kept != nullptr) {
            context.env->DeleteGlobalRef(kept);
        }
        context.env->ExceptionClear();  // the row goes value by value instead
        return nullptr;
    }
    if (rowValues != nullptr) {
        context.env->DeleteGlobalRef(rowValues);
    }
    rowValues = kept;
    rowValuesWidth = width;
    return rowValues;
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
    const auto width = static_cast<jsize>(columns.size());
    // The values' local references go when the native call returns, instead of one deletion per
    // value, where the JVM promises room for the row.
    const bool keepReferences = jni.makeRoomFor(width);
    const jobjectArray gathering = rowArray(jni, row, width);
    // A row gathered into the array stages its plain ASCII texts for the Java class to make.
    RowTexts* staging = gathering != nullptr && texts.begin(jni, width) ? &texts : nullptr;
    ListAppender appender(jni, row, width, gathering, keepReferences, staging);
    jni.rowTexts = staging;
    try {
        for (std::size_t position = 0; position < columns.size(); ++position) {
            if (!appender.complete()) {
                break;
            }
            const ColumnInfo& column = *columns[position];
            const auto& handler =
                static_cast<const JniTypeHandler&>(handlers.at(position, column, table));
            jobject value = handler.readValue(jni, *this, column, *resultSet);
            if (jni.takeStaged()) {
                appender.staged();
            } else {
                appender.value(value);
            }
        }
    } catch (...) {
        jni.rowTexts = nullptr;
        appender.finish();  // the values read before the failure stay in the list
        throw;
    }
    jni.rowTexts = nullptr;
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
