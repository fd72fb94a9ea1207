// Bound values handed to SQLite (storage/bind_value.h).
#include "storage/bind_value.h"

#include "storage/lob_content.h"

namespace kavexdb {
namespace detail {

int bindToSqlite(sqlite3_stmt* stmt, int index, const BindView& value,
                 sqlite3_destructor_type lifetime) {
    switch (value.kind) {
    case BindValue::Kind::Unset:
    case BindValue::Kind::Null:
        return sqlite3_bind_null(stmt, index);
    case BindValue::Kind::Integer:
        return sqlite3_bind_int64(stmt, index, value.integer);
    case BindValue::Kind::Real:
        return sqlite3_bind_double(stmt, index, value.real);
    case BindValue::Kind::Text:
        return sqlite3_bind_text64(stmt, index, value.data, value.size, lifetime, SQLITE_UTF8);
    case BindValue::Kind::Blob:
        return sqlite3_bind_blob64(stmt, index, value.data, value.size, lifetime);
    case BindValue::Kind::Lob:
        if (!value.lob) return sqlite3_bind_null(stmt, index);
        if (!value.lob->inMemory()) {
            // SQLite takes the copy over: it is built once, then freed with the binding.
            const std::size_t size = value.lob->size();
            char* copy = static_cast<char*>(sqlite3_malloc64(size ? size : 1));
            if (!copy) return SQLITE_NOMEM;
            try {
                value.lob->read(0, copy, size);
            } catch (...) {
                sqlite3_free(copy);
                throw;
            }
            if (value.lob->isClob)
                return sqlite3_bind_text64(stmt, index, copy, size, sqlite3_free, SQLITE_UTF8);
            return sqlite3_bind_blob64(stmt, index, copy, size, sqlite3_free);
        }
        if (value.lob->isClob)
            return sqlite3_bind_text64(stmt, index, value.lob->bytes.data(),
                                       value.lob->bytes.size(), lifetime, SQLITE_UTF8);
        return sqlite3_bind_blob64(stmt, index, value.lob->bytes.data(), value.lob->bytes.size(),
                                   lifetime);
    }
    return SQLITE_MISUSE;
}

void resultToSqlite(sqlite3_context* ctx, const BindValue& value) {
    switch (value.kind) {
        case BindValue::Kind::Integer:
            sqlite3_result_int64(ctx, value.integer);
            break;
        case BindValue::Kind::Real:
            sqlite3_result_double(ctx, value.real);
            break;
        case BindValue::Kind::Text:
            sqlite3_result_text(ctx, value.bytes.data(), static_cast<int>(value.bytes.size()),
                                SQLITE_TRANSIENT);
            break;
        case BindValue::Kind::Blob:
            sqlite3_result_blob(ctx, value.bytes.data(), static_cast<int>(value.bytes.size()),
                                SQLITE_TRANSIENT);
            break;
        default:
            sqlite3_result_null(ctx);
    }
}

}  // namespace detail
}  // namespace kavexdb
