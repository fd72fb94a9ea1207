// The interpreter's side of packages: a package's own interpreter opening it, and the names
// PKG.MEMBER of other units and blocks (public variables, types and subprograms), with the
// choice among overloaded subprograms.
#include "base/ora_messages.h"
#include "plsql/compile_error.h"
#include "plsql/interpreter.h"
#include "plsql/nesting.h"
#include "plsql/packages.h"

namespace kavexdb {
namespace detail {
namespace plsql {

void Interpreter::openPackage(const Package& package, SqlPort& port) {
    port_ = &port;
    packageName_ = package.name;
    try {
        pushFrame();
        for (const Decl& d : package.declared.decls) declare(d);
        if (package.body) {
            pushFrame();
            for (const Decl& d : package.body->decls) declare(d);
        }
        packageFrames_ = frames_.size();
        if (package.body && !package.body->body.empty()) runHandled(*package.body);
    } catch (const occi::SQLException& e) {
        throw PlError::fromSql(e, at_);
    }
}

PackageInstance* Interpreter::findPackage(const std::string& name) {
    auto found = packages_.find(name);
    if (found != packages_.end()) {
        if (const std::shared_ptr<PackageInstance> p = found->second.lock()) return p.get();
        if (packageName_.empty()) return nullptr;  // none when this interpreter looked
    }
    // Not while the package opens itself: it is no instance yet.
    if (name == packageName_ && packageFrames_ == 0) return nullptr;
    std::shared_ptr<PackageInstance> p;
    try {
        const NestingLevel level;  // packages whose openings use each other end
        p = port_->packages().instance(*port_, name);
    } catch (PlError& err) {
        err.message +=
            oraErrorText(ora::kPlSqlAtUnitLine, port_->schema() + "." + name, err.at.line) + "\n";
        err.at = at_;
        throw;
    }
    packages_[name] = p;
    if (p && packageName_.empty()) held_.push_back(p);
    return p.get();
}

PackageInstance* Interpreter::packageOf(const std::string& dotted, std::string& member) {
    const std::size_t dot = dotted.rfind('.');
    if (dot == std::string::npos) return nullptr;
    std::string package = dotted.substr(0, dot);
    const std::size_t schemaDot = package.find('.');
    if (schemaDot != std::string::npos) {
        if (package.substr(0, schemaDot) != port_->schema()) return nullptr;
        package = package.substr(schemaDot + 1);
    }
    if (package.find('.') != std::string::npos) return nullptr;
    member = dotted.substr(dot + 1);
    return findPackage(package);
}

Interpreter::Variable* Interpreter::packageVariable(const std::string& dotted) {
    std::string member;
    PackageInstance* p = packageOf(dotted, member);
    if (!p) return nullptr;
    Interpreter& in = p->interpreter();
    if (in.frames_.empty()) return nullptr;
    for (Variable& v : in.frames_[0]->vars)
        if (v.name == member) return &v;
    return nullptr;
}

const Decl* Interpreter::packageType(const std::string& dotted, Interpreter** owner) {
    if (dotted.find('.') == std::string::npos) return nullptr;
    std::string member;
    PackageInstance* p = packageOf(dotted, member);
    if (!p) return nullptr;
    Interpreter& in = p->interpreter();
    if (in.frames_.empty()) return nullptr;
    // The package's interpreter evaluates on the caller's port from here on.
    in.port_ = in.frames_.size() == in.packageFrames_ ? port_ : in.port_;
    for (const Decl* d : in.frames_[0]->types)
        if (d->name == member) {
            *owner = &in;
            // The variables made of the type point at its declaration: it stays while they do.
            bool held = false;
            for (const auto& h : held_) held = held || h.get() == p;
            if (!held) held_.push_back(p->shared_from_this());
            return d;
        }
    return nullptr;
}

bool Interpreter::packageFunction(const std::string& dotted) {
    std::string member;
    PackageInstance* p = packageOf(dotted, member);
    if (!p) return false;
    for (const Decl& d : p->package().declared.decls)
        if (d.kind == Decl::Kind::Subprogram && d.name == member)
            return d.unit->kind == Unit::Kind::Function;
    return false;
}

Value Interpreter::callPackaged(PackageInstance& package, const std::string& member,
                                const std::vector<Expr>& args,
                                const std::vector<std::string>& names, Position at,
                                bool function) {
    const std::string shown = package.name() + "." + member;
    std::vector<const Unit*> candidates;
    bool declared = false;
    for (const Decl& d : package.package().declared.decls)
        if (d.kind == Decl::Kind::Subprogram && d.name == member) declared = true;
    for (const Unit* u : package.publicSubprograms(member))
        if ((u->kind == Unit::Kind::Function) == function) candidates.push_back(u);
    if (candidates.empty()) {
        if (declared && !package.hasBody())
            throw PlError::fromSql(
                makeError(ora::kPackageBodyMissing, port_->schema() + "." + package.name()), at);
        if (!declared) compileError(at, ora::kPlsNoSuchComponent, member);
        compileError(at, function ? ora::kPlsNoSuchFunction : ora::kPlsNotProcedure, shown);
    }
    const Unit* unit = chooseOverload(candidates, args, names, at, member);
    return callUnit(*unit, nullptr, args, names, at, &package);
}

Value Interpreter::runMember(PackageInstance& package, const Unit& unit,
                             const std::vector<Value>& values, const std::vector<bool>& given,
                             std::vector<Value>& outs, Position at, Composites* composites) {
    const NestingLevel level;
    const std::shared_ptr<PackageInstance> keep = package.shared_from_this();  // while it runs
    Interpreter& in = package.interpreter();
    // The package's interpreter runs the call on the caller's session port, above its own
    // frames; whatever the call leaves, the interpreter is as it was before it.
    struct Restore {
        Interpreter& in;
        SqlPort* port;
        std::size_t depth;
        Position at;
        bool returned;
        Value value;
        ~Restore() {
            while (in.frames_.size() > depth) in.frames_.pop_back();
            in.port_ = port;
            in.at_ = at;
            in.returned_ = returned;
            in.returnValue_ = value;
        }
    } restore{in, in.port_, in.frames_.size(), in.at_, in.returned_, in.returnValue_};
    in.port_ = port_;
    in.returned_ = false;
    in.pushFrame().callBase = true;
    try {
        Value result = in.enterUnit(unit, values, given, outs, composites);
        calledRecord_ = in.calledRecord_;
        return result;
    } catch (PlError& err) {
        err.message += oraErrorText(ora::kPlSqlAtUnitLine, port_->schema() + "." + package.name(),
                                    err.at.line) +
                       "\n";
        err.at = at;
        throw;
    }
}

namespace {

// What overloads are told apart by: the family of a type.
enum class Family { Unknown, Number, Text, Date, Boolean, Named };

Family familyOf(const TypeSpec& t) {
    using K = TypeSpec::Kind;
    switch (t.kind) {
        case K::Number:
        case K::PlsInteger:
        case K::BinaryDouble:
        case K::BinaryFloat:
            return Family::Number;
        case K::Varchar2:
        case K::Char:
        case K::Clob:
            return Family::Text;
        case K::Date:
        case K::Timestamp:
            return Family::Date;
        case K::Boolean:
            return Family::Boolean;
        case K::UserType:
            return Family::Named;
        default:
            return Family::Unknown;
    }
}

}  // namespace

const Unit* Interpreter::chooseOverload(const std::vector<const Unit*>& candidates,
                                        const std::vector<Expr>& args,
                                        const std::vector<std::string>& names, Position at,
                                        const std::string& shown) {
    if (candidates.size() == 1) return candidates[0];  // callUnit reports a call that misfits
    // The parameter each argument goes to, or none when the call does not fit the unit.
    auto parameters = [&](const Unit& u, std::vector<std::size_t>& of) {
        std::vector<bool> taken(u.params.size(), false);
        of.clear();
        std::size_t positional = 0;
        for (std::size_t i = 0; i < args.size(); ++i) {
            std::size_t p = u.params.size();
            if (names[i].empty()) {
                p = positional++;
            } else {
                for (std::size_t k = 0; k < u.params.size(); ++k)
                    if (u.params[k].name == names[i]) p = k;
            }
            if (p >= u.params.size() || taken[p]) return false;
            taken[p] = true;
            of.push_back(p);
        }
        for (std::size_t p = 0; p < u.params.size(); ++p)
            if (!taken[p] && !u.params[p].hasDefault) return false;
        return true;
    };
    // An argument's family when it shows before the call runs: a literal, a variable, a
    // conversion function's result.
    auto argumentFamily = [&](const Expr& e, std::string& typeName) {
        const SourceToken& t = src_.at(e.range.first);
        const bool single = e.range.last - e.range.first == 1;
        if (t.kind == Token::Kind::Number && single) return Family::Number;
        if (t.kind == Token::Kind::String && single) return Family::Text;
        if ((t.isWord("TRUE") || t.isWord("FALSE")) && single) return Family::Boolean;
        if (t.isWord("DATE") || t.isWord("TIMESTAMP") || t.isWord("SYSDATE") ||
            t.isWord("TO_DATE") || t.isWord("SYSTIMESTAMP") || t.isWord("TO_TIMESTAMP"))
            return Family::Date;
        if (t.isWord("TO_CHAR")) return Family::Text;
        if (t.isWord("TO_NUMBER")) return Family::Number;
        if (single && (t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent)) {
            if (Variable* v = findVariable(t.name())) {
                if (v->type.kind == TypeSpec::Kind::UserType) typeName = v->type.of[0];
                return familyOf(v->type);
            }
        }
        return Family::Unknown;
    };
    std::vector<const Unit*> fitting, typed;
    std::vector<std::size_t> of;
    for (const Unit* u : candidates)
        if (parameters(*u, of)) fitting.push_back(u);
    if (fitting.size() == 1) return fitting[0];
    if (fitting.empty()) compileError(at, ora::kPlsWrongArguments, shown);
    for (const Unit* u : fitting) {
        parameters(*u, of);
        bool matches = true;
        for (std::size_t i = 0; i < args.size() && matches; ++i) {
            std::string typeName;
            const Family a = argumentFamily(args[i], typeName);
            const TypeSpec& type = u->params[of[i]].type;
            const Family p = familyOf(type);
            if (a == Family::Unknown || p == Family::Unknown) continue;
            matches = a == p && (a != Family::Named || type.of[0] == typeName);
        }
        if (matches) typed.push_back(u);
    }
    if (typed.size() == 1) return typed[0];
    if (typed.empty()) compileError(at, ora::kPlsWrongArguments, shown);
    compileError(at, ora::kPlsTooManyMatches, shown);
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
