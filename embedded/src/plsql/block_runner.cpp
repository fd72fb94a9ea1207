#include "plsql/block_runner.h"

#include <cctype>
#include <cstdio>

#include "base/ora_messages.h"
#include "plsql/compile_error.h"
#include "plsql/nesting.h"
#include "plsql/parser.h"

namespace kavexdb {
namespace detail {
namespace plsql {

void runAnonymousBlock(SqlPort& port, const std::string& text, const HostBinds& host) {
    const NestingLevel nested;
    try {
        const Source source(text);
        const std::unique_ptr<Block> block = parseAnonymousBlock(source);
        Interpreter interpreter(port, source, host);
        interpreter.run(*block);
    } catch (const CompileError& e) {
        throw e.error;
    }
}

void runUnitDdl(SqlPort& port, const std::string& text) {
    const Source source(text);
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
        bool valid = true;
        try {
            const Source body(unit.text);
            parseStoredUnit(body);
        } catch (const CompileError& e) {
            // "ORA-06550: line L, column C:\nPLS-...": USER_ERRORS keeps where and the PLS text.
            valid = false;
            const std::string message = e.error.what();
            std::sscanf(message.c_str(), "ORA-06550: line %d, column %d", &unit.errorLine,
                        &unit.errorPosition);
            const std::size_t pls = message.find("PLS-");
            unit.errorText = pls == std::string::npos ? message : message.substr(pls);
            while (!unit.errorText.empty() && unit.errorText.back() == '\n')
                unit.errorText.pop_back();
        } catch (const occi::SQLException& e) {
            valid = false;  // the text does not even lex
            unit.errorLine = unit.errorPosition = 1;
            unit.errorText = e.what();
        }
        unit.status = valid ? "VALID" : "INVALID";
        port.saveUnit(unit, head.orReplace);
        if (!valid) raise(ora::kSuccessWithCompilationError);
        return;
    }
    // DROP PROCEDURE | FUNCTION name
    const SourceToken& type = source.at(1);
    const SourceToken& name = source.at(2);
    if (!source.at(0).isWord("DROP") || !(type.isWord("PROCEDURE") || type.isWord("FUNCTION")) ||
        (name.kind != Token::Kind::Word && name.kind != Token::Kind::QuotedIdent))
        raise(ora::kInvalidSqlStatement);
    std::size_t end = 3;
    std::string unitName = name.name();
    if (source.at(3).isSymbol(".")) {  // schema.name
        unitName = source.at(4).name();
        end = 5;
    }
    if (source.at(end).isSymbol(";")) ++end;
    if (end + 1 < source.tokens().size()) raise(ora::kCommandNotProperlyEnded);
    port.dropUnit(unitName, type.name());
}

Value callStoredFunction(SqlPort& port, const std::string& name, const std::vector<Value>& args) {
    const Source none("");
    const HostBinds host;
    Interpreter interpreter(port, none, host);
    try {
        return interpreter.callFunction(name, args);
    } catch (const CompileError& e) {
        throw e.error;
    }
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
