// Where identity columns are recorded.
#ifndef KAVEXDB_CATALOG_IDENTITY_CATALOG_H
#define KAVEXDB_CATALOG_IDENTITY_CATALOG_H

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// Identity columns are recorded by the DDL rewriting in this catalog table, created on first use:
//   CREATE TABLE IF NOT EXISTS "KAVEX$IDENTITY"(TABLE_NAME TEXT, COLUMN_NAME TEXT,
//       GENERATION TEXT, PRIMARY KEY(TABLE_NAME, COLUMN_NAME))
// TABLE_NAME and COLUMN_NAME in upper case; GENERATION 'ALWAYS', 'BY DEFAULT' or
// 'BY DEFAULT ON NULL'.
extern const char* const kIdentityCatalog;

}  // namespace detail
}  // namespace kavexdb

#endif
