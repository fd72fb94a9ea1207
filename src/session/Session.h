// One open database session: its own OCCI environment and connection, the current statement and
// result set, the column records of the current result, the bound parameter state and the LOB
// streams in progress. AdoSession and JniSession add what their front end needs.
#ifndef KAVEX_SESSION_SESSION_H
#define KAVEX_SESSION_SESSION_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "kavex_oracleociw.h"
#include "occi/occi.h"
#include "session/CallingContext.h"

struct ColumnInfo;
struct ParameterBuffer;
class LobParameter;

class Session {
public:
    class DataTypeHandlers;  // values/DataTypeHandlers.h

    // Creates the environment (AL32UTF8 for both character sets, THREADED_UNMUTEXED) and the
    // connection; a failed connection terminates the environment before the exception leaves.
    Session(const std::string& userName, const std::string& password,
            const std::string& connectString);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Slot 0: the front end's process-wide handler table.
    virtual DataTypeHandlers* handlerTable() = 0;
    // Slot 1: teardown in reverse order of creation; never throws.
    virtual ~Session();
    // Slot 2: describes objectName (when not empty) and, for JNI, fills the Java list `target`.
    virtual bool collectMetaData(CallingContext& context, const std::string& firstText,
                                 const std::string& objectName, void* target) = 0;
    // Slot 3: appends the current row to the Java list `target`; the flat session returns false.
    virtual bool readRow(CallingContext& context, void* target) = 0;
    // Slot 4: keeps a copy of `length` bytes of text and returns a pointer to it (flat), or null.
    virtual const char* returnString(const char* text, std::int32_t length) = 0;
    // Slots 5-9: the flat value reads; the base and JniSession return false.
    virtual bool readString(CallingContext& context, int index, KavexPointerRecord* record);
    virtual bool readInteger(CallingContext& context, int index, KavexIntRecord* record);
    virtual bool readDouble(CallingContext& context, int index, KavexDoubleRecord* record);
    virtual bool readFloat(CallingContext& context, int index, KavexFloatRecord* record);
    virtual bool readBytes(CallingContext& context, int index, KavexPointerRecord* record);

    // Statement life (statement/).
    void replaceStatement(const std::string& sql, bool autoCommit);
    std::int32_t executeStatement();
    // Parameters (statement/).
    void bindNull(std::int32_t index, std::int32_t typeCode);
    void releaseParameters();
    std::int32_t streamToLob(std::int32_t index, std::int32_t kind, const void* buffer,
                             std::int32_t length);
    // Column records (values/).
    void collectColumns(const std::vector<occi::MetaData>& list, const std::string& objectName,
                        occi::ResultSet* forResultSet);
    bool describeObject(const std::string& objectName);

    std::int32_t maxColumnSize = 2000;
    DataTypeHandlers* typeHandlers = nullptr;  // not owned: process-wide per front end
    occi::Connection* connection = nullptr;    // owned, released through the environment
    occi::Statement* statement = nullptr;
    occi::Environment* environment = nullptr;  // owned
    occi::ResultSet* resultSet = nullptr;
    std::vector<std::unique_ptr<ColumnInfo>> columns;
    std::map<std::int32_t, std::unique_ptr<ParameterBuffer>> parameters;
    std::map<std::int32_t, std::unique_ptr<LobParameter>> lobStreams;
};

#endif
