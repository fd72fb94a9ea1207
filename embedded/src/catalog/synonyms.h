// Oracle synonyms: CREATE [OR REPLACE] [PUBLIC] SYNONYM s FOR [schema.]object, DROP [PUBLIC]
// SYNONYM s [FORCE], their use in place of a table, view or sequence name, and the dictionary
// views USER_SYNONYMS and ALL_SYNONYMS.
//
// Definitions live in the catalog table "KAVEX$SYNONYM" (OWNER is the creating user or PUBLIC;
// names in upper case unless quoted). The embedded database has one namespace of tables, so a
// synonym stands for its object's name whatever schema the definition named. A statement names
// a synonym where a table may stand (after FROM, JOIN, a FROM list's comma, INTO, UPDATE,
// DELETE, USING) or as a sequence (s.NEXTVAL); a table or view of the same name comes first,
// then the user's private synonym, then a public one.
#ifndef KAVEXDB_SYNONYMS_H
#define KAVEXDB_SYNONYMS_H

#include <sqlite3.h>

#include <string>

#include "sql/plan.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// CREATE / DROP SYNONYM: sets out.sql and out.ddl.catalogSql and returns true; false for other
// statements. The catalog changes check ORA-00955 (the name is taken), ORA-01434 / ORA-01432
// (no such private / public synonym to drop); ORA-01471 for a synonym named as its own object.
bool rewriteSynonymDdl(TokenEditor& e, RewrittenSql& out, const std::string& sessionSchema);

// The Oracle SQL with the synonyms it names replaced by their objects' names (the text as it is
// when the database has no synonyms). ORA-00980 when a synonym's object no longer exists,
// ORA-01775 for a loop of synonyms.
std::string resolveSynonyms(sqlite3* db, const std::string& oracleSql,
                            const std::string& sessionSchema);

// The subquery for USER_SYNONYMS or ALL_SYNONYMS ("" for other names).
std::string synonymDictionaryQuery(const std::string& name, const std::string& sessionSchema);


}  // namespace detail
}  // namespace kavexdb

#endif
