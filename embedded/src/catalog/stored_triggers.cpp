#include "catalog/stored_triggers.h"

#include "catalog/stored_units.h"

#include <map>
#include <set>

#include "base/ora_messages.h"
#include "base/text.h"
#include "functions/catalog.h"
#include "functions/function_args.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

namespace {

constexpr const char* kCatalog = "\"KAVEX$TRIGGERS\"";
constexpr const char* kSqlitePrefix = "KAVEX$T$";
constexpr const char* kTemporaryPrefix = "KAVEX$TT$";

void createCatalog(sqlite3* db) {
    execSql(db, (std::string("CREATE TABLE IF NOT EXISTS ") + kCatalog +
                 "(NAME TEXT PRIMARY KEY, TABLE_NAME TEXT, TIMING TEXT, EVENTS TEXT, "
                 "UPDATE_COLUMNS TEXT, FOR_EACH_ROW INTEGER, NEW_NAME TEXT, OLD_NAME TEXT, "
                 "WHEN_CLAUSE TEXT, ENABLED INTEGER, BODY TEXT, VERSION INTEGER, SEQ INTEGER, "
                 "INLINE_INSERT TEXT, INLINE_SQL TEXT)")
                    .c_str());
}

bool catalogExists(sqlite3* db) { return tableExists(db, "KAVEX$TRIGGERS"); }


void bindText(sqlite3_stmt* s, int i, const std::string& v) {
    sqlite3_bind_text(s, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
}

void step(sqlite3* db, sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) raiseSqlite(db, rc);
}

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : ",") + n;
    return out;
}

std::vector<std::string> split(const std::string& list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        out.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return out;
}

std::string events(const TriggerDefinition& t) {
    return std::string(t.inserts ? "I" : "") + (t.updates ? "U" : "") + (t.deletes ? "D" : "");
}

const char* kColumns =
    "NAME, TABLE_NAME, TIMING, EVENTS, UPDATE_COLUMNS, FOR_EACH_ROW, NEW_NAME, OLD_NAME, "
    "WHEN_CLAUSE, ENABLED, BODY, VERSION, INLINE_INSERT, INLINE_SQL";

TriggerDefinition readRow(sqlite3_stmt* s) {
    TriggerDefinition t;
    t.name = columnText(s, 0);
    t.table = columnText(s, 1);
    t.timing = columnText(s, 2);
    const std::string e = columnText(s, 3);
    t.inserts = e.find('I') != std::string::npos;
    t.updates = e.find('U') != std::string::npos;
    t.deletes = e.find('D') != std::string::npos;
    t.updateColumns = split(columnText(s, 4));
    t.forEachRow = sqlite3_column_int(s, 5) != 0;
    t.newName = columnText(s, 6);
    t.oldName = columnText(s, 7);
    t.when = columnText(s, 8);
    t.enabled = sqlite3_column_int(s, 9) != 0;
    t.body = columnText(s, 10);
    t.version = sqlite3_column_int(s, 11);
    t.inlineInsert = columnText(s, 12);
    t.inlineSql = columnText(s, 13);
    return t;
}

std::vector<TriggerDefinition> allTriggers(sqlite3* db) {
    std::vector<TriggerDefinition> out;
    if (!catalogExists(db)) return out;
    SqliteStmt s = prepareSql(
        db, std::string("SELECT ") + kColumns + " FROM " + kCatalog + " ORDER BY SEQ, NAME");
    while (sqlite3_step(s.get()) == SQLITE_ROW) out.push_back(readRow(s.get()));
    return out;
}

// The table or view SQL names so, as SQLite keeps its name, and whether it is a view; false when
// there is none.
bool findTable(sqlite3* db, const std::string& name, std::string& sqliteName, bool& view) {
    SqliteStmt s = prepareSql(db,
                              "SELECT name, type FROM sqlite_master WHERE type IN ('table', "
                              "'view') AND upper(name) = upper(?1) AND name NOT LIKE 'KAVEX$%'");
    bindText(s.get(), 1, name);
    if (sqlite3_step(s.get()) != SQLITE_ROW) return false;
    sqliteName = columnText(s.get(), 0);
    view = columnText(s.get(), 1) == "view";
    return true;
}

std::vector<std::string> tableColumns(sqlite3* db, const std::string& sqliteName) {
    std::vector<std::string> out;
    SqliteStmt s = prepareSql(db, "SELECT name FROM pragma_table_info(?1)");
    bindText(s.get(), 1, sqliteName);
    while (sqlite3_step(s.get()) == SQLITE_ROW) out.push_back(columnText(s.get(), 0));
    return out;
}

// The SQLite triggers t needs, by name: their CREATE TRIGGER texts.
// A row trigger's SQLite triggers, by name.
void rowTriggersOf(sqlite3* db, const TriggerDefinition& t, const std::string& table, bool view,
                   std::map<std::string, std::string>& out) {
    const std::string on = " ON " + sqlQuotedIdentifier(table);
    const std::vector<std::string> columns = tableColumns(db, table);
    for (char event : events(t)) {
        const std::string name = kSqlitePrefix + t.name + "$" + event;
        std::string sql = "CREATE TRIGGER " + sqlQuotedIdentifier(name) + " " + t.timing + " ";
        if (event == 'I') sql += "INSERT";
        if (event == 'D') sql += "DELETE";
        if (event == 'U') {
            sql += "UPDATE";
            for (std::size_t i = 0; i < t.updateColumns.size(); ++i)
                sql += (i ? ", " : " OF ") + sqlQuotedIdentifier(t.updateColumns[i]);
        }
        sql += on + " FOR EACH ROW BEGIN SELECT CASE WHEN " + std::string(kOraTrigger) + "(" +
               sqlStringLiteral(t.name) + ", " + std::to_string(t.version) + ", '" + event + "'";
        for (const char* side : {"NEW", "OLD"}) {
            const bool none = (event == 'I' && side[0] == 'O') || (event == 'D' && side[0] == 'N');
            for (const std::string& c : columns)
                sql += none ? std::string(", NULL") : ", " + std::string(side) + "." +
                                                          sqlQuotedIdentifier(c);
        }
        sql += event == 'I' || view ? ", NULL" : ", OLD.rowid";
        sql += ") THEN RAISE(IGNORE) END; END";
        out[name] = sql;
    }
}

// Whether t runs as its inline INSERT: it has one and is the only enabled BEFORE INSERT row
// trigger of its table (several run in the engine, each on the row the one before it left).
bool isInline(const TriggerDefinition& t, const std::vector<TriggerDefinition>& all) {
    if (t.inlineInsert.empty() || !t.enabled) return false;
    for (const TriggerDefinition& o : all)
        if (o.name != t.name && o.enabled && o.forEachRow && o.inserts && o.timing == "BEFORE" &&
            asciiUpper(o.table) == asciiUpper(t.table))
            return false;
    return true;
}

// Changes the schema, so that sessions read the triggers again (a trigger without SQLite
// triggers of its own changes nothing else there).
void touchSchema(sqlite3* db) {
    execSql(db, "CREATE TABLE IF NOT EXISTS \"KAVEX$TRIGGERS_CHANGED\"(X); "
                "DROP TABLE \"KAVEX$TRIGGERS_CHANGED\"");
}

// The trigger's row and its source (kept with the stored units) go.
void deleteTrigger(sqlite3* db, const std::string& name) {
    SqliteStmt s = prepareSql(db, std::string("DELETE FROM ") + kCatalog + " WHERE NAME = ?1");
    bindText(s.get(), 1, name);
    step(db, s.get());
    dropStoredUnitIfAny(db, name, "TRIGGER");
}

}  // namespace

bool findTrigger(sqlite3* db, const std::string& name, TriggerDefinition& out) {
    if (!catalogExists(db)) return false;
    SqliteStmt s = prepareSql(
        db, std::string("SELECT ") + kColumns + " FROM " + kCatalog + " WHERE NAME = ?1");
    bindText(s.get(), 1, name);
    if (sqlite3_step(s.get()) != SQLITE_ROW) return false;
    out = readRow(s.get());
    return true;
}

void saveTrigger(sqlite3* db, const std::string&, TriggerDefinition t, bool orReplace) {
    TriggerDefinition existing;
    const bool exists = findTrigger(db, t.name, existing);
    if (exists && !orReplace) raise(ora::kTriggerExists, t.name);
    std::string table;
    bool view = false;
    if (!findTable(db, t.table, table, view)) raise(ora::kTableOrViewDoesNotExist);
    if (view && t.timing != "INSTEAD OF") raise(ora::kTriggerTypeOnView);
    if (!view && t.timing == "INSTEAD OF") raise(ora::kInsteadOfOnTable);
    createCatalog(db);
    t.version = exists ? existing.version + 1 : 1;
    SqliteStmt s = prepareSql(db, std::string("INSERT OR REPLACE INTO ") + kCatalog + " (" +
                                      kColumns +
                                      ", SEQ) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
                                      "?11, ?12, ?13, ?14, (SELECT coalesce(max(SEQ), 0) + 1 FROM " +
                                      kCatalog + "))");
    bindText(s.get(), 1, t.name);
    bindText(s.get(), 2, t.table);
    bindText(s.get(), 3, t.timing);
    bindText(s.get(), 4, events(t));
    bindText(s.get(), 5, joined(t.updateColumns));
    sqlite3_bind_int(s.get(), 6, t.forEachRow ? 1 : 0);
    bindText(s.get(), 7, t.newName);
    bindText(s.get(), 8, t.oldName);
    bindText(s.get(), 9, t.when);
    sqlite3_bind_int(s.get(), 10, t.enabled ? 1 : 0);
    bindText(s.get(), 11, t.body);
    sqlite3_bind_int(s.get(), 12, t.version);
    bindText(s.get(), 13, t.inlineInsert);
    bindText(s.get(), 14, t.inlineSql);
    step(db, s.get());
    syncTriggers(db);
    touchSchema(db);
}

void dropTrigger(sqlite3* db, const std::string& name) {
    TriggerDefinition existing;
    if (!findTrigger(db, name, existing)) raise(ora::kTriggerDoesNotExist, name);
    deleteTrigger(db, name);
    syncTriggers(db);
    touchSchema(db);
}

void enableTrigger(sqlite3* db, const std::string& name, bool enabled) {
    TriggerDefinition existing;
    if (!findTrigger(db, name, existing)) raise(ora::kTriggerDoesNotExist, name);
    SqliteStmt s = prepareSql(db, std::string("UPDATE ") + kCatalog +
                                      " SET ENABLED = ?1 WHERE NAME = ?2");
    sqlite3_bind_int(s.get(), 1, enabled ? 1 : 0);
    bindText(s.get(), 2, name);
    step(db, s.get());
    syncTriggers(db);
    touchSchema(db);
}

std::vector<TriggerDefinition> statementTriggers(sqlite3* db, const std::string& table,
                                                 char event,
                                                 const std::vector<std::string>& updated) {
    std::vector<TriggerDefinition> out;
    if (!catalogExists(db)) return out;
    SqliteStmt s = prepareSql(db, std::string("SELECT ") + kColumns + " FROM " + kCatalog +
                                      " WHERE FOR_EACH_ROW = 0 AND ENABLED = 1 AND "
                                      "upper(TABLE_NAME) = upper(?1) AND instr(EVENTS, ?2) "
                                      "ORDER BY SEQ");
    bindText(s.get(), 1, table);
    bindText(s.get(), 2, std::string(1, event));
    while (sqlite3_step(s.get()) == SQLITE_ROW) {
        TriggerDefinition t = readRow(s.get());
        bool fires = event != 'U' || t.updateColumns.empty();
        for (const std::string& c : t.updateColumns)
            for (const std::string& u : updated) fires = fires || asciiUpper(c) == asciiUpper(u);
        if (fires) out.push_back(std::move(t));
    }
    return out;
}

void syncTriggers(sqlite3* db) {
    std::map<std::string, std::string> wanted;
    const std::vector<TriggerDefinition> triggers = allTriggers(db);
    for (const TriggerDefinition& t : triggers) {
        std::string table;
        bool view = false;
        if (!findTable(db, t.table, table, view)) {
            deleteTrigger(db, t.name);  // its table was dropped
            continue;
        }
        // Statement triggers and inline ones have no SQLite trigger.
        if (t.enabled && t.forEachRow && !isInline(t, triggers))
            rowTriggersOf(db, t, table, view, wanted);
    }
    std::set<std::string> present;
    std::vector<std::string> stale;
    {
        SqliteStmt s = prepareSql(db,
                                  "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' "
                                  "AND name LIKE 'KAVEX$T$%'");
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            const std::string name = columnText(s.get(), 0);
            auto w = wanted.find(name);
            if (w != wanted.end() && w->second == columnText(s.get(), 1))
                present.insert(name);
            else
                stale.push_back(name);
        }
    }
    for (const std::string& name : stale)
        execSql(db, ("DROP TRIGGER " + sqlQuotedIdentifier(name)).c_str());
    for (const auto& w : wanted)
        if (present.count(w.first) == 0) execSql(db, w.second.c_str());
}

bool inlineTrigger(sqlite3* db, const std::string& table, TriggerDefinition& out) {
    const std::vector<TriggerDefinition> triggers = allTriggers(db);
    for (const TriggerDefinition& t : triggers)
        if (asciiUpper(t.table) == asciiUpper(table) && isInline(t, triggers)) {
            out = t;
            return true;
        }
    return false;
}

std::pair<std::string, std::string> temporaryInlineTrigger(sqlite3* db,
                                                           const TriggerDefinition& t) {
    std::string table;
    bool view = false;
    if (!findTable(db, t.table, table, view) || t.inlineSql.empty()) return {};
    const std::string name = sqlQuotedIdentifier(kTemporaryPrefix + t.name);
    return {"CREATE TEMP TRIGGER " + name + " BEFORE INSERT ON main." +
                sqlQuotedIdentifier(table) + " FOR EACH ROW BEGIN " + t.inlineSql + "; SELECT " +
                kOraTriggerWrote + "(last_insert_rowid()); SELECT RAISE(IGNORE); END",
            "DROP TRIGGER IF EXISTS temp." + name};
}

namespace {

// ORA$TRIGGER_ROWS(): [name, type, event, table, base object type, referencing, when, status,
// description, body] of every trigger.
void triggerRows(sqlite3_context* ctx, int, sqlite3_value**) {
    guarded(ctx, [&] {
        sqlite3* db = sqlite3_context_db_handle(ctx);
        std::string out = "[";
        for (const TriggerDefinition& t : allTriggers(db)) {
            std::string table;
            bool view = false;
            findTable(db, t.table, table, view);
            const std::string type = t.timing == "INSTEAD OF" ? "INSTEAD OF"
                                     : t.timing + (t.forEachRow ? " EACH ROW" : " STATEMENT");
            std::string event;
            if (t.inserts) event = "INSERT";
            if (t.updates) event += std::string(event.empty() ? "" : " OR ") + "UPDATE";
            if (t.deletes) event += std::string(event.empty() ? "" : " OR ") + "DELETE";
            std::string description = t.name + "\n" + t.timing + " " + event;
            if (t.updates && !t.updateColumns.empty())
                description += " OF " + joined(t.updateColumns);
            description += " ON " + t.table + (t.forEachRow ? "\nFOR EACH ROW" : "") + "\n";
            if (out.size() > 1) out += ',';
            out += "[" + jsonText(t.name) + "," + jsonText(type) + "," + jsonText(event) + "," +
                   jsonText(t.table) + "," + jsonText(view ? "VIEW" : "TABLE") + "," +
                   jsonText("REFERENCING NEW AS " + t.newName + " OLD AS " + t.oldName) + "," +
                   (t.when.empty() ? std::string("null") : jsonText(t.when)) + "," +
                   jsonText(t.enabled ? "ENABLED" : "DISABLED") + "," + jsonText(description) +
                   "," + jsonText(t.body) + "]";
        }
        out += "]";
        sqlite3_result_text(ctx, out.c_str(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
    });
}

const FunctionRow kRows[] = {
    {kOraTriggerRows, 0, 0, triggerRows, nullptr, false},
};

}  // namespace

const FunctionFamily kTriggerCatalogFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
