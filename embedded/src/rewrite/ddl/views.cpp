#include "rewrite/ddl/views.h"

#include "base/errors.h"
#include "base/ora_messages.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"

namespace kavexdb {
namespace detail {

bool rewriteViewDdl(TokenEditor& e, RewrittenSql& out) {
    const std::size_t create = e.next(0);
    if (!e.word(create, "CREATE")) return false;
    std::size_t i = e.next(create + 1);
    bool replace = false, force = false;
    const std::size_t first = i;
    if (e.word(i, "OR") && e.word(e.next(i + 1), "REPLACE")) {
        replace = true;
        i = e.next(e.next(i + 1) + 1);
    }
    for (;;) {
        if (e.word(i, "FORCE")) force = true;
        if (e.word(i, "NO") && e.word(e.next(i + 1), "FORCE")) i = e.next(i + 1);
        if (!(e.word(i, "FORCE") || e.word(i, "NOFORCE") || e.word(i, "EDITIONABLE") ||
              e.word(i, "NONEDITIONABLE") || e.word(i, "EDITIONING")))
            break;
        i = e.next(i + 1);
    }
    if (!e.word(i, "VIEW")) return false;
    e.erase(first, i);
    std::size_t nameAt = e.next(i + 1);
    if (!e.name(nameAt)) raise(ora::kInvalidTableName);
    if (e.punct(e.next(nameAt + 1), '.') && e.name(e.next(e.next(nameAt + 1) + 1)))
        nameAt = e.next(e.next(nameAt + 1) + 1);
    const std::string name = identifierName(e[nameAt]);
    // WITH READ ONLY / WITH CHECK OPTION [CONSTRAINT c] at the end: SQLite's views are read-only.
    std::size_t with = e.size();
    int depth = 0;
    for (std::size_t k = nameAt; k < e.size(); k = e.next(k + 1)) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if (depth == 0 && e.word(k, "WITH") &&
            (e.word(e.next(k + 1), "READ") || e.word(e.next(k + 1), "CHECK")))
            with = k;
    }
    if (with < e.size()) e.erase(with, e.size());
    out.ddl.viewName = name;
    out.ddl.replaceView = replace;
    out.ddl.forceView = force;
    return true;
}

void finishViewDdl(RewrittenSql& out) {
    if (out.ddl.viewName.empty()) return;
    const std::string quoted = sqlQuotedIdentifier(out.ddl.viewName);
    if (out.ddl.replaceView) {
        // SQLite reports a plain CREATE VIEW over a table's name itself ("already exists").
        out.ddl.catalogSql.push_back("DROP VIEW IF EXISTS " + quoted);
        out.ddl.catalogSql.push_back(out.sql);
        out.sql = "SELECT " + raiseCall(ora::kNameAlreadyUsed) +
                  " FROM main.sqlite_master WHERE type = 'table' AND upper(name) = " +
                  sqlStringLiteral(out.ddl.viewName);
    }
    if (!out.ddl.forceView) out.ddl.catalogSql.push_back("SELECT * FROM " + quoted + " LIMIT 0");
}

}  // namespace detail
}  // namespace kavexdb
