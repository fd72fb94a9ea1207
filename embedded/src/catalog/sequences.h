// Oracle sequences: CREATE / ALTER / DROP SEQUENCE and seq.NEXTVAL / seq.CURRVAL.
//
// Definitions live in the catalog table "KAVEX$SEQUENCE" of the database (one row per sequence,
// NAME in upper case, ID new at every CREATE and RESTART). The value last handed out lives
// elsewhere, in a companion counter database that no transaction of the session includes, so
// a value is never rolled back and never handed out twice, also across processes:
//   a database file F            -> the file F-kvseq beside it
//   file:/name?vfs=memdb         -> file:/name-kvseq?vfs=memdb (shared by the process)
//   :memory:                     -> a private in-memory counter database
// NEXTVAL takes CACHE values at a time under the counter database's write lock and hands them
// out from a cache the process's sessions share (values a process does not hand out are lost,
// as a cache is lost at an instance's shutdown).
#ifndef KAVEXDB_SEQUENCES_H
#define KAVEXDB_SEQUENCES_H

#include <sqlite3.h>

#include "sql/plan.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

extern const char* const kSequenceCatalog;  // "KAVEX$SEQUENCE"

// CREATE | ALTER | DROP SEQUENCE: sets out.sql (creating the catalog when missing) and
// out.ddl.catalogSql (the catalog change, run after it) and returns true; false for other
// statements. Throws the ORA error of an invalid option (ORA-04002, 04004, 04006, 04008, ...).
bool rewriteSequenceDdl(TokenEditor& e, RewrittenSql& out);

// name.NEXTVAL / name.CURRVAL -> calls of the session's sequence functions. Every NEXTVAL of a
// sequence in one row of one statement gives the same value, and so does CURRVAL beside it.
// A whole select-list item keeps Oracle's column name (NEXTVAL, CURRVAL).
void rewriteSequenceReferences(TokenEditor& e);

// The session's sequence functions, with their state (the values this session last took);
// the state lives as long as db.
void registerSequenceFunctions(sqlite3* db);

}  // namespace detail
}  // namespace kavexdb

#endif
