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

namespace kavex {

struct ColumnInfo;
struct ParameterBuffer;
class LobParameter;
class DataTypeHandlers;

class Session {
  public:
    using DataTypeHandlers = kavex::DataTypeHandlers;

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
    // Slots 5-9: the flat value reads into a record that is never null; the base and JniSession
    // return false.
    virtual bool readString(CallingContext& context, int index, KavexPointerRecord* record);
    virtual bool readInteger(CallingContext& context, int index, KavexIntRecord* record);
    virtual bool readDouble(CallingContext& context, int index, KavexDoubleRecord* record);
    virtual bool readFloat(CallingContext& context, int index, KavexFloatRecord* record);
    virtual bool readBytes(CallingContext& context, int index, KavexPointerRecord* record);

    // Any thread: asks the client to cancel the call running on the connection (OCIBreak); that
    // call fails with ORA-01013 and the session stays usable. With no call running nothing
    // happens. The caller must ensure the session is not torn down meanwhile
    // (OcciHandler::breakRunningCall). False when the client refused.
    bool breakRunningCall() noexcept;

    // Points typeHandlers at the front end's table, which the front end's first session fills.
    void attachHandlerTable();

    // Ends the current statement (parameters, columns, result set) and prepares sql in its place.
    // A failure stops the replacement where it happened: after a failed creation there is no
    // statement.
    void replaceStatement(const std::string& sql, bool autoCommit);
    // Runs the current statement: 0 when it produced a result set (whose columns are collected),
    // its update count (at most INT32_MAX) when it produced one, else 0. A re-run closes the
    // previous result set first.
    std::int32_t executeStatement();
    // The statement the binding, batch and execution operations work on; throws
    // std::logic_error when there is none (before the first replacement, or after one that
    // failed to create its statement).
    occi::Statement& currentStatement();
    // The result set of the last run that produced one, or null.
    occi::ResultSet* currentResultSet() const { return resultSet; }

    // Binds a NULL of the type code to the current statement (LOBs and LONG types directly,
    // other types through one ParameterBuffer per index).
    void bindNull(std::int32_t index, std::int32_t typeCode);
    // Drops every parameter buffer and LOB stream; never throws.
    void releaseParameters() noexcept;
    // Appends a chunk to the index's LOB, setting the LOB of `kind` up on the first chunk;
    // returns length, or -1 when the index's LOB has no open stream.
    std::int32_t streamToLob(std::int32_t index, std::int32_t kind, const void* buffer,
                             std::int32_t length);

    // Rebuilds `columns` from the list (of forResultSet's columns, or of the described object).
    void collectColumns(const std::vector<occi::MetaData>& list, const std::string& objectName,
                        occi::ResultSet* forResultSet);
    bool describeObject(const std::string& objectName);

    std::int32_t maxColumnSize = KAVEX_DEFAULT_MAX_COLUMN_SIZE;
    DataTypeHandlers* typeHandlers = nullptr;  // not owned: process-wide per front end
    occi::Connection* connection = nullptr;    // owned, released through the environment
    occi::Environment* environment = nullptr;  // owned
    std::vector<std::unique_ptr<ColumnInfo>> columns;
    std::map<std::int32_t, std::unique_ptr<ParameterBuffer>> parameters;
    std::map<std::int32_t, std::unique_ptr<LobParameter>> lobStreams;

  private:
    enum class OnFailure { Stop, GoOn };
    // Releases the parameters and columns, closes the result set and hands the statement back:
    // replacement stops at the first failure, teardown goes on past every failure.
    void endStatement(OnFailure onFailure);
    // Closes the current result set, if any, and forgets its columns.
    void closeResultSet();

    occi::Statement* statement = nullptr;  // released with Connection::terminateStatement
    occi::ResultSet* resultSet = nullptr;  // released with Statement::closeResultSet
};

}  // namespace kavex

#endif
