// Which ALTER TABLE actions the client carries out by rebuilding the table (exec/alter_table.h).
#include "rewrite/ddl/table_rebuilds.h"

#include "catalog/table_definition.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

bool rebuildsTable(const TokenEditor& e, std::size_t i) {
    const std::size_t n = e.next(i + 1);
    if (e.word(i, "ADD"))
        return startsTableConstraint(e, n) ||
               (e.punct(n, '(') && startsTableConstraint(e, e.next(n + 1)));
    if (e.word(i, "DROP"))
        return e.word(n, "CONSTRAINT") || e.word(n, "UNIQUE") ||
               (e.word(n, "PRIMARY") && e.word(e.next(n + 1), "KEY"));
    if (e.word(i, "DISABLE") || e.word(i, "ENABLE")) {
        const std::size_t what = e.word(n, "VALIDATE") || e.word(n, "NOVALIDATE") ? e.next(n + 1) : n;
        return e.word(what, "CONSTRAINT") ||
               (e.word(what, "PRIMARY") && e.word(e.next(what + 1), "KEY"));
    }
    if (e.word(i, "MODIFY") && (e.word(n, "CONSTRAINT") ||
                                (e.word(n, "PRIMARY") && e.word(e.next(n + 1), "KEY"))))
        return true;  // MODIFY CONSTRAINT c | PRIMARY KEY with its new state
    if (e.word(i, "MODIFY"))
        return (e.name(n) && !e.word(n, "CONSTRAINT") && !e.word(n, "PRIMARY") &&
                !e.word(n, "UNIQUE") && !e.word(n, "PARTITION") && !e.word(n, "DEFAULT")) ||
               e.punct(n, '(');
    return false;
}

}  // namespace detail
}  // namespace kavexdb
