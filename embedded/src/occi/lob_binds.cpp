#include "occi/lob_binds.h"

#include <algorithm>
#include <string>

#include "sql/numbered_parameters.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"
#include "storage/lazy_lobs.h"
#include "storage/lob_storage.h"
#include "types/declared_type.h"

namespace kavexdb {
namespace detail {

namespace {

bool sameName(const std::string& a, const char* b) { return b && sqlite3_stricmp(a.c_str(), b) == 0; }

// The parameter an item is made of alone (empty when it is anything else).
std::string loneParameter(const TokenEditor& e, std::size_t from, std::size_t to) {
    const std::size_t first = e.next(from);
    if (first >= to || e.next(first + 1) < to) return std::string();
    const Token& t = e.at(first);
    return t.kind == Token::Kind::Bind && t.text.size() > 1 ? t.text : std::string();
}

std::size_t uses(const TokenEditor& e, const std::string& parameter) {
    return static_cast<std::size_t>(std::count_if(
        e.tokens().begin(), e.tokens().end(),
        [&](const Token& t) { return t.kind == Token::Kind::Bind && t.text == parameter; }));
}

std::vector<std::string> columnNames(sqlite3* db, const std::string& schema,
                                     const std::string& table) {
    std::vector<std::string> names;
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1, ?2)", -1, &raw, nullptr) ==
        SQLITE_OK) {
        sqlite3_bind_text(raw, 1, table.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(raw, 2, schema.c_str(), -1, SQLITE_TRANSIENT);
        while (sqlite3_step(raw) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)));
    }
    sqlite3_finalize(raw);
    return names;
}

}  // namespace

std::vector<LobTarget> findLobTargets(sqlite3* db, sqlite3_stmt* stmt, const std::string& sql) {
    std::vector<LobTarget> targets(static_cast<std::size_t>(sqlite3_bind_parameter_count(stmt)) + 1);
    std::vector<Token> tokens;
    try {
        tokens = lexSql(sql);
    } catch (const occi::SQLException&) {
        return targets;
    }
    TokenEditor e(std::move(tokens));
    const NumberedParameters parameters(sql);  // as stmt was prepared
    std::size_t i = e.next(0);
    const bool insert = e.word(i, "INSERT"), update = e.word(i, "UPDATE");
    if (!insert && !update) return targets;
    i = e.next(i + 1);
    if (e.word(i, "OR")) i = e.next(e.next(i + 1) + 1);
    if (insert) {
        if (!e.word(i, "INTO")) return targets;
        i = e.next(i + 1);
    }
    std::string schema, table;
    if (!qualifiedNameAt(e, i, schema, table)) return targets;
    const std::string where = rowidTableSchema(db, schema, table);
    if (where.empty()) return targets;
    // (column, parameter) pairs the statement stores whole.
    std::vector<std::pair<std::string, std::string>> stored;
    if (insert) {
        if (e.word(i, "AS")) i = e.next(e.next(i + 1) + 1);
        std::vector<std::string> columns;
        if (e.punct(i, '(')) {
            const std::size_t past = e.pastParens(i);
            for (const auto& item : depthZeroItems(e, i + 1, past - 1)) {
                const std::size_t name = e.next(item.first);
                columns.push_back(name < item.second && e.name(name)
                                      ? identifierName(e.at(name))
                                      : std::string());
            }
            i = e.next(past);
        } else {
            columns = columnNames(db, where, table);
        }
        if (!e.word(i, "VALUES")) return targets;
        i = e.next(i + 1);
        if (!e.punct(i, '(')) return targets;
        const std::size_t past = e.pastParens(i);
        if (e.punct(e.next(past), ',')) return targets;  // several rows
        const auto values = depthZeroItems(e, i + 1, past - 1);
        for (std::size_t k = 0; k < values.size() && k < columns.size(); ++k)
            stored.emplace_back(columns[k], loneParameter(e, values[k].first, values[k].second));
    } else {
        while (i < e.size() && !e.word(i, "SET")) i = e.next(i + 1);
        if (i >= e.size()) return targets;
        const std::size_t from = i + 1;
        const std::size_t to = setListEnd(e, from);
        for (const auto& item : depthZeroItems(e, from, to)) {
            const std::size_t name = e.next(item.first);
            const std::size_t eq = e.next(name + 1);
            if (!e.name(name) || !e.punct(eq, '=')) continue;
            stored.emplace_back(identifierName(e.at(name)),
                                loneParameter(e, eq + 1, item.second));
        }
    }
    for (const auto& s : stored) {
        if (s.first.empty() || s.second.empty() || uses(e, s.second) != 1) continue;
        const int index = parameters.index(s.second);
        if (index <= 0) continue;
        // The column as SQLite spells it, which blob I/O needs.
        for (const std::string& column : columnNames(db, where, table)) {
            if (sqlite3_stricmp(column.c_str(), s.first.c_str()) != 0) continue;
            // Only LOB and raw columns keep a bound blob as it is, whatever the write-time
            // conversions do to other values.
            const char* declared = nullptr;
            if (sqlite3_table_column_metadata(db, where.c_str(), table.c_str(), column.c_str(),
                                              &declared, nullptr, nullptr, nullptr,
                                              nullptr) != SQLITE_OK)
                continue;
            const Storage storage = mapDeclaredType(declared ? declared : "").storage;
            if (storage != Storage::Blob && storage != Storage::Clob) continue;
            LobTarget& t = targets[static_cast<std::size_t>(index)];
            t.known = true;
            t.clob = storage == Storage::Clob;
            t.schema = where;
            t.table = table;
            t.column = column;
        }
    }
    return targets;
}

// ---- LobRowWriter ----------------------------------------------------------------------------

LobRowWriter::~LobRowWriter() { unwatch(); }

int LobRowWriter::bind(sqlite3_stmt* stmt, int index, const LobTarget& target,
                       const LobContent* content) {
    pending_.push_back(Pending{target, content});
    return sqlite3_bind_zeroblob64(stmt, index, content->size());
}

void LobRowWriter::noteRow(void* self, int op, const char* schema, const char* table,
                           sqlite3_int64 rowid) {
    if (op == SQLITE_DELETE) return;
    static_cast<LobRowWriter*>(self)->rows_.push_back(Row{schema, table, rowid});
}

void LobRowWriter::watch() {
    if (pending_.empty()) return;
    rows_.clear();
    sqlite3_update_hook(db_, &LobRowWriter::noteRow, this);
    watching_ = true;
}

void LobRowWriter::unwatch() {
    if (!watching_) return;
    sqlite3_update_hook(db_, nullptr, nullptr);
    watching_ = false;
}

void LobRowWriter::write() {
    unwatch();
    std::string piece;
    for (const Pending& p : pending_) {
        const std::size_t size = p.content->size();
        for (const Row& row : rows_) {
            if (!sameName(p.target.schema, row.schema.c_str()) ||
                !sameName(p.target.table, row.table.c_str()))
                continue;
            sqlite3_blob* blob = nullptr;
            int rc = sqlite3_blob_open(db_, p.target.schema.c_str(), p.target.table.c_str(),
                                       p.target.column.c_str(), row.rowid, 1, &blob);
            // A row a trigger wrote, or whose column holds something else, is left as it is.
            if (rc != SQLITE_OK || static_cast<std::size_t>(sqlite3_blob_bytes(blob)) != size) {
                sqlite3_blob_close(blob);
                continue;
            }
            for (std::size_t at = 0; at < size && rc == SQLITE_OK; at += kLobChunk) {
                const std::size_t n = std::min(kLobChunk, size - at);
                piece.resize(n);
                try {
                    p.content->read(at, &piece[0], n);
                } catch (...) {
                    sqlite3_blob_close(blob);
                    throw;
                }
                rc = sqlite3_blob_write(blob, piece.data(), static_cast<int>(n),
                                        static_cast<int>(at));
            }
            sqlite3_blob_close(blob);
            if (rc != SQLITE_OK) raiseSqlite(db_, rc);
        }
    }
}

void LobRowWriter::clear() {
    unwatch();
    pending_.clear();
    rows_.clear();
}

}  // namespace detail
}  // namespace kavexdb
