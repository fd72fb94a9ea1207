#include "functions/value_too_large.h"

#include "base/ora_messages.h"
#include "functions/function_args.h"
#include "sql/internal_names.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

namespace {

// True (1) for a NULL length or one within the maximum; otherwise the error.
void valueTooLarge(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[2]) == SQLITE_NULL ||
        sqlite3_value_int64(argv[2]) <= sqlite3_value_int64(argv[3]))
        return sqlite3_result_int(ctx, 1);
    const auto* owner = static_cast<const std::string*>(sqlite3_user_data(ctx));
    resultError(ctx, ora::kValueTooLargeForColumn, *owner, textArg(argv[0]), textArg(argv[1]),
                std::to_string(sqlite3_value_int64(argv[2])),
                std::to_string(sqlite3_value_int64(argv[3])));
}

void destroyOwner(void* p) { delete static_cast<std::string*>(p); }

}  // namespace

void registerValueTooLarge(sqlite3* db, const std::string& owner) {
    const int rc = sqlite3_create_function_v2(
        db, kOraValueTooLarge, 4, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
        new std::string(owner), valueTooLarge, nullptr, nullptr, destroyOwner);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);  // SQLite called destroyOwner already
}

}  // namespace detail
}  // namespace kavexdb
