// What the PL/SQL engine needs of the session it runs in: SQL statements prepared, bound, run
// and read, the stored units and what they use, the columns of a table, the session's
// DBMS_OUTPUT buffer, its packages' state and its cancelling. The session's own classes
// implement it; the engine knows nothing else of them.
#ifndef KAVEXDB_PLSQL_SQL_PORT_H
#define KAVEXDB_PLSQL_SQL_PORT_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "catalog/stored_triggers.h"
#include "plsql/value.h"

namespace kavexdb {
namespace detail {
namespace plsql {

class OutputBuffer;
class PackageSession;

// One SQL statement of the session, prepared once and run as often as the block needs.
class SqlCursor {
  public:
    virtual ~SqlCursor() = default;
    // index counts the statement's bind names from 1, in the order they first appear.
    virtual void bind(unsigned index, const Value& value) = 0;
    // Runs the statement with the values bound; errors come as occi::SQLException. A query's
    // rows are then read with next() and column().
    virtual void execute() = 0;
    virtual bool isQuery() const = 0;
    virtual bool next() = 0;
    virtual unsigned columnCount() = 0;
    // The column's name as the query heads it (1-based).
    virtual std::string columnName(unsigned index) = 0;
    virtual Value column(unsigned index) = 0;
    // Rows the last run of an INSERT, UPDATE, DELETE or MERGE changed.
    virtual unsigned rowsChanged() const = 0;
    // Asks the coming runs of a DML statement with RETURNING for the rows it returns.
    virtual void keepReturnedRows() = 0;
    // The rows the last run returned (RETURNING), each its columns' values as SQLite holds them.
    virtual const std::vector<std::vector<Value>>& returnedRows() const = 0;
};

// A stored unit as the catalog keeps it.
struct UnitSource {
    std::string name;
    std::string type;    // PROCEDURE, FUNCTION, PACKAGE, PACKAGE BODY or TRIGGER
    std::string status;  // VALID or INVALID
    std::string text;    // from PROCEDURE, FUNCTION or PACKAGE on
    // An INVALID unit's compile error: where, and its PLS- message.
    int errorLine = 0;
    int errorPosition = 0;
    std::string errorText;
    // Its parameters as USER_ARGUMENTS lists them, a JSON array of [name, position, IN | OUT |
    // IN/OUT, data type, Y | N (defaulted)]; a function's result is position 0 without a name.
    std::string arguments = "[]";
};

class SqlPort {
  public:
    virtual ~SqlPort() = default;
    // The session's schema (the owner that error stacks name).
    virtual std::string schema() = 0;
    // The stored unit of that name (a package rather than its body); false when there is none.
    virtual bool findUnit(const std::string& name, UnitSource& out) = 0;
    // The unit of that name and type (PACKAGE BODY for a package's body).
    virtual bool findUnitOfType(const std::string& name, const std::string& type,
                                UnitSource& out) = 0;
    // The session's packages and their state.
    virtual PackageSession& packages() = 0;
    // ORA-00955 when the name is taken (by a unit, unless orReplace).
    virtual void saveUnit(const UnitSource& unit, bool orReplace) = 0;
    // ORA-04043 when there is no such unit. Saving or dropping a unit makes the units that use
    // it INVALID; saving records what the unit's text uses.
    virtual void dropUnit(const std::string& name, const std::string& type) = 0;
    // A unit compiled again: its status, error and arguments, in place of the kept ones.
    virtual void saveCompiled(const UnitSource& unit) = 0;
    // What the unit was recorded to use that is gone, or is a unit INVALID with errors of its
    // own: (name, type) pairs, type TABLE, VIEW, SEQUENCE or a unit's.
    virtual std::vector<std::pair<std::string, std::string>> brokenUses(const UnitSource& unit) = 0;
    // A trigger and its source: ORA-04081 when the name is taken (unless orReplace), ORA-00942
    // when its table does not exist.
    virtual void saveTrigger(const TriggerDefinition& trigger, const UnitSource& source,
                             bool orReplace) = 0;
    // ORA-04080 when there is no such trigger.
    virtual void dropTrigger(const std::string& name) = 0;
    // action: ENABLE, DISABLE or COMPILE.
    virtual void alterTrigger(const std::string& name, const std::string& action) = 0;
    virtual std::unique_ptr<SqlCursor> prepare(const std::string& sql) = 0;
    // The column names of the table or view the session sees by that name (as written in SQL);
    // empty when there is none.
    virtual std::vector<std::string> columnsOf(const std::string& name) = 0;
    // The declared type of a table's column as SQL writes it ("NUMBER(4)"); empty when the
    // table or the column does not exist.
    virtual std::string columnType(const std::string& table, const std::string& column) = 0;
    // ORA-01013 when the host asked to cancel the running call.
    virtual void checkCancel() = 0;
    virtual OutputBuffer& output() = 0;
};

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
