#include "sql/column_scope.h"

#include "base/errors.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

// Words after a table reference that are no alias.
bool endsTableReference(const TokenEditor& e, std::size_t i) {
    if (hasRole(e, i, kEndsTableReference)) return true;
    return !e.name(i);
}

}  // namespace

ColumnScope::ColumnScope(sqlite3* db, const TokenEditor& e, bool followWith)
    : db_(db), e_(e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (e.word(i, "FROM")) {
            references(e.next(i + 1), true);
        } else if (e.word(i, "JOIN") || (e.word(i, "UPDATE") && i == e.next(0))) {
            references(e.next(i + 1), false);
        } else if (e.word(i, "WITH") && i == e.next(0)) {
            if (followWith)
                commonTables(e.next(i + 1));
            else
                opaque_ = true;
        }
    }
    // A source named like a common table expression is its query; one with a column list has
    // those columns, of types not followed (its query may name itself).
    for (Source& source : sources_) {
        const auto it = commonTables_.find(asciiUpper(source.table));
        if (!source.schema.empty() || it == commonTables_.end()) continue;
        source.table.clear();
        source.query = it->second.query;
        if (it->second.columns.empty()) continue;
        for (const std::string& column : it->second.columns) source.columns.emplace(column, "");
        source.state = State::Read;
    }
}

void ColumnScope::commonTables(std::size_t i) {
    // [RECURSIVE] name [(columns)] AS [[NOT] MATERIALIZED] (query), ...
    if (e_.word(i, "RECURSIVE")) i = e_.next(i + 1);
    while (e_.name(i)) {
        const std::string name = asciiUpper(identifierName(e_.at(i)));
        std::size_t as = e_.next(i + 1);
        std::vector<std::string> columns;
        if (e_.punct(as, '(')) {
            const std::size_t past = e_.pastParens(as);
            for (std::size_t k = e_.next(as + 1); k + 1 < past; k = e_.next(k + 1))
                if (e_.name(k)) columns.push_back(asciiUpper(identifierName(e_.at(k))));
            as = e_.next(past);
        }
        if (!e_.word(as, "AS")) return;
        std::size_t open = e_.next(as + 1);
        while (e_.word(open, "NOT") || e_.word(open, "MATERIALIZED")) open = e_.next(open + 1);
        if (!e_.punct(open, '(')) return;
        const std::size_t past = e_.pastParens(open);
        CommonTable table;
        table.columns = std::move(columns);
        for (std::size_t k = open; k < past; ++k) table.query += e_.at(k).text;
        commonTables_.emplace(name, std::move(table));
        i = e_.next(past);
        if (!e_.punct(i, ',')) return;
        i = e_.next(i + 1);
    }
}

bool ColumnScope::declaredTypes(const std::string& name, std::vector<std::string>& out) {
    out.clear();
    if (opaque_) return false;
    for (Source& source : sources_)
        if (resolve(source) == State::Unknown) return false;
    std::string decl;
    for (Source& source : sources_)
        if (lookup(source, name, decl)) out.push_back(decl);
    return true;
}

void ColumnScope::declaredTypes(const std::string& source, const std::string& name,
                                std::vector<std::string>& out) {
    out.clear();
    std::string decl;
    for (Source& s : sources_)
        if (s.name == source && lookup(s, name, decl)) out.push_back(decl);
}

ColumnScope::State ColumnScope::resolve(Source& s) {
    if (s.state != State::Unresolved) return s.state;
    if (!s.table.empty() &&
        sqlite3_table_column_metadata(db_, s.schema.empty() ? nullptr : s.schema.c_str(),
                                      s.table.c_str(), nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr) == SQLITE_OK)
        return s.state = State::Table;
    sqlite3_stmt* raw = nullptr;
    const std::string sql = "SELECT * FROM " + s.query;
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr);
    SqliteStmt probe(raw);
    if (rc != SQLITE_OK || !raw) return s.state = State::Unknown;
    for (int c = 0; c < sqlite3_column_count(raw); ++c) {
        const char* decl = sqlite3_column_decltype(raw, c);
        s.columns.emplace(asciiUpper(sqlite3_column_name(raw, c)), decl ? decl : "");
    }
    return s.state = State::Read;
}

bool ColumnScope::lookup(Source& s, const std::string& name, std::string& decl) {
    const State state = resolve(s);
    if (state == State::Unknown) return false;
    const auto it = s.columns.find(name);
    if (it != s.columns.end()) {
        decl = it->second;
        return true;
    }
    if (state == State::Read || s.missing.count(name) != 0) return false;
    const char* declared = nullptr;
    if (sqlite3_table_column_metadata(db_, s.schema.empty() ? nullptr : s.schema.c_str(),
                                      s.table.c_str(), name.c_str(), &declared, nullptr, nullptr,
                                      nullptr, nullptr) != SQLITE_OK) {
        s.missing.insert(name);
        return false;
    }
    decl = declared ? declared : "";
    s.columns.emplace(name, decl);
    return true;
}

void ColumnScope::references(std::size_t i, bool list) {
    while (i < e_.size()) {
        Source source;
        if (e_.punct(i, '(')) {
            const std::size_t past = e_.pastParens(i);
            for (std::size_t k = i; k < past; ++k) source.query += e_.at(k).text;
            i = e_.next(past);
        } else {
            if (!qualifiedNameAt(e_, i, source.schema, source.table)) return;
            if (e_.punct(i, '(')) {  // a table-valued function
                opaque_ = true;
                return;
            }
            source.query = (source.schema.empty() ? "" : sqlQuotedIdentifier(source.schema) + ".") +
                           sqlQuotedIdentifier(source.table);
            source.name = asciiUpper(source.table);
        }
        if (e_.word(i, "AS")) i = e_.next(i + 1);
        if (!endsTableReference(e_, i)) {
            source.name = asciiUpper(identifierName(e_.at(i)));
            i = e_.next(i + 1);
        }
        // A source named and made the same way as one seen before (each block of a long
        // UNION ALL reading the same table) is that one.
        std::string key = source.name + '\n' + source.schema + '\n' + source.table + '\n' + source.query;
        if (seen_.insert(std::move(key)).second) sources_.push_back(std::move(source));
        if (!list || !e_.punct(i, ',')) return;
        i = e_.next(i + 1);
    }
}

}  // namespace detail
}  // namespace kavexdb
