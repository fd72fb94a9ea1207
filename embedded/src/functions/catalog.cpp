// The catalog of the client's SQL functions (functions/catalog.h): the families in the order they
// are defined, the names SQLite itself defines that the catalog only types, and the lookups.
#include "functions/catalog.h"

#include <string>
#include <unordered_map>

#include "sql/internal_names.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

namespace {

// SQLite's own functions and aggregates, with the types Oracle gives their results.
const FunctionRow kSqliteRows[] = {
    {"COUNT", -1, -1, nullptr, "NUMBER"},
    {"LENGTH", 1, 1, nullptr, "NUMBER"},
    {"ROW_NUMBER", 0, 0, nullptr, "NUMBER"},
    {"RANK", 0, 0, nullptr, "NUMBER"},
    {"DENSE_RANK", 0, 0, nullptr, "NUMBER"},
};

// The order of definition: a later family's definition of a name and argument count replaces an
// earlier one's.
const FunctionFamily* const kFamilies[] = {
    &kSessionFunctions,  &kConversionFunctions, &kOracleFunctions,      &kWriteConversions,
    &kArithmeticFunctions, &kDateFunctions,     &kIntervalFunctions,    &kComparisonFunctions,
    &kClobTextFunctions, &kDbmsLobFunctions,    &kSubstrFunctions,      &kRegexpFunctions,
    &kTextFunctions,     &kCharacterFunctions,  &kNumberFunctions,      &kSessionInfoFunctions,
    &kListaggAggregate,  &kKeepAggregate,       &kHypotheticalRanks,    &kStatisticalAggregates,
    &kDictionaryFunctions, &kCommentFunctions,  &kJoinFunctions,        &kConversionFormFunctions,
    &kSynonymFunctions,  &kDimensionFunctions,  &kSampleFunctions,      &kCastFunctions,
    &kNumericFunctions,  &kStoredUnitFunctions,
    &kTriggerCatalogFunctions, &kUnitDependencyFunctions, &kBuiltinPackageFunctions,
    &kSqliteFunctions,
};

// The functions with exact twins, by the names their rows give.
const char* const kExactTwins[] = {
    kOraAdd, kOraSub, kOraMul, kOraDiv, kOraNum, "POWER", "SUM", "AVG", "ROUND", "TRUNC",
    "ABS", "CEIL", "FLOOR", "MOD", "REMAINDER", "SQRT", "EXP", "LN", "LOG", "TO_CHAR", "TO_NUMBER", kOraCast,
    "VARIANCE", "VAR_SAMP", "VAR_POP", "STDDEV", "STDDEV_SAMP", "STDDEV_POP", "COVAR_POP",
    "COVAR_SAMP", "CORR",
};
constexpr const char* kTwinPrefix = "ORA$X_";
// The user data of every twin: its address tells a twin from its row.
char kTwinMarker = 0;

void defineRow(sqlite3* db, const FunctionRow& row, const char* name, void* userData,
               int args) {
    int rc;
    // A twin reads the subtype of its arguments (isExactNumberText).
    const int flags = SQLITE_UTF8 | (row.deterministic ? SQLITE_DETERMINISTIC : 0) |
                      (userData == &kTwinMarker ? SQLITE_SUBTYPE : 0);
    if (row.scalar)
        rc = sqlite3_create_function_v2(
            db, name, args, flags | (row.deterministic ? SQLITE_INNOCUOUS : 0), userData,
            row.scalar, nullptr, nullptr, nullptr);
    else if (row.value)
        rc = sqlite3_create_window_function(db, name, args, flags, userData, row.step, row.final,
                                            row.value, row.inverse, nullptr);
    else if (row.step)
        rc = sqlite3_create_function_v2(db, name, args, flags, userData, nullptr, row.step,
                                        row.final, nullptr);
    else
        return;  // SQLite's own: typed only
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

void defineRow(sqlite3* db, const FunctionRow& row, int args) {
    defineRow(db, row, row.name, row.userData, args);
    if (row.userData == nullptr && hasExactTwin(row.name))
        defineRow(db, row, exactTwinName(row.name).c_str(), &kTwinMarker, args);
}

}  // namespace

const FunctionFamily kSqliteFunctions{kSqliteRows};

void defineFunction(sqlite3* db, const char* name, int args, SqlFunction fn, bool deterministic) {
    const int flags = SQLITE_UTF8 | (deterministic ? SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS : 0);
    const int rc =
        sqlite3_create_function_v2(db, name, args, flags, nullptr, fn, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

void defineCatalogFunctions(sqlite3* db) {
    for (const FunctionFamily* family : kFamilies) {
        for (std::size_t r = 0; r < family->count; ++r) {
            const FunctionRow& row = family->rows[r];
            if (row.minArguments < 0) {
                defineRow(db, row, -1);
                continue;
            }
            for (int args = row.minArguments; args <= row.maxArguments; ++args)
                defineRow(db, row, args);
        }
    }
}

bool hasExactTwin(const std::string& upperName) {
    for (const char* name : kExactTwins)
        if (upperName == name) return true;
    return false;
}

std::string exactTwinName(const std::string& upperName) {
    const bool internal = upperName.compare(0, 4, "ORA$") == 0;
    return kTwinPrefix + upperName.substr(internal ? 4 : 0);
}

std::string baseFunctionName(const std::string& upperName) {
    const std::size_t prefix = std::char_traits<char>::length(kTwinPrefix);
    if (upperName.compare(0, prefix, kTwinPrefix) != 0) return upperName;
    const std::string rest = upperName.substr(prefix);
    return hasExactTwin(rest) ? rest : "ORA$" + rest;
}

bool resultsMayBeWide(sqlite3_context* ctx) { return sqlite3_user_data(ctx) == &kTwinMarker; }

const char* catalogResultType(const std::string& name) {
    // Built once: name -> the type every row of that name gives (nullptr when they differ).
    static const std::unordered_map<std::string, const char*> types = [] {
        std::unordered_map<std::string, const char*> map;
        for (const FunctionFamily* family : kFamilies) {
            for (std::size_t r = 0; r < family->count; ++r) {
                const FunctionRow& row = family->rows[r];
                const auto [at, added] = map.emplace(row.name, row.resultType);
                if (!added && (at->second == nullptr || row.resultType == nullptr ||
                               std::string(at->second) != row.resultType))
                    at->second = nullptr;
            }
        }
        return map;
    }();
    const auto it = types.find(baseFunctionName(name));
    return it == types.end() ? nullptr : it->second;
}

}  // namespace detail
}  // namespace kavexdb
