// Handlers whose values reach Java as String: characters, row ids, numbers, dates, timestamps and
// the unsupported-type text.
#include <string>

#include "jni/JniHandlers.h"
#include "jni/JniText.h"
#include "values/CharacterCut.h"
#include "values/TextConversion.h"

namespace kavex {

namespace {

// Empty texts read as null, exactly as NULL values do.
jobject stringOrNull(JniContext& context, const std::string& text) {
    return text.empty() ? nullptr : newJavaString(context.env, text);
}

}  // namespace

jobject DefaultJniHandler::readValue(JniContext& context, JniSession&, const ColumnInfo&,
                                     occi::ResultSet&) const {
    return newJavaString(context.env,
                         "not supported data type (" + std::to_string(typeCode) + ")");
}

jobject CStrJniHandler::readValue(JniContext& context, JniSession& session,
                                  const ColumnInfo& column, occi::ResultSet& resultSet) const {
    const unsigned int i = static_cast<unsigned int>(column.index) + 1;
    std::string text = resultSet.getString(i);
    if (resultSet.isNull(i)) {
        return nullptr;
    }
    keepWholeCharacters(text, column, session.maxColumnSize);
    return stringOrNull(context, text);
}

jobject NumberJniHandler::readValue(JniContext& context, JniSession& session,
                                    const ColumnInfo& column, occi::ResultSet& resultSet) const {
    const occi::Number number = resultSet.getNumber(static_cast<unsigned int>(column.index) + 1);
    if (number.isNull()) {
        return nullptr;
    }
    return stringOrNull(context, numberToText(number, column.textFormat, session.environment));
}

jobject DateJniHandler::readValue(JniContext& context, JniSession&, const ColumnInfo& column,
                                  occi::ResultSet& resultSet) const {
    const occi::Date date = resultSet.getDate(static_cast<unsigned int>(column.index) + 1);
    if (date.isNull()) {
        return nullptr;
    }
    return stringOrNull(context, dateToText(date, column.textFormat));
}

jobject TimestampJniHandler::readValue(JniContext& context, JniSession&,
                                       const ColumnInfo& column,
                                       occi::ResultSet& resultSet) const {
    const occi::Timestamp timestamp =
        resultSet.getTimestamp(static_cast<unsigned int>(column.index) + 1);
    if (timestamp.isNull()) {
        return nullptr;
    }
    return stringOrNull(context,
                        timestampToText(timestamp, column.textFormat, column.fractionDigits()));
}

}  // namespace kavex
