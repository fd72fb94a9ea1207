#include "catalog/unit_dependencies.h"

#include <map>

#include "base/text.h"
#include "functions/catalog.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

namespace {

constexpr const char* kTable = "\"KAVEX$DEPENDENCIES\"";

bool catalogExists(sqlite3* db) { return tableExists(db, "KAVEX$DEPENDENCIES"); }

void bindText(sqlite3_stmt* s, int i, const std::string& text) {
    sqlite3_bind_text(s, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void step(sqlite3* db, sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) raiseSqlite(db, rc);
}

// Every object a unit may use, by name: [name, type] (TABLE, VIEW, SEQUENCE or a unit's type).
constexpr const char* kObjects =
    "SELECT upper(name) AS n, upper(type) AS t FROM main.sqlite_master "
    "WHERE type IN ('table', 'view') "
    "UNION ALL SELECT json_extract(j.value, '$[0]'), 'SEQUENCE' FROM json_each(ORA$SEQUENCE_ROWS()) j "
    "UNION ALL SELECT json_extract(u.value, '$[0]'), json_extract(u.value, '$[1]') "
    "FROM json_each(ORA$UNIT_ROWS()) u WHERE json_extract(u.value, '$[1]') IN "
    "('PROCEDURE', 'FUNCTION', 'PACKAGE')";

void dependencyRows(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3* db = sqlite3_context_db_handle(ctx);
    std::string out = "[";
    if (catalogExists(db)) {
        SqliteStmt s = prepareSql(db, std::string("SELECT NAME, TYPE, REFERENCED_NAME, "
                                                  "REFERENCED_TYPE FROM ") +
                                          kTable + " ORDER BY NAME, TYPE, REFERENCED_NAME");
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            if (out.size() > 1) out += ',';
            out += "[";
            for (int i = 0; i < 4; ++i)
                out += (i ? "," : "") + jsonText(columnText(s.get(), i));
            out += "]";
        }
    }
    out += "]";
    sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

const FunctionRow kRows[] = {
    {kOraDependencyRows, 0, 0, dependencyRows, nullptr, false},
};

}  // namespace

const FunctionFamily kUnitDependencyFunctions{kRows};

void forgetDependencies(sqlite3* db, const std::string& name, const std::string& type) {
    if (!catalogExists(db)) return;
    SqliteStmt s = prepareSql(
        db, std::string("DELETE FROM ") + kTable + " WHERE NAME = ?1 AND TYPE = ?2");
    bindText(s.get(), 1, name);
    bindText(s.get(), 2, type);
    step(db, s.get());
}

void recordDependencies(sqlite3* db, const std::string& name, const std::string& type,
                        const std::set<std::string>& names) {
    execSql(db, (std::string("CREATE TABLE IF NOT EXISTS ") + kTable +
                 "(NAME TEXT, TYPE TEXT, REFERENCED_NAME TEXT, REFERENCED_TYPE TEXT)")
                    .c_str());
    forgetDependencies(db, name, type);
    // The database's objects, read once: the text's names are looked up among them.
    std::multimap<std::string, std::string> objects;
    SqliteStmt all = prepareSql(db, kObjects);
    while (sqlite3_step(all.get()) == SQLITE_ROW)
        objects.emplace(columnText(all.get(), 0), columnText(all.get(), 1));
    SqliteStmt insert =
        prepareSql(db, std::string("INSERT INTO ") + kTable + " VALUES (?1, ?2, ?3, ?4)");
    for (const std::string& used : names) {
        const auto range = objects.equal_range(used);
        for (auto o = range.first; o != range.second; ++o) {
            const std::string& usedType = o->second;
            // A unit does not use itself; a package's body uses its package.
            if (used == name && !(type == "PACKAGE BODY" && usedType == "PACKAGE")) continue;
            sqlite3_reset(insert.get());
            bindText(insert.get(), 1, name);
            bindText(insert.get(), 2, type);
            bindText(insert.get(), 3, used);
            bindText(insert.get(), 4, usedType);
            step(db, insert.get());
        }
    }
}

void invalidateDependents(sqlite3* db, const std::string& name, const std::string& type) {
    if (!catalogExists(db) || type == "PACKAGE BODY") return;
    SqliteStmt s = prepareSql(
        db, std::string("WITH RECURSIVE hit(n, t) AS (SELECT NAME, TYPE FROM ") + kTable +
                " WHERE REFERENCED_NAME = ?1 AND NOT (NAME = ?1 AND TYPE = ?2) "
                "UNION SELECT d.NAME, d.TYPE FROM " + kTable +
                " d JOIN hit ON d.REFERENCED_NAME = hit.n AND d.REFERENCED_TYPE = hit.t) "
                "UPDATE \"KAVEX$SOURCE\" SET STATUS = 'INVALID' WHERE STATUS = 'VALID' AND "
                "(NAME, TYPE) IN (SELECT n, t FROM hit)");
    bindText(s.get(), 1, name);
    bindText(s.get(), 2, type);
    step(db, s.get());
}

void invalidateDependentsOfDdl(sqlite3* db, const std::string& sql) {
    if (!catalogExists(db)) return;
    TokenEditor e(lexSql(sql));
    std::size_t i = e.next(0);
    const bool create = e.word(i, "CREATE");
    const bool rename = e.word(i, "RENAME");
    if (!create && !rename && !e.word(i, "ALTER") && !e.word(i, "DROP")) return;
    i = e.next(i + 1);
    if (create) {
        // CREATE OR REPLACE [FORCE] VIEW: a view that was there changes.
        if (!e.word(i, "OR")) return;
        i = e.next(e.next(i + 1) + 1);
        if (e.word(i, "FORCE") || e.word(i, "NOFORCE")) i = e.next(i + 1);
        if (e.word(i, "EDITIONABLE") || e.word(i, "NONEDITIONABLE")) i = e.next(i + 1);
        if (!e.word(i, "VIEW")) return;
    }
    if (!rename) {
        if (!e.word(i, "TABLE") && !e.word(i, "VIEW") && !e.word(i, "SEQUENCE")) return;
        i = e.next(i + 1);
    }
    if (!e.name(i)) return;
    std::string name = identifierName(e.at(i));
    if (e.punct(e.next(i + 1), '.') && e.name(e.next(e.next(i + 1) + 1)))
        name = identifierName(e.at(e.next(e.next(i + 1) + 1)));  // schema.name
    invalidateDependents(db, name, "TABLE");
}

std::vector<std::pair<std::string, std::string>> brokenDependencies(sqlite3* db,
                                                                    const std::string& name,
                                                                    const std::string& type) {
    std::vector<std::pair<std::string, std::string>> broken;
    if (!catalogExists(db)) return broken;
    SqliteStmt s = prepareSql(
        db, std::string("SELECT d.REFERENCED_NAME, d.REFERENCED_TYPE FROM ") + kTable +
                " d WHERE d.NAME = ?1 AND d.TYPE = ?2 AND (NOT EXISTS (SELECT 1 FROM (" +
                kObjects +
                ") o WHERE o.n = d.REFERENCED_NAME) OR EXISTS (SELECT 1 FROM \"KAVEX$SOURCE\" u "
                "WHERE u.NAME = d.REFERENCED_NAME AND u.TYPE = d.REFERENCED_TYPE AND u.STATUS = "
                "'INVALID' AND u.ERROR_TEXT IS NOT NULL))");
    bindText(s.get(), 1, name);
    bindText(s.get(), 2, type);
    while (sqlite3_step(s.get()) == SQLITE_ROW)
        broken.emplace_back(columnText(s.get(), 0), columnText(s.get(), 1));
    return broken;
}

}  // namespace detail
}  // namespace kavexdb
