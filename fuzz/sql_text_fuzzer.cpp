// libFuzzer target: SQL text as a careless or hostile host might send it. Each input is one or
// more statements (split at NUL bytes) run through the flat exports on one session of a fresh
// in-memory database, with a few rows of every query fetched and read as text. Errors are the
// expected answer to most inputs; a crash, a sanitizer report or a hang is a fault. Built with
// -fsanitize=fuzzer,address,undefined (the fuzz preset); seeded from the statements of the SQL
// corpus (tests/sql) and guided by a dictionary of Oracle's keywords (oracle_sql.dict).
#include <cstddef>
#include <cstdint>
#include <string>

#include "kavex_oracleociw.h"

namespace {

// Runs one statement and reads up to three rows of what it returns.
void runStatement(int session, const std::string& sql) {
    if (ExecuteQuery(session, sql.c_str(), 0) < 0) return;
    const int columns = GetColumnsCount(session);
    for (int row = 0; row < 3 && columns > 0 && NextRow(session) == 1; ++row) {
        KavexPointerRecord value;
        for (int column = 0; column < columns; ++column) GetString(session, column, &value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;  // statement size has its own tests
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int session = OpenConnection("file:/sql_fuzz?vfs=memdb", "scott", "tiger");
    if (session < 0) return 0;
    std::size_t start = 0;
    for (int statements = 0; start <= text.size() && statements < 8; ++statements) {
        std::size_t end = text.find('\0', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) runStatement(session, text.substr(start, end - start));
        start = end + 1;
    }
    CloseConnection(session);
    return 0;
}
