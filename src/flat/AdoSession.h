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
    const char* keepString(std::string&& text);
    // A cleared string at the back of the queue, with the storage of a string the queue let go,
    // for a text rendered in place: finishString hands it out. A second startString before
    // finishString gives the same string again.
    std::string& startString();
    // Hands out the string startString gave and returns its text, or, when it stayed empty,
    // takes it back out of the queue and returns nullptr.
    const char* finishString();
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

    // The strings handed out, oldest first; at most 11 after any returnString.
    std::deque<std::string> returnedStrings;
    // Writes the texts of NUMBER values.
    NumberText numberText;

private:
    // Lets the oldest strings go while more than 11 are kept, keeping the largest storage.
    void letOldestGo();

    std::string released;  // the storage of the string the queue let go last
    bool pending = false;  // the back string is startString's, not yet handed out
    ColumnHandlers handlers;
};

}  // namespace kavex

#endif
