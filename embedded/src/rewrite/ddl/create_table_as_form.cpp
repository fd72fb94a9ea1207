// The parts of CREATE TABLE ... AS query (rewrite/ddl/create_table_as_form.h).
#include "rewrite/ddl/create_table_as_form.h"

#include <vector>

#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

bool parseCreateTableAs(const std::string& oracleSql, CreateTableAs& out) {
    const TokenEditor e(lexSql(oracleSql));
    const std::size_t create = e.next(0), tableWord = e.next(create + 1);
    if (!e.word(create, "CREATE") || !e.word(tableWord, "TABLE")) return false;
    const std::size_t nameStart = e.next(tableWord + 1);
    if (!e.name(nameStart) || e.word(nameStart, "IF")) return false;
    std::size_t i = e.next(nameStart + 1);
    while (e.punct(i, '.') && e.name(e.next(i + 1))) i = e.next(e.next(i + 1) + 1);
    const std::size_t nameEnd = i;
    std::vector<std::string> columns;
    if (e.punct(i, '(')) {
        const std::size_t past = e.pastParens(i);
        for (const auto& item : depthZeroItems(e, i + 1, past - 1)) {
            const std::size_t name = e.next(item.first);
            // Column definitions (a name and a type): an ordinary CREATE TABLE.
            if (!e.name(name) || e.next(name + 1) < item.second) return false;
            columns.push_back(e.at(name).text);
        }
        i = e.next(past);
    }
    if (!e.word(i, "AS")) return false;
    std::size_t first = e.next(i + 1), end = e.size();
    while (end > first && (!e.at(end - 1).significant() || e.punct(end - 1, ';'))) --end;
    // AS (query): the parentheses would read as a column list after INSERT INTO name.
    while (e.punct(first, '(') && e.pastParens(first) == end) {
        first = e.next(first + 1);
        --end;
        while (end > first && !e.at(end - 1).significant()) --end;
    }
    if (first >= end) return false;
    const std::vector<Token>& tokens = e.tokens();
    const auto at = [&](std::size_t k) { return tokens.begin() + static_cast<long>(k); };
    out.table = joinTokens(std::vector<Token>(at(nameStart), at(nameEnd)));
    out.columns = std::move(columns);
    out.query = joinTokens(std::vector<Token>(at(first), at(end)));
    return true;
}

}  // namespace detail
}  // namespace kavexdb
