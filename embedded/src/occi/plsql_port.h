// The session side of the PL/SQL engine: its SQL statements are statements of the connection,
// prepared, bound and read as a host's are (statement.h, result_set.h).
#ifndef KAVEXDB_OCCI_PLSQL_PORT_H
#define KAVEXDB_OCCI_PLSQL_PORT_H

#include <string>
#include <vector>

#include "plsql/sql_port.h"

namespace kavexdb {
namespace detail {

class ConnectionImpl;

class PlSqlPort final : public plsql::SqlPort {
  public:
    explicit PlSqlPort(ConnectionImpl& connection) : connection_(connection) {}

    std::unique_ptr<plsql::SqlCursor> prepare(const std::string& sql) override;
    std::vector<std::string> columnsOf(const std::string& name) override;
    std::string columnType(const std::string& table, const std::string& column) override;
    void checkCancel() override;
    plsql::OutputBuffer& output() override;

  private:
    ConnectionImpl& connection_;
};

}  // namespace detail
}  // namespace kavexdb

#endif
