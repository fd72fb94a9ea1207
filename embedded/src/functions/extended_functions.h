// Oracle's built-in functions beyond the common ones of oracle_functions.h, one family per file:
// regular expressions (regexp_functions.cpp, over PCRE2), texts (text_functions.cpp), numbers
// (number_functions.cpp), the session's identity (session_info.cpp) and LISTAGG (listagg.cpp).
#ifndef KAVEXDB_EXTENDED_FUNCTIONS_H
#define KAVEXDB_EXTENDED_FUNCTIONS_H

#include <sqlite3.h>

#include <string>

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {



// USER and UID -> the session's name and number; SESSIONTIMEZONE and DBTIMEZONE -> '+00:00';
// SYS_CONTEXT(ns, p [, n]) -> a call that knows the session's name.
void rewriteSessionInfo(TokenEditor& e, const std::string& sessionSchema);
// LISTAGG([ALL | DISTINCT] x [, delimiter] [ON OVERFLOW ...]) WITHIN GROUP (ORDER BY keys) ->
// the aggregate ORA$LISTAGG with the keys and their directions as arguments.
void rewriteListagg(TokenEditor& e);
// TRIM([LEADING | TRAILING | BOTH] [c] FROM source) -> ORA$TRIM(mode, c, source); TRIM(source)
// stays SQLite's, which removes blanks as Oracle's does.
void rewriteTrim(TokenEditor& e);
// MIN|MAX|SUM|AVG|COUNT(x) KEEP (DENSE_RANK FIRST|LAST ORDER BY ...) -> ORA$KEEP(...);
// RATIO_TO_REPORT(x) OVER (w) -> x / SUM(x) OVER (w).
void rewriteKeepAndRatio(TokenEditor& e);
// The tokens of `name(args) WITHIN GROUP (ORDER BY keys)` whose name is at i: the argument
// parentheses, WITHIN, BY and the group's ')'. False when that form is not there.
struct WithinGroup {
    std::size_t open, close, within, by, groupClose;
};
bool withinGroupAt(const TokenEditor& e, std::size_t i, WithinGroup& out);
// The directions of the ORDER BY keys in [from, to) (per key 'A' or 'D', then 'F' or 'L' for
// where NULLs go, Oracle's default when not given); their ASC/DESC/NULLS words are erased.
std::string takeKeyDirections(TokenEditor& e, std::size_t from, std::size_t to);
// RANK | DENSE_RANK | PERCENT_RANK | CUME_DIST(x, ...) WITHIN GROUP (ORDER BY k, ...): the
// hypothetical row's place among the group's -> the aggregates ORA$HYPOTHETICAL_R, _D, _P, _C
// (hypothetical_ranks.cpp).
void rewriteHypotheticalRanks(TokenEditor& e);

}  // namespace detail
}  // namespace kavexdb

#endif
