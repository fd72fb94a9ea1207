#include "occi/output_lines_table.h"

#include <string>
#include <vector>

#include "occi/session_rows_table.h"
#include "sql/internal_names.h"

namespace kavexdb {
namespace detail {

namespace {

// Each scan takes the lines the buffer holds then; an empty line is NULL, as '' is.
std::vector<SessionRow> lines(void* source) {
    auto& buffer = *static_cast<plsql::OutputBuffer*>(source);
    std::vector<SessionRow> rows;
    std::string line;
    while (buffer.getLine(line)) {
        BindValue cell = BindValue::null();
        if (!line.empty()) {
            cell.kind = BindValue::Kind::Text;
            cell.bytes = std::move(line);
        }
        rows.push_back(SessionRow{std::move(cell)});
        line.clear();
    }
    return rows;
}

const SessionRowsTable kTable{"CREATE TABLE x(COLUMN_VALUE VARCHAR2(32767))", lines};

}  // namespace

void registerOutputLinesTable(sqlite3* db, plsql::OutputBuffer& buffer) {
    registerSessionRowsTable(db, kOutputLinesTable, kTable, &buffer);
}

}  // namespace detail
}  // namespace kavexdb
