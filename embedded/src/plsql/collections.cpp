// The interpreter's records and collections: TYPE ... IS RECORD, associative arrays (INDEX BY
// PLS_INTEGER or VARCHAR2), nested tables and VARRAYs with their constructors and methods,
// BULK COLLECT INTO and FORALL.
#include <climits>

#include "base/ora_messages.h"
#include "plsql/compile_error.h"
#include "plsql/interpreter.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

constexpr int kCollectionIsNull = ora::kCollectionIsNull.code;
constexpr int kSubscriptOutsideLimit = ora::kSubscriptOutsideLimit.code;
constexpr int kSubscriptBeyondCount = ora::kSubscriptBeyondCount.code;

bool isDense(const Decl& type) { return type.form != Decl::Form::AssociativeArray; }

}  // namespace

const Decl* Interpreter::findType(const std::string& name) const {
    for (std::size_t i = frames_.size(); i-- > 0; i = outerFrame(i))
        for (const Decl* d : frames_[i]->types)
            if (d->name == name) return d;
    return nullptr;
}

void Interpreter::makeOfType(Variable& v, const Decl& type, Position at) {
    if (type.form == Decl::Form::Record) {
        v.record = true;
        v.fields.clear();
        for (const Decl::Param& f : type.params) {
            Value initial = Value::null();
            if (f.hasDefault) initial = coerce(evaluate(f.defaultValue), f.type, at);
            v.fields.emplace_back(f.name, initial);
        }
        return;
    }
    v.collection = std::make_shared<Collection>();
    v.collection->type = &type;
    v.collection->null = isDense(type);
}

Interpreter::Element& Interpreter::element(Variable& v, const Value& index, Position at,
                                           bool forWrite) {
    Collection& c = *v.collection;
    const Decl& type = *c.type;
    if (c.null) throw PlError::numbered(kCollectionIsNull, at);
    if (index.isNull()) throw PlError::numbered(ora::kNumericOrValueError.code, at);
    if (type.textKeys) {
        const std::string key = textOf(index);
        auto found = c.texts.find(key);
        if (found != c.texts.end()) return found->second;
        if (!forWrite) throw PlError::numbered(ora::kNoDataFound.code, at);
        return c.texts[key];
    }
    const Value n = coerce(index, TypeSpec::plain(TypeSpec::Kind::PlsInteger), at);
    const std::int64_t key = n.data.integer;
    auto found = c.ints.find(key);
    if (found != c.ints.end()) return found->second;
    if (isDense(type)) {
        // A nested table or VARRAY has elements 1 .. COUNT (EXTEND makes them).
        const std::int64_t count = c.ints.empty() ? 0 : c.ints.rbegin()->first;
        if (type.form == Decl::Form::Varray && (key < 1 || key > type.limit))
            throw PlError::numbered(kSubscriptOutsideLimit, at);
        if (key < 1 || key > count) throw PlError::numbered(kSubscriptBeyondCount, at);
        throw PlError::numbered(ora::kNoDataFound.code, at);  // deleted
    }
    if (!forWrite) throw PlError::numbered(ora::kNoDataFound.code, at);
    return c.ints[key];
}

Value Interpreter::elementValue(Variable& v, const Value& index, const std::string& field,
                                Position at) {
    Element& e = element(v, index, at, false);
    if (field.empty()) return e.value;
    if (field[0] == '#') {  // the nth field (VALUES t(i))
        const std::size_t i = std::stoul(field.substr(1));
        if (i < e.fields.size()) return e.fields[i].second;
        throw makeError(ora::kNotEnoughValues);
    }
    for (const auto& f : e.fields)
        if (f.first == field) return f.second;
    compileError(at, ora::kPlsNotDeclared, v.name + "(..)." + field);
}

void Interpreter::assignElement(const NamePath& target, const Value& value) {
    Variable* v = findVariable(target.joined());  // v(i), or a package's PKG.V(i)
    if (!v || !v->collection) compileError(target.at, ora::kPlsNotDeclared, target.shown());
    const Value index = evaluate(target.index);
    Element& e = element(*v, index, target.at, true);
    const Decl& type = *v->collection->type;
    if (target.field.empty()) {
        e.value = coerce(value, type.element, target.at);
        return;
    }
    for (auto& f : e.fields)
        if (f.first == target.field) {
            f.second = value;
            return;
        }
    // An element of records takes its fields as they are first assigned.
    e.fields.emplace_back(target.field, value);
}

Value Interpreter::collectionMethod(Variable& v, const std::string& method, const Value* argument,
                                    Position at) {
    Collection& c = *v.collection;
    const Decl& type = *c.type;
    if (method == "EXISTS") {
        if (c.null || !argument || argument->isNull()) return Value::boolean(false);
        if (type.textKeys) return Value::boolean(c.texts.count(textOf(*argument)) != 0);
        const Value n = coerce(*argument, TypeSpec::plain(TypeSpec::Kind::PlsInteger), at);
        return Value::boolean(c.ints.count(n.data.integer) != 0);
    }
    if (c.null) throw PlError::numbered(kCollectionIsNull, at);
    const std::size_t count = type.textKeys ? c.texts.size() : c.ints.size();
    if (method == "COUNT") return Value::integer(static_cast<std::int64_t>(count));
    if (method == "LIMIT")
        return type.form == Decl::Form::Varray ? Value::integer(type.limit) : Value::null();
    auto key = [&](bool last) {
        if (count == 0) return Value::null(ValueType::Number);
        if (type.textKeys)
            return Value::text(last ? c.texts.rbegin()->first : c.texts.begin()->first);
        return Value::integer(last ? c.ints.rbegin()->first : c.ints.begin()->first);
    };
    if (method == "FIRST") return key(false);
    if (method == "LAST") return key(true);
    if (method == "NEXT" || method == "PRIOR") {
        if (!argument || argument->isNull()) return Value::null(ValueType::Number);
        const bool next = method == "NEXT";
        if (type.textKeys) {
            const std::string k = textOf(*argument);
            if (next) {
                auto it = c.texts.upper_bound(k);
                return it == c.texts.end() ? Value::null(ValueType::Text) : Value::text(it->first);
            }
            auto it = c.texts.lower_bound(k);
            if (it == c.texts.begin()) return Value::null(ValueType::Text);
            return Value::text((--it)->first);
        }
        const std::int64_t k =
            coerce(*argument, TypeSpec::plain(TypeSpec::Kind::PlsInteger), at).data.integer;
        if (next) {
            auto it = c.ints.upper_bound(k);
            return it == c.ints.end() ? Value::null(ValueType::Number) : Value::integer(it->first);
        }
        auto it = c.ints.lower_bound(k);
        if (it == c.ints.begin()) return Value::null(ValueType::Number);
        return Value::integer((--it)->first);
    }
    compileError(at, ora::kPlsNotDeclared, v.name + "." + method);
}

bool Interpreter::runCollectionMethod(const Stmt& s) {
    // v.METHOD, or a package's PKG.V.METHOD
    const std::size_t parts = s.target.parts.size();
    if (parts != 2 && parts != 3) return false;
    Variable* v = findVariable(parts == 2 ? s.target.parts[0]
                                          : s.target.parts[0] + "." + s.target.parts[1]);
    if (!v || !v->collection) return false;
    const std::string& method = s.target.parts[parts - 1];
    Collection& c = *v->collection;
    const Decl& type = *c.type;
    std::vector<std::int64_t> args;
    for (const Expr& e : s.exprs) {
        const Value n = coerce(evaluate(e), TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
        if (n.isNull()) throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
        args.push_back(n.data.integer);
    }
    if (method == "DELETE") {
        if (args.size() > 2) compileError(s.at, ora::kPlsWrongArguments, "DELETE");
        if (c.null) throw PlError::numbered(kCollectionIsNull, s.at);
        if (args.empty()) {
            c.ints.clear();
            c.texts.clear();
        } else if (type.textKeys) {
            compileError(s.at, ora::kPlsRestriction, "DELETE(key) of a VARCHAR2-indexed array");
        } else {
            const std::int64_t from = args[0], to = args.size() == 2 ? args[1] : args[0];
            if (type.form == Decl::Form::Varray)
                compileError(s.at, ora::kPlsWrongArguments, "DELETE");
            for (auto it = c.ints.lower_bound(from); it != c.ints.end() && it->first <= to;)
                it = c.ints.erase(it);
        }
        return true;
    }
    if (method != "EXTEND" && method != "TRIM") return false;
    if (!isDense(type)) compileError(s.at, ora::kPlsWrongArguments, method);
    if (c.null) throw PlError::numbered(kCollectionIsNull, s.at);
    const std::int64_t n = args.empty() ? 1 : args[0];
    if (n < 0 || args.size() > 2) throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
    std::int64_t last = c.ints.empty() ? 0 : c.ints.rbegin()->first;
    if (method == "EXTEND") {
        if (type.form == Decl::Form::Varray && last + n > type.limit)
            throw PlError::numbered(kSubscriptOutsideLimit, s.at);
        Element copy;
        if (args.size() == 2) copy = element(*v, Value::integer(args[1]), s.at, false);
        for (std::int64_t k = 0; k < n; ++k) c.ints[++last] = copy;
        return true;
    }
    if (n > static_cast<std::int64_t>(c.ints.size()))
        throw PlError::numbered(kSubscriptBeyondCount, s.at);
    for (std::int64_t k = 0; k < n; ++k) c.ints.erase(std::prev(c.ints.end()));
    return true;
}

void Interpreter::assignCollection(Variable& v, const Expr& e) {
    const Range r = e.range;
    const SourceToken& first = src_.at(r.first);
    const bool name = first.kind == Token::Kind::Word || first.kind == Token::Kind::QuotedIdent;
    Collection& c = *v.collection;
    if (name && r.last - r.first == 1) {
        if (first.isWord("NULL")) {
            if (!isDense(*c.type)) compileError(e.at, ora::kPlsWrongType);
            c.ints.clear();
            c.null = true;
            return;
        }
        Variable* other = findVariable(first.name());
        if (!other || !other->collection || other->collection->type != c.type)
            compileError(e.at, ora::kPlsWrongType);
        c = *other->collection;
        return;
    }
    // T(a, b, ...) or PKG.T(a, b, ...): a nested table or VARRAY of these elements.
    std::size_t open = r.first + 1;
    std::string typeName = name ? first.name() : std::string();
    if (name && src_.at(open).isSymbol(".") && open + 1 < r.last) {
        typeName += "." + src_.at(open + 1).name();
        open += 2;
    }
    Interpreter* owner = this;
    const Decl* type = name ? findType(typeName) : nullptr;
    if (!type && typeName.find('.') != std::string::npos) type = packageType(typeName, &owner);
    if (!name || !src_.at(open).isSymbol("(") || !src_.at(r.last - 1).isSymbol(")") ||
        type != c.type || !isDense(*c.type))
        compileError(e.at, ora::kPlsWrongType);
    std::vector<Expr> args;
    int depth = 0;
    std::size_t start = open + 1;
    for (std::size_t k = open + 1; k + 1 < r.last; ++k) {
        const SourceToken& t = src_.at(k);
        if (t.isSymbol("(")) ++depth;
        if (t.isSymbol(")")) --depth;
        if (depth == 0 && t.isSymbol(",")) {
            args.push_back(Expr{Range{start, k}, Position{t.line, t.column}});
            start = k + 1;
        }
    }
    if (start < r.last - 1) args.push_back(Expr{Range{start, r.last - 1}, e.at});
    if (c.type->form == Decl::Form::Varray && static_cast<long>(args.size()) > c.type->limit)
        throw PlError::numbered(kSubscriptOutsideLimit, e.at);
    // The argument expressions live as long as the interpreter: their compiled forms are
    // cached by address.
    auto& kept = constructorArgs_[&e];
    if (kept.empty()) kept = std::move(args);
    Collection made;
    made.type = c.type;
    std::int64_t k = 0;
    for (const Expr& a : kept) made.ints[++k].value = coerce(evaluate(a), c.type->element, a.at);
    c = std::move(made);
}

unsigned Interpreter::collectRows(const std::vector<NamePath>& into, SqlCursor& cursor,
                                  unsigned limit, Position at) {
    const unsigned columns = cursor.columnCount();
    const std::vector<Variable*> targets = collectionTargets(into);
    const bool records = targets.size() == 1 && columns > 1;
    if (!records && targets.size() != columns)
        throw PlError::numbered(ora::kNumericOrValueError.code, at);
    for (Variable* v : targets) {
        v->collection->ints.clear();
        v->collection->texts.clear();
        v->collection->null = false;
    }
    unsigned rows = 0;
    while ((limit == 0 || rows < limit) && cursor.next()) {
        port_->checkCancel();
        ++rows;
        if (records) {
            Element& e = targets[0]->collection->ints[rows];
            for (unsigned i = 1; i <= columns; ++i)
                e.fields.emplace_back(cursor.columnName(i), cursor.column(i));
            continue;
        }
        for (unsigned i = 1; i <= columns; ++i) {
            Collection& c = *targets[i - 1]->collection;
            c.ints[rows].value = coerce(cursor.column(i), c.type->element, at);
        }
    }
    return rows;
}

std::vector<Interpreter::Variable*> Interpreter::collectionTargets(
    const std::vector<NamePath>& into) {
    std::vector<Variable*> targets;
    for (const NamePath& t : into) {
        Variable* v = t.parts.size() == 1 ? findVariable(t.parts[0]) : nullptr;
        if (!v || !v->collection) compileError(t.at, ora::kPlsWrongType);
        targets.push_back(v);
    }
    return targets;
}

void Interpreter::collectReturned(const std::vector<NamePath>& into,
                                  const std::vector<std::vector<Value>>& rows, bool append,
                                  Position at) {
    const std::vector<Variable*> targets = collectionTargets(into);
    for (Variable* v : targets) {
        if (v->collection->type->textKeys) compileError(at, ora::kPlsWrongType);
        if (append) continue;
        v->collection->ints.clear();
        v->collection->null = false;
    }
    for (const std::vector<Value>& row : rows) {
        if (row.size() != targets.size())
            throw PlError::numbered(ora::kNumericOrValueError.code, at);
        for (std::size_t i = 0; i < row.size(); ++i) {
            Collection& c = *targets[i]->collection;
            const std::int64_t next = c.ints.empty() ? 1 : c.ints.rbegin()->first + 1;
            c.ints[next].value = coerce(row[i], c.type->element, at);
        }
    }
}

std::vector<std::int64_t> Interpreter::forallIndexes(const Stmt& s) {
    const TypeSpec counterType = TypeSpec::plain(TypeSpec::Kind::PlsInteger);
    auto bound = [&](const Expr& e) {
        const Value v = coerce(evaluate(e), counterType, s.at);
        if (v.isNull()) throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
        return v.data.integer;
    };
    std::vector<std::int64_t> indexes;
    if (s.forall == Stmt::Bounds::Range) {
        const std::int64_t low = bound(s.exprs[0]), high = bound(s.exprs[1]);
        for (std::int64_t i = low; i <= high; ++i) indexes.push_back(i);
        return indexes;
    }
    Variable* v = findVariable(s.name);
    if (!v) compileError(s.at, ora::kPlsNotDeclared, s.name);
    if (!v->collection || v->collection->type->textKeys) compileError(s.at, ora::kPlsWrongType);
    const Collection& c = *v->collection;
    if (c.null) throw PlError::numbered(kCollectionIsNull, s.at);
    if (s.forall == Stmt::Bounds::IndicesOf) {
        // The subscripts the collection has, in order; BETWEEN skips those outside its bounds.
        const bool between = !s.exprs.empty();
        const std::int64_t low = between ? bound(s.exprs[0]) : 0;
        const std::int64_t high = between ? bound(s.exprs[1]) : 0;
        for (const auto& e : c.ints)
            if (!between || (e.first >= low && e.first <= high)) indexes.push_back(e.first);
        return indexes;
    }
    // VALUES OF: the elements' values, in the order of their subscripts, repeats and all.
    for (const auto& e : c.ints) {
        const Value n = coerce(e.second.value, counterType, s.at);
        if (n.isNull()) throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
        indexes.push_back(n.data.integer);
    }
    return indexes;
}

Interpreter::Flow Interpreter::runForall(const Stmt& s) {
    const std::vector<std::int64_t> indexes = forallIndexes(s);
    pushFrame();
    struct Pop {
        std::vector<std::unique_ptr<Frame>>& frames;
        ~Pop() { frames.pop_back(); }
    } pop{frames_};
    Variable& counter =
        declareVariable(s.target.parts[0], TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
    counter.constant = true;
    // RETURNING ... BULK COLLECT INTO: each execution's rows follow the ones before. An
    // INSERT's row is read back after it, as a single INSERT's is (its triggers' values).
    const bool insert = !s.into.empty() && src_.at(s.sql.first).isWord("INSERT");
    CompiledSql& c = compiled(&s, 0, s.sql,
                              insert ? Range{s.returning.first - 1, s.sql.last} : s.skip, true);
    if (!s.into.empty()) {
        if (!insert) c.cursor->keepReturnedRows();
        collectReturned(s.into, {}, false, s.at);
    }
    bulkRowCounts_.clear();
    bulkExceptions_.clear();
    unsigned total = 0;
    sqlRan_ = true;
    sqlRowCount_ = 0;
    for (std::size_t n = 0; n < indexes.size(); ++n) {
        port_->checkCancel();
        counter.value = Value::integer(indexes[n]);
        bindAll(c);
        unsigned rows = 0;
        try {
            c.cursor->execute();
            rows = c.cursor->rowsChanged();
            if (insert)
                collectReturned(s.into, insertedRows(insertedRow(s), rows), true, s.at);
            else if (!s.into.empty())
                collectReturned(s.into, c.cursor->returnedRows(), true, s.at);
        } catch (const occi::SQLException& e) {
            // Without SAVE EXCEPTIONS the first failing execution ends the statement; the
            // executions before it keep their changes.
            sqlRowCount_ = total;
            if (!s.saveExceptions) throw;
            bulkExceptions_.push_back(BulkException{static_cast<unsigned>(n + 1),
                                                    e.getErrorCode()});
        }
        bulkRowCounts_[indexes[n]] = rows;
        total += rows;
    }
    sqlRowCount_ = total;
    if (!bulkExceptions_.empty())
        throw PlError::fromSql(makeError(ora::kArrayDmlErrors), s.at);
    return Flow{};
}

Value Interpreter::bulkAttribute(const std::string& attribute, const Value* index) {
    auto subscript = [&]() -> std::int64_t {
        if (!index || index->isNull()) throw PlError::numbered(ora::kNumericOrValueError.code, at_);
        return coerce(*index, TypeSpec::plain(TypeSpec::Kind::PlsInteger), at_).data.integer;
    };
    if (attribute == "BULK_ROWCOUNT") {
        const auto found = bulkRowCounts_.find(subscript());
        if (found == bulkRowCounts_.end()) throw PlError::numbered(ora::kNoDataFound.code, at_);
        return Value::integer(found->second);
    }
    if (attribute == "BULK_EXCEPTIONS.COUNT")
        return Value::integer(static_cast<std::int64_t>(bulkExceptions_.size()));
    const std::int64_t j = subscript();
    if (j < 1 || j > static_cast<std::int64_t>(bulkExceptions_.size()))
        throw PlError::numbered(ora::kNoDataFound.code, at_);
    const BulkException& e = bulkExceptions_[static_cast<std::size_t>(j - 1)];
    return Value::integer(attribute == "BULK_EXCEPTIONS.ERROR_INDEX" ? e.iteration : e.code);
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
