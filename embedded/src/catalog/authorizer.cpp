#include "catalog/authorizer.h"

#include <strings.h>

#include "base/errors.h"
#include "base/refusal.h"
#include "catalog/accounts.h"

namespace kavexdb {
namespace detail {

namespace {

bool named(const char* name, const char* wanted) { return name && strcasecmp(name, wanted) == 0; }

// Pragmas that only read: the ones behind pragma_table_info(...) and its siblings, and those
// SQLite's own modules (full-text search, ...) query while they work. The second group only
// without an argument, which would set the value.
bool readOnlyPragma(const char* name, const char* argument) {
    // quick_check(table) is how ALTER TABLE ADD checks the rows against a new column's CHECK.
    for (const char* p : {"table_info", "table_xinfo", "index_list", "index_info", "index_xinfo",
                          "foreign_key_list", "quick_check"})
        if (named(name, p)) return true;
    if (argument) return false;
    for (const char* p :
         {"page_size", "data_version", "schema_version", "user_version", "page_count", "encoding"})
        if (named(name, p)) return true;
    return false;
}

// Functions that reach past the database: loading code, or (fts3_tokenizer) handing out and
// taking in raw pointers.
bool refusedFunction(const char* name) {
    return named(name, "load_extension") || named(name, "fts3_tokenizer");
}

}  // namespace

Authorizer::Authorizer(sqlite3* db) : db_(db) { sqlite3_set_authorizer(db_, &check, this); }

Authorizer::~Authorizer() { sqlite3_set_authorizer(db_, nullptr, nullptr); }

int Authorizer::check(void* self, int action, const char* a1, const char* a2, const char*,
                      const char*) {
    const int code = static_cast<const Authorizer*>(self)->decide(action, a1, a2);
    if (code == 0) return SQLITE_OK;
    noteRefusal(code);
    return SQLITE_DENY;
}

// 0 when allowed, otherwise the ORA code of the refusal.
int Authorizer::decide(int action, const char* a1, const char* a2) const {
    if (trusted_ > 0) return 0;
    // Any action naming the accounts table (read, write, index, trigger, drop, alter, a table
    // of that name in another schema) acts as if it did not exist.
    if (named(a1, kAccountsTableName) || named(a2, kAccountsTableName)) return 942;
    switch (action) {
        case SQLITE_ATTACH:
        case SQLITE_DETACH:
            return 1031;
        case SQLITE_PRAGMA:
            return userText_ || !readOnlyPragma(a1, a2) ? 1031 : 0;
        case SQLITE_FUNCTION:
            return refusedFunction(a2) ? 1031 : 0;
        default:
            return 0;
    }
}


}  // namespace detail
}  // namespace kavexdb
