#include "occi/bind_values_table.h"

#include "occi/session_rows_table.h"
#include "sql/internal_names.h"

namespace kavexdb {
namespace detail {

void AssignedBinds::keep(const plsql::HostBinds& host) {
    entries_.clear();
    for (std::size_t i = 0; i < host.names.size() && i < host.assigned.size(); ++i)
        if (host.assigned[i]) entries_.emplace_back(host.names[i], host.values[i]);
}

namespace {

// The binds as they are when a scan starts: NAME, and VALUE as SQLite holds it (a NUMBER in its
// stored form stays one, a date its text; '' is NULL).
std::vector<SessionRow> assigned(void* source) {
    std::vector<SessionRow> rows;
    for (const AssignedBinds::Entry& e : static_cast<const AssignedBinds*>(source)->entries()) {
        BindValue name;
        name.kind = BindValue::Kind::Text;
        name.bytes = e.first;
        BindValue value = e.second.data;
        if (value.kind == BindValue::Kind::Text && value.bytes.empty()) value = BindValue::null();
        rows.push_back(SessionRow{std::move(name), std::move(value)});
    }
    return rows;
}

// VALUE has no declared type: each value describes itself.
const SessionRowsTable kTable{"CREATE TABLE x(NAME VARCHAR2(128), VALUE)", assigned};

}  // namespace

void registerBindValuesTable(sqlite3* db, AssignedBinds& binds) {
    registerSessionRowsTable(db, kBindValuesTable, kTable, &binds);
}

}  // namespace detail
}  // namespace kavexdb
