#include "rewrite/ddl/alter_index.h"

#include <cctype>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

void rewriteAlterIndex(TokenEditor& e, std::size_t indexWord, std::string& from, std::string& to) {
    std::size_t i = e.next(indexWord + 1);
    std::string schema, name;
    const std::size_t nameAt = i;
    if (!qualifiedNameAt(e, i, schema, name)) return;
    if (e.word(i, "REBUILD")) {
        const std::string text = textOf(e, nameAt, i);
        e.erase(0, e.size());
        e[0].text = "REINDEX " + text;
        e = TokenEditor(lexSql(e.text()));
    } else if (e.word(i, "RENAME") && e.word(e.next(i + 1), "TO")) {
        std::size_t k = e.next(e.next(i + 1) + 1);
        std::string newSchema, newName;
        if (!qualifiedNameAt(e, k, newSchema, newName)) raise(ora::kInvalidTableName);
        from = name;
        to = newName;
    }
}

void renameIndex(sqlite3* db, const std::string& from, const std::string& to) {
    SqliteStmt find = prepareSql(db,
                                 "SELECT name, sql FROM main.sqlite_master WHERE type = 'index' "
                                 "AND name = ?1 COLLATE NOCASE AND sql IS NOT NULL");
    sqlite3_bind_text(find.get(), 1, from.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(find.get()) != SQLITE_ROW) raise(ora::kIndexDoesNotExist);
    const std::string oldName = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
    TokenEditor e(lexSql(reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 1))));
    find.reset();
    // CREATE [UNIQUE] INDEX name ON ...: the name is the token before ON.
    std::size_t on = e.next(0);
    while (on < e.size() && !e.word(on, "ON")) on = e.next(on + 1);
    const std::size_t name = e.previous(on);
    if (on >= e.size() || name >= e.size()) raise(ora::kIndexDoesNotExist);
    bool plain = !to.empty() && !std::isdigit(static_cast<unsigned char>(to[0]));
    for (char c : to)
        plain = plain && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                          c == '$' || c == '#');
    e[name].text = plain ? to : sqlQuotedIdentifier(to);
    SqliteStmt taken = prepareSql(db, "SELECT 1 FROM main.sqlite_master WHERE name = ?1 COLLATE NOCASE");
    sqlite3_bind_text(taken.get(), 1, to.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(taken.get()) == SQLITE_ROW) raise(ora::kNameAlreadyUsed);
    taken.reset();
    runOnce(db, "DROP INDEX main." + sqlQuotedIdentifier(oldName));
    runOnce(db, e.text());
}

}  // namespace detail
}  // namespace kavexdb
