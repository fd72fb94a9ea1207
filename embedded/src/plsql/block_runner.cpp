#include "plsql/block_runner.h"

#include "base/text.h"

#include <cctype>
#include <cstdio>

#include "base/ora_messages.h"
#include "plsql/compile_error.h"
#include "plsql/nesting.h"
#include "plsql/parser.h"
#include "plsql/triggers.h"

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
        bool valid = true;
        try {
            const Source body(unit.text);
            unit.arguments = argumentRows(*parseStoredUnit(body));
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
