// The session's triggers at work. A row trigger fires from the SQLite trigger that stands for it
// (catalog/stored_triggers.h), through ORA$TRIGGER; statement triggers fire around a DML
// statement's execution (StatementImpl). Each trigger is compiled once per session and kept
// until DDL changes the schema.
//
// SQLite cannot change a row its BEFORE trigger sees. When a BEFORE row trigger changes NEW, the
// row is written again, by an INSERT or UPDATE of its own with NEW's values (in which that trigger
// does not fire again), and SQLite drops the original row (RAISE(IGNORE)). The statement counts
// such rows (rowsDone) with the rows it changed, and an INSERT's last rowid is the rewritten
// row's. INSTEAD OF triggers count their rows the same way.
#ifndef KAVEXDB_OCCI_TRIGGER_FIRING_H
#define KAVEXDB_OCCI_TRIGGER_FIRING_H

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalog/stored_triggers.h"
#include "plsql/interpreter.h"
#include "rewrite/dml/trigger_targets.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

class ConnectionImpl;

class TriggerFiring {
  public:
    explicit TriggerFiring(ConnectionImpl& connection);
    ~TriggerFiring();
    TriggerFiring(const TriggerFiring&) = delete;
    TriggerFiring& operator=(const TriggerFiring&) = delete;

    // The rows triggers wrote for the statements running at this level, counted on; a statement
    // adds the difference its run made to its own count.
    std::uint64_t rowsDone() const { return contexts_.back().rows; }
    // The rowid of the last row a trigger wrote again for an INSERT at this level; 0 for none.
    sqlite3_int64 lastRowid() const { return contexts_.back().lastRowid; }

    // Whether a trigger's body is running: the statements it runs are part of the statement
    // that fired it, which SQLite undoes whole when it fails.
    bool firing() const { return contexts_.size() > 1; }

    // Whether the running statement writes a row again for a trigger: its own statement
    // triggers do not fire.
    bool rewriting() const { return contexts_.back().rewriting; }

    // A statement's run starts or ends: the next lookup reads the schema's version again, to
    // see triggers another session (or this one's DDL) made or dropped. Lookups within one run
    // read it once.
    void schemaMayHaveChanged() { schemaChecked_ = false; }
    // The statement triggers of a DML statement: event 'I', 'U' or 'D' on table (as SQL names
    // it); updated: the columns an UPDATE sets. before: the BEFORE ones, else the AFTER ones.
    bool hasStatementTriggers(const std::string& table, char event,
                              const std::vector<std::string>& updated);
    void fireStatementTriggers(const std::string& table, char event,
                               const std::vector<std::string>& updated, bool before);

    // An INSERT ... VALUES of a table with an inline BEFORE INSERT trigger, written with the
    // trigger's values in it: true, with out set. False when its table has none (inline false)
    // or the statement cannot be written so (inline true: it runs with the trigger as a
    // temporary SQLite trigger, see TemporaryTrigger).
    bool insertWithTrigger(const std::string& sql, std::string& out, bool& inline_);

    // Which inline trigger the table has ("" for none): a statement written with one is
    // written again when it changes.
    std::string inlineVersion(const std::string& table);

    // While an INSERT that could not take its table's inline trigger runs: that trigger as a
    // temporary SQLite trigger.
    class TemporaryTrigger {
      public:
        TemporaryTrigger(TriggerFiring& firing, const std::string& table);
        ~TemporaryTrigger();
        TemporaryTrigger(const TemporaryTrigger&) = delete;
        TemporaryTrigger& operator=(const TemporaryTrigger&) = delete;

      private:
        sqlite3* db_;
        std::string drop_;
    };

    // ORA$TRIGGER(name, version, event, new values..., old values..., old rowid): fires the row
    // trigger; true when the row was written again and SQLite is to drop its own.
    bool fireRow(int argc, sqlite3_value** argv);

    // UPDATING('column') in a trigger's body: whether the UPDATE that fired it sets the column.
    bool updating(const std::string& column) const;

    // While a DML statement runs: the columns its UPDATE sets, for UPDATING('column').
    class StatementScope {
      public:
        StatementScope(TriggerFiring& firing, const std::vector<std::string>* updated);
        ~StatementScope();
        StatementScope(const StatementScope&) = delete;
        StatementScope& operator=(const StatementScope&) = delete;

      private:
        TriggerFiring& firing_;
        const std::vector<std::string>* before_;
    };

    // ORA$TRIGGER_WROTE(rowid): an inline BEFORE INSERT trigger wrote the row in place of the
    // statement's.
    void wrote(sqlite3_int64 rowid) {
        ++contexts_.back().rows;
        contexts_.back().lastRowid = rowid;
    }

    // Drops the compiled triggers (before DDL, which their prepared statements could hold up).
    void forget();

  private:
    struct Loaded;
    struct Context {
        std::set<std::string> passed;  // triggers that already fired for the row being rewritten
        std::uint64_t rows = 0;
        sqlite3_int64 lastRowid = 0;
        bool rewriting = false;
        const std::vector<std::string>* updated = nullptr;  // by the running statement
    };
    // Pushes a context for what a trigger runs, popped however it ends.
    class Level;

    Loaded& load(const std::string& name, int version);
    // Forgets what it read of the catalog when the schema changed since (every trigger DDL
    // changes it, also another connection's).
    void checkSchemaVersion();
    // The table's inline trigger; null when it has none.
    const TriggerDefinition* inlineTriggerOf(const std::string& table);
    // The triggers of the table's statements, read again when the schema changed.
    const std::vector<TriggerDefinition>& statementTriggers(
        const std::string& table, char event, const std::vector<std::string>& updated);
    void rewriteRow(Loaded& t, char event, const plsql::TriggerRow& row, sqlite3_value* rowid);

    ConnectionImpl& connection_;
    std::vector<Context> contexts_;
    // The columns set by the UPDATE of each trigger firing, innermost last.
    std::vector<const std::vector<std::string>*> firing_;
    std::map<std::string, std::unique_ptr<Loaded>> loaded_;
    std::map<std::string, std::vector<TriggerDefinition>> statementTriggers_;
    std::map<std::string, std::unique_ptr<TriggerDefinition>> inlineTriggers_;  // by table
    SqliteStmt schemaVersion_;  // PRAGMA schema_version on the session's database
    long long cachedVersion_ = -1;
    bool schemaChecked_ = false;  // cachedVersion_ was read in the running statement
    bool anyTriggers_ = true;  // the trigger catalog exists (as of cachedVersion_)
};

// Defines ORA$TRIGGER on db for connection, which must outlive db's use of it.
void registerTriggerFiring(sqlite3* db, ConnectionImpl& connection);

}  // namespace detail
}  // namespace kavexdb

#endif
