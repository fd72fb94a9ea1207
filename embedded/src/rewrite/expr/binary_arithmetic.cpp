#include "rewrite/expr/binary_arithmetic.h"

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "sql/column_scope.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/token_editor.h"
#include "types/declared_type.h"

namespace kavexdb {
namespace detail {

namespace {

// Binary types in Oracle's order of precedence.
enum class Binary { None, Float, Double };

constexpr int kBinaryFloat = 100, kBinaryDouble = 101;  // as describe reports them

Binary ofDeclared(const std::string& decl) {
    const int type = mapDeclaredType(decl).dataType;
    return type == kBinaryDouble ? Binary::Double : type == kBinaryFloat ? Binary::Float : Binary::None;
}

struct Operation {
    const char* number;  // the NUMBER operation the operators pass writes
    const char* binaryDouble;
    const char* binaryFloat;
};

const Operation kOperations[] = {
    {kOraAdd, kOraBinaryAdd, kOraFloatAdd},
    {kOraSub, kOraBinarySub, kOraFloatSub},
    {kOraMul, kOraBinaryMul, kOraFloatMul},
    {kOraDiv, kOraBinaryDiv, kOraFloatDiv},
};

class Pass {
  public:
    Pass(TokenEditor& e, ColumnScope& columns) : e_(e), columns_(columns) {}

    bool run() {
        bool changed = false;
        for (std::size_t k = e_.next(0); k < e_.size(); k = e_.next(k + 1)) {
            const Operation* op = operationAt(k);
            if (!op || !e_.punct(e_.next(k + 1), '(') || e_.punct(e_.previous(k), '.')) continue;
            const Binary b = ofArguments(e_.next(k + 1));
            if (b == Binary::None) continue;
            e_[k].text = b == Binary::Double ? op->binaryDouble : op->binaryFloat;
            changed = true;
        }
        return changed;
    }

  private:
    const Operation* operationAt(std::size_t k) const {
        if (e_.at(k).kind != Token::Kind::Word) return nullptr;
        for (const Operation& op : kOperations)
            if (e_.word(k, op.number)) return &op;
        return nullptr;
    }

    // The binary type of a call's arguments together: the highest of them.
    Binary ofArguments(std::size_t open) {
        Binary b = Binary::None;
        for (const auto& a : callArguments(e_, open)) {
            const std::size_t first = e_.next(a.first), last = e_.previous(a.second);
            if (first < a.second && last >= first) b = std::max(b, of(first, last));
        }
        return b;
    }

    Binary of(std::size_t first, std::size_t last) {
        if (first >= e_.size() || last >= e_.size() || last < first) return Binary::None;
        const Token& t = e_.at(first);
        if (first == last) {
            if (!e_.name(first)) return Binary::None;
            std::vector<std::string> decls;
            if (!columns_.declaredTypes(asciiUpper(identifierName(t)), decls)) return Binary::None;
            return agreed(decls);
        }
        if (e_.punct(first, '-') || e_.punct(first, '+')) return of(e_.next(first + 1), last);
        if (e_.punct(first, '(') && e_.pastParens(first) == last + 1)
            return of(e_.next(first + 1), e_.previous(last));
        const std::size_t second = e_.next(first + 1);
        if (e_.name(first) && e_.punct(second, '.') && e_.next(second + 1) == last && e_.name(last)) {
            std::vector<std::string> decls;
            columns_.declaredTypes(asciiUpper(identifierName(t)),
                                   asciiUpper(identifierName(e_.at(last))), decls);
            return agreed(decls);
        }
        if (!e_.name(first) || !e_.punct(second, '(') || e_.pastParens(second) != last + 1)
            return Binary::None;
        const std::string name = asciiUpper(t.text);
        if (name == "TO_BINARY_DOUBLE") return Binary::Double;
        if (name == "TO_BINARY_FLOAT") return Binary::Float;
        for (const Operation& op : kOperations) {
            if (name == op.binaryDouble) return Binary::Double;
            if (name == op.binaryFloat) return Binary::Float;
        }
        for (const Operation& op : kOperations)
            if (name == op.number) return ofArguments(second);
        if (name == kOraCast || name == kOraCastOr) {  // (value, 'target type', ...)
            const auto items = callArguments(e_, second);
            if (items.size() < 2) return Binary::None;
            const std::size_t type = e_.next(items[1].first);
            if (type >= e_.size() || e_.at(type).kind != Token::Kind::String) return Binary::None;
            return ofDeclared(literalContent(e_.at(type)));
        }
        return Binary::None;
    }

    // The type all sources of a column agree on; None when they do not.
    static Binary agreed(const std::vector<std::string>& decls) {
        if (decls.empty()) return Binary::None;
        const Binary b = ofDeclared(decls[0]);
        for (const std::string& d : decls)
            if (ofDeclared(d) != b) return Binary::None;
        return b;
    }

    TokenEditor& e_;
    ColumnScope& columns_;
};

// Whether sql has an operation this pass may change: only the operators pass writes them,
// spelled as it spells them.
bool hasOperations(const std::string& sql) {
    for (const Operation& op : kOperations)
        if (sql.find(op.number) != std::string::npos) return true;
    return false;
}

}  // namespace

bool rewriteBinaryArithmetic(TokenEditor& e, ColumnScope& columns) {
    return Pass(e, columns).run();
}

std::string binaryArithmetic(sqlite3* db, const std::string& sql) {
    if (!hasOperations(sql)) return sql;
    TokenEditor e(lexSql(sql));
    ColumnScope columns(db, e, true);
    return rewriteBinaryArithmetic(e, columns) ? e.text() : sql;
}

}  // namespace detail
}  // namespace kavexdb
