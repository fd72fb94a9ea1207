// Packages: their instances in a session, their public members as calls from outside meet
// them, and the checks and catalog rows of CREATE PACKAGE [BODY].
#include "plsql/packages.h"

#include "base/access.h"
#include "base/ora_messages.h"
#include "base/text.h"
#include "plsql/compile_error.h"
#include "plsql/nesting.h"
#include "plsql/parser.h"
#include "plsql/unit_compiler.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

// Whether a body's subprogram is the one a package's declaration declares: the same
// name, kind and parameters (by name, mode and type, in order), which tells overloads apart.
bool sameHead(const Unit& declared, const Unit& defined) {
    if (declared.name != defined.name || declared.kind != defined.kind ||
        declared.params.size() != defined.params.size())
        return false;
    for (std::size_t i = 0; i < declared.params.size(); ++i) {
        const Parameter& a = declared.params[i];
        const Parameter& b = defined.params[i];
        if (a.name != b.name || a.mode != b.mode || a.type.kind != b.type.kind ||
            a.type.of != b.type.of)
            return false;
    }
    return true;
}

const Unit* definition(const Package& p, const Unit& declared) {
    if (!p.body) return nullptr;
    for (const Decl& d : p.body->decls)
        if (d.kind == Decl::Kind::Subprogram && d.unit->body && sameHead(declared, *d.unit))
            return d.unit.get();
    return nullptr;
}

}  // namespace

PackageInstance::PackageInstance(SqlPort& port, const UnitSource& declared, const UnitSource* body)
    : declaredText_(declared.text), bodyText_(body ? body->text : std::string()) {
    source_ = body ? std::make_unique<Source>(declared.text, body->text)
                   : std::make_unique<Source>(declared.text);
    package_ = parsePackage(*source_);
    for (const Decl& d : package_->declared.decls) {
        if (d.kind != Decl::Kind::Subprogram) continue;
        if (const Unit* u = definition(*package_, *d.unit)) public_[d.name].push_back(u);
    }
    interpreter_ = std::make_unique<Interpreter>(port, *source_, none_);
    interpreter_->openPackage(*package_, port);
}

PackageInstance::~PackageInstance() = default;

bool PackageInstance::madeOf(const UnitSource& declared, const UnitSource* body) const {
    return declared.text == declaredText_ && (body ? body->text : std::string()) == bodyText_ &&
           (body != nullptr) == hasBody();
}

const std::vector<const Unit*>& PackageInstance::publicSubprograms(const std::string& name) const {
    static const std::vector<const Unit*> none;
    auto found = public_.find(name);
    return found == public_.end() ? none : found->second;
}

std::shared_ptr<PackageInstance> PackageSession::instance(SqlPort& port, const std::string& name) {
    UnitSource declared, body;
    if (!port.findUnitOfType(name, "PACKAGE", declared)) {
        instances_.erase(name);
        return nullptr;
    }
    revalidateUnit(port, declared);
    const bool hasBody = port.findUnitOfType(name, "PACKAGE BODY", body);
    if (hasBody) revalidateUnit(port, body);
    const std::string shown = port.schema() + "." + name;
    if (declared.status != "VALID" || (hasBody && body.status != "VALID"))
        compileError(Position{}, ora::kPlsObjectInvalid, shown);
    auto found = instances_.find(name);
    if (found != instances_.end() && found->second->madeOf(declared, hasBody ? &body : nullptr))
        return found->second;
    instances_.erase(name);
    auto made = std::make_shared<PackageInstance>(port, declared, hasBody ? &body : nullptr);
    instances_[name] = made;
    return made;
}

void checkPackageBody(const Package& package) {
    for (const Decl& d : package.declared.decls)
        if (d.kind == Decl::Kind::Subprogram && !definition(package, *d.unit))
            compileError(package.body->at, ora::kPlsNotDefinedInBody, d.name);
}

std::string packageArgumentRows(const Package& package,
                                std::string (*unitRows)(const Unit& unit)) {
    std::map<std::string, int> declared, numbered;
    for (const Decl& d : package.declared.decls)
        if (d.kind == Decl::Kind::Subprogram) ++declared[d.name];
    std::string out = "[";
    for (const Decl& d : package.declared.decls) {
        if (d.kind != Decl::Kind::Subprogram) continue;
        if (out.size() > 1) out += ',';
        const std::string overload =
            declared[d.name] > 1 ? std::to_string(++numbered[d.name]) : std::string("null");
        out += "[" + jsonText(d.name) + "," +
               (overload == "null" ? overload : jsonText(overload)) + "," +
               jsonText(d.unit->kind == Unit::Kind::Function ? "FUNCTION" : "PROCEDURE") + "," +
               unitRows(*d.unit) + "]";
    }
    return out + "]";
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
