// Stored PL/SQL units: what CREATE [OR REPLACE] PROCEDURE / FUNCTION / PACKAGE [BODY] keep, in the
// catalog table "KAVEX$SOURCE" (OWNER, NAME, TYPE, STATUS, TEXT, ERROR_LINE, ERROR_POSITION,
// ERROR_TEXT, ARGUMENTS), keyed by name and type: the source from PROCEDURE, FUNCTION or PACKAGE
// on, as USER_SOURCE shows it, and VALID or INVALID (a unit that did not compile is kept,
// INVALID, with its error, as Oracle keeps it). Units share the one namespace of tables, views
// and sequences; names are in upper case unless they were quoted.
#ifndef KAVEXDB_CATALOG_STORED_UNITS_H
#define KAVEXDB_CATALOG_STORED_UNITS_H

#include <sqlite3.h>

#include <string>

namespace kavexdb {
namespace detail {

struct StoredUnit {
    std::string name;
    std::string type;    // PROCEDURE, FUNCTION, PACKAGE, PACKAGE BODY or TRIGGER
    std::string status;  // VALID or INVALID
    std::string text;
    // An INVALID unit's compile error, as USER_ERRORS shows it.
    int errorLine = 0;
    int errorPosition = 0;
    std::string errorText;  // "PLS-00103: ..."
    std::string arguments = "[]";  // USER_ARGUMENTS' rows, as JSON (plsql/sql_port.h)
};

// Keeps u, in place of a unit of its name when orReplace. ORA-00955 when another object has the
// name (or, without orReplace, a unit).
void saveStoredUnit(sqlite3* db, const std::string& owner, const StoredUnit& u, bool orReplace);
// ORA-04043 when there is no unit of that name and type.
void dropStoredUnit(sqlite3* db, const std::string& name, const std::string& type);
// The same, quietly when there is none.
void dropStoredUnitIfAny(sqlite3* db, const std::string& name, const std::string& type);
// The unit of that name (a package rather than its body); false when there is none.
bool findStoredUnit(sqlite3* db, const std::string& name, StoredUnit& out);
bool findStoredUnitOfType(sqlite3* db, const std::string& name, const std::string& type,
                          StoredUnit& out);
// The SQL with its calls of stored functions, f(a, b), written as ORA$PLSQL_CALL('F', a, b),
// which the session defines; the text as it is when the database has no stored functions. A
// function without arguments is also called by its name alone, where no column or alias of the
// statement has that name. A select item without alias that holds a call gets the alias
// itemName gives for the item's text (its column is headed by what was written).
std::string callStoredFunctions(sqlite3* db, const std::string& sql,
                                std::string (*itemName)(const std::string& text));

}  // namespace detail
}  // namespace kavexdb

#endif
