#include "occi/bind_values_table.h"

#include "sql/internal_names.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

void AssignedBinds::keep(const plsql::HostBinds& host) {
    entries_.clear();
    for (std::size_t i = 0; i < host.names.size() && i < host.assigned.size(); ++i)
        if (host.assigned[i]) entries_.emplace_back(host.names[i], host.values[i]);
}

namespace {

struct Table {
    sqlite3_vtab base;
    const AssignedBinds* binds;
};

struct Cursor {
    sqlite3_vtab_cursor base;
    std::vector<AssignedBinds::Entry> rows;
    std::size_t row = 0;
};

int connect(sqlite3* db, void* aux, int, const char* const*, sqlite3_vtab** out, char**) {
    // VALUE has no declared type: each value describes itself.
    const int rc = sqlite3_declare_vtab(db, "CREATE TABLE x(NAME VARCHAR2(128), VALUE)");
    if (rc != SQLITE_OK) return rc;
    auto* t = new Table{};
    t->binds = static_cast<const AssignedBinds*>(aux);
    *out = &t->base;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* vtab) {
    delete reinterpret_cast<Table*>(vtab);
    return SQLITE_OK;
}

int bestIndex(sqlite3_vtab*, sqlite3_index_info* info) {
    info->estimatedCost = 10;
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

// Each scan reads the binds as they are then; a block run meanwhile does not change it.
int filter(sqlite3_vtab_cursor* cursor, int, const char*, int, sqlite3_value**) {
    auto* c = reinterpret_cast<Cursor*>(cursor);
    c->rows = reinterpret_cast<Table*>(cursor->pVtab)->binds->entries();
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
    const AssignedBinds::Entry& e = c->rows[c->row];
    if (n == 0) {
        sqlite3_result_text(ctx, e.first.data(), static_cast<int>(e.first.size()),
                            SQLITE_TRANSIENT);
        return SQLITE_OK;
    }
    // The value as SQLite holds it: a NUMBER in its stored form stays one, a date its text.
    const BindValue& v = e.second.data;
    switch (v.kind) {
        case BindValue::Kind::Integer:
            sqlite3_result_int64(ctx, v.integer);
            break;
        case BindValue::Kind::Real:
            sqlite3_result_double(ctx, v.real);
            break;
        case BindValue::Kind::Text:
            if (v.bytes.empty())
                sqlite3_result_null(ctx);  // '' is NULL
            else
                sqlite3_result_text(ctx, v.bytes.data(), static_cast<int>(v.bytes.size()),
                                    SQLITE_TRANSIENT);
            break;
        case BindValue::Kind::Blob:
            sqlite3_result_blob(ctx, v.bytes.data(), static_cast<int>(v.bytes.size()),
                                SQLITE_TRANSIENT);
            break;
        default:
            sqlite3_result_null(ctx);
    }
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

void registerBindValuesTable(sqlite3* db, AssignedBinds& binds) {
    const int rc = sqlite3_create_module(db, kBindValuesTable, &kModule, &binds);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace detail
}  // namespace kavexdb
