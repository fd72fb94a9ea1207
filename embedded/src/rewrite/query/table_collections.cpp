#include "rewrite/query/table_collections.h"

#include "sql/internal_names.h"

namespace kavexdb {
namespace detail {

void rewriteTableCollections(TokenEditor& e) {
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (!e.word(k, "TABLE")) continue;
        const std::size_t open = e.next(k + 1);
        if (!e.punct(open, '(')) continue;
        // TABLE(KAVEX$BIND_VALUES)
        const std::size_t binds = e.next(open + 1);
        if (e.word(binds, "KAVEX$BIND_VALUES") && e.punct(e.next(binds + 1), ')')) {
            const std::size_t close = e.next(binds + 1);
            e[k].text = kBindValuesTable;
            e.erase(k + 1, close + 1);
            k = close;
            continue;
        }
        // TABLE(DBMS_OUTPUT.GET_LINES [()])
        const std::size_t package = binds;
        const std::size_t dot = e.next(package + 1), name = e.next(dot + 1);
        if (!e.word(package, "DBMS_OUTPUT") || !e.punct(dot, '.') || !e.word(name, "GET_LINES"))
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
