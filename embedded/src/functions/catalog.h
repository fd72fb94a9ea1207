// The client's SQL functions, each declared once: a row gives the name, the numbers of arguments
// it takes, whether it is deterministic, the declared type of its result, and its implementation
// (a scalar function, or an aggregate's or window function's callbacks). Every row is defined
// beside its implementation, in its family's table; registration defines every row in a
// session's database, and describe (functions/expression_types.h) and the implicit conversions
// of comparisons (rewrite/expr/comparison_types.h) read result types from the same rows.
//
// A function is added by writing its implementation and its row; a new family also needs its
// line in kFamilies (catalog.cpp), which gives the order in which families are defined (a later
// definition of the same name and argument count replaces an earlier one).
#ifndef KAVEXDB_FUNCTIONS_CATALOG_H
#define KAVEXDB_FUNCTIONS_CATALOG_H

#include <sqlite3.h>

#include <cstddef>
#include <string>

#include "functions/sql_function.h"

namespace kavexdb {
namespace detail {

using AggregateStep = void (*)(sqlite3_context*, int, sqlite3_value**);
using AggregateResult = void (*)(sqlite3_context*);

struct FunctionRow {
    const char* name;
    int minArguments;  // -1: any number (maxArguments is then -1 too)
    int maxArguments;
    SqlFunction scalar = nullptr;  // a scalar function; nullptr for an aggregate, or for a name
                                   // SQLite itself defines (the row then only types it)
    // The declared type of the result ("NUMBER", "VARCHAR2(4000)", "DATE", ...); nullptr when it
    // depends on the arguments (describe's rules decide) or is not known.
    const char* resultType = nullptr;
    bool deterministic = true;  // same result for the same arguments: usable in indexes, views
    // Aggregates: step and final; window functions also value and inverse.
    AggregateStep step = nullptr;
    AggregateResult final = nullptr;
    AggregateResult value = nullptr;
    AggregateStep inverse = nullptr;
    void* userData = nullptr;  // sqlite3_user_data of the function
};

// One file's rows.
struct FunctionFamily {
    const FunctionRow* rows;
    std::size_t count;
    template <std::size_t N>
    constexpr FunctionFamily(const FunctionRow (&table)[N]) : rows(table), count(N) {}
};

// The families, each defined in the file of its functions.
extern const FunctionFamily kArithmeticFunctions;     // functions/arithmetic.cpp
extern const FunctionFamily kCastFunctions;           // functions/cast.cpp
extern const FunctionFamily kCharacterFunctions;      // functions/character_functions.cpp
extern const FunctionFamily kConversionFunctions;     // functions/conversion_functions.cpp
extern const FunctionFamily kDateFunctions;           // functions/date_functions.cpp
extern const FunctionFamily kDbmsLobFunctions;        // functions/dbms_lob_functions.cpp
extern const FunctionFamily kBuiltinPackageFunctions; // functions/builtin_packages.cpp
extern const FunctionFamily kHypotheticalRanks;       // functions/hypothetical_ranks.cpp
extern const FunctionFamily kIntervalFunctions;       // functions/interval_sql.cpp
extern const FunctionFamily kKeepAggregate;           // functions/keep_and_ratio.cpp
extern const FunctionFamily kListaggAggregate;        // functions/listagg.cpp
extern const FunctionFamily kNumberFunctions;         // functions/number_functions.cpp
extern const FunctionFamily kNumericFunctions;        // functions/numeric_functions.cpp
extern const FunctionFamily kOracleFunctions;         // functions/oracle_functions.cpp
extern const FunctionFamily kRegexpFunctions;         // functions/regexp_functions.cpp
extern const FunctionFamily kSessionInfoFunctions;    // functions/session_info.cpp
extern const FunctionFamily kStatisticalAggregates;   // functions/statistical_aggregates.cpp
extern const FunctionFamily kSubstrFunctions;         // functions/substr_function.cpp
extern const FunctionFamily kTextFunctions;           // functions/text_functions.cpp
extern const FunctionFamily kSqliteFunctions;         // functions/catalog.cpp: SQLite's own
extern const FunctionFamily kCommentFunctions;        // catalog/comments.cpp
extern const FunctionFamily kDictionaryFunctions;     // catalog/dictionary.cpp
extern const FunctionFamily kStoredUnitFunctions;     // catalog/stored_units.cpp
extern const FunctionFamily kTriggerCatalogFunctions; // catalog/stored_triggers.cpp
extern const FunctionFamily kUnitDependencyFunctions; // catalog/unit_dependencies.cpp
extern const FunctionFamily kSequenceFunctions;       // catalog/sequences.cpp
extern const FunctionFamily kSynonymFunctions;        // catalog/synonyms.cpp
extern const FunctionFamily kDimensionFunctions;      // catalog/dimensions.cpp
extern const FunctionFamily kSampleFunctions;         // rewrite/query/sample_clause.cpp
extern const FunctionFamily kWriteConversions;        // rewrite/dml/write_conversion.cpp
extern const FunctionFamily kClobTextFunctions;       // rewrite/expr/clob_text.cpp
extern const FunctionFamily kComparisonFunctions;     // rewrite/expr/comparison_types.cpp
extern const FunctionFamily kConversionFormFunctions; // rewrite/expr/conversion_forms.cpp
extern const FunctionFamily kJoinFunctions;           // rewrite/query/oracle_joins.cpp
extern const FunctionFamily kSessionFunctions;        // occi/session_functions.cpp

// The declared type of name's result (name in upper case) when a row gives one; nullptr when
// none does, or when the rows of that name disagree.
const char* catalogResultType(const std::string& name);

// Exact twins: the functions of NUMBER arithmetic are defined a second time as
// "ORA$X_<name>" (the name without a leading "ORA$"), the form a query's outermost select items
// call (rewrite/expr/exact_results.h). A twin runs its row's implementation; there a value past
// a double's digits may come back as its exact text (resultsMayBeWide, resultComputed).
bool hasExactTwin(const std::string& upperName);
std::string exactTwinName(const std::string& upperName);
// The function a twin's name stands for; any other name as it is.
std::string baseFunctionName(const std::string& upperName);
// Whether the running function was called as an exact twin.
bool resultsMayBeWide(sqlite3_context* ctx);

// Defines every row of every family in db, in kFamilies' order. Throws the Oracle form of
// SQLite's error.
void defineCatalogFunctions(sqlite3* db);

}  // namespace detail
}  // namespace kavexdb

#endif
