// Oracle's arithmetic and concatenation operators over SQLite. Oracle gives || the precedence of
// + and - (left to right), never truncates a division, treats NULL as '' in ||, and adds numbers
// to dates; SQLite's operators do none of that. The rewriting parses each expression's additive
// and multiplicative levels with Oracle's precedence and turns every + - * / || into a call of
// the operator functions (arithmetic.h), which carry Oracle's value semantics.
#ifndef KAVEXDB_EXPRESSION_REWRITE_H
#define KAVEXDB_EXPRESSION_REWRITE_H

#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

// Rewrites every operator expression the parser understands; an expression containing a form it
// does not know (e.g. a keyword-led literal) is left as it was.
void rewriteOperators(TokenEditor& e);

// Every ORDER BY term without NULLS FIRST/LAST gets Oracle's default: NULLS LAST ascending,
// NULLS FIRST descending (null_ordering.cpp).
void orderNullsAsOracle(TokenEditor& e);

// Select-list items of a query: records each item's text before the rewriting, so that an item
// the rewriting changed can get its original text as column name (see nameChangedItems).
class SelectItemNames {
  public:
    explicit SelectItemNames(const TokenEditor& e);
    // Gives each changed item without an alias the alias "ORA$N:<original text>", which describe
    // reports as the original text (reportedColumnName).
    void nameChangedItems(TokenEditor& e) const;
    // Follows the statement's tokens through a TokenEditor::relex.
    void relexed(const std::vector<TokenEditor::Span>& spans);

  private:
    void addItemsOf(const TokenEditor& e, std::size_t select);
    struct Item {
        std::size_t first, last;
        std::string text;
    };
    std::vector<Item> items_;
};

// The name a result column is reported by: the original text behind an "ORA$N:" alias, or the
// name itself.
std::string reportedColumnName(const std::string& sqliteName);
// " AS \"ORA$N:<text>\"": the alias that names a changed select item by its original text.
std::string expressionAlias(const std::string& originalText);
// Whether a name is an "ORA$N:" alias (the original was expression text, reported in upper case).
bool isExpressionAlias(const std::string& sqliteName);

}  // namespace detail
}  // namespace kavexdb

#endif
