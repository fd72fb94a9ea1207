// A PL/SQL value: what a variable holds and what an expression gives. It is kept as SQLite
// holds it, so that it goes into SQL as a bind unchanged, beside the Oracle type it has.
#ifndef KAVEXDB_PLSQL_VALUE_H
#define KAVEXDB_PLSQL_VALUE_H

#include <cstdint>
#include <string>

#include "storage/bind_value.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// The type of a value. Unknown is a NULL literal's, which takes the type of where it goes.
enum class ValueType { Unknown, Number, BinaryDouble, Text, Date, Timestamp, Boolean, Clob, Raw };

struct Value {
    ValueType type = ValueType::Unknown;
    BindValue data = BindValue::null();

    bool isNull() const {
        return data.kind == BindValue::Kind::Null || data.kind == BindValue::Kind::Unset;
    }
    // A Boolean's truth: true and false; NULL is neither.
    bool isTrue() const { return type == ValueType::Boolean && !isNull() && data.integer != 0; }
    bool isFalse() const { return type == ValueType::Boolean && !isNull() && data.integer == 0; }

    static Value null(ValueType type = ValueType::Unknown) {
        Value v;
        v.type = type;
        return v;
    }
    static Value integer(std::int64_t n) {
        Value v;
        v.type = ValueType::Number;
        v.data.kind = BindValue::Kind::Integer;
        v.data.integer = n;
        return v;
    }
    static Value text(std::string s) {
        Value v;
        v.type = ValueType::Text;
        v.data.kind = BindValue::Kind::Text;
        v.data.bytes = std::move(s);
        return v;
    }
    static Value boolean(bool b) {
        Value v = integer(b ? 1 : 0);
        v.type = ValueType::Boolean;
        return v;
    }
};

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
