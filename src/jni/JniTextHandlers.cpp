// Handlers whose values reach Java as String: characters, row ids, numbers, dates, timestamps and
// the unsupported-type text.
#include <string>

#include "jni/JniHandlers.h"
#include "values/CharacterCut.h"
#include "values/TextConversion.h"

namespace kavex {

namespace {

// Empty texts read as null, exactly as NULL values do.
jobject stringOrNull(JniContext& context, const std::string& text) {
    return text.empty() ? nullptr : context.textValue(text);
}

}  // namespace

jobject DefaultJniHandler::readValue(JniContext& context, JniSession&, const ColumnInfo&,
                                     occi::ResultSet&) const {
    return context.textValue("not supported data type (" + std::to_string(typeCode) + ")");
}

jobject CStrJniHandler::readValue(JniContext& context, JniSession& session,
                                  const ColumnInfo& column, occi::ResultSet& resultSet) const {
    // A NULL value reads as the empty text, and both give null: no separate NULL test needed.
    std::string text = resultSet.getString(static_cast<unsigned int>(column.index) + 1);
    keepWholeCharacters(text, column, session.maxColumnSize);
    return stringOrNull(context, text);
}

jobject NumberJniHandler::readValue(JniContext& context, JniSession& session,
                                    const ColumnInfo& column, occi::ResultSet& resultSet) const {
    std::string& text = session.textBuffer;
    text.clear();
    if (!session.numberText.append(resultSet, static_cast<unsigned int>(column.index) + 1,
                                   column.textFormat, session.environment, text)) {
        return nullptr;
    }
    return stringOrNull(context, text);
}

jobject DateJniHandler::readValue(JniContext& context, JniSession& session,
                                  const ColumnInfo& column, occi::ResultSet& resultSet) const {
    const occi::Date date = resultSet.getDate(static_cast<unsigned int>(column.index) + 1);
    if (date.isNull()) {
        return nullptr;
    }
    std::string& text = session.textBuffer;
    text.clear();
    appendDateText(date, column.textFormat, text);
    return stringOrNull(context, text);
}

jobject TimestampJniHandler::readValue(JniContext& context, JniSession& session,
                                       const ColumnInfo& column,
                                       occi::ResultSet& resultSet) const {
    const occi::Timestamp timestamp =
        resultSet.getTimestamp(static_cast<unsigned int>(column.index) + 1);
    if (timestamp.isNull()) {
        return nullptr;
    }
    std::string& text = session.textBuffer;
    text.clear();
    appendTimestampText(timestamp, column.textFormat, column.fractionDigits(), text);
    return stringOrNull(context, text);
}

}  // namespace kavex
