// One value bound to a statement parameter, and the view of it SQLite receives.
#ifndef KAVEXDB_STORAGE_BIND_VALUE_H
#define KAVEXDB_STORAGE_BIND_VALUE_H

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace kavexdb {
namespace detail {

class LobContent;

struct BindValue {
    enum class Kind { Unset, Null, Integer, Real, Text, Blob, Lob };
    Kind kind = Kind::Unset;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes;                 // Text (storage form) and Blob
    std::shared_ptr<LobContent> lob;   // Lob: bound as it is at execute time

    static BindValue null() { BindValue v; v.kind = Kind::Null; return v; }
};

// A bound value as SQLite receives it: bytes point into storage that stays put while the
// statement runs.
struct BindView {
    BindValue::Kind kind = BindValue::Kind::Unset;
    std::int64_t integer = 0;
    double real = 0;
    const char* data = nullptr;  // Text and Blob
    std::size_t size = 0;
    const LobContent* lob = nullptr;  // Lob
};
inline BindView viewOf(const BindValue& value) {
    BindView v;
    v.kind = value.kind;
    v.integer = value.integer;
    v.real = value.real;
    v.data = value.bytes.data();
    v.size = value.bytes.size();
    v.lob = value.lob.get();
    return v;
}

// Binds one value to an SQLite parameter. With SQLITE_STATIC nothing is copied and the value
// (or the LOB content it refers to) must outlive the statement's use of it.
int bindToSqlite(sqlite3_stmt* stmt, int index, const BindView& value,
                 sqlite3_destructor_type lifetime);
// Makes value (Integer, Real, Text or Blob; anything else is NULL) the result of an SQL
// function or a virtual table's column; SQLite copies it.
void resultToSqlite(sqlite3_context* ctx, const BindValue& value);

}  // namespace detail
}  // namespace kavexdb

#endif
