#include "plsql/number_value.h"

#include "functions/conversion_functions.h"
#include "types/decimal.h"
#include "types/number_storage.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {
namespace plsql {

Value numberValue(const occi::Number& n) {
    std::int64_t whole = 0;
    if (numberToInt64(n, whole)) return Value::integer(whole);
    Value v;
    v.type = ValueType::Number;
    if (decimalOf(n).digits.size() <= 15) {
        v.data.kind = BindValue::Kind::Real;
        v.data.real = numberToDouble(n);
    } else {
        v.data.kind = BindValue::Kind::Text;
        v.data.bytes = numberToPlainText(n);
    }
    return v;
}

occi::Number numberIn(const Value& v) {
    switch (v.data.kind) {
        case BindValue::Kind::Integer:
            return numberFromInt64(v.data.integer);
        case BindValue::Kind::Real:
            return numberFromDouble(v.data.real);
        case BindValue::Kind::Blob: {
            Decimal d;
            if (storedNumber(v.data.bytes.data(), v.data.bytes.size(), &d))
                return detail::numberOf(std::move(d));
            return numberFromText(v.data.bytes);  // ORA-01722
        }
        default:
            return numberFromText(v.data.bytes);
    }
}

std::string numberText(const Value& v) {
    if (v.data.kind == BindValue::Kind::Integer) return std::to_string(v.data.integer);
    return plainNumberText(numberIn(v));
}

int compareNumbers(const Value& a, const Value& b) {
    using K = BindValue::Kind;
    if (a.data.kind == K::Integer && b.data.kind == K::Integer)
        return a.data.integer < b.data.integer ? -1 : a.data.integer > b.data.integer ? 1 : 0;
    // Two REALs of 15 digits or fewer order as their decimals do: rounding keeps the order and
    // distinct decimals of that length give distinct doubles.
    if (a.data.kind == K::Real && b.data.kind == K::Real)
        return a.data.real < b.data.real ? -1 : a.data.real > b.data.real ? 1 : 0;
    const int c = numberKey(decimalOf(numberIn(a))).compare(numberKey(decimalOf(numberIn(b))));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool numberLiteral(const std::string& text, Value& out) {
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string::npos)
        return false;
    Decimal d;
    if (!parseDecimal(text, d)) return false;
    out = numberValue(detail::numberOf(std::move(d)));
    return true;
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
