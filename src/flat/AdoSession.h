// The flat front end's session: hands texts out through HandedOutStrings (the last 11 stay valid),
// and reads values into the host's packed records.
#ifndef KAVEX_FLAT_ADOSESSION_H
#define KAVEX_FLAT_ADOSESSION_H

#include <string>
#include <utility>

#include "flat/HandedOutStrings.h"
#include "session/Session.h"
#include "values/ColumnHandlers.h"
#include "values/NumberText.h"

namespace kavex {

class AdoSession : public Session {
public:
    class AdoDataTypeHandlers;  // flat/AdoDataTypeHandlers.h

    using Session::Session;
    ~AdoSession() override;

    DataTypeHandlers* handlerTable() override;
    bool collectMetaData(CallingContext& context, const std::string& firstText,
                         const std::string& objectName, void* target) override;
    bool readRow(CallingContext& context, void* target) override;
    const char* returnString(const char* text, std::int32_t length) override;
    // returnString for a text the caller no longer needs: kept without a copy.
    const char* keepString(std::string&& text) { return handedOut.keep(std::move(text)); }
    // The string a text is rendered into in place (HandedOutStrings::start), then handed out by
    // finishString, which gives nullptr when it stayed empty.
    std::string& startString() { return handedOut.start(); }
    const std::string* finishString() { return handedOut.finish(); }
    // The handler for the column at `index` and the kind of its type, found once per result set.
    ColumnHandlers::Found handlerAt(std::size_t index, const ColumnInfo& column) {
        return handlers.find(index, column,
                             typeHandlers != nullptr ? *typeHandlers : *handlerTable());
    }
    bool readString(CallingContext& context, int index, KavexPointerRecord* record) override;
    bool readInteger(CallingContext& context, int index, KavexIntRecord* record) override;
    bool readDouble(CallingContext& context, int index, KavexDoubleRecord* record) override;
    bool readFloat(CallingContext& context, int index, KavexFloatRecord* record) override;
    bool readBytes(CallingContext& context, int index, KavexPointerRecord* record) override;

    // The texts handed out to the host.
    HandedOutStrings handedOut;
    // Writes the texts of NUMBER values.
    NumberText numberText;

private:
    ColumnHandlers handlers;
};

}  // namespace kavex

#endif
