#include "occi/output_lines_table.h"

#include <string>
#include <vector>

#include "sql/internal_names.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

namespace {

struct Table {
    sqlite3_vtab base;
    plsql::OutputBuffer* buffer;
};

struct Cursor {
    sqlite3_vtab_cursor base;
    std::vector<std::string> lines;
    std::size_t row = 0;
};

int connect(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char**) {
    const int rc = sqlite3_declare_vtab(db, "CREATE TABLE x(COLUMN_VALUE VARCHAR2(32767))");
    if (rc != SQLITE_OK) return rc;
    auto* t = new Table{};
    t->buffer = static_cast<plsql::OutputBuffer*>(aux);
    *out = &t->base;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* vtab) {
    delete reinterpret_cast<Table*>(vtab);
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
    info->estimatedCost = 1000;
    return SQLITE_OK;
}

int open(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    auto* c = new Cursor{};
    *out = &c->base;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor* cursor) {
    delete reinterpret_cast<Cursor*>(cursor);
    return SQLITE_OK;
}

// Each scan takes the lines the buffer holds then.
int filter(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**) {
    auto* c = reinterpret_cast<Cursor*>(cursor);
    auto* t = reinterpret_cast<Table*>(cursor->pVtab);
    c->lines.clear();
    c->row = 0;
    std::string line;
    while (t->buffer->getLine(line)) c->lines.push_back(std::move(line));
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* cursor) {
    ++reinterpret_cast<Cursor*>(cursor)->row;
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor* cursor) {
    const auto* c = reinterpret_cast<Cursor*>(cursor);
    return c->row >= c->lines.size();
}

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* ctx, int) {
    const auto* c = reinterpret_cast<Cursor*>(cursor);
    const std::string& line = c->lines[c->row];
    if (line.empty())
        sqlite3_result_null(ctx);  // an empty line is NULL, as '' is
    else
        sqlite3_result_text(ctx, line.data(), static_cast<int>(line.size()), SQLITE_TRANSIENT);
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* out) {
    *out = static_cast<sqlite3_int64>(reinterpret_cast<Cursor*>(cursor)->row) + 1;
    return SQLITE_OK;
}

sqlite3_module makeModule() {
    sqlite3_module m{};
    m.iVersion = 0;
    m.xCreate = nullptr;  // eponymous only: it exists in every session without CREATE
    m.xConnect = connect;
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnect;
    m.xDestroy = disconnect;
    m.xOpen = open;
    m.xClose = close;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    return m;
}

const sqlite3_module kModule = makeModule();

}  // namespace

void registerOutputLinesTable(sqlite3* db, plsql::OutputBuffer& buffer) {
    const int rc = sqlite3_create_module(db, kOutputLinesTable, &kModule, &buffer);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
