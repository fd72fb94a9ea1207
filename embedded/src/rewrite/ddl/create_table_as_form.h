// CREATE TABLE name [(column, ...)] AS query: the statement's parts, for exec/create_table_as.h.
#ifndef KAVEXDB_REWRITE_DDL_CREATE_TABLE_AS_FORM_H
#define KAVEXDB_REWRITE_DDL_CREATE_TABLE_AS_FORM_H

#include <string>

#include "sql/plan.h"

namespace kavexdb {
namespace detail {

// Whether oracleSql is a CREATE TABLE ... AS query; fills out.
bool parseCreateTableAs(const std::string& oracleSql, CreateTableAs& out);

}  // namespace detail
}  // namespace kavexdb

#endif
