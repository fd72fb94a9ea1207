// The interpreter's expressions: the native evaluator for the simple forms, the SQL text of the
// others with the PL/SQL names they hold turned into binds, and the conversions a value goes
// through when it is assigned.
#include <climits>
#include <cmath>
#include <initializer_list>
#include <set>

#include "base/ora_messages.h"
#include "base/utf8.h"
#include "functions/sql_values.h"
#include "plsql/compile_error.h"
#include "plsql/interpreter.h"
#include "plsql/number_value.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "sql/token_editor.h"
#include "types/decimal.h"
#include "types/number_arithmetic.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {
namespace plsql {

// One node of an expression the interpreter evaluates itself.
struct Interpreter::Native {
    enum class Op {
        Literal,
        Variable,
        Field,
        Not,
        And,
        Or,
        Negate,
        Add,
        Subtract,
        Multiply,
        Divide,
        Modulo,  // a MOD b, PL/SQL's operator for SQL's MOD(a, b)
        Power,
        Compare,
        IsNull,
        IsNotNull,
        Element,  // name(index)[.field]
        Method,   // name.field[(index)]: COUNT, FIRST, NEXT(k), ...
        Concat,   // a || b
        Call      // a function the block declares: name(args)
    };
    Op op = Op::Literal;
    Value literal;
    std::string name, field, compare;
    // Compare: which orders of the operands make it true (bit 0 below, 1 equal, 2 above).
    unsigned char holdsFor = 0;
    std::unique_ptr<Native> a, b;
    bool hasIndex = false;
    Expr index;
    std::vector<Expr> args;  // Call
    std::vector<std::string> argumentNames;
    // The variable found last time (Variable, Field, Element, Method), for frames as they were
    // at foundIn.
    mutable Variable* found = nullptr;
    mutable std::uint64_t foundIn = 0;
    mutable signed char dotted = -1;  // whether name is PKG.NAME (-1: not known yet)
};

Interpreter::Interpreter(SqlPort& port, const Source& source, const HostBinds& host)
    : port_(&port), src_(source), host_(host) {}

Interpreter::~Interpreter() = default;

namespace {

using NativePtr = std::unique_ptr<Interpreter::Native>;

bool isName(const SourceToken& t) {
    return t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent;
}

bool isComparison(const std::string& s) {
    return s == "=" || s == "<>" || s == "!=" || s == "^=" || s == "~=" || s == "<" || s == ">" ||
           s == "<=" || s == ">=";
}

}  // namespace

// ---- the native evaluator --------------------------------------------------------------------

namespace {

// Reads an expression's tokens into Native nodes; gives up (null) at anything it does not know,
// which then goes to SQL whole.
template <class Lookup, class FunctionLookup>
class NativeParser {
  public:
    using Native = Interpreter::Native;
    NativeParser(const Source& src, Range r, Lookup isVariable, FunctionLookup isFunction)
        : src_(src), i_(r.first), last_(r.last), isVariable_(isVariable), isFunction_(isFunction) {}

    NativePtr parse() {
        NativePtr n = disjunction();
        if (!n || i_ != last_) return nullptr;
        return n;
    }

  private:
    const SourceToken& peek(std::size_t k = 0) const {
        static const SourceToken none;
        return i_ + k < last_ ? src_.at(i_ + k) : none;
    }
    static NativePtr node(Native::Op op, NativePtr a = nullptr, NativePtr b = nullptr) {
        auto n = std::make_unique<Native>();
        n->op = op;
        n->a = std::move(a);
        n->b = std::move(b);
        return n;
    }
    // operand (word operand)*, left to right: OR over AND, AND over NOT.
    NativePtr chain(const char* word, Native::Op op, NativePtr (NativeParser::*operand)()) {
        NativePtr a = (this->*operand)();
        while (a && peek().isWord(word)) {
            ++i_;
            NativePtr b = (this->*operand)();
            if (!b) return nullptr;
            a = node(op, std::move(a), std::move(b));
        }
        return a;
    }
    NativePtr disjunction() { return chain("OR", Native::Op::Or, &NativeParser::conjunction); }
    NativePtr conjunction() { return chain("AND", Native::Op::And, &NativeParser::negation); }
    // NOT, signs and parentheses nest; past kMostDepth the expression is SQL's, which bounds it.
    static constexpr int kMostDepth = 64;
    struct Deeper {
        explicit Deeper(int& depth) : depth_(depth) { ++depth_; }
        ~Deeper() { --depth_; }
        bool tooDeep() const { return depth_ > kMostDepth; }
        int& depth_;
    };
    NativePtr negation() {
        if (peek().isWord("NOT")) {
            const Deeper deeper(depth_);
            if (deeper.tooDeep()) return nullptr;
            ++i_;
            NativePtr a = negation();
            return a ? node(Native::Op::Not, std::move(a)) : nullptr;
        }
        return comparison();
    }
    // = <> != ^= ~= < > <= >= (the lexer gives two-character ones as two symbols)
    std::string comparisonSymbol() {
        const SourceToken& t = peek();
        if (t.kind != Token::Kind::Punct) return "";
        std::string s = t.text;
        const SourceToken& next = peek(1);
        if (next.kind == Token::Kind::Punct && next.begin == t.end && isComparison(s + next.text)) {
            i_ += 2;
            return s + next.text;
        }
        if (!isComparison(s) || s == "!" || s == "^" || s == "~") return "";
        ++i_;
        return s;
    }
    NativePtr comparison() {
        NativePtr a = additive();
        if (!a) return nullptr;
        if (peek().isWord("IS")) {
            ++i_;
            const bool negated = peek().isWord("NOT");
            if (negated) ++i_;
            if (!peek().isWord("NULL")) return nullptr;
            ++i_;
            return node(negated ? Native::Op::IsNotNull : Native::Op::IsNull, std::move(a));
        }
        const std::size_t save = i_;
        const std::string op = comparisonSymbol();
        if (op.empty()) {
            i_ = save;
            return a;
        }
        NativePtr b = additive();
        if (!b) return nullptr;
        NativePtr n = node(Native::Op::Compare, std::move(a), std::move(b));
        n->compare = op == "!=" || op == "^=" || op == "~=" ? "<>" : op;
        const std::string& c = n->compare;
        n->holdsFor = c == "="    ? 2
                      : c == "<>" ? 5
                      : c == "<"  ? 1
                      : c == ">"  ? 4
                      : c == "<=" ? 3
                                  : 6;
        return n;
    }
    bool concatenation() const {
        return peek().isSymbol("|") && peek(1).isSymbol("|") && peek(1).begin == peek().end;
    }
    NativePtr additive() {
        NativePtr a = multiplicative();
        while (a && (peek().isSymbol("+") || peek().isSymbol("-") || concatenation())) {
            const Native::Op op = concatenation()        ? Native::Op::Concat
                                  : peek().isSymbol("+") ? Native::Op::Add
                                                         : Native::Op::Subtract;
            if (op == Native::Op::Concat) ++i_;
            ++i_;
            NativePtr b = multiplicative();
            if (!b) return nullptr;
            a = node(op, std::move(a), std::move(b));
        }
        return a;
    }
    NativePtr multiplicative() {
        NativePtr a = unary();
        while (a && ((peek().isSymbol("*") && !peek(1).isSymbol("*")) || peek().isSymbol("/") ||
                     peek().isWord("MOD"))) {
            const Native::Op op = peek().isWord("MOD")    ? Native::Op::Modulo
                                  : peek().isSymbol("/") ? Native::Op::Divide
                                                         : Native::Op::Multiply;
            ++i_;
            NativePtr b = unary();
            if (!b) return nullptr;
            a = node(op, std::move(a), std::move(b));
        }
        return a;
    }
    NativePtr unary() {
        const Deeper deeper(depth_);
        if (deeper.tooDeep()) return nullptr;
        if (peek().isSymbol("-")) {
            ++i_;
            NativePtr a = unary();
            return a ? node(Native::Op::Negate, std::move(a)) : nullptr;
        }
        if (peek().isSymbol("+")) ++i_;
        return power();
    }
    // a ** b binds tighter than the signs: -2 ** 2 is -4.
    NativePtr power() {
        NativePtr a = primary();
        if (a && peek().isSymbol("*") && peek(1).isSymbol("*") && peek(1).begin == peek().end) {
            i_ += 2;
            NativePtr b = unary();
            if (!b) return nullptr;
            return node(Native::Op::Power, std::move(a), std::move(b));
        }
        return a;
    }
    NativePtr primary() {
        const SourceToken& t = peek();
        if (i_ >= last_) return nullptr;
        if (t.isSymbol("(")) {
            const Deeper deeper(depth_);
            if (deeper.tooDeep()) return nullptr;
            ++i_;
            NativePtr a = disjunction();
            if (!a || !peek().isSymbol(")")) return nullptr;
            ++i_;
            return a;
        }
        NativePtr n = node(Native::Op::Literal);
        if (t.kind == Token::Kind::Number) {
            // Integers that fit 64 bits, and other NUMBER literals exactly; BINARY_FLOAT and
            // BINARY_DOUBLE ones (1.5f, 2d) are SQL's.
            if (t.text.find_first_not_of("0123456789") == std::string::npos && t.text.size() <= 18)
                n->literal = Value::integer(std::stoll(t.text));
            else if (!numberLiteral(t.text, n->literal))
                return nullptr;
        } else if (t.kind == Token::Kind::String) {
            if (t.text.size() < 2 || t.text[0] != '\'') return nullptr;  // N'..' and the like
            const std::string content = literalContent(Token{t.kind, t.text});
            // '' is NULL in Oracle.
            n->literal = content.empty() ? Value::null(ValueType::Text) : Value::text(content);
        } else if (t.isWord("NULL")) {
            n->literal = Value::null();
        } else if (t.isWord("TRUE") || t.isWord("FALSE")) {
            if (isVariable_(t.name())) return variable(t.name(), 1);
            n->literal = Value::boolean(t.isWord("TRUE"));
        } else if (t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent) {
            const bool local = isVariable_(t.name());
            if (!local && peek(1).isSymbol(".") && isName(peek(2))) {
                // PKG.MEMBER: a package's public function or variable.
                const std::string dotted = t.name() + "." + peek(2).name();
                if (isFunction_(dotted)) return call(dotted, 3);
                if (isVariable_(dotted)) return variable(dotted, 3);
                return nullptr;
            }
            if (!local && isFunction_(t.name())) return call(t.name(), 1);
            return variable(t.name(), 1);
        } else {
            return nullptr;
        }
        ++i_;
        return n;
    }
    // The token after the ")" that closes the "(" at i_; last_ when there is none.
    std::size_t closing() const {
        int depth = 0;
        for (std::size_t k = i_; k < last_; ++k) {
            if (src_.at(k).isSymbol("(")) ++depth;
            if (src_.at(k).isSymbol(")") && --depth == 0) return k;
        }
        return last_;
    }
    // "(" index ")" at i_: the index as an expression of its own.
    bool subscript(Native& n) {
        const std::size_t close = closing();
        if (close >= last_ || close == i_ + 1) return false;
        n.hasIndex = true;
        n.index = Expr{Range{i_ + 1, close}, Position{peek(1).line, peek(1).column}};
        i_ = close + 1;
        return true;
    }
    // name [(argument, name => argument, ...)]: a call of a function the block declares.
    NativePtr call(const std::string& name, std::size_t tokens) {
        NativePtr n = node(Native::Op::Call);
        n->name = name;
        i_ += tokens;
        if (!peek().isSymbol("(")) return n;
        const std::size_t close = closing();
        if (close >= last_) return nullptr;
        std::size_t start = i_ + 1;
        int depth = 0;
        for (std::size_t k = i_ + 1; k <= close; ++k) {
            const SourceToken& x = src_.at(k);
            if (x.isSymbol("(")) ++depth;
            if (x.isSymbol(")") && k < close) --depth;
            if ((depth == 0 && x.isSymbol(",")) || k == close) {
                if (k == start) {
                    if (k == close && n->args.empty()) break;  // f()
                    return nullptr;
                }
                std::string named;
                if (k > start + 2 && isName(src_.at(start)) && src_.at(start + 1).isSymbol("=>")) {
                    named = src_.at(start).name();
                    start += 2;
                }
                n->argumentNames.push_back(named);
                n->args.push_back(
                    Expr{Range{start, k}, Position{src_.at(start).line, src_.at(start).column}});
                start = k + 1;
            }
        }
        i_ = close + 1;
        if (peek().isSymbol(".") && isName(peek(1))) {  // f(x).field: of a record it returns
            n->field = peek(1).name();
            i_ += 2;
        }
        return n;
    }
    NativePtr variable(const std::string& name, std::size_t tokens) {
        const auto* var = isVariable_(name);
        if (!var) return nullptr;
        if (peek(tokens).isSymbol("%")) return nullptr;
        NativePtr n = node(Native::Op::Variable);
        n->name = name;
        i_ += tokens;
        if (var->collection) {
            if (peek().isSymbol("(")) {
                n->op = Native::Op::Element;
                if (!subscript(*n)) return nullptr;
                if (peek().isSymbol(".") && isName(peek(1))) {
                    n->field = peek(1).name();
                    i_ += 2;
                }
                return n;
            }
            if (peek().isSymbol(".") && isName(peek(1))) {
                n->op = Native::Op::Method;
                n->field = peek(1).name();
                i_ += 2;
                if (peek().isSymbol("(") && !subscript(*n)) return nullptr;
                return n;
            }
            return nullptr;  // a whole collection is no value
        }
        if (peek().isSymbol("(")) return nullptr;
        if (peek().isSymbol(".")) {
            const SourceToken& f = peek(1);
            if (f.kind != Token::Kind::Word && f.kind != Token::Kind::QuotedIdent) return nullptr;
            n->op = Native::Op::Field;
            n->field = f.name();
            i_ += 2;
        }
        return n;
    }

    const Source& src_;
    std::size_t i_, last_;
    Lookup isVariable_;
    FunctionLookup isFunction_;
    int depth_ = 0;
};

}  // namespace

bool Interpreter::nativeEvaluate(const Expr& e, Value& out) {
    auto found = natives_.find(&e);
    if (found == natives_.end()) {
        auto isVariable = [this](const std::string& name) { return findVariable(name); };
        auto isFunction = [this](const std::string& name) { return callableFunction(name); };
        NativeParser<decltype(isVariable), decltype(isFunction)> parser(src_, e.range, isVariable,
                                                                        isFunction);
        found = natives_.emplace(&e, parser.parse()).first;
    }
    if (!found->second) return false;
    out = evalNative(*found->second);
    return true;
}

namespace {

Value truth(bool known, bool value) {
    return known ? Value::boolean(value) : Value::null(ValueType::Boolean);
}

void requireBoolean(const Value& v, Position at) {
    if (v.type != ValueType::Boolean && !(v.isNull() && v.type == ValueType::Unknown))
        compileError(at, ora::kPlsWrongType);
}

}  // namespace

Interpreter::Variable* Interpreter::nativeVariable(const Native& n) {
    // As a bind's (bindValue): the same frames give the same variable; a package's is looked
    // up each time, as the package may have been made anew.
    if (n.dotted < 0) n.dotted = n.name.find('.') != std::string::npos;
    if (n.foundIn != framesVersion_ || !n.found || n.dotted) {
        n.found = findVariable(n.name);
        n.foundIn = framesVersion_;
    }
    return n.found;
}

Value Interpreter::evalNative(const Native& n) {
    using Op = Native::Op;
    switch (n.op) {
        case Op::Literal:
            return n.literal;
        case Op::Variable:
        case Op::Field: {
            Variable* v = nativeVariable(n);
            if (!v) throw PlError::numbered(ora::kNumericOrValueError.code, at_);
            if (n.op == Op::Variable) return v->value;
            for (const auto& f : v->fields)
                if (f.first == n.field) return f.second;
            throw PlError::numbered(ora::kNumericOrValueError.code, at_);
        }
        case Op::Concat: {
            const Value a = evalNative(*n.a), b = evalNative(*n.b);
            std::string text = textOf(a) + textOf(b);
            return text.empty() ? Value::null(ValueType::Text) : Value::text(std::move(text));
        }
        case Op::Call: {
            // The block's own function, else a stored one, called from this interpreter: it
            // may change data, as a function called from PL/SQL may.
            const Position at = at_;
            Value r;
            std::string member;
            if (n.name.find('.') != std::string::npos) {
                PackageInstance* p = packageOf(n.name, member);
                if (!p) compileError(at_, ora::kPlsNotDeclared, n.name);
                r = callPackaged(*p, member, n.args, n.argumentNames, at, true);
            } else if (findSubprogram(n.name)) {
                std::vector<const Unit*> functions;
                for (const Unit* u : findSubprograms(n.name))
                    if (u->kind == Unit::Kind::Function) functions.push_back(u);
                if (functions.empty()) compileError(at_, ora::kPlsNoSuchFunction, n.name);
                const Unit* u = chooseOverload(functions, n.args, n.argumentNames, at, n.name);
                r = callUnit(*u, nullptr, n.args, n.argumentNames, at);
            } else {
                LoadedUnit* stored = loadUnit(n.name);
                if (!stored) compileError(at_, ora::kPlsNotDeclared, n.name);
                r = callStored(*stored, n.args, n.argumentNames, at);
            }
            at_ = at;
            if (n.field.empty()) return r;
            for (const auto& f : calledRecord_)
                if (f.first == n.field) return f.second;
            compileError(at, ora::kPlsNoSuchComponent, n.field);
        }
        case Op::Element:
        case Op::Method: {
            Variable* v = nativeVariable(n);
            if (!v || !v->collection) throw PlError::numbered(ora::kNumericOrValueError.code, at_);
            const Value index = n.hasIndex ? evaluate(n.index) : Value::null();
            if (n.op == Op::Element) return elementValue(*v, index, n.field, at_);
            return collectionMethod(*v, n.field, n.hasIndex ? &index : nullptr, at_);
        }
        case Op::Not: {
            const Value a = evalNative(*n.a);
            requireBoolean(a, at_);
            return truth(!a.isNull(), a.isFalse());
        }
        case Op::And:
        case Op::Or: {
            const Value a = evalNative(*n.a);
            requireBoolean(a, at_);
            const bool isAnd = n.op == Op::And;
            // FALSE AND x is FALSE and TRUE OR x is TRUE, whatever x is.
            if (isAnd ? a.isFalse() : a.isTrue()) return a;
            const Value b = evalNative(*n.b);
            requireBoolean(b, at_);
            if (isAnd ? b.isFalse() : b.isTrue()) return b;
            if (a.isNull() || b.isNull()) return Value::null(ValueType::Boolean);
            return a;
        }
        case Op::IsNull:
        case Op::IsNotNull:
            return Value::boolean(evalNative(*n.a).isNull() == (n.op == Op::IsNull));
        case Op::Negate: {
            const Value a = evalNative(*n.a);
            if (a.isNull()) return Value::null(ValueType::Number);
            if (a.data.kind == BindValue::Kind::Integer && a.data.integer != INT64_MIN)
                return Value::integer(-a.data.integer);
            if (a.type == ValueType::Number)
                return numberValue(numeric::subtract(numberFromInt64(0), numberIn(a)));
            return operatorSql("-", Value::integer(0), a, false);
        }
        case Op::Add:
        case Op::Subtract:
        case Op::Multiply:
        case Op::Divide: {
            const Value a = evalNative(*n.a), b = evalNative(*n.b);
            if (a.type == ValueType::Boolean || b.type == ValueType::Boolean)
                compileError(at_, ora::kPlsWrongType);
            if (a.data.kind == BindValue::Kind::Integer &&
                b.data.kind == BindValue::Kind::Integer && a.type == ValueType::Number &&
                b.type == ValueType::Number && n.op != Op::Divide) {
                std::int64_t r;
                const bool overflow =
                    n.op == Op::Add ? __builtin_add_overflow(a.data.integer, b.data.integer, &r)
                    : n.op == Op::Subtract
                        ? __builtin_sub_overflow(a.data.integer, b.data.integer, &r)
                        : __builtin_mul_overflow(a.data.integer, b.data.integer, &r);
                if (!overflow) return Value::integer(r);
            }
            if ((a.isNull() || b.isNull()) && a.type != ValueType::Date &&
                b.type != ValueType::Date && a.type != ValueType::Timestamp &&
                b.type != ValueType::Timestamp)
                return Value::null(ValueType::Number);
            if (a.type == ValueType::Number && b.type == ValueType::Number) {
                const occi::Number x = numberIn(a), y = numberIn(b);
                return numberValue(n.op == Op::Add        ? numeric::add(x, y)
                                   : n.op == Op::Subtract ? numeric::subtract(x, y)
                                   : n.op == Op::Multiply ? numeric::multiply(x, y)
                                                          : numeric::divide(x, y));
            }
            const char* op = n.op == Op::Add        ? "+"
                             : n.op == Op::Subtract ? "-"
                             : n.op == Op::Multiply ? "*"
                                                    : "/";
            return operatorSql(op, a, b, false);
        }
        case Op::Modulo: {
            const Value a = evalNative(*n.a), b = evalNative(*n.b);
            if (a.type == ValueType::Boolean || b.type == ValueType::Boolean)
                compileError(at_, ora::kPlsWrongType);
            if (a.isNull() || b.isNull()) return Value::null(ValueType::Number);
            // MOD(m, 0) is m; otherwise the remainder takes m's sign, as C++'s does.
            if (a.data.kind == BindValue::Kind::Integer && b.data.kind == BindValue::Kind::Integer &&
                b.data.integer != -1)
                return Value::integer(b.data.integer == 0 ? a.data.integer
                                                          : a.data.integer % b.data.integer);
            if (a.type == ValueType::Number && b.type == ValueType::Number)
                return numberValue(numeric::modulo(numberIn(a), numberIn(b)));
            return operatorSql(",", a, b, false, "MOD");
        }
        case Op::Power: {
            const Value a = evalNative(*n.a), b = evalNative(*n.b);
            if (a.isNull() || b.isNull()) return Value::null(ValueType::Number);
            if (a.data.kind == BindValue::Kind::Integer &&
                b.data.kind == BindValue::Kind::Integer && b.data.integer >= 0 &&
                b.data.integer < 64) {
                std::int64_t r = 1;
                bool overflow = false;
                for (std::int64_t k = 0; k < b.data.integer && !overflow; ++k)
                    overflow = __builtin_mul_overflow(r, a.data.integer, &r);
                if (!overflow) return Value::integer(r);
            }
            if (a.type == ValueType::Number && b.type == ValueType::Number)
                return numberValue(numeric::power(numberIn(a), numberIn(b)));
            return operatorSql(",", a, b, false, "POWER");
        }
        case Op::Compare: {
            const Value a = evalNative(*n.a), b = evalNative(*n.b);
            if (a.isNull() || b.isNull()) return Value::null(ValueType::Boolean);
            int order;
            if (a.type == ValueType::Boolean && b.type == ValueType::Boolean &&
                a.data.kind == BindValue::Kind::Integer && b.data.kind == BindValue::Kind::Integer)
                order = a.data.integer < b.data.integer ? -1 : a.data.integer > b.data.integer;
            else if (a.type == ValueType::Number && b.type == ValueType::Number)
                order = compareNumbers(a, b);
            else
                return operatorSql(n.compare, a, b, true);
            const bool r = (n.holdsFor >> (order + 1)) & 1;
            return Value::boolean(r);
        }
    }
    return Value::null();
}

// ---- evaluation ------------------------------------------------------------------------------

Value Interpreter::evaluate(const Expr& e, Mode mode) {
    // Subscripts evaluate expressions within expressions: v(v(v(...))) is bounded here.
    struct Level {
        explicit Level(int& depth) : depth_(depth) { ++depth_; }
        ~Level() { --depth_; }
        int& depth_;
    } level(evaluationDepth_);
    if (evaluationDepth_ > kMostEvaluationDepth)
        compileError(e.at, ora::kPlsProgramTooLarge, "expression nesting");
    Value v;
    if (nativeEvaluate(e, v)) {
        if (mode == Mode::Condition && v.type != ValueType::Boolean) {
            if (!v.isNull() || v.type != ValueType::Unknown) compileError(e.at, ora::kPlsWrongType);
            v.type = ValueType::Boolean;
        }
        return v;
    }
    return evaluateSql(e, mode);
}

bool Interpreter::isTrue(const Expr& e) { return evaluate(e, Mode::Condition).isTrue(); }

namespace {

// A procedural expression's conversion errors are VALUE_ERROR, where SQL's are its own.
[[noreturn]] void asValueError(const occi::SQLException& e) {
    switch (e.getErrorCode()) {
        case 1722:
            throw makeError(ora::kCharacterToNumber);
        case 1438:
            throw makeError(ora::kNumberPrecisionTooLarge);
        case 12899:
            throw makeError(ora::kBufferTooSmall);
        default:
            throw e;
    }
}

}  // namespace

Value Interpreter::evaluateSql(const Expr& e, Mode mode) {
    CompiledSql& c = compiled(&e, mode == Mode::Condition ? 2 : 1, e.range, Range{}, false);
    try {
        bindAll(c);
        c.cursor->execute();
        Value v = c.cursor->next() ? c.cursor->column(1) : Value::null();
        if (mode == Mode::Condition) v.type = ValueType::Boolean;
        return v;
    } catch (const occi::SQLException& err) {
        asValueError(err);
    }
}

// SELECT expression FROM DUAL with args bound to :P1, :P2, ..., through a statement kept per
// expression.
Value Interpreter::helperSql(const std::string& expression,
                             std::initializer_list<const Value*> args) {
    auto found = helpers_.find(expression);
    if (found == helpers_.end())
        found = helpers_.emplace(expression, port_->prepare("SELECT " + expression + " FROM DUAL"))
                    .first;
    SqlCursor& c = *found->second;
    try {
        unsigned index = 0;
        for (const Value* a : args) c.bind(++index, *a);
        c.execute();
        return c.next() ? c.column(1) : Value::null();
    } catch (const occi::SQLException& err) {
        asValueError(err);
    }
}

Value Interpreter::convertSql(const std::string& expression, const Value& v) {
    return helperSql(expression, {&v});
}

Value Interpreter::operatorSql(const std::string& op, const Value& a, const Value& b,
                               bool comparison, const char* function) {
    const std::string expression =
        comparison ? "CASE WHEN :P1 " + op + " :P2 THEN 1 WHEN NOT (:P1 " + op + " :P2) THEN 0 END"
        : function ? std::string(function) + "(:P1 " + op + " :P2)"
                   : ":P1 " + op + " :P2";
    Value v = helperSql(expression, {&a, &b});
    if (comparison) v.type = ValueType::Boolean;
    return v;
}

// ---- SQL text with binds ---------------------------------------------------------------------

namespace {

// PL/SQL's remainder operator in an expression SQL evaluates: a MOD b, written as SQL's
// MOD(a, b). It binds as * and / do: its left operand reaches back to the nearest operator that
// binds less (+, -, ||, a comparison, AND / OR / NOT, a comma or an opening parenthesis), its
// right one is one signed term (a value, a call, a parenthesised expression).
std::string withModFunction(const std::string& sql) {
    std::string text = sql;
    for (int rounds = 0; rounds < 64; ++rounds) {
        TokenEditor e(lexSql(text));
        std::size_t k = e.next(0);
        for (; k < e.size(); k = e.next(k + 1)) {
            const std::size_t before = e.previous(k);
            const Token& p = e.at(before);
            if (e.word(k, "MOD") && !e.punct(e.next(k + 1), '(') && before < e.size() &&
                (p.kind != Token::Kind::Punct || p.isPunct(')')))
                break;
        }
        if (k >= e.size()) return text;
        auto weaker = [&](std::size_t i) {
            const Token& t = e.at(i);
            if (t.kind == Token::Kind::Punct)
                return t.isPunct(',') || t.isPunct('+') || t.isPunct('-') || t.isPunct('|') ||
                       t.isPunct('=') || t.isPunct('<') || t.isPunct('>') || t.isPunct('!') ||
                       t.isPunct('^') || t.isPunct('~');
            for (const char* w : {"AND", "OR", "NOT", "SELECT", "WHEN", "THEN", "ELSE", "CASE",
                                  "IS", "IN", "LIKE", "BETWEEN", "RETURN"})
                if (t.isWord(w)) return true;
            return false;
        };
        std::size_t first = k;
        int depth = 0;
        for (std::size_t i = e.previous(k); i < e.size(); i = e.previous(i)) {
            if (e.punct(i, ')')) ++depth;
            if (e.punct(i, '(') && depth-- == 0) break;
            if (depth == 0 && weaker(i)) break;
            first = i;
        }
        std::size_t last = e.next(k + 1);
        while (e.punct(last, '-') || e.punct(last, '+')) last = e.next(last + 1);
        if (last >= e.size() || first == k) return text;
        if (e.punct(last, '(')) {
            last = e.pastParens(last) - 1;
        } else {
            while (e.punct(e.next(last + 1), '.') && e.name(e.next(e.next(last + 1) + 1)))
                last = e.next(e.next(last + 1) + 1);
            if (e.punct(e.next(last + 1), '(')) last = e.pastParens(e.next(last + 1)) - 1;
        }
        if (last >= e.size()) return text;
        e[first].text = "MOD(" + e[first].text;
        e[k].text = ",";
        e[last].text += ")";
        text = e.textBetween(0, e.size());
    }
    return text;
}

}  // namespace

Interpreter::CompiledSql& Interpreter::compiled(const void* node, int mode, Range r, Range skip,
                                                bool statement) {
    const auto key = std::make_pair(node, mode);
    auto found = compiled_.find(key);
    if (found != compiled_.end()) return found->second;
    CompiledSql c = compile(r, skip, statement);
    if (!statement) {
        c.sql = withModFunction(c.sql);
        c.sql = mode == 2 ? "SELECT CASE WHEN (" + c.sql + ") THEN 1 WHEN NOT (" + c.sql +
                                ") THEN 0 END FROM DUAL"
                          : "SELECT " + c.sql + " FROM DUAL";
    }
    c.cursor = port_->prepare(c.sql);
    return compiled_.emplace(key, std::move(c)).first->second;
}

namespace {

bool isClauseWord(const SourceToken& t) {
    static const char* const kWords[] = {
        "WHERE",     "GROUP",     "ORDER", "HAVING", "CONNECT", "START",   "UNION",  "MINUS",
        "INTERSECT", "EXCEPT",    "SET",   "ON",     "VALUES",  "FETCH",   "OFFSET", "FOR",
        "WHEN",      "LEFT",      "RIGHT", "INNER",  "OUTER",   "FULL",    "CROSS",  "JOIN",
        "NATURAL",   "RETURNING", "MODEL", "WINDOW", "PIVOT",   "UNPIVOT", "SELECT", "USING"};
    for (const char* w : kWords)
        if (t.isWord(w)) return true;
    return false;
}

}  // namespace

Interpreter::CompiledSql Interpreter::compile(Range r, Range skip, bool statement) {
    // In a SQL statement the columns of the tables it names hide PL/SQL variables of the same
    // names, as Oracle resolves them; an INSERT's column list names columns only.
    std::set<std::string> columns;
    std::vector<Range> columnLists;
    std::string dmlTable;  // INSERT INTO's or UPDATE's table, for VALUES r and SET ROW = r
    if (statement) {
        auto addTable = [&](std::size_t k) -> std::size_t {
            if (k >= r.last || !isName(src_.at(k))) return k;
            std::string name = src_.at(k).name();
            std::size_t end = k + 1;
            if (src_.at(end).isSymbol(".") && isName(src_.at(end + 1))) {
                name += "." + src_.at(end + 1).name();
                end += 2;
            }
            for (const std::string& c : port_->columnsOf(name)) columns.insert(c);
            return end;
        };
        for (std::size_t k = r.first; k < r.last; ++k) {
            const SourceToken& t = src_.at(k);
            if (t.isWord("INSERT") && src_.at(k + 1).isWord("INTO")) {
                if (isName(src_.at(k + 2))) dmlTable = src_.slice(k + 2, k + 3);
                if (src_.at(k + 3).isSymbol(".") && isName(src_.at(k + 4)))
                    dmlTable = src_.slice(k + 2, k + 5);
                std::size_t j = k + 2;
                while (j < r.last && !src_.at(j).isSymbol("(") && !isClauseWord(src_.at(j)) &&
                       !src_.at(j).isWord("VALUES"))
                    ++j;
                if (j < r.last && src_.at(j).isSymbol("(") && !src_.at(j + 1).isWord("SELECT") &&
                    !src_.at(j + 1).isWord("WITH")) {
                    int depth = 0;
                    std::size_t e = j;
                    for (; e < r.last; ++e) {
                        if (src_.at(e).isSymbol("(")) ++depth;
                        if (src_.at(e).isSymbol(")") && --depth == 0) break;
                    }
                    columnLists.push_back(Range{j, e});
                }
                k = j - 1;
            } else if (t.isWord("UPDATE") && k == r.first && isName(src_.at(k + 1))) {
                dmlTable = src_.slice(k + 1, src_.at(k + 2).isSymbol(".") ? k + 4 : k + 2);
                addTable(k + 1);
            } else if (t.isWord("UPDATE") || t.isWord("JOIN") ||
                       (t.isWord("INTO") && k > r.first && src_.at(k - 1).isWord("MERGE")) ||
                       (t.isWord("USING") && k > r.first)) {
                addTable(k + 1);
            } else if (t.isWord("FROM")) {
                // FROM a [alias], b [alias], ... up to the next clause.
                std::size_t j = addTable(k + 1);
                while (j < r.last && !isClauseWord(src_.at(j)) && !src_.at(j).isSymbol(")") &&
                       !src_.at(j).isSymbol("(")) {
                    if (src_.at(j).isSymbol(","))
                        j = addTable(j + 1);
                    else
                        ++j;
                }
            }
        }
    }
    auto inColumnList = [&](std::size_t k) {
        for (const Range& l : columnLists)
            if (k > l.first && k < l.last) return true;
        return false;
    };

    CompiledSql c;
    std::map<std::string, unsigned> index;
    auto placeholder = [&](BindSource b) {
        const std::string key = std::to_string(static_cast<int>(b.kind)) + ":" + b.name + "." +
                                b.field + "@" + std::to_string(b.index ? b.index->range.first : 0);
        auto found = index.find(key);
        if (found == index.end()) {
            c.binds.push_back(b);
            found = index.emplace(key, static_cast<unsigned>(c.binds.size())).first;
        }
        return ":P" + std::to_string(found->second);
    };
    // The ")" that closes the "(" at open, within r (r.last when none does).
    auto closing = [&](std::size_t open) {
        int depth = 0;
        for (std::size_t j = open; j < r.last; ++j) {
            if (src_.at(j).isSymbol("(")) ++depth;
            if (src_.at(j).isSymbol(")") && --depth == 0) return j;
        }
        return r.last;
    };
    // Tokens [first, last) as an expression of their own, which a bind's value comes from.
    auto subscript = [&](std::size_t first, std::size_t last, const SourceToken& at) {
        if (!c.subscripts) c.subscripts = std::make_shared<std::deque<Expr>>();
        c.subscripts->push_back(Expr{Range{first, last}, Position{at.line, at.column}});
        return &c.subscripts->back();
    };
    // INSERT ... VALUES r and VALUES t(i) (a record, or a collection's element that is one),
    // UPDATE ... SET ROW = r: the record's fields bound by position, as (:P1, :P2, ...) or
    // c1 = :P1, c2 = :P2, ... with the table's columns. False when no record follows.
    auto recordValues = [&](std::size_t k, bool setRow, std::string& replacement,
                            std::size_t& through) {
        const std::size_t at = setRow ? k + 2 : k + 1;
        const SourceToken& n = src_.at(at);
        Variable* rv = at < r.last && isName(n) ? findVariable(n.name()) : nullptr;
        const std::vector<std::string> columns = port_->columnsOf(dmlTable);
        BindSource b{BindSource::Kind::Field, n.name(), "", nullptr};
        std::size_t end = at, count = 0;
        if (rv && rv->record && !src_.at(at + 1).isSymbol(".") &&
            !src_.at(at + 1).isSymbol("(")) {
            count = rv->fields.size();
        } else if (rv && rv->collection && src_.at(at + 1).isSymbol("(")) {
            end = closing(at + 1);
            if (end >= r.last || src_.at(end + 1).isSymbol(".")) return false;  // t(i).f
            b.kind = BindSource::Kind::Element;
            b.index = subscript(at + 2, end, src_.at(at + 1));
            count = columns.size();
        } else {
            return false;
        }
        if (setRow && count != columns.size()) throw makeError(ora::kNotEnoughValues);
        std::string list;
        for (std::size_t i = 0; i < count; ++i) {
            b.field = "#" + std::to_string(i);
            list += (i ? ", " : "") + (setRow ? columns[i] + " = " : std::string()) +
                    placeholder(b);
        }
        replacement = setRow ? list : "VALUES (" + list + ")";
        through = end;
        return true;
    };
    // v(i), v(i).f, v.COUNT, v.EXISTS(k) of the collection variable name, whose name ends before
    // at: bound with the value they have. Gives the form's last token.
    auto collectionBind = [&](const std::string& name, std::size_t at, std::string& replacement) {
        const bool element = src_.at(at).isSymbol("(");
        BindSource b{element ? BindSource::Kind::Element : BindSource::Kind::Method, name, "",
                     nullptr};
        std::size_t open = at, through = at;
        if (!element) {
            b.field = src_.at(at + 1).name();
            open = at + 2;
            through = at + 1;
        }
        if (open < r.last && src_.at(open).isSymbol("(")) {
            const std::size_t close = closing(open);
            b.index = subscript(open + 1, close, src_.at(open));
            through = close;
            if (element && src_.at(close + 1).isSymbol(".") && close + 2 < r.last &&
                isName(src_.at(close + 2))) {
                b.field = src_.at(close + 2).name();
                through = close + 2;
            }
        }
        replacement = placeholder(b);
        if (!element && b.field == "EXISTS") replacement = "(" + replacement + " = 1)";
        return through;
    };
    // A call bound with the value it gives: from first, with its arguments when "(" is at open,
    // and the field of the record it gives (f(x).field). Gives the call's last token.
    auto callBind = [&](const std::string& name, std::size_t first, std::size_t open,
                        std::string& replacement) {
        std::size_t end = open;
        if (open < r.last && src_.at(open).isSymbol("(")) {
            const std::size_t close = closing(open);
            if (close < r.last) end = close + 1;
        }
        if (src_.at(end).isSymbol(".") && end + 1 < r.last && isName(src_.at(end + 1)))
            end += 2;
        replacement = placeholder(BindSource{BindSource::Kind::Call, name, "",
                                             subscript(first, end, src_.at(first))});
        return end - 1;
    };
    const std::string& text = src_.text();
    std::string out;
    std::size_t pos = src_.at(r.first).begin;
    for (std::size_t k = r.first; k < r.last; ++k) {
        if (!skip.empty() && k == skip.first) {
            out += text.substr(pos, src_.at(k).begin - pos);
            pos = src_.at(skip.last).begin;
            k = skip.last - 1;
            continue;
        }
        const SourceToken& t = src_.at(k);
        std::string replacement;
        std::size_t through = k;
        const bool qualified = k > r.first && src_.at(k - 1).isSymbol(".");
        const bool setRow = t.isWord("ROW") && k > r.first && src_.at(k - 1).isWord("SET") &&
                            src_.at(k + 1).isSymbol("=");
        if (statement && (t.isWord("VALUES") || setRow) && !dmlTable.empty() &&
            recordValues(k, setRow, replacement, through)) {
            // VALUES r, VALUES t(i), SET ROW = r: a record's fields, in order
        } else if (t.kind == Token::Kind::Bind) {
            std::string name = t.text.substr(1);
            for (char& ch : name)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            replacement = placeholder(BindSource{BindSource::Kind::Host, name, ""});
        } else if (isName(t) && !qualified && !inColumnList(k)) {
            const std::string name = t.name();
            const SourceToken& next = src_.at(k + 1);
            const SourceToken& after = src_.at(k + 2);
            const bool attribute = next.isSymbol("%") && k + 2 < r.last &&
                                   (after.isWord("ROWCOUNT") || after.isWord("FOUND") ||
                                    after.isWord("NOTFOUND") || after.isWord("ISOPEN"));
            Variable* v = findVariable(name);
            Variable* named = nullptr;  // UNIT.NAME and the like
            const bool bulk = name == "SQL" && next.isSymbol("%") && k + 2 < r.last &&
                              (after.isWord("BULK_ROWCOUNT") || after.isWord("BULK_EXCEPTIONS"));
            if (bulk) {
                // SQL%BULK_ROWCOUNT(i), SQL%BULK_EXCEPTIONS.COUNT,
                // SQL%BULK_EXCEPTIONS(j).ERROR_INDEX | ERROR_CODE: bound with their values.
                BindSource b{BindSource::Kind::SqlAttribute, name, after.name(), nullptr};
                through = k + 2;
                if (src_.at(k + 3).isSymbol("(") && k + 3 < r.last) {
                    const std::size_t close = closing(k + 3);
                    b.index = subscript(k + 4, close, src_.at(k + 3));
                    through = close;
                }
                if (after.isWord("BULK_EXCEPTIONS")) {
                    const SourceToken& field = src_.at(through + 2);
                    if (!src_.at(through + 1).isSymbol(".") || through + 2 >= r.last ||
                        !(b.index ? field.isWord("ERROR_INDEX") || field.isWord("ERROR_CODE")
                                  : field.isWord("COUNT")))
                        compileError(Position{t.line, t.column}, ora::kPlsNotDeclared,
                                     "SQL%BULK_EXCEPTIONS");
                    b.field += "." + field.name();
                    through += 2;
                } else if (!b.index) {
                    compileError(Position{t.line, t.column}, ora::kPlsNotDeclared,
                                 "SQL%BULK_ROWCOUNT");
                }
                replacement = placeholder(b);
            } else if (attribute && (name == "SQL" || findCursor(name))) {
                const bool isSql = name == "SQL";
                BindSource b{
                    isSql ? BindSource::Kind::SqlAttribute : BindSource::Kind::CursorAttribute,
                    name, after.name()};
                replacement = placeholder(b);
                if (!after.isWord("ROWCOUNT")) replacement = "(" + replacement + " = 1)";
                through = k + 2;
            } else if (v && v->collection && (next.isSymbol("(") || next.isSymbol("."))) {
                through = collectionBind(name, k + 1, replacement);
            } else if (!v && next.isSymbol(".") && k + 2 < r.last && isName(after) &&
                       columns.count(name) == 0 &&
                       (named = findVariable(name + "." + after.name())) != nullptr) {
                // UNIT.NAME, LABEL.NAME, PKG.NAME: a variable named with what declares it.
                const std::string dotted = name + "." + after.name();
                const SourceToken& then = src_.at(k + 3);
                if (named->collection && k + 3 < r.last &&
                    (then.isSymbol("(") || then.isSymbol("."))) {
                    through = collectionBind(dotted, k + 3, replacement);
                } else {
                    replacement =
                        placeholder(BindSource{BindSource::Kind::Variable, dotted, ""});
                    if (named->type.kind == TypeSpec::Kind::Boolean)
                        replacement = "(" + replacement + " = 1)";
                    through = k + 2;
                }
            } else if (!v && columns.count(name) == 0 &&
                       (findSubprogram(name) || (!statement && callableFunction(name)))) {
                if (findSubprogram(name) && findSubprogram(name)->kind != Unit::Kind::Function)
                    compileError(Position{t.line, t.column}, ora::kPlsNoSuchFunction, name);
                // A call of the block's own function, or in an expression of a stored one:
                // bound with the value it returns. (A SQL statement's call of a stored function
                // is SQL's, below: its arguments may be columns.)
                through = callBind(name, k, k + 1, replacement);
            } else if (!v && next.isSymbol(".") && k + 2 < r.last && isName(after) &&
                       columns.count(name) == 0 && findPackage(name)) {
                // PKG.F: a package's function, called as the block's own are (or by SQL's
                // ORA$PLSQL_CALL in a statement). Its variables are named above.
                const std::string dotted = name + "." + after.name();
                const bool parens = k + 3 < r.last && src_.at(k + 3).isSymbol("(");
                if (packageFunction(dotted) && !statement) {
                    through = callBind(dotted, k, k + 3, replacement);
                } else if (packageFunction(dotted)) {
                    const bool none = !parens || src_.at(k + 4).isSymbol(")");
                    replacement = std::string(kOraPlSqlCall) + "(" + sqlStringLiteral(dotted) +
                                  (none ? (parens ? "" : ")") : ", ");
                    through = parens ? k + 3 : k + 2;
                }
            } else if (next.isSymbol("(") && !(t.isWord("SQLERRM") && !v)) {
                // A call: of a stored function, through SQL's ORA$PLSQL_CALL; others are SQL's.
                const LoadedUnit* u = v ? nullptr : loadUnit(name);
                if (u && (!u->unit || u->unit->kind == Unit::Kind::Function)) {
                    replacement = std::string(kOraPlSqlCall) + "(" + sqlStringLiteral(name) +
                                  (after.isSymbol(")") ? "" : ", ");
                    through = k + 1;
                }
            } else if (v && v->record && next.isSymbol(".") && k + 2 < r.last && isName(after)) {
                replacement = placeholder(BindSource{BindSource::Kind::Field, name, after.name()});
                through = k + 2;
            } else if (v && columns.count(name) == 0) {
                replacement = placeholder(BindSource{BindSource::Kind::Variable, name, ""});
                if (v->type.kind == TypeSpec::Kind::Boolean)
                    replacement = "(" + replacement + " = 1)";
            } else if (!v && columns.count(name) == 0) {
                if (t.isWord("TRUE"))
                    replacement = "(1=1)";
                else if (t.isWord("FALSE"))
                    replacement = "(1=0)";
                else if (t.isWord("SQLCODE"))
                    replacement = placeholder(BindSource{BindSource::Kind::SqlCode, "", ""});
                else if (t.isWord("SQLERRM") && next.isSymbol("(") && k + 1 < r.last) {
                    // SQLERRM(code): the message of that error number.
                    const std::size_t close = closing(k + 1);
                    replacement = placeholder(BindSource{BindSource::Kind::SqlErrm, "", "CODE",
                                                         subscript(k + 2, close, next)});
                    through = close;
                } else if (t.isWord("SQLERRM"))
                    replacement = placeholder(BindSource{BindSource::Kind::SqlErrm, "", ""});
                else if (t.isWord("DBMS_UTILITY") && next.isSymbol(".") &&
                         (after.isWord("FORMAT_ERROR_STACK") ||
                          after.isWord("FORMAT_ERROR_BACKTRACE"))) {
                    // The error being handled: its whole stack, or the lines it passed.
                    replacement = placeholder(
                        BindSource{BindSource::Kind::SqlErrm, "", after.name(), nullptr});
                    through = k + 2;
                    if (src_.at(k + 3).isSymbol("(") && src_.at(k + 4).isSymbol(")") &&
                        k + 4 < r.last)
                        through = k + 4;
                }
            }
        }
        if (replacement.empty()) continue;
        out += text.substr(pos, t.begin - pos);
        out += replacement;
        pos = src_.at(through).end;
        k = through;
    }
    const std::size_t end = src_.at(r.last - 1).end;
    if (end > pos) out += text.substr(pos, end - pos);
    c.sql = std::move(out);
    return c;
}

void Interpreter::bindAll(CompiledSql& c) {
    for (std::size_t i = 0; i < c.binds.size(); ++i)
        c.cursor->bind(static_cast<unsigned>(i + 1), bindValue(c.binds[i]));
}

Value Interpreter::bindValue(BindSource& b) {
    switch (b.kind) {
        case BindSource::Kind::Variable:
        case BindSource::Kind::Field: {
            // A statement runs in the same frames again and again (a loop's body): the variable
            // found last time is the one, until a frame is pushed. A package's (PKG.NAME) is
            // looked up each time: the package may have been made anew since.
            if (b.foundIn != framesVersion_ || !b.found || b.name.find('.') != std::string::npos) {
                b.found = findVariable(b.name);
                b.foundIn = framesVersion_;
            }
            Variable* v = b.found;
            if (!v) throw makeError(ora::kNotAllVariablesBound);
            if (b.kind == BindSource::Kind::Variable) return v->value;
            if (b.field[0] == '#') {  // the nth field (VALUES r)
                const std::size_t i = std::stoul(b.field.substr(1));
                if (i < v->fields.size()) return v->fields[i].second;
                throw makeError(ora::kNotEnoughValues);
            }
            for (const auto& f : v->fields)
                if (f.first == b.field) return f.second;
            compileError(at_, ora::kPlsNotDeclared, b.name + "." + b.field);
        }
        case BindSource::Kind::Host:
            for (std::size_t i = 0; i < host_.names.size(); ++i)
                if (host_.names[i] == b.name) {
                    if (i < host_.bound.size() && !host_.bound[i])
                        throw makeError(ora::kNotAllVariablesBound);
                    return host_.values[i];
                }
            throw makeError(ora::kNotAllVariablesBound);
        case BindSource::Kind::SqlAttribute:
            if (b.field.compare(0, 5, "BULK_") == 0) {
                const Value index = b.index ? evaluate(*b.index) : Value::null();
                return bulkAttribute(b.field, b.index ? &index : nullptr);
            }
            if (b.field == "ROWCOUNT")
                return sqlRan_ ? Value::integer(sqlRowCount_) : Value::null();
            if (b.field == "ISOPEN") return Value::boolean(false);
            if (!sqlRan_) return Value::null(ValueType::Boolean);
            return Value::boolean((sqlRowCount_ > 0) == (b.field == "FOUND"));
        case BindSource::Kind::CursorAttribute: {
            CursorState* c = findCursor(b.name);
            if (b.field == "ISOPEN") return Value::boolean(c && c->open);
            if (!c || !c->open) throw makeError(ora::kInvalidCursor);
            if (b.field == "ROWCOUNT") return Value::integer(c->rowCount);
            if (!c->fetched) return Value::null(ValueType::Boolean);
            return Value::boolean(c->found == (b.field == "FOUND"));
        }
        case BindSource::Kind::Call:
            return evaluate(*b.index);
        case BindSource::Kind::Element:
        case BindSource::Kind::Method: {
            Variable* v = findVariable(b.name);
            if (!v || !v->collection) throw makeError(ora::kNotAllVariablesBound);
            const Value index = b.index ? evaluate(*b.index) : Value::null();
            if (b.kind == BindSource::Kind::Element) return elementValue(*v, index, b.field, at_);
            return collectionMethod(*v, b.field, b.index ? &index : nullptr, at_);
        }
        case BindSource::Kind::SqlCode:
            return Value::integer(handling_.empty() ? 0 : handling_.back().sqlcode());
        case BindSource::Kind::SqlErrm: {
            if (b.field == "CODE") {
                const Value v = coerce(evaluate(*b.index), TypeSpec::plain(TypeSpec::Kind::PlsInteger), at_);
                const std::int64_t n = v.isNull() ? 0 : v.data.integer;
                if (n == 0) return Value::text("ORA-0000: normal, successful completion");
                if (n == 100) return Value::text(PlError::numbered(1403, at_).sqlerrm());
                if (n > 0) return Value::text("-" + std::to_string(n) + ": non-ORACLE exception");
                if (n < -99999) {  // no ORA number: Oracle's words for a number it has not
                    const std::string number = std::to_string(-n);
                    return Value::text("ORA-" + number + ": Message " + number +
                                       " not found;  product=RDBMS; facility=ORA");
                }
                return Value::text(PlError::numbered(static_cast<int>(-n), at_).sqlerrm());
            }
            if (b.field.empty())
                return Value::text(handling_.empty() ? "ORA-0000: normal, successful completion"
                                                     : handling_.back().sqlerrm());
            if (handling_.empty()) return Value::null(ValueType::Text);
            const PlError& err = handling_.back();
            if (b.field == "FORMAT_ERROR_STACK") return Value::text(err.message);
            // FORMAT_ERROR_BACKTRACE: the units the error left, then the line it was raised at.
            std::string trace;
            for (std::size_t at = err.message.find("ORA-06512"); at != std::string::npos;
                 at = err.message.find("ORA-06512", at + 1)) {
                const std::size_t end = err.message.find('\n', at);
                trace += err.message.substr(at, end == std::string::npos ? end : end - at) + "\n";
            }
            return Value::text(trace + oraErrorText(ora::kPlSqlAtLine, err.at.line) + "\n");
        }
    }
    return Value::null();
}

// ---- conversions -----------------------------------------------------------------------------

namespace {

ValueType valueTypeOf(const TypeSpec& t) {
    switch (t.kind) {
        case TypeSpec::Kind::Number:
        case TypeSpec::Kind::PlsInteger:
            return ValueType::Number;
        case TypeSpec::Kind::BinaryDouble:
        case TypeSpec::Kind::BinaryFloat:
            return ValueType::BinaryDouble;
        case TypeSpec::Kind::Varchar2:
        case TypeSpec::Kind::Char:
            return ValueType::Text;
        case TypeSpec::Kind::Date:
            return ValueType::Date;
        case TypeSpec::Kind::Timestamp:
            return ValueType::Timestamp;
        case TypeSpec::Kind::Boolean:
            return ValueType::Boolean;
        case TypeSpec::Kind::Clob:
            return ValueType::Clob;
        case TypeSpec::Kind::Blob:
        case TypeSpec::Kind::Raw:
            return ValueType::Raw;
        default:
            return ValueType::Unknown;
    }
}

int decimalDigits(std::int64_t n) {
    int digits = 1;
    for (std::uint64_t u = n < 0 ? 0 - static_cast<std::uint64_t>(n)
                                 : static_cast<std::uint64_t>(n);
         u >= 10; u /= 10)
        ++digits;
    return digits;
}

}  // namespace

std::string Interpreter::textOf(const Value& v) {
    if (v.isNull()) return std::string();
    switch (v.type) {
        case ValueType::Text:
        case ValueType::Clob:
            return v.data.bytes;
        case ValueType::Boolean:
            compileError(at_, ora::kPlsWrongType);
        default:
            break;
    }
    if (v.data.kind == BindValue::Kind::Integer) return std::to_string(v.data.integer);
    if (v.type == ValueType::Number) return numberText(v);
    if (v.data.kind == BindValue::Kind::Text && v.type == ValueType::Unknown) return v.data.bytes;
    const Value t = convertSql("TO_CHAR(:P1)", v);
    return t.isNull() ? std::string() : t.data.bytes;
}

Value Interpreter::coerce(const Value& v, const TypeSpec& t, Position at) {
    using K = TypeSpec::Kind;
    if (t.kind == K::RowType || t.kind == K::RefCursor) return v;
    if (v.isNull()) return Value::null(valueTypeOf(t));
    const bool temporal = v.type == ValueType::Date || v.type == ValueType::Timestamp;
    switch (t.kind) {
        case K::Boolean:
            if (v.type != ValueType::Boolean) compileError(at, ora::kPlsWrongType);
            return v;
        case K::PlsInteger:
        case K::Number: {
            if (v.type == ValueType::Boolean || temporal) compileError(at, ora::kPlsWrongType);
            Value n = v;
            if (n.type != ValueType::Number &&
                (n.data.kind == BindValue::Kind::Text || n.data.kind == BindValue::Kind::Blob))
                n = convertSql("TO_NUMBER(:P1)", n);
            n.type = ValueType::Number;
            // A whole number that fits the type as it is.
            const bool fits =
                t.kind == K::PlsInteger
                    ? n.data.integer >= INT32_MIN && n.data.integer <= INT32_MAX
                    : (t.precision == 0 && !t.hasScale) ||
                          decimalDigits(n.data.integer) <=
                              (t.precision ? t.precision : 38) - t.scale;
            if (n.data.kind == BindValue::Kind::Integer && (!t.hasScale || t.scale >= 0) && fits)
                return n;
            if (t.kind == K::PlsInteger) {
                // Rounded to a whole number, which must fit 32 bits.
                std::int64_t whole = 0;
                const Decimal d = decimalOf(numberIn(n));
                if (d.exponent > 10 || !numberToInt64(numberOf(roundToScale(d, 0)), whole) ||
                    whole < INT32_MIN || whole > INT32_MAX)
                    throw makeError(ora::kNumericOverflow);
                return Value::integer(whole);
            }
            if (t.precision == 0 && !t.hasScale) return n;
            Value r = convertSql("CAST(:P1 AS " + t.sqlText + ")", n);
            r.type = ValueType::Number;
            return r;
        }
        case K::BinaryDouble:
        case K::BinaryFloat: {
            if (v.type == ValueType::Boolean || temporal) compileError(at, ora::kPlsWrongType);
            Value r =
                v.data.kind == BindValue::Kind::Real ? v : convertSql("TO_BINARY_DOUBLE(:P1)", v);
            r.type = ValueType::BinaryDouble;
            return r;
        }
        case K::Varchar2:
        case K::Char: {
            std::string s = textOf(v);
            if (s.empty()) return Value::null(ValueType::Text);
            const std::size_t chars = utf8::countCharacters(s.data(), s.size());
            if (t.length != 0 && chars > t.length) throw makeError(ora::kBufferTooSmall);
            if (t.kind == K::Char && chars < t.length) s.append(t.length - chars, ' ');
            return Value::text(std::move(s));
        }
        case K::Date:
        case K::Timestamp: {
            const bool date = t.kind == K::Date;
            const ValueType want = date ? ValueType::Date : ValueType::Timestamp;
            if (v.type == want) return v;
            // A date or timestamp as SQL stores it (RETURNING's values) is one already.
            if (v.data.kind == BindValue::Kind::Text) {
                const ValueKind kind = textKind(v.data.bytes.data(), v.data.bytes.size());
                if (kind == ValueKind::Date || kind == ValueKind::Timestamp ||
                    kind == ValueKind::TimestampTz) {
                    Value r =
                        date && kind != ValueKind::Date ? convertSql("CAST(:P1 AS DATE)", v) : v;
                    r.type = want;
                    return r;
                }
            }
            Value r;
            if (v.type == ValueType::Text || v.type == ValueType::Unknown)
                r = convertSql(date ? "TO_DATE(:P1)" : "TO_TIMESTAMP(:P1)", v);
            else if (temporal)
                r = convertSql(date ? "CAST(:P1 AS DATE)" : "CAST(:P1 AS TIMESTAMP)", v);
            else
                compileError(at, ora::kPlsWrongType);
            r.type = want;
            return r;
        }
        case K::Clob: {
            Value r = Value::text(textOf(v));
            r.type = ValueType::Clob;
            return r;
        }
        case K::Blob:
        case K::Raw: {
            Value r = v;
            r.type = ValueType::Raw;
            return r;
        }
        default:
            return v;
    }
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
