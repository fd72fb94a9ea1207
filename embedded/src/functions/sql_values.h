// What a SQLite value is as an Oracle value, for the client's SQL functions: dates and timestamps
// are recognised by their storage texts, which only the client's write conversions and functions
// produce for DATE and TIMESTAMP values, and NUMBERs a double does not hold by their BLOB form
// (types/number_storage.h), which only NUMBER columns and their conversions hold.
#ifndef KAVEXDB_SQL_VALUES_H
#define KAVEXDB_SQL_VALUES_H

#include <sqlite3.h>

#include <string>

#include "base/errors.h"
#include "types/calendar.h"

namespace kavexdb {
namespace detail {

enum class ValueKind { Null, Number, Date, Timestamp, TimestampTz, Text, Blob };

ValueKind valueKind(sqlite3_value* v);
// The kind of a text: Date, Timestamp or TimestampTz for storage texts, else Text.
ValueKind textKind(const char* text, std::size_t length);
bool isDatetime(ValueKind k);

// The text of a value as SQLite gives it ("" for NULL).
std::string valueText(sqlite3_value* v);
// A number from an INTEGER, REAL or numeric text (ORA-01722 otherwise; ORA-00932 for dates and
// blobs). v must not be NULL.
occi::Number numberArg(sqlite3_value* v);
// The fields of a DATE or TIMESTAMP value, or of text in the session's default formats (the
// result of a TO_DATE, a literal, ...): ORA-00932 for numbers and blobs. v must not be NULL.
DateTimeFields datetimeArg(sqlite3_value* v);

// A value as Oracle converts it to text: NULL as '', numbers and dates as TO_CHAR writes them
// without a model, RAW as hexadecimal digits (for ||, CAST and the like).
std::string oracleText(sqlite3_value* v);
// oracleText(v) appended to out.
void appendOracleText(std::string& out, sqlite3_value* v);

// Bytes as upper-case hexadecimal digits, as RAW values are written as text.
std::string hexText(const void* bytes, std::size_t size);

bool anyNull(int argc, sqlite3_value** argv);
// Hands a NULL or number argument back as the result; false (nothing done) for other values.
bool resultIfNullOrNumber(sqlite3_context* ctx, sqlite3_value* v);

// Results.
void resultNumber(sqlite3_context* ctx, const occi::Number& n);  // INTEGER where exact, else REAL
// A computed real: kept to 15 significant digits (what a double holds exactly for every decimal
// of that length, so decimal sums come out exact), INTEGER when whole; ORA-01426 when infinite.
void resultReal(sqlite3_context* ctx, double d);
// A NUMBER computed exactly: INTEGER when whole within 64 bits; REAL when it has 15 significant
// digits or fewer (a double holds every such decimal, and its shortest text gives it back);
// otherwise, when wide, its exact digits as plain text (where the rewriting allows that: a
// query's result and the arithmetic that makes it, the exact twins of functions/catalog.h),
// else the nearest REAL kept to 15 digits.
// The exact text carries the subtype kExactNumber, so that a function it is handed to straight
// away (TO_CHAR) reads it as the number it is (isExactNumberText).
void resultComputed(sqlite3_context* ctx, const occi::Number& n, bool wide);
inline constexpr unsigned kExactNumber = 'N';
// A NUMBER as a column stores it (types/number_storage.h): INTEGER, REAL or its BLOB form.
void resultStored(sqlite3_context* ctx, const occi::Number& n);
// Whether v is a NUMBER in its BLOB form, and that number (ORA-00932 for other values).
bool isStoredNumber(sqlite3_value* v);
occi::Number storedNumberOf(sqlite3_value* v);
bool isExactNumberText(sqlite3_value* v);
void resultText(sqlite3_context* ctx, const std::string& text);  // '' gives NULL
void resultDate(sqlite3_context* ctx, const DateTimeFields& f);  // fraction and zone dropped
void resultTimestamp(sqlite3_context* ctx, const DateTimeFields& f, bool withTimeZone);

// Runs body; an SQLException becomes the statement's error with its ORA text.
template <class Body>
void guardedSql(sqlite3_context* ctx, Body body) {
    try {
        body();
    } catch (const occi::SQLException& e) {
        std::string text = e.what();
        while (!text.empty() && text.back() == '\n') text.pop_back();
        sqlite3_result_error(ctx, text.c_str(), -1);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

}  // namespace detail
}  // namespace kavexdb

#endif
