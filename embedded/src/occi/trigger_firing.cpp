#include "occi/trigger_firing.h"

#include <algorithm>
#include <set>

#include "base/ora_messages.h"
#include "base/text.h"
#include "catalog/stored_triggers.h"
#include "catalog/stored_units.h"
#include "functions/function_args.h"
#include "occi/connection.h"
#include "occi/plsql_port.h"
#include "plsql/triggers.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "rewrite/dml/trigger_targets.h"

namespace kavexdb {
namespace detail {

using plsql::Value;

struct TriggerFiring::Loaded {
    TriggerDefinition definition;
    std::unique_ptr<PlSqlPort> port;
    std::unique_ptr<plsql::CompiledTrigger> compiled;
    std::vector<std::string> columns;  // as the records name them
    std::vector<plsql::ValueType> types;
    std::string table;  // as SQL names it
    std::unique_ptr<plsql::SqlCursor> insert;
    // The UPDATEs that write a row again, by the columns they set ('1' set, '0' not).
    std::map<std::string, std::unique_ptr<plsql::SqlCursor>> updates;
};

class TriggerFiring::Level {
  public:
    Level(TriggerFiring& firing, std::set<std::string> passed, bool rewriting = false)
        : firing_(firing) {
        firing_.contexts_.push_back(Context{std::move(passed), 0, 0, rewriting, nullptr});
    }
    ~Level() { firing_.contexts_.pop_back(); }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

  private:
    TriggerFiring& firing_;
};

TriggerFiring::TriggerFiring(ConnectionImpl& connection) : connection_(connection) {
    contexts_.emplace_back();
}

TriggerFiring::StatementScope::StatementScope(TriggerFiring& firing,
                                              const std::vector<std::string>* updated)
    : firing_(firing), before_(firing.contexts_.back().updated) {
    firing_.contexts_.back().updated = updated;
}

TriggerFiring::StatementScope::~StatementScope() { firing_.contexts_.back().updated = before_; }

bool TriggerFiring::updating(const std::string& column) const {
    if (firing_.empty() || !firing_.back()) return false;
    for (const std::string& c : *firing_.back())
        if (asciiUpper(c) == asciiUpper(column)) return true;
    return false;
}

namespace {

// Keeps what a firing's UPDATE sets on the stack while its body runs.
class Firing {
  public:
    Firing(std::vector<const std::vector<std::string>*>& stack,
           const std::vector<std::string>* updated)
        : stack_(stack) {
        stack_.push_back(updated);
    }
    ~Firing() { stack_.pop_back(); }
    Firing(const Firing&) = delete;
    Firing& operator=(const Firing&) = delete;

  private:
    std::vector<const std::vector<std::string>*>& stack_;
};

}  // namespace

TriggerFiring::~TriggerFiring() = default;

void TriggerFiring::forget() {
    loaded_.clear();
    statementTriggers_.clear();
    inlineTriggers_.clear();
    cachedVersion_ = -1;
    anyTriggers_ = true;
}

void TriggerFiring::checkSchemaVersion() {
    if (schemaChecked_) return;
    schemaChecked_ = true;
    if (!schemaVersion_) schemaVersion_ = prepareSql(connection_.db(), "PRAGMA schema_version");
    sqlite3_stmt* s = schemaVersion_.get();
    const long long version = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
    sqlite3_reset(s);
    if (version == cachedVersion_) return;
    statementTriggers_.clear();
    inlineTriggers_.clear();
    cachedVersion_ = version;
    anyTriggers_ = tableExists(connection_.db(), "KAVEX$TRIGGERS");
}

const TriggerDefinition* TriggerFiring::inlineTriggerOf(const std::string& table) {
    checkSchemaVersion();
    if (!anyTriggers_) return nullptr;
    const std::string key = asciiUpper(table);
    auto found = inlineTriggers_.find(key);
    if (found == inlineTriggers_.end()) {
        std::unique_ptr<TriggerDefinition> t = std::make_unique<TriggerDefinition>();
        if (!inlineTrigger(connection_.db(), table, *t)) t.reset();
        found = inlineTriggers_.emplace(key, std::move(t)).first;
    }
    return found->second.get();
}

std::string TriggerFiring::inlineVersion(const std::string& table) {
    const TriggerDefinition* t = inlineTriggerOf(table);
    return t ? t->name + "#" + std::to_string(t->version) : std::string();
}


bool TriggerFiring::insertWithTrigger(const std::string& sql, std::string& out, bool& inline_) {
    inline_ = false;
    const DmlTarget target = dmlTarget(sql);
    if (target.events != "I") return false;
    const TriggerDefinition* trigger = inlineTriggerOf(target.table);
    if (!trigger) return false;
    inline_ = true;
    // Columns the statement may leave to their defaults: a trigger that reads one is left to
    // SQLite.
    std::set<std::string> defaulted;
    SqliteStmt info = prepareSql(connection_.db(),
                                 "SELECT upper(name) FROM pragma_table_info(?1) "
                                 "WHERE dflt_value IS NOT NULL");
    sqlite3_bind_text(info.get(), 1, target.table.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(info.get()) == SQLITE_ROW)
        defaulted.insert(reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0)));
    return insertWithTriggerValues(sql, trigger->inlineInsert, defaulted, out);
}

TriggerFiring::TemporaryTrigger::TemporaryTrigger(TriggerFiring& firing, const std::string& table)
    : db_(firing.connection_.db()) {
    const TriggerDefinition* t = firing.inlineTriggerOf(table);
    if (!t) return;
    const std::pair<std::string, std::string> sql = temporaryInlineTrigger(db_, *t);
    if (sql.first.empty()) return;
    execSql(db_, sql.first.c_str());
    drop_ = sql.second;
}

TriggerFiring::TemporaryTrigger::~TemporaryTrigger() {
    if (!drop_.empty()) sqlite3_exec(db_, drop_.c_str(), nullptr, nullptr, nullptr);
}

namespace {

bool sameValue(const Value& a, const Value& b) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull();
    if (a.data.kind != b.data.kind) return false;
    switch (a.data.kind) {
        case BindValue::Kind::Integer:
            return a.data.integer == b.data.integer;
        case BindValue::Kind::Real:
            return a.data.real == b.data.real;
        default:
            return a.data.bytes == b.data.bytes;
    }
}

}  // namespace

TriggerFiring::Loaded& TriggerFiring::load(const std::string& name, int version) {
    auto found = loaded_.find(name);
    if (found != loaded_.end() && found->second->definition.version == version)
        return *found->second;
    auto t = std::make_unique<Loaded>();
    sqlite3* db = connection_.db();
    StoredUnit source;
    if (!findTrigger(db, name, t->definition) ||
        (findStoredUnit(db, name, source) && source.status != "VALID"))
        raise(ora::kTriggerInvalid, connection_.schema() + "." + name);
    t->table = sqlIdentifier(t->definition.table);
    t->port = std::make_unique<PlSqlPort>(connection_, false);
    t->port->refuseTransactionControl();
    try {
        const occi::MetaData table =
            connection_.getMetaData(t->definition.table, occi::MetaData::PTYPE_UNK);
        for (const occi::MetaData& c : table.getVector(occi::MetaData::ATTR_LIST_COLUMNS)) {
            t->columns.push_back(c.getString(occi::MetaData::ATTR_NAME));
            t->types.push_back(columnValueType(c.getInt(occi::MetaData::ATTR_DATA_TYPE)));
        }
    } catch (const occi::SQLException&) {
        raise(ora::kTriggerInvalid, connection_.schema() + "." + name);
    }
    t->compiled = std::make_unique<plsql::CompiledTrigger>(*t->port, t->definition);
    Loaded& out = *t;
    loaded_[name] = std::move(t);
    return out;
}

bool TriggerFiring::fireRow(int argc, sqlite3_value** argv) {
    const std::string name = textArg(argv[0]);
    const int version = sqlite3_value_int(argv[1]);
    const char event = textArg(argv[2])[0];
    if (contexts_.back().passed.count(name) != 0) return false;
    Loaded& t = load(name, version);
    const std::size_t n = t.columns.size();
    if (static_cast<std::size_t>(argc) != 4 + 2 * n)  // the table changed under the trigger
        raise(ora::kTriggerInvalid, connection_.schema() + "." + name);
    plsql::TriggerRow row;
    row.newName = t.definition.newName;
    row.oldName = t.definition.oldName;
    row.columns = t.columns;
    for (std::size_t side = 0; side < 2; ++side) {
        std::vector<Value>& values = side == 0 ? row.newValues : row.oldValues;
        for (std::size_t c = 0; c < n; ++c) {
            Value v = engineValue(argv[3 + side * n + c]);
            const BindValue::Kind k = v.data.kind;
            if (!(k == BindValue::Kind::Integer || k == BindValue::Kind::Real) ||
                t.types[c] == plsql::ValueType::BinaryDouble)
                v.type = t.types[c];
            values.push_back(std::move(v));
        }
    }
    const bool before = t.definition.timing == "BEFORE";
    row.newAssignable = before && event != 'D';
    const std::vector<Value> given = row.newValues;
    {
        const Firing firing(firing_, contexts_.back().updated);
        Level level(*this, {});
        t.compiled->fire(event, &row);
    }
    if (t.definition.timing == "INSTEAD OF") {
        ++contexts_.back().rows;
        return false;
    }
    if (!row.newAssignable) return false;
    bool changed = false;
    for (std::size_t c = 0; c < n && !changed; ++c)
        changed = !sameValue(given[c], row.newValues[c]);
    if (!changed) return false;
    rewriteRow(t, event, row, argv[argc - 1]);
    return true;
}

void TriggerFiring::rewriteRow(Loaded& t, char event, const plsql::TriggerRow& row,
                               sqlite3_value* rowid) {
    const std::size_t n = t.columns.size();
    std::set<std::string> passed = contexts_.back().passed;
    passed.insert(t.definition.name);
    sqlite3_int64 written = 0;
    {
        Level level(*this, std::move(passed), true);
        plsql::SqlCursor* cursor = nullptr;
        if (event == 'I') {
            if (!t.insert) {
                std::string sql = "INSERT INTO " + t.table + " (";
                for (std::size_t c = 0; c < n; ++c) sql += (c ? ", " : "") + sqlIdentifier(t.columns[c]);
                sql += ") VALUES (";
                for (std::size_t c = 0; c < n; ++c) sql += (c ? ", :" : ":") + std::to_string(c + 1);
                t.insert = t.port->prepare(sql + ")");
            }
            cursor = t.insert.get();
            for (std::size_t c = 0; c < n; ++c)
                cursor->bind(static_cast<unsigned>(c + 1), row.newValues[c]);
        } else {
            // The columns whose values differ from the row's old ones.
            std::string mask(n, '0');
            for (std::size_t c = 0; c < n; ++c)
                if (!sameValue(row.oldValues[c], row.newValues[c])) mask[c] = '1';
            if (mask.find('1') == std::string::npos) mask[0] = '1';
            std::unique_ptr<plsql::SqlCursor>& update = t.updates[mask];
            if (!update) {
                std::string sql = "UPDATE " + t.table + " SET ";
                unsigned k = 0;
                for (std::size_t c = 0; c < n; ++c) {
                    if (mask[c] != '1') continue;
                    sql += std::string(k ? ", " : "") + sqlIdentifier(t.columns[c]) + " = :";
                    sql += std::to_string(++k);
                }
                update = t.port->prepare(sql + " WHERE rowid = :" + std::to_string(k + 1));
            }
            cursor = update.get();
            unsigned k = 0;
            for (std::size_t c = 0; c < n; ++c)
                if (mask[c] == '1') cursor->bind(++k, row.newValues[c]);
            cursor->bind(k + 1, engineValue(rowid));
        }
        cursor->execute();
        written = sqlite3_last_insert_rowid(connection_.db());
    }
    ++contexts_.back().rows;
    if (event == 'I') contexts_.back().lastRowid = written;
}

const std::vector<TriggerDefinition>& TriggerFiring::statementTriggers(
    const std::string& table, char event, const std::vector<std::string>& updated) {
    sqlite3* db = connection_.db();
    checkSchemaVersion();
    static const std::vector<TriggerDefinition> kNone;
    if (!anyTriggers_) return kNone;  // a database that never had a trigger
    std::string key = asciiUpper(table) + "\n" + event;
    for (const std::string& c : updated) key += "\n" + asciiUpper(c);
    auto found = statementTriggers_.find(key);
    if (found == statementTriggers_.end())
        found = statementTriggers_
                    .emplace(key, kavexdb::detail::statementTriggers(db, table, event, updated))
                    .first;
    return found->second;
}

bool TriggerFiring::hasStatementTriggers(const std::string& table, char event,
                                         const std::vector<std::string>& updated) {
    return !statementTriggers(table, event, updated).empty();
}

void TriggerFiring::fireStatementTriggers(const std::string& table, char event,
                                          const std::vector<std::string>& updated, bool before) {
    // A copy: a trigger's DDL-free body may still fire others that refill the cache.
    const std::vector<TriggerDefinition> triggers = statementTriggers(table, event, updated);
    for (const TriggerDefinition& d : triggers) {
        if ((d.timing == "BEFORE") != before) continue;
        Loaded& t = load(d.name, d.version);
        const Firing firing(firing_, &updated);
        Level level(*this, {});
        t.compiled->fire(event, nullptr);
    }
}

namespace {

void oraTrigger(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        auto& connection = *static_cast<ConnectionImpl*>(sqlite3_user_data(ctx));
        if (argc < 4) raise(ora::kInvalidArgumentCount);
        sqlite3_result_int(ctx, connection.triggers().fireRow(argc, argv) ? 1 : 0);
    });
}

// UPDATING('column'), the conditional predicate of a trigger's body (which hands it to SQL).
void oraUpdating(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] {
        auto& connection = *static_cast<ConnectionImpl*>(sqlite3_user_data(ctx));
        sqlite3_result_int(ctx, connection.triggers().updating(textArg(argv[0])) ? 1 : 0);
    });
}

void oraTriggerWrote(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto& connection = *static_cast<ConnectionImpl*>(sqlite3_user_data(ctx));
    connection.triggers().wrote(sqlite3_value_int64(argv[0]));
    sqlite3_result_null(ctx);
}

}  // namespace

void registerTriggerFiring(sqlite3* db, ConnectionImpl& connection) {
    int rc = sqlite3_create_function_v2(db, kOraTrigger, -1, SQLITE_UTF8, &connection,
                                        oraTrigger, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "UPDATING", 1, SQLITE_UTF8, &connection, oraUpdating,
                                        nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, kOraTriggerWrote, 1, SQLITE_UTF8, &connection,
                                        oraTriggerWrote, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
