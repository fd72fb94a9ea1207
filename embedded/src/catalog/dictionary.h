// Oracle's data dictionary views for the session's own schema, read-only:
//   USER_TABLES, USER_TAB_COLUMNS (also USER_TAB_COLS), USER_VIEWS, USER_SEQUENCES,
//   USER_INDEXES, USER_IND_COLUMNS, USER_CONSTRAINTS, USER_CONS_COLUMNS, USER_OBJECTS,
//   USER_USERS, and ALL_TABLES, ALL_TAB_COLUMNS, ALL_VIEWS, ALL_SEQUENCES, ALL_CONSTRAINTS,
//   ALL_CONS_COLUMNS, ALL_USERS over the same schema. The constraints are those the tables'
//   definitions declare, with the names they were given (catalog/constraint_names.h).
// A dictionary name in a FROM or JOIN position (optionally qualified by SYS or PUBLIC) becomes
// a subquery over SQLite's schema (sqlite_master and the table-valued pragmas), so nothing is
// stored and every session sees the current schema. Oracle's short public synonyms (TABS, COLS,
// SEQ, IND, OBJ) are left alone: they are common names for the user's own tables. The client's own catalog objects
// (KAVEX$...) and SQLite's (sqlite_...) are left out.
#ifndef KAVEXDB_DICTIONARY_H
#define KAVEXDB_DICTIONARY_H

#include <sqlite3.h>

#include <string>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

void rewriteDictionaryViews(TokenEditor& e, const std::string& sessionSchema);

}  // namespace detail
}  // namespace kavexdb

#endif
