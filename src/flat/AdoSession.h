// The flat front end's session: hands texts out through a queue of the last 11 strings, and reads
// values into the host's packed records.
#ifndef KAVEX_FLAT_ADOSESSION_H
#define KAVEX_FLAT_ADOSESSION_H

#include <deque>
#include <string>

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
    const char* keepString(std::string text);
    // An empty string with the storage of the last one the queue let go: a text rendered into it
    // and then kept needs no allocation of its own.
    std::string recycledString();
    // The handler for the column at `index` and the kind of its type, found once per result set.
    ColumnHandlers::Found handlerAt(std::size_t index, const ColumnInfo& column);
    bool readString(CallingContext& context, int index, KavexPointerRecord* record) override;
    bool readInteger(CallingContext& context, int index, KavexIntRecord* record) override;
    bool readDouble(CallingContext& context, int index, KavexDoubleRecord* record) override;
    bool readFloat(CallingContext& context, int index, KavexFloatRecord* record) override;
    bool readBytes(CallingContext& context, int index, KavexPointerRecord* record) override;

    // The strings handed out, oldest first; at most 11 after any returnString.
    std::deque<std::string> returnedStrings;
    // Writes the texts of NUMBER values.
    NumberText numberText;

private:
    std::string released;  // the storage of the string the queue let go last
    ColumnHandlers handlers;
};

}  // namespace kavex

#endif
