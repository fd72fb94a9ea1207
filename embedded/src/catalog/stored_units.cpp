#include "catalog/stored_units.h"

#include "base/text.h"

#include <cstdio>
#include <set>

#include "base/ora_messages.h"
#include "functions/catalog.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

namespace {

constexpr const char* kCatalog = "\"KAVEX$SOURCE\"";

constexpr const char* kColumns =
    "(OWNER TEXT, NAME TEXT, TYPE TEXT, STATUS TEXT, TEXT TEXT, ERROR_LINE INTEGER, "
    "ERROR_POSITION INTEGER, ERROR_TEXT TEXT, ARGUMENTS TEXT, PRIMARY KEY (NAME, TYPE))";

bool catalogExists(sqlite3* db) { return tableExists(db, "KAVEX$SOURCE"); }

// A package and its body share a name: the catalog is keyed by name and type. A
// catalog of an older file, keyed by name alone, is copied into one keyed so.
void createCatalog(sqlite3* db) {
    if (catalogExists(db)) {
        SqliteStmt key = prepareSql(
            db, "SELECT count(*) FROM pragma_table_info('KAVEX$SOURCE') WHERE pk > 0");
        if (sqlite3_step(key.get()) == SQLITE_ROW && sqlite3_column_int(key.get(), 0) == 2) return;
        key.reset();
        execSql(db, (std::string("ALTER TABLE ") + kCatalog + " RENAME TO \"KAVEX$SOURCE_OLD\"")
                        .c_str());
        execSql(db, (std::string("CREATE TABLE ") + kCatalog + kColumns).c_str());
        execSql(db, (std::string("INSERT INTO ") + kCatalog +
                     " SELECT * FROM \"KAVEX$SOURCE_OLD\"")
                        .c_str());
        execSql(db, "DROP TABLE \"KAVEX$SOURCE_OLD\"");
        return;
    }
    execSql(db, (std::string("CREATE TABLE ") + kCatalog + kColumns).c_str());
}

// Whether a table, view or sequence of the database has the name (as SQLite keeps it, in
// either case).
bool nameTaken(sqlite3* db, const std::string& name) {
    SqliteStmt s = prepareSql(db,
                              "SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND "
                              "upper(name) = upper(?1) UNION ALL SELECT 1 FROM json_each(" +
                                  std::string(kOraSequenceRows) +
                                  "()) j WHERE json_extract(j.value, '$[0]') = ?1");
    sqlite3_bind_text(s.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    return sqlite3_step(s.get()) == SQLITE_ROW;
}

std::string column(sqlite3_stmt* s, int i) { return columnText(s, i); }


// ORA$UNIT_ROWS(): [name, type, status] of every unit, as JSON, for USER_OBJECTS.
// ORA$SOURCE_LINES(): [name, type, line, text] of every unit's source, for USER_SOURCE.
// ORA$UNIT_ERRORS(): [name, type, line, position, text] of every unit's error, for USER_ERRORS.
// ORA$UNIT_ARGUMENTS(): [name, type, [argument rows]] of every unit, for USER_ARGUMENTS.
enum class Rows { Units, Lines, Errors, Arguments };
void unitRows(sqlite3_context* ctx, Rows rows) {
    const bool lines = rows == Rows::Lines;
    sqlite3* db = sqlite3_context_db_handle(ctx);
    std::string out = "[";
    if (catalogExists(db)) {
        SqliteStmt s = prepareSql(
            db, std::string("SELECT NAME, TYPE, STATUS, TEXT, ERROR_LINE, ERROR_POSITION, "
                            "ERROR_TEXT, coalesce(ARGUMENTS, '[]') FROM ") +
                    kCatalog + " ORDER BY NAME");
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            const std::string prefix =
                "[" + jsonText(column(s.get(), 0)) + "," + jsonText(column(s.get(), 1)) + ",";
            if (rows == Rows::Arguments) {
                if (out.size() > 1) out += ',';
                out += prefix + column(s.get(), 7) + "]";
                continue;
            }
            if (rows == Rows::Errors) {
                if (sqlite3_column_type(s.get(), 6) == SQLITE_NULL) continue;
                if (out.size() > 1) out += ',';
                out += prefix + std::to_string(sqlite3_column_int(s.get(), 4)) + "," +
                       std::to_string(sqlite3_column_int(s.get(), 5)) + "," +
                       jsonText(column(s.get(), 6)) + "]";
                continue;
            }
            if (!lines) {
                if (out.size() > 1) out += ',';
                out += prefix + jsonText(column(s.get(), 2)) + "]";
                continue;
            }
            const std::string text = column(s.get(), 3);
            std::size_t start = 0;
            for (int line = 1; start < text.size(); ++line) {
                std::size_t end = text.find('\n', start);
                if (end == std::string::npos) end = text.size();
                if (out.size() > 1) out += ',';
                // USER_SOURCE keeps each line with its newline.
                out += prefix + std::to_string(line) + "," +
                       jsonText(text.substr(start, end - start) + "\n") + "]";
                start = end + 1;
            }
        }
    }
    out += "]";
    sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void unitObjects(sqlite3_context* ctx, int, sqlite3_value**) { unitRows(ctx, Rows::Units); }
void sourceLines(sqlite3_context* ctx, int, sqlite3_value**) { unitRows(ctx, Rows::Lines); }
void unitErrors(sqlite3_context* ctx, int, sqlite3_value**) { unitRows(ctx, Rows::Errors); }
void unitArguments(sqlite3_context* ctx, int, sqlite3_value**) { unitRows(ctx, Rows::Arguments); }

const FunctionRow kRows[] = {
    {kOraUnitRows, 0, 0, unitObjects, nullptr, false},
    {kOraSourceLines, 0, 0, sourceLines, nullptr, false},
    {kOraUnitErrors, 0, 0, unitErrors, nullptr, false},
    {kOraUnitArguments, 0, 0, unitArguments, nullptr, false},
};

}  // namespace

const FunctionFamily kStoredUnitFunctions{kRows};

void saveStoredUnit(sqlite3* db, const std::string& owner, const StoredUnit& u, bool orReplace) {
    StoredUnit existing;
    if (u.type == "PACKAGE BODY") {
        // A body goes with its package, which holds the name.
        if (findStoredUnitOfType(db, u.name, u.type, existing) && !orReplace)
            raise(ora::kNameAlreadyUsed);
    } else {
        const bool exists = findStoredUnit(db, u.name, existing);
        // Triggers have a namespace of their own: a trigger may share a table's name.
        if (exists ? !orReplace || existing.type != u.type
                   : u.type != "TRIGGER" && nameTaken(db, u.name))
            raise(ora::kNameAlreadyUsed);
    }
    createCatalog(db);
    SqliteStmt s = prepareSql(db, std::string("INSERT OR REPLACE INTO ") + kCatalog +
                                      " (OWNER, NAME, TYPE, STATUS, TEXT, ERROR_LINE, "
                                      "ERROR_POSITION, ERROR_TEXT, ARGUMENTS) "
                                      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const std::string* values[] = {&owner, &u.name, &u.type, &u.status, &u.text};
    for (int i = 0; i < 5; ++i)
        sqlite3_bind_text(s.get(), i + 1, values[i]->data(), static_cast<int>(values[i]->size()),
                          SQLITE_TRANSIENT);
    sqlite3_bind_text(s.get(), 9, u.arguments.data(), static_cast<int>(u.arguments.size()),
                      SQLITE_TRANSIENT);
    if (!u.errorText.empty()) {
        sqlite3_bind_int(s.get(), 6, u.errorLine);
        sqlite3_bind_int(s.get(), 7, u.errorPosition);
        sqlite3_bind_text(s.get(), 8, u.errorText.data(), static_cast<int>(u.errorText.size()),
                          SQLITE_TRANSIENT);
    }
    const int rc = sqlite3_step(s.get());
    if (rc != SQLITE_DONE) raiseSqlite(db, rc);
}

void dropStoredUnit(sqlite3* db, const std::string& name, const std::string& type) {
    StoredUnit existing;
    if (!findStoredUnitOfType(db, name, type, existing)) raise(ora::kObjectDoesNotExist, name);
    // DROP PACKAGE drops its body too.
    SqliteStmt s = prepareSql(
        db, std::string("DELETE FROM ") + kCatalog +
                " WHERE NAME = ?1 AND (TYPE = ?2 OR (?2 = 'PACKAGE' AND TYPE = 'PACKAGE BODY'))");
    sqlite3_bind_text(s.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(s.get(), 2, type.data(), static_cast<int>(type.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(s.get());
    if (rc != SQLITE_DONE) raiseSqlite(db, rc);
}

void dropStoredUnitIfAny(sqlite3* db, const std::string& name, const std::string& type) {
    if (!catalogExists(db)) return;
    SqliteStmt s =
        prepareSql(db, std::string("DELETE FROM ") + kCatalog + " WHERE NAME = ? AND TYPE = ?");
    sqlite3_bind_text(s.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(s.get(), 2, type.data(), static_cast<int>(type.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(s.get());
    if (rc != SQLITE_DONE) raiseSqlite(db, rc);
}

namespace {

// Whether the name at k stands where an operand does (after an operator, a comma, an opening
// parenthesis or a clause's keyword), not where an alias does (after AS or after an operand).
bool operandPosition(const TokenEditor& e, std::size_t k) {
    const std::size_t p = e.previous(k);
    if (p >= e.size()) return false;
    const Token& t = e.at(p);
    if (t.kind == Token::Kind::Punct) return !t.isPunct(')') && !t.isPunct('.');
    if (t.kind != Token::Kind::Word) return false;
    static const char* const kWords[] = {"SELECT", "DISTINCT", "UNIQUE", "ALL",   "WHERE",
                                         "AND",    "OR",       "NOT",    "BY",    "WHEN",
                                         "THEN",   "ELSE",     "HAVING", "ON",    "BETWEEN",
                                         "LIKE",   "CASE",     "PRIOR",  "RETURN"};
    for (const char* w : kWords)
        if (t.isWord(w)) return true;
    return false;
}

// The names a statement gives its columns otherwise than by a stored function: the columns of
// the tables and views it names, and the aliases it gives (a select item's, a table's).
std::set<std::string> columnNames(sqlite3* db, const TokenEditor& e) {
    std::set<std::string> names, seen;
    SqliteStmt columns = prepareSql(db,
                                    "SELECT upper(p.name) FROM sqlite_master m, "
                                    "pragma_table_info(m.name) p WHERE m.type IN ('table', "
                                    "'view') AND upper(m.name) = upper(?1)");
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (!e.name(k)) continue;
        const std::string name = identifierName(e.at(k));
        if (!e.punct(e.previous(k), '.') && !operandPosition(e, k) &&
            e.previous(k) < e.size() && !e.punct(e.previous(k), ','))
            names.insert(name);
        if (!seen.insert(name).second) continue;
        sqlite3_reset(columns.get());
        sqlite3_bind_text(columns.get(), 1, name.data(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        while (sqlite3_step(columns.get()) == SQLITE_ROW) names.insert(column(columns.get(), 0));
    }
    return names;
}

// A select-list item of a query block: its tokens, its text, and whether it ends in an alias.
struct SelectItem {
    std::size_t first = 0, last = 0;
    std::string text;
    bool aliased = false;
    bool calls = false;  // a stored function call was written into it
};

std::vector<SelectItem> selectItems(const TokenEditor& e) {
    std::vector<SelectItem> items;
    for (std::size_t select = e.next(0); select < e.size(); select = e.next(select + 1)) {
        if (!e.word(select, "SELECT")) continue;
        std::size_t i = e.next(select + 1);
        if (e.word(i, "DISTINCT") || e.word(i, "ALL") || e.word(i, "UNIQUE")) i = e.next(i + 1);
        std::size_t start = i;
        int depth = 0;
        for (std::size_t k = i; k <= e.size(); ++k) {
            const bool end =
                k == e.size() || (depth == 0 && (e.word(k, "FROM") || e.punct(k, ')') ||
                                                 e.word(k, "UNION") || e.word(k, "INTO")));
            if (k < e.size() && e.punct(k, '(')) ++depth;
            if (k < e.size() && e.punct(k, ')') && depth > 0) --depth;
            if (!end && !(depth == 0 && e.punct(k, ','))) continue;
            SelectItem item;
            item.first = e.next(start);
            item.last = e.previous(k);
            if (item.first < k && item.last < e.size() && item.last >= item.first) {
                for (std::size_t j = item.first; j <= item.last; ++j) item.text += e.at(j).text;
                const std::size_t before = e.previous(item.last);
                item.aliased = item.last != item.first && e.name(item.last) &&
                               (e.word(before, "AS") || !operandPosition(e, item.last)) &&
                               !e.punct(before, '.');
                items.push_back(item);
            }
            start = k + 1;
            if (end) break;
        }
    }
    return items;
}

}  // namespace

std::string callStoredFunctions(sqlite3* db, const std::string& sql,
                                std::string (*itemName)(const std::string& text)) {
    if (!catalogExists(db)) return sql;
    std::set<std::string> functions, packages;
    SqliteStmt s = prepareSql(db, std::string("SELECT NAME, TYPE FROM ") + kCatalog +
                                      " WHERE TYPE IN ('FUNCTION', 'PACKAGE')");
    while (sqlite3_step(s.get()) == SQLITE_ROW)
        (column(s.get(), 1) == "PACKAGE" ? packages : functions).insert(column(s.get(), 0));
    if (functions.empty() && packages.empty()) return sql;
    TokenEditor e(lexSql(sql));
    std::vector<SelectItem> items = selectItems(e);
    bool columnsRead = false;
    std::set<std::string> columns;
    bool changed = false;
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (!e.name(k) || e.punct(e.previous(k), '.')) continue;
        std::string name = identifierName(e.at(k));
        std::size_t open = e.next(k + 1);
        if (packages.count(name) && e.punct(open, '.') && e.name(e.next(open + 1))) {
            // PKG.F(...) or PKG.F: a package's function, unless PKG is the statement's alias.
            if (!columnsRead) {
                columns = columnNames(db, e);
                columnsRead = true;
            }
            if (columns.count(name)) continue;
            const std::size_t member = e.next(open + 1);
            name += "." + identifierName(e.at(member));
            e.erase(open);
            e.erase(member);
            open = e.next(member + 1);
        } else if (functions.count(name) == 0) {
            continue;
        }
        const bool parens = e.punct(open, '(');
        if (!parens && name.find('.') == std::string::npos) {
            // A function without arguments may be named without (); a column or an alias of
            // the same name is what the name stands for then, as Oracle resolves it.
            if (e.punct(open, '.') || !operandPosition(e, k)) continue;
            if (!columnsRead) {
                columns = columnNames(db, e);
                columnsRead = true;
            }
            if (columns.count(name)) continue;
        }
        const bool noArguments = !parens || e.punct(e.next(open + 1), ')');
        e[k].text = std::string(kOraPlSqlCall) + "(" + sqlStringLiteral(name) +
                    (noArguments ? (parens ? "" : ")") : ", ");
        if (parens) e.erase(open);
        SelectItem* innermost = nullptr;
        for (SelectItem& item : items)
            if (item.first <= k && k <= item.last &&
                (!innermost || item.last - item.first < innermost->last - innermost->first))
                innermost = &item;
        if (innermost) innermost->calls = true;
        changed = true;
    }
    if (!changed) return sql;
    // A select item the call was written into is headed by the text it was written as.
    for (const SelectItem& item : items)
        if (item.calls && !item.aliased && itemName) e[item.last].text += itemName(item.text);
    return e.text();
}

namespace {

constexpr const char* kUnitColumns =
    "NAME, TYPE, STATUS, TEXT, ERROR_LINE, ERROR_POSITION, ERROR_TEXT, "
    "coalesce(ARGUMENTS, '[]')";

void readUnit(sqlite3_stmt* s, StoredUnit& out) {
    out.name = column(s, 0);
    out.type = column(s, 1);
    out.status = column(s, 2);
    out.text = column(s, 3);
    out.errorLine = sqlite3_column_int(s, 4);
    out.errorPosition = sqlite3_column_int(s, 5);
    out.errorText = column(s, 6);
    out.arguments = column(s, 7);
}

}  // namespace

bool findStoredUnitOfType(sqlite3* db, const std::string& name, const std::string& type,
                          StoredUnit& out) {
    if (!catalogExists(db)) return false;
    SqliteStmt s = prepareSql(db, std::string("SELECT ") + kUnitColumns + " FROM " + kCatalog +
                                      " WHERE NAME = ? AND TYPE = ?");
    sqlite3_bind_text(s.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(s.get(), 2, type.data(), static_cast<int>(type.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(s.get()) != SQLITE_ROW) return false;
    readUnit(s.get(), out);
    return true;
}

bool findStoredUnit(sqlite3* db, const std::string& name, StoredUnit& out) {
    if (!catalogExists(db)) return false;
    SqliteStmt s = prepareSql(db, std::string("SELECT ") + kUnitColumns + " FROM " + kCatalog +
                                      " WHERE NAME = ? ORDER BY TYPE = 'PACKAGE BODY' LIMIT 1");
    sqlite3_bind_text(s.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(s.get()) != SQLITE_ROW) return false;
    readUnit(s.get(), out);
    return true;
}

}  // namespace detail
}  // namespace kavexdb
