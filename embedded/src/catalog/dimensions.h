// Oracle dimensions: CREATE [OR REPLACE] DIMENSION name LEVEL ... [HIERARCHY ...] [ATTRIBUTE
// ...] and DROP DIMENSION name. A dimension only describes hierarchies among a table's columns
// for query rewrite, which the embedded database does not do: the statement is kept in the
// catalog table "KAVEX$DIMENSIONS" (name, text) and shown by USER_DIMENSIONS and USER_OBJECTS,
// and has no effect on any result.
#ifndef KAVEXDB_CATALOG_DIMENSIONS_H
#define KAVEXDB_CATALOG_DIMENSIONS_H

#include <string>

#include "sql/plan.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// CREATE / DROP DIMENSION: sets out.sql and out.ddl.catalogSql and returns true; false for
// other statements. ORA-00955 when the name is a dimension's already (without OR REPLACE),
// ORA-04043 for a dimension to drop that does not exist.
bool rewriteDimensionDdl(TokenEditor& e, RewrittenSql& out);

// The subquery for USER_DIMENSIONS or ALL_DIMENSIONS ("" for other names), and the rows
// USER_OBJECTS adds for dimensions (OBJECT_NAME, ..., as objects() selects them).
std::string dimensionDictionaryQuery(const std::string& name, const std::string& sessionSchema);
std::string dimensionObjectRows();

}  // namespace detail
}  // namespace kavexdb

#endif
