/* System.Data.Kavex.OracleOCIw: the flat C interface.
 *
 * Every int-returning function returns 0 or a non-negative value of its own on success and a
 * negative error id on failure; pass the error id to GetError for the message. Texts are
 * NUL-terminated UTF-8. Returned const char* pointers are owned by the library: GetError's result
 * stays valid until the next GetError on the same thread; the column-name getters' results and the
 * pointers stored by GetString/GetByteArray stay valid while at most 10 further strings are handed
 * out through the same session, and never after the session is closed.
 *
 * kavex_bool is one byte: 0 is false, any other value true.
 *
 * Threads: a session serves one thread at a time. Different sessions may be used from different
 * threads in parallel. Calls on one session are serialized (a second thread's call waits for the
 * first to return), and misuse costs an error, never the process: a session closed while another
 * thread's call is inside it is released when that call returns, later calls on it fail with
 * "Session is not initialized". Error ids belong to the process, but each message is delivered
 * once: GetError removes it from the library; the same thread asking again for the id it fetched
 * last gets the same text, and any other id not held (never issued, fetched by another thread, or
 * dropped because more than 10000 messages were left unfetched) gives "Unknown error". The
 * column-name getters store no message: on failure they return its text. */
#ifndef KAVEX_ORACLEOCIW_H
#define KAVEX_ORACLEOCIW_H

#include <stdint.h>

/* The library itself is built with KAVEX_BUILD_LIBRARY defined; hosts import the functions. */
#if defined(_WIN32) && defined(KAVEX_BUILD_LIBRARY)
#define KAVEX_API __declspec(dllexport)
#elif defined(_WIN32)
#define KAVEX_API __declspec(dllimport)
#else
#define KAVEX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned char kavex_bool;

/* LOB kinds for StreamParameterToLob (Oracle's type codes), passed with the first chunk. A LONG RAW
 * value travels in a BLOB; a BFILE is accepted but nothing is bound for it. */
#define KAVEX_LOB_CLOB 112
#define KAVEX_LOB_BLOB 113
#define KAVEX_LOB_LONG_RAW 24
#define KAVEX_LOB_BFILE 114

/* Session properties for SetIntSessionProperty. KAVEX_PROPERTY_MAX_COLUMN_SIZE: the most bytes of
 * a RAW or BLOB value and the most characters of a CLOB that a read delivers, and the most bytes of
 * a LONG or LONG RAW value from the next result set on; a value of 0 or less restores the default.
 * Other ids are accepted and change nothing. */
#define KAVEX_PROPERTY_MAX_COLUMN_SIZE 1
#define KAVEX_DEFAULT_MAX_COLUMN_SIZE 2000

#pragma pack(push, 1)
/* 13 bytes: GetString, GetByteArray (value = pointer to the bytes), GetDouble, TestMarshaling. */
typedef struct KavexPointerRecord {
    uint8_t isNull;
    int32_t length;
    const char* value;
} KavexPointerRecord;

typedef struct KavexDoubleRecord {
    uint8_t isNull;
    int32_t length;
    double value;
} KavexDoubleRecord;

/* 9 bytes: GetInteger, GetFloat. */
typedef struct KavexIntRecord {
    uint8_t isNull;
    int32_t length;
    int32_t value;
} KavexIntRecord;

typedef struct KavexFloatRecord {
    uint8_t isNull;
    int32_t length;
    float value;
} KavexFloatRecord;
#pragma pack(pop)

KAVEX_API int OpenConnection(const char* connectString, const char* userName, const char* password);
KAVEX_API int CloseConnection(int sessionId);
KAVEX_API const char* GetError(int errorId);
KAVEX_API int TestMarshaling(void* record13);

KAVEX_API int ExecuteQuery(int sessionId, const char* sql, kavex_bool autoCommit);
KAVEX_API int PrepareQuery(int sessionId, const char* sql, kavex_bool autoCommit);
KAVEX_API int Execute(int sessionId);
KAVEX_API int NextRow(int sessionId);
KAVEX_API int SetIntSessionProperty(int sessionId, int propertyId, int value);

KAVEX_API int SetMaxParSize(int sessionId, unsigned index, unsigned size);
KAVEX_API int SetMaxIterations(int sessionId, unsigned count);
KAVEX_API int AddIteration(int sessionId);

KAVEX_API int SetNull(int sessionId, int index, int typeCode);
KAVEX_API int SetString(int sessionId, int index, const char* value, kavex_bool isNull);
KAVEX_API int SetInt(int sessionId, int index, int value, kavex_bool isNull);
KAVEX_API int SetFloat(int sessionId, int index, float value, kavex_bool isNull);
KAVEX_API int SetDouble(int sessionId, int index, double value, kavex_bool isNull);
KAVEX_API int SetTimestamp(int sessionId, int index, int year, unsigned month, unsigned day,
                           unsigned hour, unsigned minute, unsigned second, unsigned fraction,
                           int tzHour, int tzMinute, kavex_bool isNull);

KAVEX_API int StreamParameterToLob(int sessionId, int index, int lobKind, const void* data,
                                   unsigned length);
KAVEX_API int StreamParameterToLobLast(int sessionId, int index);

KAVEX_API int GetMetaData(int sessionId, const char* unused, const char* objectName);
KAVEX_API int GetColumnsCount(int sessionId);
KAVEX_API const char* GetColumnName(int sessionId, int index);
KAVEX_API const char* GetColumnSchemaName(int sessionId, int index);
KAVEX_API const char* GetColumnTableName(int sessionId, int index);
KAVEX_API const char* GetColumnTypeName(int sessionId, int index);
KAVEX_API int GetColumnType(int sessionId, int index);
KAVEX_API int GetColumnSize(int sessionId, int index);
KAVEX_API int GetColumnScale(int sessionId, int index);
KAVEX_API int GetColumnPrecision(int sessionId, int index);
KAVEX_API int GetColumnIsAutoincremented(int sessionId, int index);
KAVEX_API int GetColumnIsReadOnly(int sessionId, int index);
KAVEX_API int GetColumnIsDbGenerated(int sessionId, int index);
KAVEX_API int GetColumnIsNullable(int sessionId, int index);

KAVEX_API int GetString(int sessionId, int index, KavexPointerRecord* record);
KAVEX_API int GetByteArray(int sessionId, int index, KavexPointerRecord* record);
KAVEX_API int GetInteger(int sessionId, int index, KavexIntRecord* record);
KAVEX_API int GetFloat(int sessionId, int index, KavexFloatRecord* record);
KAVEX_API int GetDouble(int sessionId, int index, KavexDoubleRecord* record);

#ifdef __cplusplus
}
#endif

#endif
