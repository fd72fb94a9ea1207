#include "flat/AdoHandlers.h"

#include <cstdio>
#include <string>
#include <utility>

#include "values/CharacterCut.h"
#include "values/LobReading.h"
#include "values/TextConversion.h"

namespace kavex {

namespace {

unsigned int columnNumber(const ColumnInfo& column) {
    return static_cast<unsigned int>(column.index + 1);
}

AdoTextContainer noValue() {
    return AdoTextContainer{true, 0, nullptr};
}

// Hands the bytes out through the session's queue; nothing read counts as no value.
AdoTextContainer handOut(AdoSession& session, std::string&& bytes) {
    if (bytes.empty()) {
        return noValue();
    }
    const auto length = static_cast<std::int32_t>(bytes.size());
    return AdoTextContainer{false, length, session.keepString(std::move(bytes))};
}

// Hands the bytes of a non-null LOB out through the session's queue: an empty LOB is a value
// of length 0, not a NULL (its IS NULL is false in SQL).
AdoTextContainer handOutLob(AdoSession& session, std::string&& bytes) {
    const auto length = static_cast<std::int32_t>(bytes.size());
    return AdoTextContainer{false, length, session.keepString(std::move(bytes))};
}

// Hands out the text startString's string holds; an empty one counts as no value.
AdoTextContainer handOutStarted(AdoSession& session) {
    const std::string* text = session.finishString();
    if (text == nullptr) {
        return noValue();
    }
    return AdoTextContainer{false, static_cast<std::int32_t>(text->size()), text->c_str()};
}

}  // namespace

AdoTextContainer DefaultAdoHandler::readValue(AdoContext&, AdoSession& session,
                                              const ColumnInfo&, occi::ResultSet&) const {
    char text[100];
    const int written = std::snprintf(text, sizeof text, "not supported data type (%i)", typeCode);
    const auto length = static_cast<std::int32_t>(written);
    return AdoTextContainer{false, length, session.returnString(text, length)};
}

AdoTextContainer CStrAdoHandler::readValue(AdoContext&, AdoSession& session,
                                           const ColumnInfo& column,
                                           occi::ResultSet& resultSet) const {
    const unsigned int number = columnNumber(column);
    if (resultSet.isNull(number)) {
        return noValue();
    }
    std::string text = resultSet.getString(number);
    keepWholeCharacters(text, column, session.maxColumnSize);
    const auto length = static_cast<std::int32_t>(text.size());
    return AdoTextContainer{false, length, session.keepString(std::move(text))};
}

AdoTextContainer NumberAdoHandler::readValue(AdoContext&, AdoSession& session,
                                             const ColumnInfo& column,
                                             occi::ResultSet& resultSet) const {
    std::string& text = session.startString();
    session.numberText.append(resultSet, columnNumber(column), column.textFormat,
                              session.environment, text);
    return handOutStarted(session);
}

AdoTextContainer DateAdoHandler::readValue(AdoContext&, AdoSession& session,
                                           const ColumnInfo& column,
                                           occi::ResultSet& resultSet) const {
    const occi::Date date = resultSet.getDate(columnNumber(column));
    if (date.isNull()) {
        return noValue();
    }
    appendDateText(date, column.textFormat, session.startString());
    return handOutStarted(session);
}

AdoTextContainer TimestampAdoHandler::readValue(AdoContext&, AdoSession& session,
                                                const ColumnInfo& column,
                                                occi::ResultSet& resultSet) const {
    const occi::Timestamp timestamp = resultSet.getTimestamp(columnNumber(column));
    if (timestamp.isNull()) {
        return noValue();
    }
    appendTimestampText(timestamp, column.textFormat, column.fractionDigits(),
                        session.startString());
    return handOutStarted(session);
}

AdoTextContainer ClobAdoHandler::readValue(AdoContext&, AdoSession& session,
                                           const ColumnInfo& column,
                                           occi::ResultSet& resultSet) const {
    occi::Clob clob = resultSet.getClob(columnNumber(column));
    if (clob.isNull()) {
        return noValue();
    }
    return handOutLob(session, readClobText(clob, column.charSetForm, session.maxColumnSize));
}

AdoTextContainer BlobAdoHandler::readValue(AdoContext&, AdoSession& session,
                                           const ColumnInfo& column,
                                           occi::ResultSet& resultSet) const {
    occi::Blob blob = resultSet.getBlob(columnNumber(column));
    if (blob.isNull()) {
        return noValue();
    }
    return handOutLob(session, readBlobBytes(blob, session.maxColumnSize));
}

AdoTextContainer BinaryAdoHandler::readValue(AdoContext&, AdoSession& session,
                                             const ColumnInfo& column,
                                             occi::ResultSet& resultSet) const {
    const occi::Bytes bytes = resultSet.getBytes(columnNumber(column));
    if (bytes.isNull()) {
        return noValue();
    }
    return handOut(session, readRawBytes(bytes, session.maxColumnSize));
}

DataContainer<int> IntegerAdoHandler::readValue(AdoContext&, AdoSession&,
                                                const ColumnInfo& column,
                                                occi::ResultSet& resultSet) const {
    const unsigned int number = columnNumber(column);
    if (resultSet.isNull(number)) {
        return DataContainer<int>{true, 0, 0};
    }
    return DataContainer<int>{false, 0, resultSet.getInt(number)};
}

DataContainer<float> FloatAdoHandler::readValue(AdoContext&, AdoSession&,
                                                const ColumnInfo& column,
                                                occi::ResultSet& resultSet) const {
    const occi::BFloat value = resultSet.getBFloat(columnNumber(column));
    if (value.isNull) {
        return DataContainer<float>{true, 0, 0.0f};
    }
    return DataContainer<float>{false, 0, value.value};
}

DataContainer<double> DoubleAdoHandler::readValue(AdoContext&, AdoSession&,
                                                  const ColumnInfo& column,
                                                  occi::ResultSet& resultSet) const {
    const occi::BDouble value = resultSet.getBDouble(columnNumber(column));
    if (value.isNull) {
        return DataContainer<double>{true, 0, 0.0};
    }
    return DataContainer<double>{false, 0, value.value};
}

}  // namespace kavex
