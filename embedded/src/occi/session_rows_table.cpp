#include "occi/session_rows_table.h"

#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

namespace {

// What the module is given: the table's kind and the session's source of its rows.
struct Aux {
    const SessionRowsTable* table;
    void* source;
};

struct Table {
    sqlite3_vtab base;
    Aux aux;
};

struct Cursor {
    sqlite3_vtab_cursor base;
    std::vector<SessionRow> rows;
    std::size_t row = 0;
};

int connect(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char**) {
    const Aux& a = *static_cast<const Aux*>(aux);
    const int rc = sqlite3_declare_vtab(db, a.table->declaration);
    if (rc != SQLITE_OK) return rc;
    auto* t = new Table{};
    t->aux = a;
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

int filter(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**) {
    auto* c = reinterpret_cast<Cursor*>(cursor);
    const Aux& a = reinterpret_cast<Table*>(cursor->pVtab)->aux;
    c->rows = a.table->rows(a.source);
    c->row = 0;
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* cursor) {
    ++reinterpret_cast<Cursor*>(cursor)->row;
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor* cursor) {
    const auto* c = reinterpret_cast<Cursor*>(cursor);
    return c->row >= c->rows.size();
}

int column(sqlite3_vtab_cursor* cursor, sqlite3_context* ctx, int n) {
    const auto* c = reinterpret_cast<Cursor*>(cursor);
    const SessionRow& row = c->rows[c->row];
    if (n < 0 || static_cast<std::size_t>(n) >= row.size())
        sqlite3_result_null(ctx);
    else
        resultToSqlite(ctx, row[static_cast<std::size_t>(n)]);
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

void destroyAux(void* aux) { delete static_cast<Aux*>(aux); }

}  // namespace

void registerSessionRowsTable(sqlite3* db, const char* name, const SessionRowsTable& table,
                              void* source) {
    auto* aux = new Aux{&table, source};
    // SQLite frees aux with the module, also when registering fails.
    const int rc = sqlite3_create_module_v2(db, name, &kModule, aux, destroyAux);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
