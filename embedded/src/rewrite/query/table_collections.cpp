#include "rewrite/query/table_collections.h"

#include "sql/internal_names.h"

namespace kavexdb {
namespace detail {

void rewriteTableCollections(TokenEditor& e) {
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (!e.word(k, "TABLE")) continue;
        const std::size_t open = e.next(k + 1), package = e.next(open + 1);
        const std::size_t dot = e.next(package + 1), name = e.next(dot + 1);
        if (!e.punct(open, '(') || !e.word(package, "DBMS_OUTPUT") || !e.punct(dot, '.') ||
            !e.word(name, "GET_LINES"))
            continue;
        std::size_t close = e.next(name + 1);
        if (e.punct(close, '(') && e.punct(e.next(close + 1), ')'))
            close = e.next(e.next(close + 1) + 1);
        if (!e.punct(close, ')')) continue;
        e[k].text = kOutputLinesTable;
        e.erase(k + 1, close + 1);
        k = close;
    }
}

}  // namespace detail
}  // namespace kavexdb
