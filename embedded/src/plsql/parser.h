// The PL/SQL parser: an anonymous block's text to its Block. A text that does not parse is
// ORA-06550 with the line and column, and the PLS- message Oracle gives for it; forms the
// engine does not run yet are PLS-00999 (implementation restriction), never run half.
#ifndef KAVEXDB_PLSQL_PARSER_H
#define KAVEXDB_PLSQL_PARSER_H

#include <memory>

#include "plsql/ast.h"
#include "plsql/source.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// [DECLARE ...] BEGIN ... [EXCEPTION ...] END [label] [;] and nothing after it.
std::unique_ptr<Block> parseAnonymousBlock(const Source& source);
// A declared type on its own ("NUMBER(7,2)", as a column's type is written).
TypeSpec parseTypeText(const std::string& text);

// What a CREATE [OR REPLACE] [EDITIONABLE | NONEDITIONABLE] PROCEDURE | FUNCTION | PACKAGE
// [BODY] statement names, read from its head only (a unit is created even when its body does
// not compile).
struct UnitHead {
    bool orReplace = false;
    std::string type;             // PROCEDURE, FUNCTION, PACKAGE or PACKAGE BODY
    std::string name;             // upper case unless quoted
    std::size_t sourceBegin = 0;  // where PROCEDURE or FUNCTION starts in the text
};
// False when the statement is no CREATE of a procedure, function or package.
bool readUnitHead(const Source& source, UnitHead& head);
// A unit's source from PROCEDURE or FUNCTION on, as the catalog keeps it.
std::unique_ptr<Unit> parseStoredUnit(const Source& source);
// A package from PACKAGE on, or (a Source of two texts) the package and then its body.
std::unique_ptr<Package> parsePackage(const Source& source);

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
