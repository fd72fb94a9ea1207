// The ALTER TABLE forms SQLite has no statement for (adding, dropping, disabling or enabling a
// table constraint, modifying a column), which the client carries out by rebuilding the table
// (exec/alter_table.h).
#ifndef KAVEXDB_REWRITE_DDL_TABLE_REBUILDS_H
#define KAVEXDB_REWRITE_DDL_TABLE_REBUILDS_H

#include <cstddef>

namespace kavexdb {
namespace detail {

class TokenEditor;

// Whether the ALTER TABLE action starting at token i (ADD, DROP, MODIFY, DISABLE, ENABLE) is one
// of the forms above.
bool rebuildsTable(const TokenEditor& e, std::size_t i);

}  // namespace detail
}  // namespace kavexdb

#endif
