// ALTER INDEX forms: REBUILD (with Oracle's physical options) becomes SQLite's REINDEX;
// RENAME TO makes the index again under its new name, as SQLite cannot rename one.
#ifndef KAVEXDB_ALTER_INDEX_H
#define KAVEXDB_ALTER_INDEX_H

#include <sqlite3.h>

#include <string>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// ALTER INDEX name REBUILD ... -> REINDEX name. Returns the old and new names of ALTER INDEX
// a RENAME TO b (upper case as Oracle resolves them) through from and to; other forms are
// left as they are.
void rewriteAlterIndex(TokenEditor& e, std::size_t indexWord, std::string& from, std::string& to);

// Renames index from to to (ORA-01418 when there is no such index, ORA-00955 when the new name
// is taken). The caller runs it as DDL, with the authorizer trusting it.
void renameIndex(sqlite3* db, const std::string& from, const std::string& to);

}  // namespace detail
}  // namespace kavexdb

#endif
