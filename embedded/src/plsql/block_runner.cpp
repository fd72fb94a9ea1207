#include "plsql/block_runner.h"

#include "base/text.h"

#include <cctype>
#include <cstdio>

#include "base/access.h"
#include "base/ora_messages.h"
#include "plsql/compile_error.h"
#include "plsql/nesting.h"
#include "plsql/packages.h"
#include "plsql/parser.h"
#include "plsql/triggers.h"
#include "plsql/unit_compiler.h"

namespace kavexdb {
namespace detail {
namespace plsql {

void runAnonymousBlock(SqlPort& port, const std::string& text, HostBinds& host) {
    const NestingLevel nested;
    try {
        const Source source(text);
        const std::unique_ptr<Block> block = parseAnonymousBlock(source);
        Interpreter interpreter(port, source, host);
        interpreter.run(*block);
        host = interpreter.hostBinds();
    } catch (const CompileError& e) {
        throw e.error;
    }
}

namespace {

// ALTER PROCEDURE | FUNCTION | PACKAGE [schema.]name COMPILE [PACKAGE | BODY | the word for the
// package alone] [DEBUG] [REUSE SETTINGS]: the unit compiled again (a package and its body, or
// the one named), ORA-24344 when it does not compile.
void alterUnit(SqlPort& port, const Source& source) {
    const SourceToken& type = source.at(1);
    std::size_t i = 2;
    std::string name = source.at(i).name();
    if (source.at(i + 1).isSymbol(".")) {
        i += 2;
        name = source.at(i).name();
    }
    ++i;
    if (!(type.isWord("PROCEDURE") || type.isWord("FUNCTION") || type.isWord("PACKAGE")) ||
        !source.at(i).isWord("COMPILE"))
        raise(ora::kMissingOrInvalidOption);
    std::vector<std::string> types{type.name()};
    const SourceToken& part = source.at(i + 1);
    if (type.isWord("PACKAGE") && part.isWord("BODY")) types = {"PACKAGE BODY"};
    const bool both = !part.isWord("BODY") && (part.kind != Token::Kind::Word ||
                                                part.isWord("PACKAGE") || part.isWord("DEBUG") ||
                                                part.isWord("REUSE"));
    if (type.isWord("PACKAGE") && both) types.push_back("PACKAGE BODY");
    bool valid = true;
    for (const std::string& t : types) {
        UnitSource unit;
        if (!port.findUnitOfType(name, t, unit)) {
            if (t == "PACKAGE BODY" && types.size() == 2) continue;  // a package without one
            raise(ora::kObjectDoesNotExist, name);
        }
        compileUnit(port, unit, true);
        port.saveCompiled(unit);
        valid = valid && unit.status == "VALID";
    }
    if (!valid) raise(ora::kSuccessWithCompilationError);
}

}  // namespace

void runUnitDdl(SqlPort& port, const std::string& text) {
    const Source source(text);
    if (isTriggerDdl(source)) return runTriggerDdl(port, source);
    UnitHead head;
    if (readUnitHead(source, head)) {
        UnitSource unit;
        unit.name = head.name;
        unit.type = head.type;
        unit.text = text.substr(head.sourceBegin);
        // SQL*Plus's "/" line is the script's, not the unit's.
        while (!unit.text.empty() && (unit.text.back() == '/' ||
                                      std::isspace(static_cast<unsigned char>(unit.text.back()))))
            unit.text.pop_back();
        compileUnit(port, unit, false);
        port.saveUnit(unit, head.orReplace);
        if (unit.status != "VALID") raise(ora::kSuccessWithCompilationError);
        return;
    }
    if (source.at(0).isWord("ALTER")) return alterUnit(port, source);
    // DROP PROCEDURE | FUNCTION | PACKAGE [BODY] name
    const SourceToken& type = source.at(1);
    const bool body = type.isWord("PACKAGE") && source.at(2).isWord("BODY");
    std::size_t at = body ? 3 : 2;
    const SourceToken& name = source.at(at);
    if (!source.at(0).isWord("DROP") ||
        !(type.isWord("PROCEDURE") || type.isWord("FUNCTION") || type.isWord("PACKAGE")) ||
        (name.kind != Token::Kind::Word && name.kind != Token::Kind::QuotedIdent))
        raise(ora::kInvalidSqlStatement);
    std::size_t end = at + 1;
    std::string unitName = name.name();
    if (source.at(end).isSymbol(".")) {  // schema.name
        unitName = source.at(end + 1).name();
        end += 2;
    }
    if (source.at(end).isSymbol(";")) ++end;
    if (end + 1 < source.tokens().size()) raise(ora::kCommandNotProperlyEnded);
    port.dropUnit(unitName, body ? "PACKAGE BODY" : type.name());
}

Value callStoredFunction(SqlPort& port, const std::string& name, const std::vector<Value>& args) {
    const Source none("");
    const HostBinds host;
    Interpreter interpreter(port, none, host);
    try {
        return interpreter.callFunction(name, args);
    } catch (const CompileError& e) {
        throw e.error;
    } catch (const PlError& err) {  // a package's opening that failed
        throw Access::error(err.name.empty() ? err.code : ora::kUnhandledUserException.code,
                            err.message);
    }
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
