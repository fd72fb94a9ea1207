// DECODE takes up to 255 arguments in Oracle, a function of SQLite's up to 127. A longer DECODE
// becomes a chain, each link's default the next link, with the same answer:
//   DECODE(x, s1, r1, ..., s62, r62, s63, r63, ...) ->
//       DECODE(x, s1, r1, ..., s62, r62, DECODE(x, s63, r63, ...))
// x is then written once per link. The links are text in the tokens they replace: the statement
// must be lexed again before the passes that read expressions.
#ifndef KAVEXDB_DECODE_CHAINS_H
#define KAVEXDB_DECODE_CHAINS_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

void chainLongDecodes(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
