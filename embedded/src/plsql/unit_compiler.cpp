#include "plsql/unit_compiler.h"

#include <cstdio>

#include "base/access.h"
#include "base/ora_messages.h"
#include "base/text.h"
#include "plsql/compile_error.h"
#include "plsql/packages.h"
#include "plsql/parser.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

// The data type USER_ARGUMENTS shows for a parameter's declared type.
std::string argumentType(const TypeSpec& t) {
    using K = TypeSpec::Kind;
    switch (t.kind) {
        case K::Number:
            return "NUMBER";
        case K::PlsInteger:
            return "BINARY_INTEGER";
        case K::BinaryDouble:
            return "BINARY_DOUBLE";
        case K::BinaryFloat:
            return "BINARY_FLOAT";
        case K::Varchar2:
            return "VARCHAR2";
        case K::Char:
            return "CHAR";
        case K::Date:
            return "DATE";
        case K::Timestamp:
            return "TIMESTAMP";
        case K::Boolean:
            return "PL/SQL BOOLEAN";
        case K::Clob:
            return "CLOB";
        case K::Blob:
            return "BLOB";
        case K::Raw:
            return "RAW";
        case K::RefCursor:
            return "REF CURSOR";
        case K::RowType:
            return "PL/SQL RECORD";
        default:
            return t.sqlText;  // %TYPE and the like, as written
    }
}


std::string argumentRows(const Unit& unit) {
    std::string out = "[";
    auto row = [&](const std::string& name, std::size_t position, const char* mode,
                   const std::string& type, bool defaulted) {
        if (out.size() > 1) out += ',';
        out += "[" + (name.empty() ? std::string("null") : jsonText(name)) + "," +
               std::to_string(position) + "," + jsonText(mode) + "," + jsonText(type) + "," +
               jsonText(defaulted ? "Y" : "N") + "]";
    };
    if (unit.kind == Unit::Kind::Function) row("", 0, "OUT", argumentType(unit.returnType), false);
    for (std::size_t i = 0; i < unit.params.size(); ++i) {
        const Parameter& p = unit.params[i];
        const char* mode = p.mode == Parameter::Mode::In    ? "IN"
                           : p.mode == Parameter::Mode::Out ? "OUT"
                                                            : "IN/OUT";
        row(p.name, i + 1, mode, argumentType(p.type), p.hasDefault);
    }
    return out + "]";
}

// The USER_ARGUMENTS rows of a unit's text; CompileError when it does not compile. A package's
// body compiles with its package, which must be there and VALID.
std::string compiledArguments(SqlPort& port, const UnitSource& unit) {
    if (unit.type == "PACKAGE") {
        const Source declared(unit.text);
        return packageArgumentRows(*parsePackage(declared), argumentRows);
    }
    if (unit.type == "PACKAGE BODY") {
        UnitSource declared;
        if (!port.findUnitOfType(unit.name, "PACKAGE", declared))
            compileError(Position{}, ora::kPlsNotDeclared, unit.name);
        if (declared.status != "VALID")
            compileError(Position{}, ora::kPlsObjectInvalid, port.schema() + "." + unit.name);
        const Source both(declared.text, unit.text);
        checkPackageBody(*parsePackage(both));
        return "[]";
    }
    const Source body(unit.text);
    return argumentRows(*parseStoredUnit(body));
}


// Where the unit's text first names name.
Position firstUse(const std::string& text, const std::string& name) {
    const Source source(text);
    for (const SourceToken& t : source.tokens())
        if ((t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent) &&
            t.name() == name)
            return Position{t.line, t.column};
    return Position{};
}

// What the unit uses that is gone or broken: a compile error, as Oracle's compiler gives it.
void checkUses(SqlPort& port, const UnitSource& unit) {
    for (const auto& [name, type] : port.brokenUses(unit)) {
        const Position at = firstUse(unit.text, name);
        UnitSource used;
        if (port.findUnitOfType(name, type, used))
            compileError(at, ora::kPlsObjectInvalid, port.schema() + "." + name);
        if (type == "TABLE" || type == "VIEW" || type == "SEQUENCE") {
            const std::string text =
                type == "SEQUENCE" ? oraErrorText(ora::kSequenceDoesNotExist)
                                   : oraErrorText(ora::kTableOrViewDoesNotExist);
            throw CompileError{makeError(ora::kPlSqlCompileError, at.line, at.column,
                                         "PL/SQL: " + text)};
        }
        compileError(at, ora::kPlsNotDeclared, name);
    }
}

}  // namespace

void compileUnit(SqlPort& port, UnitSource& unit, bool uses) {
    unit.errorLine = unit.errorPosition = 0;
    unit.errorText.clear();
    try {
        unit.arguments = compiledArguments(port, unit);
        if (uses) checkUses(port, unit);
        unit.status = "VALID";
        return;
    } catch (const CompileError& e) {
        // "ORA-06550: line L, column C:\nPLS-...": USER_ERRORS keeps where and the text after.
        const std::string message = e.error.what();
        std::sscanf(message.c_str(), "ORA-06550: line %d, column %d", &unit.errorLine,
                    &unit.errorPosition);
        const std::size_t text = message.find('\n');
        unit.errorText = text == std::string::npos ? message : message.substr(text + 1);
    } catch (const occi::SQLException& e) {
        unit.errorLine = unit.errorPosition = 1;  // the text does not even lex
        unit.errorText = e.what();
    }
    while (!unit.errorText.empty() && unit.errorText.back() == '\n') unit.errorText.pop_back();
    unit.status = "INVALID";
}

void revalidateUnit(SqlPort& port, UnitSource& unit) {
    if (unit.status != "INVALID" || !unit.errorText.empty()) return;
    compileUnit(port, unit, true);
    port.saveCompiled(unit);
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
