#include "occi/result_set.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "base/access.h"
#include "base/faults.h"
#include "base/ora_messages.h"
#include "functions/conversion_functions.h"
#include "functions/expression_types.h"
#include "functions/sql_values.h"
#include "sql/sqlite_errors.h"
#include "types/storage_text.h"

namespace kavexdb {
namespace detail {

namespace {

[[noreturn]] void inconsistent(const char* expected, const char* got) {
    raise(ora::kInconsistentDatatypes, expected, got);
}

const char* sqliteTypeName(int type) {
    switch (type) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return "NUMBER";
    case SQLITE_BLOB: return "BINARY";
    default: return "CHAR";
    }
}

int toInt(std::int64_t v) {
    if (v < INT_MIN || v > INT_MAX) raise(ora::kIntegerOverflow);
    return static_cast<int>(v);
}

int roundToInt(double v) {
    if (std::isnan(v) || v < INT_MIN - 0.5 || v >= INT_MAX + 0.5) raise(ora::kIntegerOverflow);
    return static_cast<int>(std::llround(v));
}

// The digit values of 00 to 99, two bytes each.
struct DigitPairs {
    unsigned char values[200];
    constexpr DigitPairs() : values() {
        for (int i = 0; i < 100; ++i) {
            values[2 * i] = static_cast<unsigned char>(i / 10);
            values[2 * i + 1] = static_cast<unsigned char>(i % 10);
        }
    }
};
constexpr DigitPairs kDigitPairs;

// magnitude * 10^-scale as a Number, built directly: the fetch loop's hot path, where going
// through decimal text would cost more than the rest of the row.
occi::Number scaledNumber(std::uint64_t magnitude, bool negative, int scale) {
    occi::Number n;
    Access::null(n) = false;
    if (magnitude == 0) return n;
    unsigned char* digits = Access::digits(n);
    if (magnitude < 100000000u) {
        // Up to eight digits, as two independent halves of two table pairs each: the first digit
        // in the lowest byte of w, so leading zeros are its low zero bytes, trailing zeros (not
        // kept) its high ones.
        const auto m = static_cast<std::uint32_t>(magnitude);
        const std::uint32_t high = m / 10000, low = m % 10000;
        unsigned char eight[8];
        std::memcpy(eight, kDigitPairs.values + 2 * (high / 100), 2);
        std::memcpy(eight + 2, kDigitPairs.values + 2 * (high % 100), 2);
        std::memcpy(eight + 4, kDigitPairs.values + 2 * (low / 100), 2);
        std::memcpy(eight + 6, kDigitPairs.values + 2 * (low % 100), 2);
        std::uint64_t w;
        std::memcpy(&w, eight, 8);
        const int leading = __builtin_ctzll(w) / 8;
        const int trailing = __builtin_clzll(w) / 8;
        w >>= 8 * leading;
        std::memcpy(digits, &w, 8);  // the bytes after the digits are zero, as Number() left them
        Access::ndigits(n) = static_cast<unsigned char>(8 - leading - trailing);
        Access::exponent(n) = 8 - leading - scale;
        Access::negative(n) = negative;
        return n;
    }
    int exponent = -scale;
    while (magnitude % 10 == 0) {  // trailing zeros are not kept
        magnitude /= 10;
        ++exponent;
    }
    // The digit count from the bit length (log10(2) ~ 1233/4096), corrected by one comparison.
    static const std::uint64_t powers[] = {1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull,
                                           1000000ull, 10000000ull, 100000000ull, 1000000000ull,
                                           10000000000ull, 100000000000ull, 1000000000000ull,
                                           10000000000000ull, 100000000000000ull,
                                           1000000000000000ull, 10000000000000000ull,
                                           100000000000000000ull, 1000000000000000000ull,
                                           10000000000000000000ull};
    const int bits = 64 - __builtin_clzll(magnitude);
    int count = (bits * 1233) >> 12;
    if (count < 20 && magnitude >= powers[count]) ++count;
    // Filled from the last digit back, two at a time, in 32 bits once the rest fits.
    int at = count;
    for (; magnitude > 0xFFFFFFFFu; magnitude /= 100) {
        at -= 2;
        std::memcpy(digits + at, kDigitPairs.values + 2 * (magnitude % 100), 2);
    }
    auto rest = static_cast<std::uint32_t>(magnitude);
    for (; rest >= 100; rest /= 100) {
        at -= 2;
        std::memcpy(digits + at, kDigitPairs.values + 2 * (rest % 100), 2);
    }
    if (rest >= 10) {
        std::memcpy(digits + at - 2, kDigitPairs.values + 2 * rest, 2);
    } else {
        digits[at - 1] = static_cast<unsigned char>(rest);
    }
    Access::ndigits(n) = static_cast<unsigned char>(count);
    Access::exponent(n) = exponent + count;
    Access::negative(n) = negative;
    return n;
}

occi::Number integerNumber(std::int64_t v) {
    std::uint64_t magnitude =
        v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    return scaledNumber(magnitude, v < 0, 0);
}

// A real stored in a NUMBER(p,s) column is normally the nearest double to a decimal with at
// most s fraction digits. When it is, and that decimal has at most 15 digits, it is also the
// shortest decimal that round-trips, so it can be built without formatting the double.
bool scaledFromReal(double v, int scale, std::int64_t& mantissa) {
    static const double powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                    1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    if (scale < 0 || scale > 15) return false;
    const double scaled = v * powers[scale];
    if (!(std::fabs(scaled) < 1e15)) return false;
    mantissa = static_cast<std::int64_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    return static_cast<double>(mantissa) / powers[scale] == v;
}

// Only characters outside the Basic Multilingual Plane (4-byte sequences) differ between the
// storage form and what a "utf8" session receives.
bool hasSupplementary(const char* text, std::size_t length) {
    std::size_t i = 0;
    // Eight bytes at a time: a byte is at least 0xF0 when its four high bits are all set.
    auto any = [text](std::size_t at) {
        std::uint64_t w;
        std::memcpy(&w, text + at, 8);
        return (w & (w << 1) & (w << 2) & (w << 3) & 0x8080808080808080ull) != 0;
    };
    if (length < 8) {
        for (; i < length; ++i)
            if (static_cast<unsigned char>(text[i]) >= 0xF0) return true;
        return false;
    }
    for (; i + 8 <= length; i += 8)
        if (any(i)) return true;
    return i < length && any(length - 8);  // the last bytes, overlapping the ones read
}

std::string hexText(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

}  // namespace

ResultSetImpl::ResultSetImpl(sqlite3* db, sqlite3_stmt* stmt, unsigned prefetch, Charset charset,
                             CallCancel& cancel, TempSpace& temp, const LazyLobQuery* lazy,
                             std::shared_ptr<LobSession> lobs)
    : db_(db),
      cancel_(cancel),
      temp_(temp),
      stmt_(stmt),
      rows_(lazy ? lazy->rows.get() : stmt),
      lazy_(lazy),
      lobs_(std::move(lobs)),
      prefetch_(prefetch == 0 ? 1 : prefetch),
      charset_(charset) {
    int count = sqlite3_column_count(stmt);
    columns_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const char* decl = sqlite3_column_decltype(stmt, i);
        if (!decl) continue;  // an expression: its values decide
        Column& c = columns_[static_cast<std::size_t>(i)];
        c.typed = true;
        c.declared = mapDeclaredType(decl);
        c.clob = c.declared.dataType == occi::OCCI_SQLT_CLOB;
        c.lob = c.clob || c.declared.dataType == occi::OCCI_SQLT_BLOB;
        c.longType = c.declared.dataType == occi::OCCI_SQLT_LNG ||
                     c.declared.dataType == occi::OCCI_SQLT_LBI;
        c.numericScale = c.declared.dataType == occi::OCCI_SQLT_NUM &&
                         c.declared.scale >= 0 && c.declared.scale <= 15;
    }
    liveAdd(Live::ResultSet, 1);
}

ResultSetImpl::~ResultSetImpl() { end(); }

void ResultSetImpl::end() {
    if (!stmt_) return;
    if (holding_) lobs_->letGo();
    holding_ = false;
    if (!finished_) sqlite3_reset(rows_);
    stmt_ = nullptr;
    onRow_ = false;
    // Only the small object itself stays, until its statement is terminated.
    std::vector<Cell>().swap(cells_);
    std::string().swap(arena_);
    std::vector<Column>().swap(columns_);
    std::vector<ColumnSample>().swap(samples_);
    std::vector<occi::MetaData>().swap(metaData_);
    batchRows_ = 0;
    liveAdd(Live::ResultSet, -1);
}

void ResultSetImpl::start() {
    if (lazy_) {
        lobs_->hold();
        holding_ = true;
    }
    fetchBatch();
    samples_.assign(columns_.size(), ColumnSample());
    const std::size_t n = columns_.size();
    for (std::size_t r = 0; r < batchRows_; ++r) {
        for (std::size_t i = 0; i < n; ++i) {
            const Cell& c = cells_[r * n + i];
            ColumnSample& s = samples_[i];
            if (c.type == SQLITE_TEXT) {
                s.sqliteType = SQLITE_TEXT;
                if (c.length > s.maxTextBytes) s.maxTextBytes = c.length;
                sampleText(s, arena_.data() + c.offset, c.length);
            } else if (c.type == SQLITE_BLOB && s.sqliteType != SQLITE_TEXT) {
                s.sqliteType = SQLITE_BLOB;
            } else if (c.type == SQLITE_FLOAT &&
                       (s.sqliteType == SQLITE_NULL || s.sqliteType == SQLITE_INTEGER)) {
                s.sqliteType = SQLITE_FLOAT;
            } else if (c.type == SQLITE_INTEGER && s.sqliteType == SQLITE_NULL) {
                s.sqliteType = SQLITE_INTEGER;
            }
        }
    }
    if (batchRows_ == 0 && hasPendingError_) {
        hasPendingError_ = false;
        throw pendingError_;
    }
}

void ResultSetImpl::fetchBatch() {
    std::size_t used = 0;  // of the arena, which only grows
    batchRows_ = 0;
    row_ = 0;
    const int n = static_cast<int>(columns_.size());
    while (batchRows_ < prefetch_ && !finished_) {
        int rc = sqlite3_step(rows_);
        if (rc == SQLITE_ROW) {
            // The cells grow with the rows fetched, never shrink within the result set.
            const std::size_t first = batchRows_ * columns_.size();
            if (cells_.size() < first + columns_.size()) cells_.resize(first + columns_.size());
            Cell* cell = cells_.data() + first;
            for (int i = 0; i < n; ++i, ++cell) {
                // One column call per value: the value accessors skip the per-call checks.
                sqlite3_value* value = sqlite3_column_value(rows_, i);
                Cell& c = *cell;
                const int stored = sqlite3_value_type(value);
                c.type = stored;
                if (stored == SQLITE_BLOB && columns_[static_cast<std::size_t>(i)].clob)
                    c.type = SQLITE_TEXT;  // a CLOB streamed in as its UTF-8 bytes
                switch (c.type) {
                case SQLITE_INTEGER:
                    c.integer = sqlite3_value_int64(value);
                    break;
                case SQLITE_FLOAT:
                    c.real = sqlite3_value_double(value);
                    break;
                case SQLITE_TEXT:
                case SQLITE_BLOB: {
                    const void* p = stored == SQLITE_TEXT
                                        ? static_cast<const void*>(sqlite3_value_text(value))
                                        : sqlite3_value_blob(value);
                    c.length = static_cast<std::uint32_t>(sqlite3_value_bytes(value));
                    std::string digits;  // a NUMBER stored as a BLOB reads as its digits
                    if (c.type == SQLITE_BLOB && storedNumberColumn(static_cast<std::size_t>(i)) &&
                        isStoredNumber(value)) {
                        c.type = SQLITE_TEXT;
                        digits = plainNumberText(storedNumberOf(value));
                        p = digits.data();
                        c.length = static_cast<std::uint32_t>(digits.size());
                    }
                    c.offset = used;
                    if (c.length) {
                        if (arena_.size() < used + c.length)
                            arena_.resize(std::max(arena_.size() * 2, used + c.length));
                        std::memcpy(&arena_[used], p, c.length);
                        used += c.length;
                    }
                    break;
                }
                default:
                    break;
                }
            }
            if (lazy_) {
                Cell* row = cells_.data() + first;
                const std::int64_t rowid = sqlite3_column_int64(rows_, lazy_->rowidColumn);
                for (int i = 0; i < n; ++i) {
                    Cell& c = row[i];
                    if (!lazy_->lazy[static_cast<std::size_t>(i)] || c.type != SQLITE_TEXT) continue;
                    c.type = arena_.compare(c.offset, c.length, "blob") == 0 &&
                                     !columns_[static_cast<std::size_t>(i)].clob
                                 ? kLazyBlob
                                 : kLazyText;
                    c.length = 0;
                    c.integer = rowid;  // shares its storage with the offset
                }
            }
            ++batchRows_;
        } else {
            finished_ = true;
            if (rc != SQLITE_DONE) {
                try {
                    raiseSqlite(db_, rc);
                } catch (const occi::SQLException& e) {
                    pendingError_ = e;
                    hasPendingError_ = true;
                }
            }
            sqlite3_reset(rows_);  // releases the read snapshot at once
        }
    }
}

std::shared_ptr<LobContent> ResultSetImpl::lazyContent(unsigned colIndex, const Cell& c,
                                                        bool isClob) const {
    LobRow row;
    row.schema = lazy_->schema;
    row.table = lazy_->table;
    row.column = lazy_->column[colIndex - 1];
    row.rowid = c.integer;
    return lobs_->lazyContent(isClob, row);
}

const ResultSetImpl::Cell& ResultSetImpl::readLazy(unsigned colIndex) {
    const Cell& c = cell(colIndex);
    const std::shared_ptr<LobContent> content = lazyContent(colIndex, c, c.type == kLazyText);
    const std::size_t size = content->size();
    const std::size_t offset = arena_.size();
    arena_.resize(offset + size);
    content->read(0, &arena_[offset], size);
    Cell& read = cells_[(row_ - 1) * columns_.size() + (colIndex - 1)];
    read.type = read.type == kLazyText ? SQLITE_TEXT : SQLITE_BLOB;
    read.offset = offset;
    read.length = size;
    return read;
}

occi::ResultSet::Status ResultSetImpl::next(unsigned int) {
    checkFault("ResultSet::next");
    if (ended()) raise(ora::kInvalidCursor);
    onRow_ = false;
    if (afterEnd_) return END_OF_FETCH;
    if (row_ >= batchRows_ && !finished_) {
        const CallCancel::Scope call(cancel_, CallCancel::Reach::Anywhere);
        const TempSpace::Scope temporaryFiles(temp_);
        fetchBatch();
    }
    if (row_ < batchRows_) {
        ++row_;
        onRow_ = true;
        return DATA_AVAILABLE;
    }
    afterEnd_ = true;
    if (holding_) lobs_->letGo();
    holding_ = false;
    cells_.clear();
    batchRows_ = row_ = 0;
    if (hasPendingError_) {
        hasPendingError_ = false;
        throw pendingError_;
    }
    return END_OF_FETCH;
}

void ResultSetImpl::refuseCell(unsigned colIndex) const {
    if (ended()) raise(ora::kInvalidCursor);
    if (colIndex < 1 || colIndex > columns_.size()) raise(ora::kInvalidPosition);
    raise(ora::kFetchOutOfSequence);
}

bool ResultSetImpl::cellIsNull(unsigned colIndex, const Cell& c) const {
    if (c.type == SQLITE_NULL) return true;
    if (c.type == SQLITE_TEXT || c.type == SQLITE_BLOB)
        return c.length == 0 && !columns_[colIndex - 1].lob && !lobExpression(colIndex);
    return false;
}

bool ResultSetImpl::lobExpression(unsigned colIndex) const {
    if (columns_[colIndex - 1].typed || !stmt_) return false;
    if (lobExpressions_.empty()) {
        lobExpressions_.assign(columns_.size(), false);
        const std::vector<ExpressionType> types = expressionTypes(db_, stmt_);
        for (std::size_t i = 0; i < types.size() && i < columns_.size(); ++i) {
            const int type = types[i].type.dataType;
            lobExpressions_[i] = types[i].known &&
                                 (type == occi::OCCI_SQLT_CLOB || type == occi::OCCI_SQLT_BLOB);
        }
    }
    return lobExpressions_[colIndex - 1];
}

std::string ResultSetImpl::cellBytes(unsigned colIndex, const Cell& c) const {
    std::size_t length = c.length;
    const Column& col = columns_[colIndex - 1];
    if (col.longType && col.maxSize && length > col.maxSize) length = col.maxSize;
    return std::string(arena_.data() + c.offset, length);
}

double ResultSetImpl::cellReal(const Cell& c) const {
    switch (c.type) {
    case SQLITE_INTEGER: return static_cast<double>(c.integer);
    case SQLITE_FLOAT: return c.real;
    case SQLITE_TEXT:
        return numberToDouble(numberFromText(std::string(arena_.data() + c.offset, c.length)));
    default: inconsistent("NUMBER", sqliteTypeName(c.type));
    }
}

occi::Number ResultSetImpl::cellNumber(unsigned colIndex, const Cell& c) const {
    std::int64_t m;
    switch (c.type) {
    case SQLITE_INTEGER: return integerNumber(c.integer);
    case SQLITE_FLOAT: {
        const Column& col = columns_[colIndex - 1];
        if (col.numericScale && scaledFromReal(c.real, col.declared.scale, m))
            return scaledNumber(static_cast<std::uint64_t>(m < 0 ? -m : m), m < 0,
                                col.declared.scale);
        return numberFromDouble(c.real);
    }
    case SQLITE_TEXT: return numberFromText(std::string(arena_.data() + c.offset, c.length));
    default:
        raise(ora::kInvalidNumber);
    }
}

std::vector<occi::MetaData> ResultSetImpl::getColumnListMetaData() const {
    checkFault("ResultSet::getColumnListMetaData");
    if (ended()) raise(ora::kInvalidCursor);
    if (!described_) {
        metaData_ = describeResultColumns(db_, stmt_, samples_);
        described_ = true;
    }
    return metaData_;
}

void ResultSetImpl::setMaxColumnSize(unsigned int colIndex, unsigned int max) {
    checkFault("ResultSet::setMaxColumnSize");
    if (ended()) raise(ora::kInvalidCursor);
    if (colIndex < 1 || colIndex > columns_.size()) raise(ora::kInvalidPosition);
    columns_[colIndex - 1].maxSize = max;
}

bool ResultSetImpl::isNull(unsigned int colIndex) const {
    checkFault("ResultSet::isNull");
    return cellIsNull(colIndex, cell(colIndex));
}

std::string ResultSetImpl::getString(unsigned int colIndex) {
    checkFault("ResultSet::getString");
    const Cell& c = valueCell(colIndex);
    if (cellIsNull(colIndex, c)) return std::string();
    switch (c.type) {
    case SQLITE_INTEGER: return std::to_string(c.integer);
    case SQLITE_FLOAT:
        if (columns_[colIndex - 1].numericScale) return numberToPlainText(cellNumber(colIndex, c));
        return numberToPlainText(numberFromDouble(c.real));
    case SQLITE_BLOB: return hexText(cellBytes(colIndex, c));
    default: {
        const char* text = arena_.data() + c.offset;
        if (charset_ == Charset::UTF8 && hasSupplementary(text, c.length))
            return fromStorage(cellBytes(colIndex, c), charset_);
        if (columns_[colIndex - 1].longType) return cellBytes(colIndex, c);
        return std::string(text, c.length);
    }
    }
}

BindValue ResultSetImpl::value(unsigned colIndex) {
    const Cell& c = valueCell(colIndex);
    if (cellIsNull(colIndex, c)) return BindValue::null();
    BindValue v;
    switch (c.type) {
    case SQLITE_INTEGER:
        v.kind = BindValue::Kind::Integer;
        v.integer = c.integer;
        break;
    case SQLITE_FLOAT:
        v.kind = BindValue::Kind::Real;
        v.real = c.real;
        break;
    case SQLITE_BLOB:
        v.kind = columns_[colIndex - 1].clob ? BindValue::Kind::Text : BindValue::Kind::Blob;
        v.bytes = cellBytes(colIndex, c);
        break;
    default:
        v.kind = BindValue::Kind::Text;
        v.bytes = cellBytes(colIndex, c);
    }
    return v;
}

int ResultSetImpl::getInt(unsigned int colIndex) {
    checkFault("ResultSet::getInt");
    const Cell& c = valueCell(colIndex);
    if (cellIsNull(colIndex, c)) return 0;
    switch (c.type) {
    case SQLITE_INTEGER: return toInt(c.integer);
    case SQLITE_FLOAT: return roundToInt(c.real);
    case SQLITE_TEXT: {
        occi::Number n = numberFromText(std::string(arena_.data() + c.offset, c.length));
        std::int64_t v;
        if (numberToInt64(n, v)) return toInt(v);
        return roundToInt(numberToDouble(n));
    }
    default: inconsistent("NUMBER", "BINARY");
    }
}

occi::BFloat ResultSetImpl::getBFloat(unsigned int colIndex) {
    checkFault("ResultSet::getBFloat");
    const Cell& c = valueCell(colIndex);
    occi::BFloat out;
    if (cellIsNull(colIndex, c))
        out.isNull = true;
    else
        out.value = static_cast<float>(cellReal(c));
    return out;
}

occi::BDouble ResultSetImpl::getBDouble(unsigned int colIndex) {
    checkFault("ResultSet::getBDouble");
    const Cell& c = valueCell(colIndex);
    occi::BDouble out;
    if (cellIsNull(colIndex, c))
        out.isNull = true;
    else
        out.value = cellReal(c);
    return out;
}

occi::Number ResultSetImpl::getNumber(unsigned int colIndex) {
    checkFault("ResultSet::getNumber");
    const Cell& c = valueCell(colIndex);
    if (c.type == SQLITE_INTEGER) return integerNumber(c.integer);
    if (cellIsNull(colIndex, c)) return occi::Number();
    return cellNumber(colIndex, c);
}

occi::Date ResultSetImpl::getDate(unsigned int colIndex) {
    checkFault("ResultSet::getDate");
    const Cell& c = valueCell(colIndex);
    if (cellIsNull(colIndex, c)) return occi::Date();
    if (c.type != SQLITE_TEXT) inconsistent("DATE", sqliteTypeName(c.type));
    const char* text = arena_.data() + c.offset;
    if (c.length <= 19) return dateFromText(text, c.length);
    // A TIMESTAMP read as a DATE loses its fraction and zone, as in Oracle.
    occi::Timestamp t = timestampFromText(text, c.length);
    int year;
    unsigned month, day, hour, minute, second, fs;
    t.getDate(year, month, day);
    t.getTime(hour, minute, second, fs);
    return occi::Date(nullptr, year, month, day, hour, minute, second);
}

occi::Timestamp ResultSetImpl::getTimestamp(unsigned int colIndex) {
    checkFault("ResultSet::getTimestamp");
    const Cell& c = valueCell(colIndex);
    if (cellIsNull(colIndex, c)) return occi::Timestamp();
    if (c.type != SQLITE_TEXT) inconsistent("TIMESTAMP", sqliteTypeName(c.type));
    return timestampFromText(arena_.data() + c.offset, c.length);
}

occi::Clob ResultSetImpl::getClob(unsigned int colIndex) {
    checkFault("ResultSet::getClob");
    const Cell& c = cell(colIndex);
    if (isLazy(c)) return makeClob(lazyContent(colIndex, c, true), charset_);
    if (cellIsNull(colIndex, c)) return occi::Clob();
    if (c.type != SQLITE_TEXT && c.type != SQLITE_BLOB) inconsistent("CLOB", "NUMBER");
    auto content = std::make_shared<LobContent>(true, false);
    content->bytes.assign(arena_.data() + c.offset, c.length);
    return makeClob(std::move(content), charset_);
}

occi::Blob ResultSetImpl::getBlob(unsigned int colIndex) {
    checkFault("ResultSet::getBlob");
    const Cell& c = cell(colIndex);
    if (isLazy(c)) return makeBlob(lazyContent(colIndex, c, false));
    // A blob of no bytes is an empty BLOB (EMPTY_BLOB() in a select list), not a NULL one.
    if (cellIsNull(colIndex, c) && c.type != SQLITE_BLOB) return occi::Blob();
    if (c.type != SQLITE_TEXT && c.type != SQLITE_BLOB) inconsistent("BLOB", "NUMBER");
    auto content = std::make_shared<LobContent>(false, false);
    content->bytes.assign(arena_.data() + c.offset, c.length);
    return makeBlob(std::move(content));
}

occi::Bytes ResultSetImpl::getBytes(unsigned int colIndex) {
    checkFault("ResultSet::getBytes");
    const Cell& c = valueCell(colIndex);
    if (cellIsNull(colIndex, c)) return occi::Bytes();
    if (c.type != SQLITE_TEXT && c.type != SQLITE_BLOB) inconsistent("BINARY", "NUMBER");
    std::string bytes = cellBytes(colIndex, c);
    return bytesFrom(bytes.data(), bytes.size());
}

}  // namespace detail
}  // namespace kavexdb
