// Packages as a session holds them. A package's instance is made the first time the session
// uses the package: its declarations and its body's are made in an interpreter of its own, and
// the body's initialisation part runs once. The instance's variables then keep
// their values from call to call until the session ends, or until the package is replaced
// (CREATE OR REPLACE) or dropped, when the next use makes a new instance.
#ifndef KAVEXDB_PLSQL_PACKAGES_H
#define KAVEXDB_PLSQL_PACKAGES_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "plsql/ast.h"
#include "plsql/interpreter.h"
#include "plsql/source.h"
#include "plsql/sql_port.h"

namespace kavexdb {
namespace detail {
namespace plsql {

class PackageInstance : public std::enable_shared_from_this<PackageInstance> {
  public:
    // declared (the PACKAGE unit) and body as the catalog keeps them (body null: the package has
    // none). The
    // declarations are made and the initialisation runs on port; its errors come as PlError
    // (a declaration's or initialisation's) or CompileError. port must outlive the call.
    PackageInstance(SqlPort& port, const UnitSource& declared, const UnitSource* body);
    ~PackageInstance();
    PackageInstance(const PackageInstance&) = delete;
    PackageInstance& operator=(const PackageInstance&) = delete;

    const std::string& name() const { return package_->name; }
    // Whether the catalog's texts are still the ones the instance was made of.
    bool madeOf(const UnitSource& declared, const UnitSource* body) const;
    bool hasBody() const { return package_->body != nullptr; }
    const Package& package() const { return *package_; }
    // The interpreter the package's declarations live in (the package's, then the body's) and its
    // subprograms run in.
    Interpreter& interpreter() { return *interpreter_; }
    // The body's subprograms that the package declares under that name (its public ones), in
    // the order the package declares them.
    const std::vector<const Unit*>& publicSubprograms(const std::string& name) const;

  private:
    std::string declaredText_, bodyText_;
    std::unique_ptr<Source> source_;
    std::unique_ptr<Package> package_;
    HostBinds none_;
    std::unique_ptr<Interpreter> interpreter_;
    std::map<std::string, std::vector<const Unit*>> public_;
};

class PackageSession {
  public:
    // The session's instance of the package of that name, made when the session first uses
    // it and made again when the catalog's package changed; null when there is no package of
    // that name. ORA-04067 (no body) is the call's, not this lookup's.
    // PLS-00905 (CompileError) when the package or its body is INVALID.
    std::shared_ptr<PackageInstance> instance(SqlPort& port, const std::string& name);
    // The session's DDL replaced or dropped the package: its state goes.
    void forget(const std::string& name) { instances_.erase(name); }
    void clear() { instances_.clear(); }

  private:
    // Shared with the calls running in an instance, which may replace the package they run in.
    std::map<std::string, std::shared_ptr<PackageInstance>> instances_;
};

// Whether the body defines each subprogram its package declares: the one it does not define is
// PLS-00323, as CompileError.
void checkPackageBody(const Package& package);
// The USER_ARGUMENTS rows of a package's subprograms: [[subprogram, overload, PROCEDURE |
// FUNCTION, [argument rows]], ...] (overload: null unless the name is overloaded).
std::string packageArgumentRows(const Package& package,
                                std::string (*unitRows)(const Unit& unit));

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
