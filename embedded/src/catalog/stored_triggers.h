// Triggers as the catalog keeps them. What CREATE TRIGGER names (table, timing, events, WHEN,
// REFERENCING) sits in "KAVEX$TRIGGERS"; the source, its status and its compile error sit with the
// other stored units ("KAVEX$SOURCE", type TRIGGER), so USER_OBJECTS, USER_SOURCE and USER_ERRORS
// show triggers as they show procedures.
//
// A row trigger fires through SQLite triggers of its own, one per event, named
// "KAVEX$T$<name>$<I|U|D>", which call ORA$TRIGGER(name, version, event, the new values..., the
// old values..., old rowid) and ignore the row when that answers 1 (the row was written again
// with the values the trigger gave it). syncTriggers makes them what the catalog says.
//
// Two kinds have none. Statement triggers fire from the statement (occi/trigger_firing.h). A
// BEFORE INSERT row trigger that only gives NEW's columns values, the only BEFORE INSERT row
// trigger of its table, is inline: the INSERTs of its table are written with its values in
// them (a SQLite trigger would make every such INSERT keep a statement journal of the pages it
// changes). An INSERT that cannot be written so runs with temporary SQLite triggers of it.
#ifndef KAVEXDB_CATALOG_STORED_TRIGGERS_H
#define KAVEXDB_CATALOG_STORED_TRIGGERS_H

#include <sqlite3.h>

#include <string>
#include <utility>
#include <vector>

namespace kavexdb {
namespace detail {

struct TriggerDefinition {
    std::string name;    // upper case unless quoted
    std::string table;   // the table or view, as SQL names it (upper case unless quoted)
    std::string timing;  // BEFORE, AFTER or INSTEAD OF
    bool inserts = false;
    bool updates = false;
    bool deletes = false;
    std::vector<std::string> updateColumns;  // UPDATE OF these; empty: any
    bool forEachRow = false;
    std::string newName = "NEW";  // REFERENCING NEW AS ...
    std::string oldName = "OLD";
    std::string when;  // the condition, without its parentheses; empty: none
    bool enabled = true;
    std::string body;  // from DECLARE or BEGIN on
    int version = 0;   // set by saveTrigger: changes with every CREATE OR REPLACE
    // A BEFORE INSERT row trigger that SQL alone can run: "INSERT INTO T (C1, ...) VALUES
    // (E1, ...)" in Oracle's SQL, each E the column's value after the trigger in terms of NEW.C;
    // empty for others.
    std::string inlineInsert;
    std::string inlineSql;  // the same INSERT in SQLite's SQL
};

// The trigger of that name; false when there is none.
bool findTrigger(sqlite3* db, const std::string& name, TriggerDefinition& out);
// Keeps t (and its SQLite triggers): ORA-04081 when a trigger has the name and not orReplace,
// ORA-00942 when its table or view does not exist. source, status and the error go to the
// stored units.
void saveTrigger(sqlite3* db, const std::string& owner, TriggerDefinition t, bool orReplace);
// ORA-04080 when there is no such trigger.
void dropTrigger(sqlite3* db, const std::string& name);
void enableTrigger(sqlite3* db, const std::string& name, bool enabled);
// The enabled statement triggers of the table for an event ('I', 'U' or 'D'), in the order they
// were created; updated: the columns an UPDATE sets (a trigger UPDATE OF others does not fire).
std::vector<TriggerDefinition> statementTriggers(sqlite3* db, const std::string& table,
                                                 char event,
                                                 const std::vector<std::string>& updated);
// The inline BEFORE INSERT trigger of the table; false when it has none.
bool inlineTrigger(sqlite3* db, const std::string& table, TriggerDefinition& out);
// The statements that create the inline trigger t as a temporary SQLite trigger (which writes
// the row by t.inlineSql, and has SQLite drop the original) and drop it again, for an INSERT of
// its table that cannot take its values inline; empty when its table is gone.
std::pair<std::string, std::string> temporaryInlineTrigger(sqlite3* db, const TriggerDefinition& t);
// Makes the SQLite triggers what the catalog says, after DDL that may have dropped or changed a
// table: a trigger whose table is gone goes too, as in Oracle.
void syncTriggers(sqlite3* db);

}  // namespace detail
}  // namespace kavexdb

#endif
