#include "plsql/triggers.h"

#include <cctype>
#include <cstdio>

#include "base/ora_messages.h"
#include "base/text.h"
#include "plsql/compile_error.h"
#include "plsql/nesting.h"
#include "plsql/parser.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

// The head of CREATE TRIGGER, read into the definition.
struct TriggerHead {
    bool orReplace = false;
    TriggerDefinition definition;
    std::size_t sourceBegin = 0;  // TRIGGER
    std::size_t bodyBegin = 0;    // DECLARE or BEGIN
};

bool isName(const SourceToken& t) {
    return t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent;
}

// [schema.]name at i; i is left after it.
std::string qualifiedName(const Source& s, std::size_t& i) {
    if (!isName(s.at(i))) raise(ora::kMissingOrInvalidOption);
    std::string name = s.at(i).name();
    ++i;
    if (s.at(i).isSymbol(".") && isName(s.at(i + 1))) {
        name = s.at(i + 1).name();
        i += 2;
    }
    return name;
}

// CREATE [OR REPLACE] [EDITIONABLE | NONEDITIONABLE] TRIGGER: the index of TRIGGER, or 0.
std::size_t triggerKeyword(const Source& s) {
    std::size_t i = 0;
    if (!s.at(i).isWord("CREATE")) return 0;
    ++i;
    if (s.at(i).isWord("OR") && s.at(i + 1).isWord("REPLACE")) i += 2;
    if (s.at(i).isWord("EDITIONABLE") || s.at(i).isWord("NONEDITIONABLE")) ++i;
    return s.at(i).isWord("TRIGGER") ? i : 0;
}

TriggerHead readHead(const Source& s) {
    TriggerHead head;
    TriggerDefinition& d = head.definition;
    std::size_t i = triggerKeyword(s);
    head.orReplace = s.at(1).isWord("OR");
    head.sourceBegin = s.at(i).begin;
    ++i;
    d.name = qualifiedName(s, i);
    if (s.at(i).isWord("BEFORE") || s.at(i).isWord("AFTER")) {
        d.timing = s.at(i).name();
        ++i;
    } else if (s.at(i).isWord("INSTEAD") && s.at(i + 1).isWord("OF")) {
        d.timing = "INSTEAD OF";
        i += 2;
    } else {
        raise(ora::kMissingTriggerTiming);
    }
    // event [OR event]...
    for (;;) {
        const SourceToken& e = s.at(i);
        if (e.isWord("INSERT")) {
            d.inserts = true;
            ++i;
        } else if (e.isWord("DELETE")) {
            d.deletes = true;
            ++i;
        } else if (e.isWord("UPDATE")) {
            d.updates = true;
            ++i;
            if (s.at(i).isWord("OF")) {
                if (d.timing == "INSTEAD OF") raise(ora::kColumnListNotValidForTrigger);
                ++i;
                do {
                    if (s.at(i).isSymbol(",")) ++i;
                    if (!isName(s.at(i))) raise(ora::kMissingOrInvalidOption);
                    d.updateColumns.push_back(s.at(i).name());
                    ++i;
                } while (s.at(i).isSymbol(","));
            }
        } else {
            raise(ora::kInvalidTriggerType);
        }
        if (!s.at(i).isWord("OR")) break;
        ++i;
    }
    if (!s.at(i).isWord("ON")) raise(ora::kMissingOnKeyword);
    ++i;
    d.table = qualifiedName(s, i);
    if (s.at(i).isWord("REFERENCING")) {
        ++i;
        while (s.at(i).isWord("NEW") || s.at(i).isWord("OLD") || s.at(i).isWord("PARENT")) {
            const bool isNew = s.at(i).isWord("NEW");
            const bool isOld = s.at(i).isWord("OLD");
            ++i;
            if (s.at(i).isWord("AS")) ++i;
            if (!isName(s.at(i))) raise(ora::kMissingOrInvalidOption);
            if (isNew) d.newName = s.at(i).name();
            if (isOld) d.oldName = s.at(i).name();
            ++i;
        }
    }
    if (s.at(i).isWord("FOR") && s.at(i + 1).isWord("EACH") && s.at(i + 2).isWord("ROW")) {
        d.forEachRow = true;
        i += 3;
    }
    if (d.timing == "INSTEAD OF") d.forEachRow = true;  // INSTEAD OF triggers are row triggers
    if (s.at(i).isWord("FOLLOWS") || s.at(i).isWord("PRECEDES")) {
        ++i;
        qualifiedName(s, i);
        while (s.at(i).isSymbol(",")) {
            ++i;
            qualifiedName(s, i);
        }
    }
    if (s.at(i).isWord("ENABLE") || s.at(i).isWord("DISABLE")) {
        d.enabled = s.at(i).isWord("ENABLE");
        ++i;
    }
    if (s.at(i).isWord("WHEN")) {
        if (!d.forEachRow) raise(ora::kWhenOnStatementTrigger);
        ++i;
        if (!s.at(i).isSymbol("(")) raise(ora::kMissingOrInvalidOption);
        const std::size_t open = i;
        int depth = 0;
        for (; i + 1 < s.tokens().size(); ++i) {
            if (s.at(i).isSymbol("(")) ++depth;
            if (s.at(i).isSymbol(")") && --depth == 0) break;
        }
        if (depth != 0) raise(ora::kMissingRightParenthesis);
        d.when = s.text().substr(s.at(open + 1).begin, s.at(i).begin - s.at(open + 1).begin);
        ++i;
    }
    if (s.at(i).isWord("COMPOUND"))
        compileError(Position{s.at(i).line, s.at(i).column}, ora::kPlsRestriction,
                     "compound triggers");
    head.bodyBegin = s.at(i).begin;
    std::string body = s.text().substr(head.bodyBegin);
    // SQL*Plus's "/" line is the script's, not the trigger's.
    while (!body.empty() &&
           (body.back() == '/' || std::isspace(static_cast<unsigned char>(body.back()))))
        body.pop_back();
    if (s.at(i).isWord("CALL")) body = "BEGIN " + body.substr(4) + "; END;";  // CALL routine
    d.body = body;
    return head;
}

// The trigger's body as the engine runs it: :NEW and :OLD are the records' names (the colon
// becomes a space, so lines and columns stay), and the WHEN condition, on the first line, guards
// it.
std::string runnableBody(const TriggerDefinition& d) {
    std::string body = d.body;
    const Source source(body);
    for (const SourceToken& t : source.tokens()) {
        if (t.kind != Token::Kind::Bind || t.text.size() < 2) continue;
        const std::string name = asciiUpper(t.text.substr(1));
        if (name == d.newName || name == d.oldName) {
            if (!d.forEachRow) raise(ora::kNewOldInStatementTrigger);
            body[t.begin] = ' ';
        }
    }
    if (d.when.empty()) return body;
    std::string when = d.when;
    for (char& c : when)
        if (c == '\n' || c == '\r') c = ' ';
    return "BEGIN IF " + when + " THEN " + body + "\nEND IF; END;";
}

// USER_ERRORS' line, position and text from a compile error.
void keepCompileError(const occi::SQLException& error, UnitSource& unit) {
    const std::string message = error.what();
    std::sscanf(message.c_str(), "ORA-06550: line %d, column %d", &unit.errorLine,
                &unit.errorPosition);
    const std::size_t pls = message.find("PLS-");
    unit.errorText = pls == std::string::npos ? message : message.substr(pls);
    while (!unit.errorText.empty() && unit.errorText.back() == '\n') unit.errorText.pop_back();
}

// The body's effect on NEW as SQL expressions, column by column (triggerAsInsert).
class InsertValues {
  public:
    InsertValues(const Source& source, const TriggerDefinition& d,
                 const std::vector<std::string>& columns)
        : src_(source), d_(d), columns_(columns) {
        for (const std::string& c : columns) values_.push_back("NEW." + c);
    }

    bool body(const Body& statements) { return run(statements, values_); }
    const std::vector<std::string>& values() const { return values_; }

  private:
    using Values = std::vector<std::string>;

    bool run(const Body& statements, Values& values) {
        for (const auto& s : statements) {
            switch (s->kind) {
                case Stmt::Kind::Null:
                    break;
                case Stmt::Kind::Assign: {
                    const NamePath& t = s->target;
                    if (t.hostBind || t.indexed || t.parts.size() != 2 || t.parts[0] != d_.newName)
                        return false;
                    const std::size_t c = column(t.parts[1]);
                    std::string e;
                    if (c == columns_.size() || !sql(s->exprs[0], values, e)) return false;
                    values[c] = "(" + e + ")";
                    break;
                }
                case Stmt::Kind::If: {
                    // Each column a branch changes: CASE WHEN cond THEN its value ... ELSE the
                    // value after ELSE, or the one before the IF.
                    std::vector<std::string> conditions;
                    std::vector<Values> branches;
                    for (std::size_t b = 0; b < s->bodies.size(); ++b) {
                        const bool isElse = s->hasElse && b + 1 == s->bodies.size();
                        if (!isElse) {
                            std::string c;
                            if (b >= s->exprs.size() || !sql(s->exprs[b], values, c)) return false;
                            conditions.push_back(c);
                        }
                        branches.push_back(values);
                        if (!run(s->bodies[b], branches.back())) return false;
                    }
                    for (std::size_t c = 0; c < values.size(); ++c) {
                        bool changed = false;
                        for (const Values& v : branches) changed = changed || v[c] != values[c];
                        if (!changed) continue;
                        std::string e = "CASE";
                        for (std::size_t b = 0; b < conditions.size(); ++b)
                            e += " WHEN (" + conditions[b] + ") THEN " + branches[b][c];
                        e += " ELSE " + (s->hasElse ? branches.back()[c] : values[c]) + " END";
                        values[c] = e;
                    }
                    break;
                }
                case Stmt::Kind::Block:
                    if (!s->block || !s->block->decls.empty() || !s->block->handlers.empty() ||
                        !run(s->block->body, values))
                        return false;
                    break;
                default:
                    return false;
            }
        }
        return true;
    }

    std::size_t column(const std::string& name) const {
        for (std::size_t c = 0; c < columns_.size(); ++c)
            if (columns_[c] == name) return c;
        return columns_.size();
    }

    // e's text with NEW.c as the column's value so far and OLD.c as NULL; false when it names
    // what only PL/SQL knows (a bind, a conditional predicate, SQLCODE).
    bool sql(const Expr& e, const Values& values, std::string& out) const {
        const std::string& text = src_.text();
        std::size_t from = src_.at(e.range.first).begin;
        for (std::size_t k = e.range.first; k < e.range.last; ++k) {
            const SourceToken& t = src_.at(k);
            if (t.kind == Token::Kind::Bind) return false;
            for (const char* word : {"INSERTING", "UPDATING", "DELETING", "SQLCODE", "SQLERRM"})
                if (t.isWord(word)) return false;
            const bool isNew = t.kind == Token::Kind::Word && t.name() == d_.newName;
            const bool isOld = t.kind == Token::Kind::Word && t.name() == d_.oldName;
            if (!isNew && !isOld) continue;
            if (k + 2 >= e.range.last || !src_.at(k + 1).isSymbol(".")) return false;
            const std::size_t c = column(src_.at(k + 2).name());
            if (c == columns_.size()) return false;
            out += text.substr(from, t.begin - from) + (isNew ? values[c] : "NULL");
            from = src_.at(k + 2).end;
            k += 2;
        }
        out += text.substr(from, src_.at(e.range.last - 1).end - from);
        return true;
    }

    const Source& src_;
    const TriggerDefinition& d_;
    const std::vector<std::string>& columns_;
    Values values_;
};

}  // namespace

bool triggerAsInsert(const TriggerDefinition& d, const std::vector<std::string>& columns,
                     std::string& insert) {
    if (d.timing != "BEFORE" || !d.forEachRow || !d.inserts || d.updates || d.deletes ||
        columns.empty())
        return false;
    // Names that SQL takes as written (a quoted one in other case is left to the engine).
    auto plain = [](const std::string& name) { return sqlIdentifier(name) == name; };
    if (!plain(d.table)) return false;
    for (const std::string& c : columns)
        if (!plain(c)) return false;
    try {
        const Source source(runnableBody(d));
        const std::unique_ptr<Block> block = parseAnonymousBlock(source);
        if (!block->decls.empty() || !block->handlers.empty()) return false;
        InsertValues values(source, d, columns);
        if (!values.body(block->body)) return false;
        insert = "INSERT INTO " + d.table + " (";
        for (std::size_t c = 0; c < columns.size(); ++c) insert += (c ? ", " : "") + columns[c];
        insert += ") VALUES (";
        for (std::size_t c = 0; c < columns.size(); ++c)
            insert += (c ? ", " : "") + values.values()[c];
        insert += ")";
        return true;
    } catch (const CompileError&) {
        return false;
    } catch (const occi::SQLException&) {
        return false;
    }
}

bool isTriggerDdl(const Source& s) {
    if (triggerKeyword(s) != 0) return true;
    return (s.at(0).isWord("ALTER") || s.at(0).isWord("DROP")) && s.at(1).isWord("TRIGGER");
}

void runTriggerDdl(SqlPort& port, const Source& s) {
    if (triggerKeyword(s) == 0) {
        // ALTER TRIGGER name ENABLE | DISABLE | COMPILE, DROP TRIGGER name
        std::size_t i = 2;
        const std::string name = qualifiedName(s, i);
        if (s.at(0).isWord("DROP")) {
            if (s.at(i).isSymbol(";")) ++i;
            if (i + 1 < s.tokens().size()) raise(ora::kCommandNotProperlyEnded);
            port.dropTrigger(name);
            return;
        }
        const SourceToken& action = s.at(i);
        if (!action.isWord("ENABLE") && !action.isWord("DISABLE") && !action.isWord("COMPILE"))
            raise(ora::kMissingOrInvalidOption);
        ++i;
        if (s.at(i).isSymbol(";")) ++i;
        if (i + 1 < s.tokens().size()) raise(ora::kCommandNotProperlyEnded);
        port.alterTrigger(name, action.name());
        return;
    }
    const TriggerHead head = readHead(s);
    UnitSource unit;
    unit.name = head.definition.name;
    unit.type = "TRIGGER";
    unit.text = s.text().substr(head.sourceBegin);
    while (!unit.text.empty() && (unit.text.back() == '/' ||
                                  std::isspace(static_cast<unsigned char>(unit.text.back()))))
        unit.text.pop_back();
    bool valid = true;
    try {
        const Source body(runnableBody(head.definition));
        parseAnonymousBlock(body);
    } catch (const CompileError& e) {
        valid = false;
        keepCompileError(e.error, unit);
    }
    unit.status = valid ? "VALID" : "INVALID";
    port.saveTrigger(head.definition, unit, head.orReplace);
    if (!valid) raise(ora::kSuccessWithCompilationError);
}

CompiledTrigger::CompiledTrigger(SqlPort& port, const TriggerDefinition& definition)
    : port_(port), definition_(definition), shownName_(port.schema() + "." + definition.name) {
    try {
        source_ = std::make_unique<Source>(runnableBody(definition_));
        block_ = parseAnonymousBlock(*source_);
    } catch (const CompileError&) {
        raise(ora::kTriggerInvalid, shownName_);
    } catch (const occi::SQLException&) {
        raise(ora::kTriggerInvalid, shownName_);
    }
    interpreter_ = std::make_unique<Interpreter>(port_, *source_, none_);
}

CompiledTrigger::~CompiledTrigger() = default;

void CompiledTrigger::fire(char event, TriggerRow* row) {
    const NestingLevel level;
    struct Running {
        int& count;
        ~Running() { --count; }
    } running{++running_};
    try {
        if (running_ == 1) {
            interpreter_->runTrigger(*block_, shownName_, event, row);
        } else {
            Interpreter own(port_, *source_, none_);
            own.runTrigger(*block_, shownName_, event, row);
        }
    } catch (const CompileError& e) {
        throw e.error;
    }
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
