// The failure texts the library stores (and the column text getters return), each written once.
// Hosts compare them byte for byte, odd spellings included.
//
// An operation's `own` text is what its export stores when the call fails around the operation's
// work (entering the session, converting arguments). Where the operation's own failure names the
// SQL text, a parameter or a column, it is composed from a fixed prefix and suffix.
#ifndef KAVEX_SESSION_MESSAGES_H
#define KAVEX_SESSION_MESSAGES_H

#include <cstdint>
#include <string>

namespace kavex::messages {

// An id that names no open session, and a call made while the same thread is inside another call
// on the same session (a Java list's add() calling back).
inline constexpr char kSessionNotInitialized[] = "Session is not initialized";
inline constexpr char kSessionBusy[] =
    "Session is busy: a call on it from this thread has not returned yet";
// The text of every error id that names no message this thread may see.
inline constexpr char kUnknownError[] = "Unknown error";

// Opening a session.
inline constexpr char kOpenFailed[] = "Cannot open connection";
inline constexpr char kOpenPrefix[] = "Cannot open connection to server: ";
inline constexpr char kOpenUser[] = ", user: ";
inline constexpr char kNoEnvironment[] =
    "Cannot create execution environment. Make sure you are using correct version of Oracle OCI "
    "libraries";
inline constexpr char kUnreadableClientMessage[] = "Uknown error [Code:";

// prefix, the SQL text as given, "'".
struct QuotingSql {
    const char* own;
    const char* prefix;
    std::string with(const char* sql) const;
};

// prefix, the index in decimal, suffix.
struct NamingPosition {
    const char* own;
    const char* prefix;
    const char* suffix;
    std::string at(std::int32_t index) const;
    // at(index), or the prefix alone when that cannot be composed.
    std::string atOrPrefix(std::int32_t index) const;
};

// Statement execution and the cursor.
inline constexpr QuotingSql kExecuteQuery{"Cannot execute query", "Cannot execute query: '"};
inline constexpr QuotingSql kPrepareQuery{"Cannot prepare query", "Cannot prepare query: '"};
inline constexpr char kExecute[] = "Cannot execute query iteration";
inline constexpr char kNextRow[] = "Cannot move to next row";
inline constexpr char kGetRow[] = "Cannot read data row";
inline constexpr char kSetProperty[] = "Cannot set property";

// Batches.
inline constexpr char kSetMaxParSize[] = "Cannot set max parameter size";
inline constexpr char kSetMaxIterations[] = "Cannot set max iterations number";
inline constexpr char kAddIteration[] = "Cannot execute batch iteration";

// Binding and LOB streaming.
inline constexpr NamingPosition kSetNull{"Cannot assign NULL value",
                                         "Cannot assign NULL value to [", "] parameter"};
inline constexpr NamingPosition kSetString{"Cannot assign string value",
                                           "Cannot assign string value to [", "] parameter"};
inline constexpr NamingPosition kSetInt{"Cannot assign 'int' type value",
                                        "Cannot assign 'int' type value to [", "] parameter"};
inline constexpr NamingPosition kSetFloat{"Cannot assign 'float' type value",
                                          "Cannot assign 'float' type value to [", "] parameter"};
inline constexpr NamingPosition kSetDouble{"Cannot assign 'double' type value",
                                           "Cannot assign 'double' type value to [", "] parameter"};
inline constexpr NamingPosition kSetTimestamp{
    "Cannot assign 'timestamp' value", "Cannot assign 'timestamp' value to [", "] parameter"};
// The JNI entry of setTimestamp has always stored this own text.
inline constexpr char kJniSetTimestamp[] = "Cannot assign timestamp value";
inline constexpr NamingPosition kStreamToLob{"Cannot stream BLOB/CLOB type value",
                                             "Cannot stream BLOB/CLOB type value of [",
                                             "] parameter to server"};
inline constexpr NamingPosition kPostLob{"Cannot post BLOB/CLOB type value",
                                         "Cannot post BLOB/CLOB type value of [", "] parameter"};

// Column metadata.
inline constexpr char kGetMetaData[] = "Cannot get columns metadata";
inline constexpr char kColumnsCount[] = "Cannot read columns count";
inline constexpr char kColumnName[] = "Cannot read column's name";
inline constexpr char kColumnSchemaName[] = "Cannot read column's schema name";
inline constexpr char kColumnTableName[] = "Cannot read column's table name";
inline constexpr char kColumnTypeName[] = "Cannot read column's type name";
inline constexpr char kColumnType[] = "Cannot read column's type";
inline constexpr char kColumnSize[] = "Cannot read column size";
inline constexpr char kColumnScale[] = "Cannot read column scale";
inline constexpr char kColumnPrecision[] = "Cannot read column precision";
inline constexpr char kColumnIsAutoincremented[] =
    "Cannot read column property 'is autoincremented'";
inline constexpr char kColumnIsReadOnly[] = "Cannot read column property 'is readonly'";
inline constexpr char kColumnIsDbGenerated[] = "Cannot read column property 'is db generated'";
inline constexpr char kColumnIsNullable[] = "Cannot read column property 'is nullable'";

// Flat value reads have no own text: their export stores the text that names the column, or the
// prefix alone (atOrPrefix).
inline constexpr NamingPosition kGetString{nullptr, "Cannot read character type value from [",
                                           "] column"};
inline constexpr NamingPosition kGetByteArray{nullptr, "Cannot read 'byte array' type value from [",
                                              "] column"};
inline constexpr NamingPosition kGetInteger{nullptr, "Cannot read 'int' type value from [",
                                            "] column"};
inline constexpr NamingPosition kGetFloat{nullptr, "Cannot read 'float' type value from [",
                                          "] column"};
inline constexpr NamingPosition kGetDouble{nullptr, "Cannot read 'double' type value from [",
                                           "] column"};

}  // namespace kavex::messages

#endif
