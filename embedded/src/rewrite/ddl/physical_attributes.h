// Oracle's physical attributes of tables and indexes (TABLESPACE, STORAGE (...), PCTFREE n,
// LOGGING, COMPRESS, PARALLEL, SEGMENT CREATION ..., COMPUTE STATISTICS, LOB (...) STORE AS ...,
// a constraint's USING INDEX ...) say where and how Oracle lays data out; SQLite lays out its own.
// They are taken out, so that DDL written for Oracle runs as it stands.
#ifndef KAVEXDB_PHYSICAL_ATTRIBUTES_H
#define KAVEXDB_PHYSICAL_ATTRIBUTES_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// CREATE TABLE and CREATE INDEX: the attributes after the table's definitions or the index's
// columns, and USING INDEX clauses inside the definitions. CREATE BITMAP INDEX becomes a plain
// index.
void dropPhysicalAttributes(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
