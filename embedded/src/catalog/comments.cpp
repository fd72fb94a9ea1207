#include "catalog/comments.h"

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/function_args.h"
#include "functions/sql_function.h"
#include "sql/internal_names.h"
#include "functions/catalog.h"
#include "sql/sql_lexer.h"

namespace kavexdb {
namespace detail {

namespace {

const char* const kCommentCatalog = "KAVEX$COMMENTS";

// Oracle's name for an object SQLite stores as written: upper case unless it was quoted.
std::string shown(const std::string& column) {
    return "(CASE WHEN instr(m.sql, '\"' || " + column + " || '\"') > 0 THEN " + column +
           " ELSE upper(" + column + ") END)";
}

void commentOf(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        sqlite3* db = sqlite3_context_db_handle(ctx);
        sqlite3_stmt* raw = nullptr;
        const std::string sql = "SELECT COMMENTS FROM main." +
                                sqlQuotedIdentifier(kCommentCatalog) +
                                " WHERE TABLE_NAME = upper(?1) AND COLUMN_NAME = "
                                "coalesce(upper(?2), '')";
        sqlite3_result_null(ctx);
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) == SQLITE_OK) {
            sqlite3_bind_value(raw, 1, argv[0]);
            sqlite3_bind_value(raw, 2, argv[1]);
            if (sqlite3_step(raw) == SQLITE_ROW)
                sqlite3_result_value(ctx, sqlite3_column_value(raw, 0));
        }
        sqlite3_finalize(raw);  // no catalog yet: no comments
    });
}

}  // namespace

bool rewriteCommentOn(TokenEditor& e, RewrittenSql& out) {
    std::size_t i = e.next(0);
    if (!e.word(i, "COMMENT")) return false;
    i = e.next(i + 1);
    if (!e.word(i, "ON")) raise(ora::kMissingKeyword);
    i = e.next(i + 1);
    const bool column = e.word(i, "COLUMN");
    if (!column && !e.word(i, "TABLE")) raise(ora::kMissingKeyword);
    // [schema.]table[.column]: the last one or two names.
    std::vector<std::string> parts;
    for (i = e.next(i + 1); e.name(i); i = e.next(i + 1)) {
        parts.push_back(identifierName(e.at(i)));
        i = e.next(i + 1);
        if (!e.punct(i, '.')) break;
    }
    if (parts.empty() || (column && parts.size() < 2)) raise(ora::kInvalidIdentifier);
    if (!e.word(i, "IS")) raise(ora::kMissingKeyword);
    i = e.next(i + 1);
    if (i >= e.size() || e.at(i).kind != Token::Kind::String)
        raise(ora::kStringLiteralRequired);
    // '' is NULL by now, as everywhere: no comment.
    const std::string text =
        e.at(i).text == "NULL" ? std::string() : literalContent(e.at(i));
    if (e.next(i + 1) < e.size()) raise(ora::kCommandNotProperlyEnded);
    const std::string table = column ? parts[parts.size() - 2] : parts.back();
    const std::string columnName = column ? parts.back() : std::string();
    const std::string catalog = sqlQuotedIdentifier(kCommentCatalog);
    // The object must exist: reading it fails with ORA-00942 or ORA-00904 otherwise.
    const std::size_t first = e.next(0);
    e.erase(first, e.size());
    e[first].kind = Token::Kind::Word;
    e[first].text = "SELECT " + (column ? sqlQuotedIdentifier(table) + "." + sqlQuotedIdentifier(columnName)
                           : std::string("1")) +
                    " FROM " + sqlQuotedIdentifier(table) + " WHERE 0";
    out.ddl.catalogSql.push_back("CREATE TABLE IF NOT EXISTS main." + catalog +
                             " (TABLE_NAME TEXT, COLUMN_NAME TEXT, COMMENTS TEXT, "
                             "PRIMARY KEY (TABLE_NAME, COLUMN_NAME))");
    const std::string key = sqlStringLiteral(asciiUpper(table)) + ", " +
                            sqlStringLiteral(asciiUpper(columnName));
    if (text.empty())
        out.ddl.catalogSql.push_back("DELETE FROM main." + catalog + " WHERE TABLE_NAME = " +
                                 sqlStringLiteral(asciiUpper(table)) + " AND COLUMN_NAME = " +
                                 sqlStringLiteral(asciiUpper(columnName)));
    else
        out.ddl.catalogSql.push_back("INSERT OR REPLACE INTO main." + catalog + " VALUES (" + key +
                                 ", " + sqlStringLiteral(text) + ")");
    return true;
}

std::string tableCommentsQuery() {
    return "(SELECT " + shown("m.name") + " AS TABLE_NAME, upper(m.type) AS TABLE_TYPE, "
           "ORA$COMMENT(m.name, NULL) AS COMMENTS FROM main.sqlite_master m "
           "WHERE m.type IN ('table', 'view') AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
           "AND m.name NOT LIKE 'KAVEX$%')";
}

std::string columnCommentsQuery() {
    return "(SELECT " + shown("m.name") + " AS TABLE_NAME, " + shown("p.name") +
           " AS COLUMN_NAME, ORA$COMMENT(m.name, p.name) AS COMMENTS "
           "FROM main.sqlite_master m, pragma_table_info(m.name) p "
           "WHERE m.type IN ('table', 'view') AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
           "AND m.name NOT LIKE 'KAVEX$%')";
}

namespace {

// ORA$COMMENT(table, column): the comment kept for a table (column NULL) or column, or NULL.
const FunctionRow kRows[] = {
    {kOraComment, 2, 2, commentOf, nullptr, false},
};

}  // namespace

const FunctionFamily kCommentFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
