// Triggers in the PL/SQL engine: CREATE [OR REPLACE] TRIGGER, ALTER TRIGGER and DROP TRIGGER, and
// a trigger compiled to run as often as its table's statements fire it.
//
// A trigger's body runs as an anonymous block whose lines count from its DECLARE or BEGIN, as
// Oracle counts them. In the body, :NEW.c and :OLD.c (or the names REFERENCING gives) are fields
// of two records; a WHEN condition guards the whole body.
#ifndef KAVEXDB_PLSQL_TRIGGERS_H
#define KAVEXDB_PLSQL_TRIGGERS_H

#include <memory>
#include <string>
#include <vector>

#include "plsql/interpreter.h"
#include "plsql/sql_port.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// Whether text is CREATE [OR REPLACE] [EDITIONABLE | NONEDITIONABLE] TRIGGER, ALTER TRIGGER or
// DROP TRIGGER.
bool isTriggerDdl(const Source& source);
// Runs it: a trigger whose body does not compile is kept INVALID (ORA-24344, as for units).
// Errors in the head are Oracle's: ORA-04071, ORA-04077, ORA-04082, ORA-00942, ORA-04081 ...
void runTriggerDdl(SqlPort& port, const Source& source);

// A BEFORE INSERT row trigger whose body only gives NEW's columns values (assignments, IF, NULL,
// nested BEGIN ... END; no declarations, handlers or other statements), as one SQL INSERT of
// its table: "INSERT INTO t (c1, ...) VALUES (e1, ...)", each e the column's value after the
// body, in terms of NEW.c (SQL's name of the row being inserted). The row is then written by
// SQL alone. False for any other trigger; columns: its table's, in order.
bool triggerAsInsert(const TriggerDefinition& definition, const std::vector<std::string>& columns,
                     std::string& insert);

class CompiledTrigger {
  public:
    // ORA-04098 when the body does not compile. port must outlive the trigger.
    CompiledTrigger(SqlPort& port, const TriggerDefinition& definition);
    ~CompiledTrigger();
    CompiledTrigger(const CompiledTrigger&) = delete;
    CompiledTrigger& operator=(const CompiledTrigger&) = delete;

    const TriggerDefinition& definition() const { return definition_; }
    // Runs the body for event ('I', 'U' or 'D'); row is null for a statement trigger. Errors
    // come as occi::SQLException, the trigger's stack ending with ORA-04088.
    void fire(char event, TriggerRow* row);

  private:
    SqlPort& port_;
    TriggerDefinition definition_;
    std::string shownName_;  // SCOTT.NAME
    std::unique_ptr<Source> source_;
    std::unique_ptr<Block> block_;
    HostBinds none_;
    // Kept between firings, so the body's SQL stays prepared; a firing within a firing (the body's
    // own DML fires the trigger again) gets an interpreter of its own.
    std::unique_ptr<Interpreter> interpreter_;
    int running_ = 0;
};

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
