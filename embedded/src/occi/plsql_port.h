// The session side of the PL/SQL engine: its SQL statements are statements of the connection,
// prepared, bound and read as a host's are (statement.h, result_set.h).
#ifndef KAVEXDB_OCCI_PLSQL_PORT_H
#define KAVEXDB_OCCI_PLSQL_PORT_H

#include <sqlite3.h>

#include <string>
#include <vector>

#include "plsql/sql_port.h"

namespace kavexdb {
namespace detail {

class ConnectionImpl;

class PlSqlPort final : public plsql::SqlPort {
  public:
    explicit PlSqlPort(ConnectionImpl& connection) : connection_(connection) {}

    // fromQuery: the port of a function that a query calls, which may not change data.
    PlSqlPort(ConnectionImpl& connection, bool fromQuery)
        : connection_(connection), fromQuery_(fromQuery) {}

    // The port of a trigger's body, which may not end the transaction (ORA-04092).
    void refuseTransactionControl() { inTrigger_ = true; }

    std::string schema() override;
    bool findUnit(const std::string& name, plsql::UnitSource& out) override;
    bool findUnitOfType(const std::string& name, const std::string& type,
                        plsql::UnitSource& out) override;
    plsql::PackageSession& packages() override;
    void saveUnit(const plsql::UnitSource& unit, bool orReplace) override;
    void dropUnit(const std::string& name, const std::string& type) override;
    void saveCompiled(const plsql::UnitSource& unit) override;
    std::vector<std::pair<std::string, std::string>> brokenUses(
        const plsql::UnitSource& unit) override;
    void saveTrigger(const TriggerDefinition& trigger, const plsql::UnitSource& source,
                     bool orReplace) override;
    void dropTrigger(const std::string& name) override;
    void alterTrigger(const std::string& name, const std::string& action) override;
    std::unique_ptr<plsql::SqlCursor> prepare(const std::string& sql) override;
    std::vector<std::string> columnsOf(const std::string& name) override;
    std::string columnType(const std::string& table, const std::string& column) override;
    void checkCancel() override;
    plsql::OutputBuffer& output() override;

  private:
    ConnectionImpl& connection_;
    bool fromQuery_ = false;
    bool inTrigger_ = false;
};

// SQL's value as the engine's: numbers (stored ones too), texts, RAW; NULL of no type.
plsql::Value engineValue(sqlite3_value* v);
// The engine's type of a column's values, from the describe's type code.
plsql::ValueType columnValueType(int code);

// ORA$PLSQL_CALL('NAME', arguments...): SQL's call of a stored function, run by the PL/SQL engine
// on the connection. connection must outlive db's use of it.
void registerPlSqlCalls(sqlite3* db, ConnectionImpl& connection);

}  // namespace detail
}  // namespace kavexdb

#endif
