#include "rewrite/dml/rownum_dml.h"

#include <string>

namespace kavexdb {
namespace detail {

namespace {

// Whether [from, to) holds ROWNUM outside the subqueries in it.
bool holdsOwnRownum(const TokenEditor& e, std::size_t from, std::size_t to) {
    for (std::size_t i = e.next(from); i < to; i = e.next(i + 1)) {
        if (e.punct(i, '(') && e.word(e.next(i + 1), "SELECT")) {
            i = e.pastParens(i) - 1;
            continue;
        }
        if (e.word(i, "ROWNUM") && !e.punct(e.previous(i), '.')) return true;
    }
    return false;
}

}  // namespace

bool rewriteRownumInDml(TokenEditor& e) {
    const std::size_t verb = e.next(0);
    const bool update = e.word(verb, "UPDATE");
    if (!update && !e.word(verb, "DELETE")) return false;
    std::size_t target = e.next(verb + 1);
    if (!update && e.word(target, "FROM")) target = e.next(target + 1);
    // The target runs to SET (UPDATE) or WHERE (DELETE); the clause to RETURNING or the end.
    std::size_t where = e.size(), end = e.size(), targetEnd = e.size();
    int depth = 0;
    for (std::size_t i = target; i < e.size(); i = e.next(i + 1)) {
        if (e.punct(i, '(')) ++depth;
        if (e.punct(i, ')')) --depth;
        if (depth != 0) continue;
        if (targetEnd == e.size() && (e.word(i, update ? "SET" : "WHERE"))) targetEnd = i;
        if (where == e.size() && e.word(i, "WHERE") && targetEnd != e.size()) where = i;
        if (where != e.size() && (e.word(i, "RETURNING") || e.word(i, "RETURN") ||
                                  e.word(i, "LOG"))) {
            end = i;
            break;
        }
    }
    if (where == e.size() || !holdsOwnRownum(e, where + 1, end)) return false;
    std::string targetText;
    for (std::size_t i = target; i < targetEnd; ++i) targetText += e.at(i).text;
    const std::size_t last = e.previous(end);
    if (last >= e.size() || last <= where) return false;
    e[where].text = "WHERE rowid IN (SELECT rowid FROM " + targetText + " WHERE";
    e[last].text += ")";
    return true;
}

}  // namespace detail
}  // namespace kavexdb
