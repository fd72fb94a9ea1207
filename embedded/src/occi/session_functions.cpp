// SQL functions and objects every session has, so that Oracle-style SQL runs unchanged.
#include <chrono>
#include <cstdio>
#include <ctime>

#include "base/errors.h"
#include "catalog/sequences.h"
#include "functions/arithmetic.h"
#include "functions/cast.h"
#include "functions/conversion_functions.h"
#include "functions/date_functions.h"
#include "functions/datetime_order.h"
#include "functions/dbms_lob_functions.h"
#include "functions/extended_functions.h"
#include "functions/interval.h"
#include "functions/interval_order.h"
#include "functions/numeric_functions.h"
#include "functions/oracle_functions.h"
#include "functions/sql_function.h"
#include "functions/sql_values.h"
#include "functions/value_too_large.h"
#include "occi/session_functions.h"
#include "rewrite/dml/write_conversion.h"
#include "rewrite/expr/clob_text.h"
#include "rewrite/expr/comparison_types.h"
#include "rewrite/sql_rewrite.h"
#include "sql/sqlite_errors.h"
#include "functions/catalog.h"

namespace kavexdb {
namespace detail {

namespace {

// NVL(a, b): b when a is NULL. An empty text counts as NULL, as Oracle has no empty strings.
void nvl(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* a = argv[0];
    const bool missing = sqlite3_value_type(a) == SQLITE_NULL ||
                         (sqlite3_value_type(a) == SQLITE_TEXT && sqlite3_value_bytes(a) == 0);
    sqlite3_result_value(ctx, missing ? argv[1] : a);
}

void emptyClob(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
}

void emptyBlob(sqlite3_context* ctx, int, sqlite3_value**) { sqlite3_result_zeroblob(ctx, 0); }

// TO_CLOB(char) and TO_NCLOB(char): the text itself, typed as a CLOB where the query is described;
// of an empty text (NULL in Oracle) NULL, not the empty LOB.
void toClob(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guardedSql(ctx, [&] {
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_bytes(argv[0]) == 0)
            return sqlite3_result_null(ctx);
        resultText(ctx, valueText(argv[0]));
    });
}

// The session's clock is UTC, the embedded client's session time zone.
std::string utcNow(bool withFraction) {
    const auto now = std::chrono::system_clock::now();
    const auto since = now.time_since_epoch();
    const std::time_t seconds = std::chrono::duration_cast<std::chrono::seconds>(since).count();
    const long long nanos =
        std::chrono::duration_cast<std::chrono::nanoseconds>(since).count() % 1000000000LL;
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    std::string out = buf;
    if (withFraction) {
        std::snprintf(buf, sizeof buf, ".%09lld+00:00", nanos);
        out += buf;
    }
    return out;
}

void sysdate(sqlite3_context* ctx, int, sqlite3_value**) {
    const std::string now = utcNow(false);
    sqlite3_result_text(ctx, now.c_str(), static_cast<int>(now.size()), SQLITE_TRANSIENT);
}

void systimestamp(sqlite3_context* ctx, int, sqlite3_value**) {
    const std::string now = utcNow(true);
    sqlite3_result_text(ctx, now.c_str(), static_cast<int>(now.size()), SQLITE_TRANSIENT);
}

void runPragma(sqlite3* db, const char* sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace


namespace {

const FunctionRow kRows[] = {
    {"NVL", 2, 2, nvl},
    {"EMPTY_CLOB", 0, 0, emptyClob, "CLOB"},
    {"EMPTY_BLOB", 0, 0, emptyBlob, "BLOB"},
    {"TO_CLOB", 1, 1, toClob, "CLOB"},
    {"TO_NCLOB", 1, 1, toClob, "NCLOB"},
    {"SYSDATE", 0, 0, sysdate, "DATE", false},
    {"SYSTIMESTAMP", 0, 0, systimestamp, "TIMESTAMP WITH TIME ZONE", false},
};

}  // namespace

const FunctionFamily kSessionFunctions{kRows};

void registerSessionFunctions(sqlite3* db, const std::string& owner) {
    defineCatalogFunctions(db);
    registerValueTooLarge(db, owner);
    // Oracle's LIKE compares characters exactly, case included.
    runPragma(db, "PRAGMA case_sensitive_like = ON");
    registerSequenceFunctions(db);
    registerDatetimeCollation(db);
    registerIntervalCollation(db);
    // TEMP, so that nothing is written to the database file.
    char* message = nullptr;
    const int rc = sqlite3_exec(db, "CREATE TEMP VIEW IF NOT EXISTS dual AS SELECT 'X' AS DUMMY",
                                nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
