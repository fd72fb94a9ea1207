// The interpreter's calls of stored procedures and functions: arguments matched to parameters
// by position or by name, the unit run in an interpreter of its own (it sees its parameters and
// its own declarations, not the caller's), and its OUT parameters assigned back.
#include "base/access.h"
#include "base/ora_messages.h"
#include "plsql/compile_error.h"
#include "plsql/interpreter.h"
#include "plsql/nesting.h"
#include "plsql/packages.h"
#include "plsql/parser.h"
#include "plsql/unit_compiler.h"
#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {
namespace plsql {

Interpreter::LoadedUnit* Interpreter::loadUnit(const std::string& name) {
    auto found = units_.find(name);
    if (found != units_.end()) return found->second.get();
    std::unique_ptr<LoadedUnit> u;
    UnitSource stored;
    if (port_->findUnit(name, stored) && stored.type != "PACKAGE") {
        revalidateUnit(*port_, stored);
        u = std::make_unique<LoadedUnit>();
        u->stored = std::move(stored);
        u->source = std::make_unique<Source>(u->stored.text);
        try {
            u->unit = parseStoredUnit(*u->source);
        } catch (const CompileError&) {
            u->unit.reset();  // INVALID: a call says so
        }
    }
    return units_.emplace(name, std::move(u)).first->second.get();
}

NamePath Interpreter::outTarget(const Expr& e) {
    const Range r = e.range;
    NamePath p;
    p.at = e.at;
    const SourceToken& first = src_.at(r.first);
    const bool name = first.kind == Token::Kind::Word || first.kind == Token::Kind::QuotedIdent;
    if (first.kind == Token::Kind::Bind && r.last - r.first == 1) {
        p.hostBind = true;  // the host's bind, an OUT bind of the block
        p.parts.push_back(upperAscii(first.text.substr(1)));
    } else if (name && r.last - r.first == 1) {
        p.parts.push_back(first.name());
    } else if (name && r.last - r.first == 3 && src_.at(r.first + 1).isSymbol(".")) {
        p.parts.push_back(first.name());
        p.parts.push_back(src_.at(r.first + 2).name());
    } else {
        compileError(e.at, ora::kPlsNotAssignable, src_.slice(r.first, r.last));
    }
    return p;
}

const Unit* Interpreter::findSubprogram(const std::string& name) const {
    for (std::size_t i = frames_.size(); i-- > 0; i = outerFrame(i))
        for (const Unit* u : frames_[i]->subprograms)
            if (u->name == name) return u;
    return nullptr;
}

std::vector<const Unit*> Interpreter::findSubprograms(const std::string& name) const {
    std::vector<const Unit*> found;
    for (std::size_t i = frames_.size(); i-- > 0 && found.empty(); i = outerFrame(i))
        for (const Unit* u : frames_[i]->subprograms)
            if (u->name == name) found.push_back(u);
    return found;
}

bool Interpreter::callableFunction(const std::string& name) {
    if (name.find('.') != std::string::npos) return packageFunction(name);
    if (const Unit* u = findSubprogram(name)) return u->kind == Unit::Kind::Function;
    if (findVariable(name)) return false;
    const LoadedUnit* stored = loadUnit(name);
    return stored && (!stored->unit || stored->unit->kind == Unit::Kind::Function);
}

Value Interpreter::callStored(LoadedUnit& u, const std::vector<Expr>& args,
                              const std::vector<std::string>& names, Position at) {
    const std::string shown = port_->schema() + "." + u.stored.name;
    if (!u.unit || u.stored.status != "VALID") compileError(at, ora::kPlsObjectInvalid, shown);
    return callUnit(*u.unit, &u, args, names, at);
}

Value Interpreter::callUnit(const Unit& unit, LoadedUnit* stored, const std::vector<Expr>& args,
                            const std::vector<std::string>& names, Position at,
                            PackageInstance* package) {
    const std::vector<Parameter>& params = unit.params;
    const std::string& unitName = unit.name;
    // Which argument each parameter takes: positional ones first, then name => value.
    std::vector<int> argumentOf(params.size(), -1);
    std::size_t positional = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::size_t p = params.size();
        if (names[i].empty()) {
            if (positional != i) compileError(at, ora::kPlsWrongArguments, unitName);
            p = positional++;
        } else {
            for (std::size_t k = 0; k < params.size(); ++k)
                if (params[k].name == names[i]) p = k;
        }
        if (p >= params.size() || argumentOf[p] >= 0)
            compileError(at, ora::kPlsWrongArguments, unitName);
        argumentOf[p] = static_cast<int>(i);
    }
    std::vector<Value> values(params.size());
    std::vector<bool> given(params.size(), false);
    Composites composites(params.size());
    // The caller's collection or record an argument names, which goes in (and out) whole.
    auto composite = [&](const Expr& e) -> Variable* {
        const SourceToken& t = src_.at(e.range.first);
        if (e.range.last - e.range.first != 1 ||
            (t.kind != Token::Kind::Word && t.kind != Token::Kind::QuotedIdent))
            return nullptr;
        Variable* v = findVariable(t.name());
        return v && (v->collection || v->record) ? v : nullptr;
    };
    for (std::size_t p = 0; p < params.size(); ++p) {
        const int a = argumentOf[p];
        if (a < 0) {
            if (params[p].mode != Parameter::Mode::In || !params[p].hasDefault)
                compileError(at, ora::kPlsWrongArguments, unitName);
            continue;
        }
        given[p] = true;
        const Expr& e = args[static_cast<std::size_t>(a)];
        if (Variable* whole = composite(e)) {
            Composite& c = composites[p];
            c.given = true;
            if (whole->collection) c.collection = std::make_shared<Collection>(*whole->collection);
            c.fields = whole->fields;
        } else if (params[p].mode == Parameter::Mode::In) {
            values[p] = evaluate(
                e, params[p].type.kind == TypeSpec::Kind::Boolean ? Mode::Condition : Mode::Value);
        } else {
            const NamePath target = outTarget(e);
            const TypeSpec* type = nullptr;
            const Value& current = targetValue(target, &type);
            // A host bind goes in as a read of it: ORA-01008 when the host bound nothing.
            if (params[p].mode == Parameter::Mode::InOut)
                values[p] = target.hostBind ? evaluate(e) : current;
        }
    }
    std::vector<Value> outs;
    Value result;
    if (stored) {
        result = runUnit(*stored, values, given, outs, at, &composites);
    } else if (package) {
        result = runMember(*package, unit, values, given, outs, at, &composites);
    } else {
        // The block's own subprogram runs in this interpreter, on top of the caller's frames.
        const NestingLevel level;
        const bool outerReturned = returned_;
        const Value outerValue = returnValue_;
        const std::size_t depth = frames_.size();
        returned_ = false;
        try {
            result = enterUnit(unit, values, given, outs, &composites);
        } catch (...) {
            while (frames_.size() > depth) frames_.pop_back();
            returned_ = outerReturned;
            returnValue_ = outerValue;
            throw;
        }
        while (frames_.size() > depth) frames_.pop_back();
        returned_ = outerReturned;
        returnValue_ = outerValue;
    }
    for (std::size_t p = 0; p < params.size(); ++p) {
        if (params[p].mode == Parameter::Mode::In || argumentOf[p] < 0) continue;
        const Expr& e = args[static_cast<std::size_t>(argumentOf[p])];
        if (!composites[p].given) {
            assign(outTarget(e), outs[p]);
            continue;
        }
        Variable* whole = composite(e);  // the collection or record takes what the unit left
        if (whole->collection && composites[p].collection) {
            Collection& to = *whole->collection;
            const Collection& from = *composites[p].collection;
            to.null = from.null;
            to.ints = from.ints;
            to.texts = from.texts;
        } else if (whole->record && composites[p].fields.size() == whole->fields.size()) {
            for (std::size_t i = 0; i < whole->fields.size(); ++i)
                whole->fields[i].second = composites[p].fields[i].second;
        }
    }
    return result;
}

Value Interpreter::runUnit(LoadedUnit& u, const std::vector<Value>& values,
                           const std::vector<bool>& given, std::vector<Value>& outs, Position at,
                           Composites* composites) {
    const NestingLevel level;
    const HostBinds none;
    Interpreter inner(*port_, *u.source, none);
    try {
        Value result = inner.enterUnit(*u.unit, values, given, outs, composites);
        calledRecord_ = std::move(inner.calledRecord_);
        return result;
    } catch (PlError& err) {
        // The error stack names the line of the unit, then the caller's line.
        err.message +=
            oraErrorText(ora::kPlSqlAtUnitLine, port_->schema() + "." + u.stored.name, err.at.line) +
            "\n";
        err.at = at;
        throw;
    }
}

Value Interpreter::enterUnit(const Unit& unit, const std::vector<Value>& values,
                             const std::vector<bool>& given, std::vector<Value>& outs,
                             Composites* composites) {
    pushFrame().owner = unit.name;
    std::vector<Variable*> params;
    for (std::size_t p = 0; p < unit.params.size(); ++p) {
        const Parameter& param = unit.params[p];
        Variable& v = declareVariable(param.name, param.type, param.at);
        at_ = param.at;
        const Composite* whole = composites && (*composites)[p].given ? &(*composites)[p] : nullptr;
        if (whole) {
            // A collection or record comes in whole (an OUT one starts empty, as Oracle's does).
            const bool in = param.mode != Parameter::Mode::Out;
            if (!v.collection && !v.record) compileError(param.at, ora::kPlsWrongType);
            if (v.collection && whole->collection && in) {
                v.collection->null = whole->collection->null;
                v.collection->ints = whole->collection->ints;
                v.collection->texts = whole->collection->texts;
            } else if (v.record && in) {
                if (v.fields.empty()) v.fields = whole->fields;
                if (v.fields.size() != whole->fields.size())
                    compileError(param.at, ora::kPlsWrongType);
                for (std::size_t i = 0; i < v.fields.size(); ++i)
                    v.fields[i].second = whole->fields[i].second;
            }
        } else if (given[p])
            v.value = coerce(values[p], v.type, param.at);
        else if (param.hasDefault)
            v.value = coerce(evaluate(param.defaultValue), v.type, param.at);
        v.constant = param.mode == Parameter::Mode::In;
        params.push_back(&v);
    }
    const Flow flow = runBlock(*unit.body);
    if (flow.kind == FlowKind::Exit || flow.kind == FlowKind::Continue)
        compileError(unit.body->at, ora::kPlsExitOutsideLoop);
    for (std::size_t p = 0; p < params.size(); ++p) {
        outs.push_back(params[p]->value);
        if (!composites || !(*composites)[p].given) continue;
        if (params[p]->collection)
            (*composites)[p].collection = std::make_shared<Collection>(*params[p]->collection);
        (*composites)[p].fields = params[p]->fields;
    }
    if (unit.kind == Unit::Kind::Procedure) return Value::null();
    if (!returned_) throw PlError::fromSql(makeError(ora::kFunctionReturnedWithoutValue), at_);
    const TypeSpec::Kind k = unit.returnType.kind;
    if ((k == TypeSpec::Kind::UserType || k == TypeSpec::Kind::RowType) &&
        !returnFields_.empty()) {
        calledRecord_ = returnFields_;  // a record's fields, read as f(x).field; no value
        return Value::null();
    }
    return coerce(returnValue_, unit.returnType, at_);
}

Value Interpreter::callFunction(const std::string& name, const std::vector<Value>& args) {
    std::string member;
    if (PackageInstance* p = packageOf(name, member)) {
        // SQL's arguments are values: the overload is the one their number and types fit.
        const Unit* chosen = nullptr;
        int fits = 0;
        for (const Unit* u : p->publicSubprograms(member)) {
            if (u->kind != Unit::Kind::Function || args.size() > u->params.size()) continue;
            bool fit = true;
            for (std::size_t i = 0; i < u->params.size() && fit; ++i) {
                if (i >= args.size()) {
                    fit = u->params[i].hasDefault;
                    continue;
                }
                const ValueType t = args[i].type;
                const TypeSpec::Kind k = u->params[i].type.kind;
                const bool number = k == TypeSpec::Kind::Number ||
                                    k == TypeSpec::Kind::PlsInteger ||
                                    k == TypeSpec::Kind::BinaryDouble ||
                                    k == TypeSpec::Kind::BinaryFloat;
                const bool text = k == TypeSpec::Kind::Varchar2 || k == TypeSpec::Kind::Char ||
                                  k == TypeSpec::Kind::Clob;
                if ((t == ValueType::Number && text) || (t == ValueType::Text && number))
                    fit = false;
            }
            if (fit) {
                chosen = chosen ? chosen : u;
                ++fits;
            }
        }
        if (!chosen) compileError(Position{}, ora::kPlsWrongArguments, name);
        if (fits > 1) compileError(Position{}, ora::kPlsTooManyMatches, name);
        for (const Parameter& param : chosen->params)
            if (param.mode != Parameter::Mode::In)
                compileError(Position{}, ora::kPlsRestriction,
                             "OUT parameters of a function in SQL");
        std::vector<bool> given(chosen->params.size(), false);
        std::vector<Value> values(chosen->params.size());
        for (std::size_t i = 0; i < args.size(); ++i) {
            values[i] = args[i];
            given[i] = true;
        }
        std::vector<Value> outs;
        try {
            return runMember(*p, *chosen, values, given, outs, Position{});
        } catch (const PlError& err) {
            throw Access::error(err.name.empty() ? err.code : ora::kUnhandledUserException.code,
                                err.message);
        }
    }
    LoadedUnit* u = loadUnit(name);
    if (!u || (u->unit && u->unit->kind != Unit::Kind::Function))
        compileError(Position{}, ora::kPlsNotDeclared, name);
    if (!u->unit || u->stored.status != "VALID")
        compileError(Position{}, ora::kPlsObjectInvalid, port_->schema() + "." + name);
    const std::vector<Parameter>& params = u->unit->params;
    if (args.size() > params.size()) compileError(Position{}, ora::kPlsWrongArguments, name);
    std::vector<bool> given(params.size(), false);
    std::vector<Value> values(params.size());
    for (std::size_t p = 0; p < params.size(); ++p) {
        if (params[p].mode != Parameter::Mode::In)
            compileError(Position{}, ora::kPlsRestriction, "OUT parameters of a function in SQL");
        if (p < args.size()) {
            values[p] = args[p];
            given[p] = true;
        } else if (!params[p].hasDefault) {
            compileError(Position{}, ora::kPlsWrongArguments, name);
        }
    }
    std::vector<Value> outs;
    try {
        return runUnit(*u, values, given, outs, Position{});
    } catch (const PlError& err) {
        throw Access::error(err.name.empty() ? err.code : ora::kUnhandledUserException.code,
                            err.message);
    }
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
