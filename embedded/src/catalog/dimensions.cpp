#include "catalog/dimensions.h"

#include "base/errors.h"
#include "base/ora_messages.h"
#include "catalog/ddl_effects.h"
#include "functions/catalog.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

namespace {

std::string catalog() { return sqlQuotedIdentifier(kDimensionCatalog); }

std::string dimensionExists(const std::string& name) {
    return "EXISTS (SELECT 1 FROM " + catalog() + " WHERE DIMENSION_NAME = " +
           sqlStringLiteral(name) + ")";
}

}  // namespace

bool rewriteDimensionDdl(TokenEditor& e, RewrittenSql& out) {
    std::size_t i = e.next(0);
    const bool create = e.word(i, "CREATE");
    if (!create && !e.word(i, "DROP")) return false;
    i = e.next(i + 1);
    bool replace = false;
    if (create && e.word(i, "OR") && e.word(e.next(i + 1), "REPLACE")) {
        replace = true;
        i = e.next(e.next(i + 1) + 1);
    }
    if (!e.word(i, "DIMENSION")) return false;
    i = e.next(i + 1);
    if (!e.name(i)) raise(ora::kInvalidTableName);
    std::string name = identifierName(e.at(i));
    if (e.punct(e.next(i + 1), '.') && e.name(e.next(e.next(i + 1) + 1))) {
        i = e.next(e.next(i + 1) + 1);  // schema.name: the one schema there is
        name = identifierName(e.at(i));
    }
    const std::size_t rest = e.next(i + 1);
    out.sql = "CREATE TABLE IF NOT EXISTS " + catalog() +
              " (DIMENSION_NAME TEXT PRIMARY KEY, DEFINITION TEXT NOT NULL)";
    if (create) {
        if (!e.word(rest, "LEVEL")) raise(ora::kMissingKeyword);
        if (!replace)
            out.ddl.catalogSql.push_back("SELECT " + raiseCall(ora::kNameAlreadyUsed) +
                                         " WHERE " + dimensionExists(name));
        out.ddl.catalogSql.push_back("INSERT OR REPLACE INTO " + catalog() + " VALUES (" +
                                     sqlStringLiteral(name) + ", " +
                                     sqlStringLiteral(textOf(e, e.next(0), e.size())) + ")");
    } else {
        if (rest < e.size() && !e.punct(rest, ';')) raise(ora::kCommandNotProperlyEnded);
        out.ddl.catalogSql.push_back(
            "SELECT " + raiseCall(ora::kObjectDoesNotExist, name) + " WHERE NOT " +
            dimensionExists(name));
        out.ddl.catalogSql.push_back("DELETE FROM " + catalog() +
                                     " WHERE DIMENSION_NAME = " + sqlStringLiteral(name));
    }
    return true;
}

std::string dimensionDictionaryQuery(const std::string& name, const std::string& sessionSchema) {
    const bool all = name == "ALL_DIMENSIONS" || name == "DBA_DIMENSIONS";
    if (!all && name != "USER_DIMENSIONS") return std::string();
    return std::string("(SELECT ") +
           (all ? sqlStringLiteral(sessionSchema) + " AS OWNER, " : std::string()) +
           "j.value AS DIMENSION_NAME, 'N' AS INVALID, 'VALID' AS COMPILE_STATE, 1 AS REVISION "
           "FROM json_each(" + kOraDimensionRows + "()) j)";
}

std::string dimensionObjectRows() {
    return std::string("SELECT j.value, NULL, 'DIMENSION', 'VALID', 'N', 'N' FROM json_each(") +
           kOraDimensionRows + "()) j";
}

namespace {

// ORA$DIMENSION_ROWS(): the dimensions' names as a JSON array, empty when the database has
// none yet.
void dimensionRows(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3* db = sqlite3_context_db_handle(ctx);
    if (!mainTableExists(db, kDimensionCatalog)) {
        sqlite3_result_text(ctx, "[]", 2, SQLITE_STATIC);
        return;
    }
    guarded(ctx, [&] {
        SqliteStmt read = prepareSql(db, "SELECT json_group_array(DIMENSION_NAME) FROM (SELECT "
                                         "DIMENSION_NAME FROM " + catalog() +
                                         " ORDER BY DIMENSION_NAME)");
        if (sqlite3_step(read.get()) == SQLITE_ROW)
            sqlite3_result_value(ctx, sqlite3_column_value(read.get(), 0));
        else
            sqlite3_result_text(ctx, "[]", 2, SQLITE_STATIC);
    });
}

const FunctionRow kRows[] = {
    {kOraDimensionRows, 0, 0, dimensionRows, nullptr, false},
};

}  // namespace

const FunctionFamily kDimensionFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
