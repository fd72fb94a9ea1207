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

/* Oracle's data type codes, as GetColumnType reports them and SetNull takes them, grouped by the
 * value getter that reads columns of the type. Columns of other types (58 for XMLTYPE, for
 * example) are read by none. */
/* GetString */
#define KAVEX_SQLT_CHR 1 /* VARCHAR2, NVARCHAR2 */
#define KAVEX_SQLT_NUM 2 /* NUMBER, as text */
#define KAVEX_SQLT_STR 5
#define KAVEX_SQLT_LNG 8 /* LONG */
#define KAVEX_SQLT_RID 11
#define KAVEX_SQLT_DAT 12 /* DATE */
#define KAVEX_SQLT_LVC 94
#define KAVEX_SQLT_AFC 96 /* CHAR, NCHAR */
#define KAVEX_SQLT_AVC 97
#define KAVEX_SQLT_RDD 104 /* ROWID */
#define KAVEX_SQLT_CLOB 112
#define KAVEX_SQLT_DATE 184
#define KAVEX_SQLT_TIME 185
#define KAVEX_SQLT_TIME_TZ 186
#define KAVEX_SQLT_TIMESTAMP 187
#define KAVEX_SQLT_TIMESTAMP_TZ 188
#define KAVEX_SQLT_TIMESTAMP_LTZ 232
#define KAVEX_SQLT_INTERVAL_YM 189 /* INTERVAL YEAR TO MONTH, as Oracle displays it */
#define KAVEX_SQLT_INTERVAL_DS 190 /* INTERVAL DAY TO SECOND, as Oracle displays it */
/* GetInteger */
#define KAVEX_SQLT_INT 3
#define KAVEX_SQLT_UIN 68
/* GetFloat */
#define KAVEX_SQLT_FLT 4
#define KAVEX_SQLT_BFLOAT 21
#define KAVEX_SQLT_IBFLOAT 100 /* BINARY_FLOAT */
/* GetDouble */
#define KAVEX_SQLT_BDOUBLE 22
#define KAVEX_SQLT_IBDOUBLE 101 /* BINARY_DOUBLE */
/* GetByteArray */
#define KAVEX_SQLT_BIN 23 /* RAW */
#define KAVEX_SQLT_LBI 24 /* LONG RAW */
#define KAVEX_SQLT_LVB 95
#define KAVEX_SQLT_BLOB 113
/* Read by no getter */
#define KAVEX_SQLT_REF 110
#define KAVEX_SQLT_BFILEE 114 /* BFILE */

/* LOB kinds for StreamParameterToLob, passed with the first chunk. A LONG RAW value travels in a
 * BLOB; a BFILE is accepted but nothing is bound for it. */
#define KAVEX_LOB_CLOB KAVEX_SQLT_CLOB
#define KAVEX_LOB_BLOB KAVEX_SQLT_BLOB
#define KAVEX_LOB_LONG_RAW KAVEX_SQLT_LBI
#define KAVEX_LOB_BFILE KAVEX_SQLT_BFILEE

/* Session properties for SetIntSessionProperty. KAVEX_PROPERTY_MAX_COLUMN_SIZE: the most bytes of
 * a RAW or BLOB value and the most characters of a CLOB that a read delivers, and the most bytes of
 * a LONG or LONG RAW value from the next result set on; a value of 0 or less restores the default.
 * Other ids are accepted and change nothing. */
#define KAVEX_PROPERTY_MAX_COLUMN_SIZE 1
#define KAVEX_DEFAULT_MAX_COLUMN_SIZE 2000
/* KAVEX_PROPERTY_CANCEL, called from any thread (the value is ignored): the call another thread
 * is running on the session (ExecuteQuery, Execute, NextRow, ...) fails with ORA-01013 and the
 * session stays usable; with no call running nothing happens. It does not wait for the session's
 * lock. Returns 0, or a negative error id when sessionId names no open session. */
#define KAVEX_PROPERTY_CANCEL 2

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
