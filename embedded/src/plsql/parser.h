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

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
