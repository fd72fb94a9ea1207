// Internal contracts shared by the parts of the embedded client. Each group names the source
// files that implement it. The public classes reach their private state through Access.
#ifndef KAVEXDB_DETAIL_H
#define KAVEXDB_DETAIL_H

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// ---- Errors (errors.cpp) -----------------------------------------------------------------
// Builds the client's exception: getErrorCode() == code, getMessage() == "ORA-" + 5-digit code +
// ": " + text + "\n".
occi::SQLException makeError(int code, const std::string& text);
[[noreturn]] void raise(int code, const std::string& text);
// Maps a failed SQLite call on db to the nearest Oracle error (table in the client's contract)
// and throws it.
[[noreturn]] void raiseSqlite(sqlite3* db, int rc);

// ---- Test support hooks (faults.cpp) -------------------------------------------------------
// Called at the start of every public operation with its "Class::method" name; throws when a
// fault was injected for this call.
void checkFault(const char* operation);
enum class Live { Environment, Connection, Statement, ResultSet, LobContent };
void liveAdd(Live kind, long delta);
bool getMessageThrows();

// ---- Character sets (charset.cpp) ----------------------------------------------------------
enum class Charset { AL32UTF8, UTF8 };
// "utf8"/"AL32UTF8" in any case; anything else throws ORA-32101 (as SQLException code 32101).
Charset parseCharset(const std::string& name);
// Under UTF8, surrogate pairs written as two 3-byte sequences become one 4-byte sequence before
// storing; fromStorage does the reverse when delivering. Under AL32UTF8 both return the input.
std::string toStorage(const std::string& text, Charset cs);
// Whether toStorage(text, cs) differs from text.
bool storageDiffers(const std::string& text, Charset cs);
std::string fromStorage(const std::string& text, Charset cs);

// ---- Values (number.cpp, datetime.cpp, format_model.cpp, bytes.cpp) --------------------------
occi::Number numberFromInt64(std::int64_t v);
occi::Number numberFromDouble(double v);          // shortest round-trip decimal form
occi::Number numberFromText(const std::string& text);  // ORA-01722 when not a number
// Plain decimal text without exponent where reasonable ("123.45", "-0.5", "1E+40" beyond).
std::string numberToPlainText(const occi::Number& n);
bool numberToInt64(const occi::Number& n, std::int64_t& out);  // false when not integral/too big
double numberToDouble(const occi::Number& n);
// Number text read as a BINARY_DOUBLE: the whole double range, beyond NUMBER's, and the words
// INF, INFINITY (signed) and NAN; ORA-01722 when none of these.
double binaryFromText(const std::string& text);

// Storage texts: DATE "YYYY-MM-DD HH24:MI:SS"; TIMESTAMP "YYYY-MM-DD HH24:MI:SS.FFFFFFFFF";
// with time zone "... .FFFFFFFFF+HH:MM". Parsing accepts a date alone, missing fraction, and
// fewer fraction digits; anything else throws ORA-01861.
occi::Date dateFromText(const std::string& text);
std::string dateToStorage(const occi::Date& d);
occi::Timestamp timestampFromText(const std::string& text);
std::string timestampToStorage(const occi::Timestamp& t, bool withTimeZone);

occi::Bytes bytesFrom(const void* data, std::size_t size);

// ---- LOBs (lob.cpp, lob_content.cpp, streams.cpp, lob_storage.cpp) ------------------------
class LobSession;
class LobStorage;
struct LobRow;

// Content shared by every locator that refers to it. Counted as Live::LobContent while alive.
// Its bytes are in memory (`bytes`), or, for a session's temporary LOB, the first ones in
// whole chunks in the session's temporary storage and the rest in `bytes`, or, for a value
// read from a row, in that row until the content is changed or detached.
class LobContent {
public:
    LobContent(bool isClob, bool temporary);
    ~LobContent();
    LobContent(const LobContent&) = delete;
    LobContent& operator=(const LobContent&) = delete;

    bool isClob;
    bool temporary;
    std::string bytes;  // CLOB: UTF-8 text; BLOB: raw bytes (those after the stored chunks)

    // Lets the content keep its bytes in storage as it grows.
    void useStorage(std::shared_ptr<LobStorage> storage) { storage_ = std::move(storage); }
    // Makes the content read a row of the session, of `size` bytes, until it is changed or
    // detached.
    void readFrom(std::shared_ptr<LobSession> session, const LobRow& row, std::size_t size);

    // True when every byte is in `bytes`.
    bool inMemory() const { return chunks_.empty() && !row_; }
    std::size_t size() const;
    // Copies [at, at + n) out; the range must lie inside the content.
    void read(std::size_t at, char* out, std::size_t n) const;
    std::string slice(std::size_t at, std::size_t n) const;
    // Adds bytes at the end.
    void append(const char* data, std::size_t n);
    // Replaces `removed` bytes at `at` (inside the content) with n bytes.
    void replace(std::size_t at, std::size_t removed, const char* data, std::size_t n);
    // Character positions of a CLOB: the byte offset `count` characters after byte `from` (the
    // size when the text ends first), and the characters in [from, to).
    std::size_t advance(std::size_t from, std::size_t count) const;
    std::size_t countCharacters(std::size_t from, std::size_t to) const;
    // A lazily read content takes a copy of its row's value into the temporary storage.
    void detach();

private:
    struct Chunk {
        std::int64_t id;
        std::size_t size;
    };
    // Moves whole chunks from the front of `bytes` to the storage.
    void store();
    // Brings every stored byte back into `bytes`.
    void load();
    // Calls f(chunk, offset in it, bytes done before, piece) for the stored part of [at, at + n)
    // and returns its length (what follows is in `bytes`).
    template <class F>
    std::size_t inEachChunk(std::size_t at, std::size_t n, F f) const;
    // Visits [from, to) in pieces: f(data, size) returns false to stop.
    template <class F>
    void scan(std::size_t from, std::size_t to, F f) const;

    std::shared_ptr<LobStorage> storage_;
    std::vector<Chunk> chunks_;
    std::size_t stored_ = 0;  // bytes in chunks_
    std::shared_ptr<LobSession> session_;
    std::unique_ptr<LobRow> row_;
    std::size_t rowSize_ = 0;
};

struct LobLocator {
    std::shared_ptr<LobContent> content;  // null for a NULL locator
    Charset charset = Charset::AL32UTF8;
    int charSetForm = occi::OCCI_SQLCS_IMPLICIT;
    bool isOpen = false;
    bool isBfile = false;
    std::string bfileName;  // BFILE locators only
    std::vector<std::unique_ptr<occi::Stream>> streams;  // open streams, owned
};

occi::Clob makeClob(std::shared_ptr<LobContent> content, Charset cs);
occi::Blob makeBlob(std::shared_ptr<LobContent> content);
occi::Bfile makeBfile(const std::string& name);
// The content a locator refers to (null for a NULL locator); used when binding setClob/setBlob.
std::shared_ptr<LobContent> contentOf(const occi::Clob& lob);
std::shared_ptr<LobContent> contentOf(const occi::Blob& lob);

// ---- Declared types and describe (type_map.cpp, metadata.cpp, describe.cpp) ----------------
// What describe reports for a declared column type (the client's type table) and how values of
// it are stored and delivered.
enum class Storage { Text, Integer, Real, Numeric, Blob, Date, Timestamp, TimestampTz, Clob };
struct DeclaredType {
    int dataType = 2;     // ATTR_DATA_TYPE
    int size = 22;        // ATTR_DATA_SIZE
    int precision = 0;    // ATTR_PRECISION
    int scale = -127;     // ATTR_SCALE
    int charSetForm = 0;  // ATTR_CHARSET_FORM
    std::string typeName; // ATTR_TYPE_NAME (types 58, 108, 110 only)
    Storage storage = Storage::Numeric;
};
DeclaredType mapDeclaredType(const std::string& declaredType);

// Identity columns are recorded by the DDL rewriting in this catalog table, created on first use:
//   CREATE TABLE IF NOT EXISTS "KAVEX$IDENTITY"(TABLE_NAME TEXT, COLUMN_NAME TEXT,
//       GENERATION TEXT, PRIMARY KEY(TABLE_NAME, COLUMN_NAME))
// TABLE_NAME and COLUMN_NAME in upper case; GENERATION 'ALWAYS', 'BY DEFAULT' or
// 'BY DEFAULT ON NULL'.
extern const char* const kIdentityCatalog;

// One attribute record behind a MetaData value.
struct MetaDataRecord {
    int paramType = occi::MetaData::PTYPE_COL;
    std::string name;
    std::string schemaName;  // ATTR_SCHEMA_NAME
    std::string objSchema;   // ATTR_OBJ_SCHEMA
    std::string typeName;
    int dataType = 0, dataSize = 0, precision = 0, scale = 0, charSetForm = 0;
    bool isNull = true;
    bool isIdentity = false, isGenAlways = false, isGenByDefOnNull = false;
    std::vector<occi::MetaData> columns;  // ATTR_LIST_COLUMNS of a table or view
};
occi::MetaData makeMetaData(std::shared_ptr<const MetaDataRecord> record);

// What the prefetched rows showed of a column without a declared type.
struct ColumnSample {
    int sqliteType = SQLITE_NULL;  // SQLITE_NULL when NULL throughout the first fetch
    std::size_t maxTextBytes = 0;
    // 12 (DATE), 187 (TIMESTAMP), 188 (WITH TIME ZONE) when every text seen was a storage text
    // of that type; -1 when another text was seen; 0 when no text was.
    int datetimeType = 0;
    // 189 and 190 (INTERVAL YEAR TO MONTH, DAY TO SECOND) likewise, with the widest precisions
    // seen.
    int intervalLeading = 0, intervalFraction = 0;
};
// Notes one text value in a sample (keeps datetimeType).
void sampleText(ColumnSample& sample, const char* text, std::size_t length);
// Reads up to fifty rows of a prepared statement (leaving it stepped) to sample the columns that
// have no declared type; returns empty samples without stepping when every column has one.
std::vector<ColumnSample> sampleUntypedColumns(sqlite3* db, sqlite3_stmt* stmt);
// Describes the result columns of a prepared statement.
std::vector<occi::MetaData> describeResultColumns(sqlite3* db, sqlite3_stmt* stmt,
                                                  const std::vector<ColumnSample>& samples);
// Describes a table or view by name as Oracle resolves it (unquoted names in upper case,
// "SCHEMA.NAME" where SCHEMA is the session's own); ORA-04043 when unknown.
occi::MetaData describeObject(sqlite3* db, const std::string& sessionSchema,
                              const std::string& name);

// ---- Access to the value classes' private state -------------------------------------------
struct Access {
    static occi::SQLException error(int code, const std::string& message) {
        occi::SQLException e;
        e.code_ = code;
        e.message_ = message;
        return e;
    }
    template <class Lob>
    static std::shared_ptr<LobLocator>& locator(Lob& lob) { return lob.locator_; }
    template <class Lob>
    static const std::shared_ptr<LobLocator>& locator(const Lob& lob) { return lob.locator_; }
    static std::shared_ptr<const std::string>& data(occi::Bytes& b) { return b.data_; }
    static const std::shared_ptr<const std::string>& data(const occi::Bytes& b) { return b.data_; }
    static const std::shared_ptr<const MetaDataRecord>& record(const occi::MetaData& m) {
        return m.record_;
    }
    static occi::MetaData metaData(std::shared_ptr<const MetaDataRecord> r) {
        return occi::MetaData(std::move(r));
    }
    // Number, Date and Timestamp fields are reached by the value code through these.
    static occi::Number& self(occi::Number& n) { return n; }
    static bool& null(occi::Number& n) { return n.null_; }
    static bool& negative(occi::Number& n) { return n.negative_; }
    static int& exponent(occi::Number& n) { return n.exponent_; }
    static unsigned char& ndigits(occi::Number& n) { return n.ndigits_; }
    static unsigned char* digits(occi::Number& n) { return n.digits_; }
    static bool null(const occi::Number& n) { return n.null_; }
    static bool negative(const occi::Number& n) { return n.negative_; }
    static int exponent(const occi::Number& n) { return n.exponent_; }
    static unsigned char ndigits(const occi::Number& n) { return n.ndigits_; }
    static const unsigned char* digits(const occi::Number& n) { return n.digits_; }
};

}  // namespace detail
}  // namespace kavexdb

#endif
