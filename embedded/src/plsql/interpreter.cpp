#include "plsql/interpreter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "base/access.h"
#include "base/ora_messages.h"
#include "plsql/compile_error.h"
#include "plsql/goto_targets.h"
#include "plsql/output_buffer.h"
#include "plsql/packages.h"
#include "plsql/parser.h"
#include "sql/sql_lexer.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {
namespace plsql {

void Interpreter::run(const Block& block) {
    try {
        const Flow flow = runBlock(block);
        if (flow.kind == FlowKind::Exit || flow.kind == FlowKind::Continue)
            compileError(block.at, ora::kPlsExitOutsideLoop);
    } catch (const PlError& err) {
        const std::string stack = err.message + oraErrorText(ora::kPlSqlAtLine, err.at.line) + "\n";
        throw Access::error(err.name.empty() ? err.code : ora::kUnhandledUserException.code, stack);
    }
}

void Interpreter::runTrigger(const Block& block, const std::string& shownName, char event,
                             TriggerRow* row) {
    const std::size_t depth = frames_.size();
    struct Popped {
        std::vector<std::unique_ptr<Frame>>& frames;
        std::size_t depth;
        ~Popped() {
            while (frames.size() > depth) frames.pop_back();
        }
    } popped{frames_, depth};
    pushFrame();
    for (const auto& predicate :
         {std::make_pair("INSERTING", 'I'), {"UPDATING", 'U'}, {"DELETING", 'D'}}) {
        Variable& v = declareVariable(predicate.first, TypeSpec::plain(TypeSpec::Kind::Boolean),
                                      block.at);
        v.value = Value::boolean(event == predicate.second);
        v.constant = true;
    }
    Variable* newRecord = nullptr;
    if (row) {
        for (int side = 0; side < 2; ++side) {
            Variable& v = declareVariable(side == 0 ? row->newName : row->oldName,
                                          TypeSpec::plain(TypeSpec::Kind::RowType), block.at);
            v.record = true;
            const std::vector<Value>& values = side == 0 ? row->newValues : row->oldValues;
            for (std::size_t c = 0; c < row->columns.size(); ++c)
                v.fields.emplace_back(row->columns[c], c < values.size() ? values[c] : Value::null());
            // OLD, and NEW after the row is written, cannot be changed.
            v.constant = side == 1 || !row->newAssignable;
            if (side == 0) newRecord = &v;
        }
    }
    try {
        const Flow flow = runBlock(block);
        if (flow.kind == FlowKind::Exit || flow.kind == FlowKind::Continue)
            compileError(block.at, ora::kPlsExitOutsideLoop);
    } catch (const PlError& err) {
        const std::string stack = err.message +
                                  oraErrorText(ora::kPlSqlAtUnitLine, shownName, err.at.line) +
                                  "\n" + oraErrorText(ora::kTriggerFailed, shownName) + "\n";
        throw Access::error(err.name.empty() ? err.code : ora::kUnhandledUserException.code, stack);
    }
    if (newRecord)
        for (std::size_t c = 0; c < row->newValues.size() && c < newRecord->fields.size(); ++c)
            row->newValues[c] = newRecord->fields[c].second;
}

// ---- blocks ----------------------------------------------------------------------------------

Interpreter::Frame& Interpreter::pushFrame() {
    ++framesVersion_;
    frames_.push_back(std::make_unique<Frame>());
    return *frames_.back();
}

namespace {

// Pops the innermost frame when a block or loop is left, however it is left.
template <class Frames>
class FrameScope {
  public:
    explicit FrameScope(Frames& frames) : frames_(frames), depth_(frames.size()) {}
    ~FrameScope() {
        while (frames_.size() > depth_) frames_.pop_back();
    }
    FrameScope(const FrameScope&) = delete;
    FrameScope& operator=(const FrameScope&) = delete;

  private:
    Frames& frames_;
    std::size_t depth_;
};

}  // namespace

Interpreter::Flow Interpreter::runBlock(const Block& block) {
    FrameScope<decltype(frames_)> scope(frames_);
    pushFrame().owner = block.label;
    // An error in the declarations goes to the enclosing block: this one's handlers are not
    // active yet.
    for (const Decl& d : block.decls) declare(d);
    return runHandled(block);
}

Interpreter::Flow Interpreter::runHandled(const Block& block) {
    try {
        return runBody(block.body);
    } catch (const PlError& err) {
        const Handler* h = handlerFor(block, err);
        if (!h) throw;
        handling_.push_back(err);
        struct Handled {
            std::vector<PlError>& stack;
            ~Handled() { stack.pop_back(); }
        } handled{handling_};
        return runBody(h->body);
    }
}

const Handler* Interpreter::handlerFor(const Block& block, const PlError& err) {
    for (const Handler& h : block.handlers) {
        for (const std::string& name : h.names) {
            if (name == "OTHERS") return &h;
            std::string identity;
            if (const ExceptionName* declared = findException(name, identity)) {
                if (declared->code != 0 ? err.name.empty() && err.code == declared->code
                                        : err.name == identity)
                    return &h;
                continue;
            }
            const int code = predefinedException(name);
            if (code == 0) compileError(h.at, ora::kPlsNotDeclared, name);
            if (err.name.empty() && err.code == code) return &h;
        }
    }
    return nullptr;
}

void Interpreter::declare(const Decl& d) {
    Frame& frame = *frames_.back();
    switch (d.kind) {
        case Decl::Kind::Exception:
            frame.exceptions.push_back(ExceptionName{d.name, 0});
            return;
        case Decl::Kind::ExceptionInit: {
            for (auto& f : frames_)
                for (ExceptionName& e : f->exceptions)
                    if (e.name == d.name) {
                        if (d.code == 100) {
                            e.code = ora::kNoDataFound.code;
                        } else if (d.code >= 0 || d.code < -1000000) {
                            compileError(d.at, ora::kPlsRestriction,
                                         "EXCEPTION_INIT of a number that is no ORA error");
                        } else {
                            e.code = -d.code;
                        }
                        return;
                    }
            compileError(d.at, ora::kPlsNotDeclared, d.name);
        }
        case Decl::Kind::Cursor: {
            if (d.query.empty()) return;  // a package's: its body's gives the query
            CursorState c;
            c.name = d.name;
            c.decl = &d;
            frame.cursors.push_back(c);
            return;
        }
        case Decl::Kind::Type:
        case Decl::Kind::Subtype:
            frame.types.push_back(&d);
            return;
        case Decl::Kind::Subprogram:
            if (d.unit->body) frame.subprograms.push_back(d.unit.get());
            return;
        case Decl::Kind::Variable:
            break;
    }
    Variable& v = declareVariable(d.name, d.type, d.at);
    if (d.hasInit && v.collection) {
        assignCollection(v, d.init);
    } else if (d.hasInit && v.record) {
        compileError(d.at, ora::kPlsRestriction, "a record's initial value");
    } else if (d.hasInit) {
        const Mode mode = v.type.kind == TypeSpec::Kind::Boolean ? Mode::Condition : Mode::Value;
        v.value = coerce(evaluate(d.init, mode), v.type, d.at);
    }
    v.notNull = d.notNull;
    v.constant = d.constant;
    if (v.notNull && v.value.isNull())
        throw PlError::numbered(ora::kNumericOrValueError.code, d.at);
}

Interpreter::Variable& Interpreter::declareVariable(const std::string& name, const TypeSpec& type,
                                                    Position at) {
    Frame& frame = *frames_.back();
    Variable v;
    v.name = name;
    v.type = resolveType(type, at, &v);
    frame.vars.push_back(std::move(v));
    return frame.vars.back();
}

TypeSpec Interpreter::resolveType(const TypeSpec& type, Position at, Variable* recordOf) {
    switch (type.kind) {
        case TypeSpec::Kind::ColumnType: {
            const std::string& column = type.of.back();
            std::string table;
            for (std::size_t i = 0; i + 1 < type.of.size(); ++i)
                table += (i ? "." : "") + type.of[i];
            const std::string written = port_->columnType(table, column);
            if (written.empty() && findVariable(table + "." + column)) {
                // PKG.NAME%TYPE: of a package's public variable.
                TypeSpec variable = type;
                variable.kind = TypeSpec::Kind::VariableType;
                variable.of = {table + "." + column};
                return resolveType(variable, at, recordOf);
            }
            if (written.empty()) compileError(at, ora::kPlsNotDeclared, table + "." + column);
            return parseTypeText(written);
        }
        case TypeSpec::Kind::VariableType: {
            Variable* other = findVariable(type.of[0]);
            if (!other) compileError(at, ora::kPlsNotDeclared, type.of[0]);
            if (other->record && recordOf) {
                recordOf->record = true;
                recordOf->fields = other->fields;
                for (auto& f : recordOf->fields) f.second = Value::null();
            }
            if (other->collection && recordOf) makeOfType(*recordOf, *other->collection->type, at);
            return other->type;
        }
        case TypeSpec::Kind::RowType: {
            if (recordOf) recordOf->record = true;
            // A loop's record, or a cursor's %ROWTYPE: its fields come with the rows.
            if (type.of.empty() || (type.of.size() == 1 && findCursor(type.of[0]))) return type;
            std::string table;
            for (std::size_t i = 0; i < type.of.size(); ++i) table += (i ? "." : "") + type.of[i];
            const std::vector<std::string> columns = port_->columnsOf(table);
            if (columns.empty()) compileError(at, ora::kPlsNotDeclared, table);
            if (recordOf)
                for (const std::string& c : columns)
                    recordOf->fields.emplace_back(c, Value::null());
            return type;
        }
        case TypeSpec::Kind::UserType: {
            Interpreter* owner = this;
            const Decl* declared = findType(type.of[0]);
            if (!declared) declared = packageType(type.of[0], &owner);
            if (!declared && type.of[0] == "DBMS_OUTPUT.CHARARR") declared = &outputLines();
            if (!declared) compileError(at, ora::kPlsNotDeclared, type.of[0]);
            if (declared->kind == Decl::Kind::Subtype)
                return owner->resolveType(declared->type, at, recordOf);
            // A package's type is made by the package's interpreter: its fields' defaults are
            // expressions of the package's text.
            if (recordOf) owner->makeOfType(*recordOf, *declared, at);
            return type;
        }
        case TypeSpec::Kind::RefCursor:
            // A cursor variable: a cursor of its name, which OPEN ... FOR gives a query.
            if (recordOf) {
                CursorState c;
                c.name = recordOf->name;
                frames_.back()->cursors.push_back(std::move(c));
            }
            return type;
        default:
            return type;
    }
}

Interpreter::Variable* Interpreter::findVariable(const std::string& name) {
    for (std::size_t i = frames_.size(); i-- > 0; i = outerFrame(i)) {
        auto& vars = frames_[i]->vars;
        for (auto v = vars.rbegin(); v != vars.rend(); ++v)
            if (v->name == name) return &*v;
    }
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos) return nullptr;
    // UNIT.NAME or LABEL.NAME: a name of the subprogram or labelled block running, or of
    // those within it.
    const std::string owner = name.substr(0, dot), inner = name.substr(dot + 1);
    for (std::size_t i = frames_.size(); i-- > 0; i = outerFrame(i)) {
        if (frames_[i]->owner != owner) continue;
        for (std::size_t k = frames_.size(); k-- > i;) {
            auto& vars = frames_[k]->vars;
            for (auto v = vars.rbegin(); v != vars.rend(); ++v)
                if (v->name == inner) return &*v;
        }
        break;
    }
    return packageVariable(name);  // PKG.NAME: a package's public variable
}

Interpreter::CursorState* Interpreter::findCursor(const std::string& name) {
    for (std::size_t i = frames_.size(); i-- > 0; i = outerFrame(i))
        for (CursorState& c : frames_[i]->cursors)
            if (c.name == name) return &c;
    if (name.find('.') == std::string::npos) return nullptr;
    // PKG.C: a cursor the package declares (its query may be the body's).
    std::string member;
    PackageInstance* p = packageOf(name, member);
    if (!p) return nullptr;
    bool declared = false;
    for (const Decl& d : p->package().declared.decls)
        declared = declared || (d.kind == Decl::Kind::Cursor && d.name == member);
    Interpreter& in = p->interpreter();
    for (std::size_t i = 0; declared && i < in.packageFrames_; ++i)
        for (CursorState& c : in.frames_[i]->cursors)
            if (c.name == member) return &c;
    return nullptr;
}

const Interpreter::ExceptionName* Interpreter::findException(const std::string& name,
                                                             std::string& identity) {
    for (std::size_t i = frames_.size(); i-- > 0; i = outerFrame(i))
        for (const ExceptionName& e : frames_[i]->exceptions)
            if (e.name == name) {
                // A package's own exceptions are known by the package's name as well, so
                // that a handler outside it tells them from others of the same name.
                identity = i < packageFrames_ ? packageName_ + "." + name : name;
                return &e;
            }
    if (name.find('.') == std::string::npos) return nullptr;
    std::string member;
    PackageInstance* p = packageOf(name, member);
    if (!p) return nullptr;
    Interpreter& in = p->interpreter();
    if (in.frames_.empty()) return nullptr;
    for (const ExceptionName& e : in.frames_[0]->exceptions)
        if (e.name == member) {
            identity = in.packageName_ + "." + member;
            return &e;
        }
    return nullptr;
}

// ---- statements ------------------------------------------------------------------------------

Interpreter::Flow Interpreter::runBody(const Body& body) {
    for (std::size_t i = 0; i < body.size();) {
        Flow flow = runStatement(*body[i]);
        if (flow.kind == FlowKind::Goto) {
            const std::size_t target = labelledStatement(body, flow.label);
            if (target < body.size()) {
                port_->checkCancel();  // a GOTO back may loop without end
                i = target;
                continue;
            }
        }
        if (flow.kind != FlowKind::Normal) return flow;
        ++i;
    }
    return Flow{};
}

Interpreter::Flow Interpreter::runStatement(const Stmt& s) {
    at_ = s.at;
    try {
        switch (s.kind) {
            case Stmt::Kind::Null:
                break;
            case Stmt::Kind::Assign: {
                if (s.target.indexed) {
                    assignElement(s.target, evaluate(s.exprs[0]));
                    break;
                }
                std::size_t used = 0;
                Variable* whole = s.target.parts.size() == 1 && !s.target.hostBind
                                      ? targetVariable(s.target, used)
                                      : nullptr;
                if (whole && whole->collection) {
                    assignCollection(*whole, s.exprs[0]);
                    break;
                }
                if (whole && whole->record) {
                    assignRecord(*whole, s.exprs[0]);
                    break;
                }
                const TypeSpec* type = nullptr;
                targetValue(s.target, &type);
                const Mode mode =
                    type && type->kind == TypeSpec::Kind::Boolean ? Mode::Condition : Mode::Value;
                assign(s.target, evaluate(s.exprs[0], mode));
                break;
            }
            case Stmt::Kind::If:
                return runIf(s);
            case Stmt::Kind::Case:
                return runCase(s);
            case Stmt::Kind::Loop:
            case Stmt::Kind::While:
                return runLoop(s);
            case Stmt::Kind::ForRange:
                return runForRange(s);
            case Stmt::Kind::ForCursor:
                return runForCursor(s);
            case Stmt::Kind::Exit:
            case Stmt::Kind::Continue: {
                if (loopLabels_.empty()) compileError(s.at, ora::kPlsExitOutsideLoop);
                if (!s.name.empty()) {
                    bool found = false;
                    for (const std::string& l : loopLabels_) found = found || l == s.name;
                    if (!found) compileError(s.at, ora::kPlsNotLoopLabel, s.name);
                }
                if (!s.exprs.empty() && !isTrue(s.exprs[0])) break;
                return Flow{s.kind == Stmt::Kind::Exit ? FlowKind::Exit : FlowKind::Continue,
                            s.name};
            }
            case Stmt::Kind::Return:
                if (!s.exprs.empty()) {
                    const Range r = s.exprs[0].range;
                    Variable* record = r.last - r.first == 1 ? findVariable(src_.at(r.first).name())
                                                             : nullptr;
                    if (record && record->record) {
                        returnFields_ = record->fields;  // a function of a record type
                        returnValue_ = Value::null();
                    } else {
                        returnFields_.clear();
                        returnValue_ = evaluate(s.exprs[0]);
                    }
                    returned_ = true;
                }
                return Flow{FlowKind::Return, ""};
            case Stmt::Kind::Raise:
                runRaise(s);
            case Stmt::Kind::Block:
                return runBlock(*s.block);
            case Stmt::Kind::Sql:
                runSql(s);
                break;
            case Stmt::Kind::SelectInto:
                runSelectInto(s);
                break;
            case Stmt::Kind::ExecuteImmediate:
                runExecuteImmediate(s);
                break;
            case Stmt::Kind::Call:
                runCall(s);
                break;
            case Stmt::Kind::Open:
                runOpen(s);
                break;
            case Stmt::Kind::Fetch:
                runFetch(s);
                break;
            case Stmt::Kind::Close:
                runClose(s);
                break;
            case Stmt::Kind::Forall:
                return runForall(s);
            case Stmt::Kind::Goto:
                return Flow{FlowKind::Goto, s.name};
        }
    } catch (const occi::SQLException& e) {
        throw PlError::fromSql(e, s.at);
    }
    return Flow{};
}

Interpreter::Flow Interpreter::runIf(const Stmt& s) {
    for (std::size_t i = 0; i < s.exprs.size(); ++i)
        if (isTrue(s.exprs[i])) return runBody(s.bodies[i]);
    if (s.hasElse) return runBody(s.bodies.back());
    return Flow{};
}

Interpreter::Flow Interpreter::runCase(const Stmt& s) {
    const std::size_t first = s.hasSelector ? 1 : 0;
    Value selector;
    if (s.hasSelector) selector = evaluate(s.exprs[0]);
    for (std::size_t i = first; i < s.exprs.size(); ++i) {
        bool match;
        if (s.hasSelector) {
            const Value v = evaluate(s.exprs[i]);
            match = operatorSql("=", selector, v, true).isTrue();
        } else {
            match = isTrue(s.exprs[i]);
        }
        if (match) return runBody(s.bodies[i - first]);
    }
    if (s.hasElse) return runBody(s.bodies.back());
    throw PlError::numbered(ora::kCaseNotFound.code, s.at);
}

bool Interpreter::loopGoesOn(const Stmt& loop, Flow& flow) {
    switch (flow.kind) {
        case FlowKind::Normal:
            return true;
        case FlowKind::Continue:
            if (flow.label.empty() || flow.label == loop.label) {
                flow = Flow{};
                return true;
            }
            return false;
        case FlowKind::Exit:
            if (flow.label.empty() || flow.label == loop.label) flow = Flow{};
            return false;
        case FlowKind::Return:
        case FlowKind::Goto:
            return false;
    }
    return false;
}

namespace {

// The loop's label on the stack of enclosing loops while it runs.
class LoopScope {
  public:
    LoopScope(std::vector<std::string>& labels, const std::string& label) : labels_(labels) {
        labels_.push_back(label);
    }
    ~LoopScope() { labels_.pop_back(); }
    LoopScope(const LoopScope&) = delete;
    LoopScope& operator=(const LoopScope&) = delete;

  private:
    std::vector<std::string>& labels_;
};

}  // namespace

Interpreter::Flow Interpreter::runLoop(const Stmt& s) {
    LoopScope loop(loopLabels_, s.label);
    for (;;) {
        port_->checkCancel();
        if (s.kind == Stmt::Kind::While && !isTrue(s.exprs[0])) return Flow{};
        Flow flow = runBody(s.bodies[0]);
        if (!loopGoesOn(s, flow)) return flow;
    }
}

Interpreter::Flow Interpreter::runForRange(const Stmt& s) {
    const Value low =
        coerce(evaluate(s.exprs[0]), TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
    const Value high =
        coerce(evaluate(s.exprs[1]), TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
    if (low.isNull() || high.isNull())
        throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
    LoopScope loop(loopLabels_, s.label);
    FrameScope<decltype(frames_)> scope(frames_);
    pushFrame();
    Variable& counter =
        declareVariable(s.target.parts[0], TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
    counter.constant = true;
    const std::int64_t from = low.data.integer, to = high.data.integer;
    for (std::int64_t i = s.reverse ? to : from; s.reverse ? i >= from : i <= to;
         s.reverse ? --i : ++i) {
        port_->checkCancel();
        counter.value = Value::integer(i);
        Flow flow = runBody(s.bodies[0]);
        if (!loopGoesOn(s, flow)) return flow;
    }
    return Flow{};
}

Interpreter::Flow Interpreter::runForCursor(const Stmt& s) {
    SqlCursor* cursor;
    CursorState* declared = nullptr;
    if (s.name.empty()) {
        CompiledSql& c = compiled(&s, 0, s.sql, Range{}, true);
        bindAll(c);
        c.cursor->execute();
        cursor = c.cursor.get();
    } else {
        declared = findCursor(s.name);
        if (!declared) compileError(s.at, ora::kPlsNotDeclared, s.name);
        runOpen(s);
        cursor = declared->active;
    }
    struct CloseAtEnd {
        CursorState* c;
        ~CloseAtEnd() {
            if (c) c->open = false;
        }
    } closeAtEnd{declared};
    LoopScope loop(loopLabels_, s.label);
    FrameScope<decltype(frames_)> scope(frames_);
    pushFrame();
    Variable& row =
        declareVariable(s.target.parts[0], TypeSpec::plain(TypeSpec::Kind::RowType), s.at);
    row.record = true;
    const unsigned columns = cursor->columnCount();
    for (unsigned i = 1; i <= columns; ++i) row.fields.emplace_back(cursor->columnName(i), Value());
    while (cursor->next()) {
        port_->checkCancel();
        if (declared) {
            declared->fetched = declared->found = true;
            ++declared->rowCount;
        }
        for (unsigned i = 1; i <= columns; ++i) row.fields[i - 1].second = cursor->column(i);
        Flow flow = runBody(s.bodies[0]);
        if (!loopGoesOn(s, flow)) return flow;
    }
    return Flow{};
}

[[noreturn]] void Interpreter::runRaise(const Stmt& s) {
    if (s.name.empty()) {
        if (handling_.empty()) compileError(s.at, ora::kPlsRestriction, "RAISE outside a handler");
        throw handling_.back();
    }
    std::string identity;
    if (const ExceptionName* declared = findException(s.name, identity)) {
        if (declared->code != 0) throw PlError::numbered(declared->code, s.at);
        throw PlError::userDefined(identity, s.at);
    }
    const int code = predefinedException(s.name);
    if (code == 0) compileError(s.at, ora::kPlsNotDeclared, s.name);
    throw PlError::numbered(code, s.at);
}

// ---- SQL -------------------------------------------------------------------------------------

void Interpreter::runSql(const Stmt& s) {
    if (!s.into.empty() && src_.at(s.sql.first).isWord("INSERT")) return runInsertReturning(s);
    CompiledSql& c = compiled(&s, 0, s.sql, s.skip, true);
    if (!s.into.empty()) c.cursor->keepReturnedRows();
    bindAll(c);
    c.cursor->execute();
    sqlRan_ = true;
    sqlRowCount_ = c.cursor->rowsChanged();
    if (s.into.empty()) return;
    const std::vector<std::vector<Value>>& rows = c.cursor->returnedRows();
    if (s.bulk) return collectReturned(s.into, rows, false, s.at);
    // RETURNING ... INTO: the one row's values; none leaves the targets NULL.

    if (rows.size() > 1) throw PlError::numbered(ora::kTooManyRows.code, s.at);
    for (std::size_t i = 0; i < s.into.size(); ++i) {
        if (!rows.empty() && s.into.size() != rows[0].size())
            throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
        assign(s.into[i], rows.empty() ? Value::null() : rows[0][i]);
    }
}

// INSERT ... RETURNING exprs INTO targets: the row is read back after the INSERT, so that what
// its triggers gave it (an identity column's value) is what the targets get.
void Interpreter::runInsertReturning(const Stmt& s) {
    CompiledSql& insert = compiled(&s, 0, s.sql, Range{s.returning.first - 1, s.sql.last}, true);
    bindAll(insert);
    insert.cursor->execute();
    sqlRan_ = true;
    sqlRowCount_ = insert.cursor->rowsChanged();
    if (sqlRowCount_ > 1) throw PlError::numbered(ora::kTooManyRows.code, s.at);
    SqlCursor& read = insertedRow(s);
    if (s.bulk) {  // BULK COLLECT INTO: the one row, or none
        collectReturned(s.into, insertedRows(read, sqlRowCount_), false, s.at);
        return;
    }
    if (sqlRowCount_ == 0 || !read.next()) {
        for (const NamePath& target : s.into) assign(target, Value::null());
        return;
    }
    assignRow(s.into, read, s.at);
}

SqlCursor& Interpreter::insertedRow(const Stmt& s) {
    const auto key = std::make_pair(static_cast<const void*>(&s.returning), 0);
    auto found = compiled_.find(key);
    if (found == compiled_.end()) {
        // INSERT INTO table [alias] ...: the table the row went to.
        const std::size_t t = s.sql.first + 2;
        const std::string table =
            src_.at(t + 1).isSymbol(".") ? src_.slice(t, t + 3) : src_.slice(t, t + 1);
        CompiledSql c = compile(s.returning, Range{}, true);
        c.sql = "SELECT " + c.sql + " FROM " + table + " WHERE rowid = last_insert_rowid()";
        c.cursor = port_->prepare(c.sql);
        found = compiled_.emplace(key, std::move(c)).first;
    }
    CompiledSql& read = found->second;
    bindAll(read);
    read.cursor->execute();
    return *read.cursor;
}

std::vector<std::vector<Value>> Interpreter::insertedRows(SqlCursor& read, unsigned inserted) {
    std::vector<std::vector<Value>> rows;
    if (inserted == 0 || !read.next()) return rows;
    rows.emplace_back();
    for (unsigned i = 1; i <= read.columnCount(); ++i) rows.back().push_back(read.column(i));
    return rows;
}

void Interpreter::runSelectInto(const Stmt& s) {
    CompiledSql& c = compiled(&s, 0, s.sql, s.skip, true);
    bindAll(c);
    c.cursor->execute();
    sqlRan_ = true;
    if (s.bulk) {
        sqlRowCount_ = collectRows(s.into, *c.cursor, 0, s.at);
        return;
    }
    if (!c.cursor->next()) {
        sqlRowCount_ = 0;
        throw PlError::numbered(ora::kNoDataFound.code, s.at);
    }
    assignRow(s.into, *c.cursor, s.at);
    sqlRowCount_ = 1;
    if (c.cursor->next()) {
        sqlRowCount_ = 2;
        throw PlError::numbered(ora::kTooManyRows.code, s.at);
    }
}

void Interpreter::runExecuteImmediate(const Stmt& s) {
    const Value text = evaluate(s.exprs[0]);
    if (text.isNull()) throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
    std::string sql = textOf(text);
    if (s.returningInto) {
        // The text's RETURNING ... INTO :b: the statement returns its row, without the INTO,
        // and the targets take it.
        TokenEditor e(lexSql(sql));
        std::size_t into = e.size();
        int depth = 0;
        bool returning = false;
        for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
            if (e.punct(k, '(')) ++depth;
            if (e.punct(k, ')')) --depth;
            if (depth == 0 && (e.word(k, "RETURNING") || e.word(k, "RETURN"))) returning = true;
            if (depth == 0 && returning && e.word(k, "INTO")) into = k;
        }
        if (into == e.size()) throw PlError::fromSql(makeError(ora::kMissingKeyword), s.at);
        sql = e.textBetween(0, into);
    }
    auto found = dynamic_.find(sql);
    if (found == dynamic_.end()) {
        if (dynamic_.size() >= 64) dynamic_.clear();  // a loop of distinct texts keeps few
        found = dynamic_.emplace(sql, port_->prepare(sql)).first;
        if (s.returningInto) found->second->keepReturnedRows();
    }
    SqlCursor& cursor = *found->second;
    bool outs = false;
    for (std::size_t i = 1; i < s.exprs.size(); ++i) {
        const bool out = i - 1 < s.usingOut.size() && s.usingOut[i - 1];
        outs = outs || out;
        // An OUT argument goes in as NULL of its target's type; IN OUT with its value.
        const TypeSpec* type = nullptr;
        const Value in = out ? targetValue(outTarget(s.exprs[i]), &type) : evaluate(s.exprs[i]);
        cursor.bind(static_cast<unsigned>(i), in);
    }
    cursor.execute();
    sqlRan_ = true;
    sqlRowCount_ = cursor.rowsChanged();
    if (outs) {
        // A block's OUT binds: what it assigned them, read back by the names its binds have,
        // in the order they first stand in the text.
        std::vector<std::string> names;
        for (const Token& t : lexSql(sql)) {
            if (t.kind != Token::Kind::Bind) continue;
            std::string name = t.text.substr(1);
            for (char& ch : name)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
        auto& read = helpers_["KAVEX$BIND_VALUES"];  // kept with the helper statements
        if (!read)
            read = port_->prepare("SELECT VALUE FROM TABLE(KAVEX$BIND_VALUES) WHERE NAME = :1");
        std::vector<std::pair<NamePath, Value>> assigned;
        for (std::size_t i = 1; i < s.exprs.size() && i - 1 < names.size(); ++i) {
            if (i - 1 >= s.usingOut.size() || !s.usingOut[i - 1]) continue;
            read->bind(1, Value::text(names[i - 1]));
            read->execute();
            if (read->next()) assigned.emplace_back(outTarget(s.exprs[i]), read->column(1));
        }
        for (const auto& a : assigned) assign(a.first, a.second);
    }
    if (s.into.empty()) return;
    if (s.returningInto) {
        const std::vector<std::vector<Value>>& rows = cursor.returnedRows();
        if (rows.size() > 1) throw PlError::numbered(ora::kTooManyRows.code, s.at);
        if (!rows.empty() && rows[0].size() != s.into.size())
            throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
        for (std::size_t i = 0; i < s.into.size(); ++i)
            assign(s.into[i], rows.empty() ? Value::null() : rows[0][i]);
        return;
    }
    if (!cursor.next()) {
        sqlRowCount_ = 0;
        throw PlError::numbered(ora::kNoDataFound.code, s.at);
    }
    assignRow(s.into, cursor, s.at);
    sqlRowCount_ = 1;
    if (cursor.next()) throw PlError::numbered(ora::kTooManyRows.code, s.at);
}

void Interpreter::runOpen(const Stmt& s) {
    CursorState* c = findCursor(s.name);
    if (!c) compileError(s.at, ora::kPlsNotDeclared, s.name);
    if (s.openFor) {
        // A cursor variable opens on a query, or on a query's text with USING binds; opening one
        // that is open closes it first, as Oracle does.
        if (c->decl) compileError(s.at, ora::kPlsWrongType);
        if (!s.sql.empty()) {
            CompiledSql& q = compiled(&s, 0, s.sql, Range{}, true);
            bindAll(q);
            q.cursor->execute();
            c->active = q.cursor.get();
        } else {
            const Value text = evaluate(s.exprs[0]);
            if (text.isNull()) throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
            c->owned = std::shared_ptr<SqlCursor>(port_->prepare(textOf(text)));
            for (std::size_t i = 1; i < s.exprs.size(); ++i)
                c->owned->bind(static_cast<unsigned>(i), evaluate(s.exprs[i]));
            c->owned->execute();
            c->active = c->owned.get();
        }
        c->open = true;
        c->fetched = c->found = false;
        c->rowCount = 0;
        return;
    }
    if (!c->decl) compileError(s.at, ora::kPlsWrongType);
    if (c->open) throw PlError::numbered(ora::kCursorAlreadyOpen.code, s.at);
    const Decl& d = *c->decl;
    if (s.exprs.size() > d.params.size()) compileError(s.at, ora::kPlsWrongArguments, d.name);
    // The parameters are variables of the cursor's query while it is bound.
    std::vector<Value> arguments;
    for (std::size_t i = 0; i < d.params.size(); ++i) {
        if (i < s.exprs.size())
            arguments.push_back(evaluate(s.exprs[i]));
        else if (d.params[i].hasDefault)
            arguments.push_back(evaluate(d.params[i].defaultValue));
        else
            compileError(s.at, ora::kPlsWrongArguments, d.name);
    }
    // A package's cursor opens in the package's interpreter: its query is the package's text.
    std::string member;
    PackageInstance* package =
        s.name.find('.') != std::string::npos ? packageOf(s.name, member) : nullptr;
    Interpreter& owner = package ? package->interpreter() : *this;
    SqlPort* const ownerPort = owner.port_;
    owner.port_ = port_;
    struct Restore {
        Interpreter& in;
        SqlPort* port;
        ~Restore() { in.port_ = port; }
    } restore{owner, ownerPort};
    owner.openDeclared(*c, arguments, s.at);
}

void Interpreter::openDeclared(CursorState& c, const std::vector<Value>& arguments, Position at) {
    const Decl& d = *c.decl;
    FrameScope<decltype(frames_)> scope(frames_);
    pushFrame();
    for (std::size_t i = 0; i < d.params.size(); ++i) {
        Variable& p = declareVariable(d.params[i].name, d.params[i].type, at);
        p.value = coerce(arguments[i], p.type, at);
    }
    auto it = cursorQueries_.find(&d);
    if (it == cursorQueries_.end()) {
        CompiledSql query = compile(d.query, Range{}, true);
        query.cursor = port_->prepare(query.sql);
        it = cursorQueries_.emplace(&d, std::move(query)).first;
    }
    bindAll(it->second);
    it->second.cursor->execute();
    c.active = it->second.cursor.get();
    c.open = true;
    c.fetched = c.found = false;
    c.rowCount = 0;
}

void Interpreter::runFetch(const Stmt& s) {
    CursorState* c = findCursor(s.name);
    if (!c) compileError(s.at, ora::kPlsNotDeclared, s.name);
    if (!c->open) throw PlError::numbered(ora::kInvalidCursor.code, s.at);
    SqlCursor& cursor = *c->active;  // an open cursor has its query
    c->fetched = true;
    if (s.bulk) {
        unsigned limit = 0;
        if (!s.exprs.empty()) {
            const Value n =
                coerce(evaluate(s.exprs[0]), TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
            if (n.isNull() || n.data.integer < 1)
                throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
            limit = static_cast<unsigned>(n.data.integer);
        }
        const unsigned rows = collectRows(s.into, cursor, limit, s.at);
        c->rowCount += rows;
        // %NOTFOUND: the fetch found fewer rows than it asked for.
        c->found = limit == 0 ? rows > 0 : rows == limit;
        return;
    }
    c->found = cursor.next();
    if (!c->found) return;
    ++c->rowCount;
    assignRow(s.into, cursor, s.at);
}

void Interpreter::runClose(const Stmt& s) {
    CursorState* c = findCursor(s.name);
    if (!c) compileError(s.at, ora::kPlsNotDeclared, s.name);
    if (!c->open) throw PlError::numbered(ora::kInvalidCursor.code, s.at);
    c->open = false;
}

// ---- built-in procedures ---------------------------------------------------------------------

void Interpreter::runCall(const Stmt& s) {
    if (runCollectionMethod(s)) return;
    const std::string& name = s.name;
    const std::size_t args = s.exprs.size();
    auto argumentCount = [&](std::size_t least, std::size_t most) {
        if (args < least || args > most) compileError(s.at, ora::kPlsWrongArguments, name);
    };
    OutputBuffer& out = port_->output();
    PackageInstance* package = nullptr;
    if (name == "DBMS_OUTPUT.PUT_LINE" || name == "DBMS_OUTPUT.PUT") {
        argumentCount(1, 1);
        const Value v = evaluate(s.exprs[0]);
        const std::string text = v.isNull() ? std::string() : textOf(v);
        if (name == "DBMS_OUTPUT.PUT")
            out.put(text);
        else
            out.putLine(text);
    } else if (name == "DBMS_OUTPUT.NEW_LINE") {
        argumentCount(0, 0);
        out.newLine();
    } else if (name == "DBMS_OUTPUT.ENABLE") {
        argumentCount(0, 1);
        long long size = 20000;
        if (args == 1) {
            const Value v =
                coerce(evaluate(s.exprs[0]), TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
            size = v.isNull() ? 0 : v.data.integer;
        }
        out.enable(size);
    } else if (name == "DBMS_OUTPUT.DISABLE") {
        argumentCount(0, 0);
        out.disable();
    } else if (name == "DBMS_OUTPUT.GET_LINES") {
        // GET_LINES(lines OUT CHARARR, numlines IN OUT): up to numlines lines, and how many.
        argumentCount(2, 2);
        const NamePath lines = outTarget(s.exprs[0]), count = outTarget(s.exprs[1]);
        Variable* v = lines.parts.size() == 1 ? findVariable(lines.parts[0]) : nullptr;
        if (!v || !v->collection) compileError(s.exprs[0].at, ora::kPlsWrongArguments, name);
        const TypeSpec* countType = nullptr;
        const Value wanted = coerce(targetValue(count, &countType),
                                    TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
        Collection& c = *v->collection;
        c.null = false;
        c.ints.clear();
        std::int64_t got = 0;
        std::string line;
        while (got < (wanted.isNull() ? 0 : wanted.data.integer) && out.getLine(line))
            c.ints[++got].value = line.empty() ? Value::null(ValueType::Text) : Value::text(line);
        assign(count, Value::integer(got));
    } else if (name == "DBMS_OUTPUT.GET_LINE") {
        argumentCount(2, 2);
        // Both arguments are OUT: they must name variables.
        NamePath targets[2];
        for (int i = 0; i < 2; ++i) {
            const Range r = s.exprs[static_cast<std::size_t>(i)].range;
            if (r.last - r.first != 1 || src_.at(r.first).kind != Token::Kind::Word)
                compileError(s.exprs[static_cast<std::size_t>(i)].at, ora::kPlsNotAssignable,
                             src_.slice(r.first, r.last));
            targets[i].parts.push_back(src_.at(r.first).name());
            targets[i].at = s.exprs[static_cast<std::size_t>(i)].at;
        }
        std::string line;
        const bool got = out.getLine(line);
        assign(targets[0], got ? Value::text(line) : Value::null(ValueType::Text));
        assign(targets[1], Value::integer(got ? 0 : 1));
    } else if (name == "RAISE_APPLICATION_ERROR") {
        argumentCount(2, 3);
        const Value number =
            coerce(evaluate(s.exprs[0]), TypeSpec::plain(TypeSpec::Kind::PlsInteger), s.at);
        const Value message = evaluate(s.exprs[1]);
        const std::int64_t n = number.isNull() ? 0 : number.data.integer;
        if (n < -20999 || n > -20000) {
            const occi::SQLException e = makeError(ora::kApplicationErrorOutOfRange, n);
            throw PlError::fromSql(e, s.at);
        }
        const int code = static_cast<int>(-n);
        std::string text = message.isNull() ? std::string() : textOf(message);
        if (text.size() > 2048) text.resize(2048);
        throw PlError::fromSql(Access::error(code, oraErrorText(code, text) + "\n"), s.at);
    } else if (name == "DBMS_LOCK.SLEEP" || name == "DBMS_SESSION.SLEEP") {
        argumentCount(1, 1);
        const Value v = convertSql("TO_BINARY_DOUBLE(:P1)", evaluate(s.exprs[0]));
        const double seconds = v.isNull() ? 0 : v.data.real;
        if (!(seconds >= 0) || seconds > 3600.0 * 24)
            throw PlError::numbered(ora::kNumericOrValueError.code, s.at);
        const auto until = std::chrono::steady_clock::now() +
                           std::chrono::microseconds(static_cast<long long>(seconds * 1e6));
        while (std::chrono::steady_clock::now() < until) {
            port_->checkCancel();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    } else if (name == "DBMS_RANDOM.SEED") {
        argumentCount(1, 1);
        convertSql("ORA$DBMS_RANDOM_SEED(:P1)", evaluate(s.exprs[0]));
    } else if (std::string member;
               s.target.parts.size() >= 2 && (package = packageOf(name, member))) {
        callPackaged(*package, member, s.exprs, s.argumentNames, s.at, false);
    } else if (const Unit* local =
                   s.target.parts.size() == 1 ? findSubprogram(s.target.parts[0]) : nullptr) {
        if (local->kind == Unit::Kind::Function) compileError(s.at, ora::kPlsNotProcedure, name);
        std::vector<const Unit*> procedures;
        for (const Unit* u : findSubprograms(name))
            if (u->kind == Unit::Kind::Procedure) procedures.push_back(u);
        local = chooseOverload(procedures, s.exprs, s.argumentNames, s.at, name);
        callUnit(*local, nullptr, s.exprs, s.argumentNames, s.at);
    } else if (LoadedUnit* u = s.target.parts.size() == 1 ? loadUnit(name) : nullptr) {
        if (u->unit && u->unit->kind == Unit::Kind::Function)
            compileError(s.at, ora::kPlsNotProcedure, name);
        callStored(*u, s.exprs, s.argumentNames, s.at);
    } else {
        compileError(s.at, ora::kPlsNotDeclared, name);
    }
}

const Decl& Interpreter::outputLines() {
    static const Decl lines = [] {
        Decl d;
        d.kind = Decl::Kind::Type;
        d.name = "DBMS_OUTPUT.CHARARR";
        d.form = Decl::Form::AssociativeArray;
        d.element = TypeSpec::plain(TypeSpec::Kind::Varchar2);
        d.element.length = 32767;
        return d;
    }();
    return lines;
}

// ---- assignment ------------------------------------------------------------------------------

Interpreter::Variable* Interpreter::targetVariable(const NamePath& target, std::size_t& used) {
    used = 1;
    auto found = targets_.find(&target);
    if (found != targets_.end() && found->second.foundIn == framesVersion_ &&
        found->second.name == target.parts[0])
        return found->second.variable;
    if (Variable* v = findVariable(target.parts[0])) {
        targets_[&target] = FoundTarget{v, framesVersion_, target.parts[0]};
        return v;
    }
    if (target.parts.size() < 2) return nullptr;
    used = 2;  // PKG.NAME: a package's public variable
    return findVariable(target.parts[0] + "." + target.parts[1]);
}

Value& Interpreter::targetValue(const NamePath& target, const TypeSpec** type) {
    static const TypeSpec kAnyType = TypeSpec::plain(TypeSpec::Kind::RowType);
    if (target.hostBind) {
        // hostBindValue gives an assigned value the bind's type.
        const std::size_t i = assignedHostBind(target);
        if (type) *type = &kAnyType;
        return host_.values[i];
    }
    std::size_t used = 0;
    Variable* v = targetVariable(target, used);
    if (!v) compileError(target.at, ora::kPlsNotDeclared, target.shown());
    if (v->constant) compileError(target.at, ora::kPlsNotAssignable, target.shown());
    if (target.parts.size() == used) {
        if (type) *type = &v->type;
        return v->value;
    }
    if (!v->record || target.parts.size() != used + 1)
        compileError(target.at, ora::kPlsNotDeclared, target.shown());
    for (auto& f : v->fields)
        if (f.first == target.parts[used]) {
            if (type) *type = &kAnyType;
            return f.second;
        }
    compileError(target.at, ora::kPlsNotDeclared, target.shown());
}

std::size_t Interpreter::assignedHostBind(const NamePath& target) {
    if (target.parts.size() != 1) compileError(target.at, ora::kPlsNotDeclared, target.shown());
    // The types of the values the host bound, before the block assigns any.
    while (hostTypes_.size() < host_.names.size())
        hostTypes_.push_back(host_.values[hostTypes_.size()].type);
    std::size_t i = 0;
    while (i < host_.names.size() && host_.names[i] != target.parts[0]) ++i;
    // A block's binds are all among the host's; a stored unit has none.
    if (i == host_.names.size()) compileError(target.at, ora::kPlsBadBind, target.parts[0]);
    const std::size_t n = host_.names.size();
    host_.values.resize(n);
    host_.bound.resize(n, false);
    host_.maxBytes.resize(n, 0);
    host_.assigned.resize(n, false);
    hostTypes_.resize(n, ValueType::Unknown);
    host_.assigned[i] = true;
    return i;
}

Value Interpreter::hostBindValue(std::size_t i, const Value& value, Position at) {
    using K = TypeSpec::Kind;
    Value v = value;
    switch (hostTypes_[i]) {
        case ValueType::Number:
            v = coerce(value, TypeSpec::plain(K::Number), at);
            break;
        case ValueType::BinaryDouble:
            v = coerce(value, TypeSpec::plain(K::BinaryDouble), at);
            break;
        case ValueType::Text:
            v = coerce(value, TypeSpec::plain(K::Varchar2), at);
            break;
        case ValueType::Date:
            v = coerce(value, TypeSpec::plain(K::Date), at);
            break;
        case ValueType::Timestamp:
            v = coerce(value, TypeSpec::plain(K::Timestamp), at);
            break;
        default:  // the host bound NULL or nothing: the bind takes the value's own type
            break;
    }
    if (v.type == ValueType::Boolean) compileError(at, ora::kPlsWrongType);
    const unsigned most = host_.maxBytes[i];
    if (most != 0 && v.data.kind == BindValue::Kind::Text && v.data.bytes.size() > most)
        raise(ora::kBufferTooSmall);
    return v;
}

void Interpreter::assign(const NamePath& target, const Value& value) {
    if (target.hostBind) {
        const std::size_t i = assignedHostBind(target);
        host_.values[i] = hostBindValue(i, value, target.at);
        host_.bound[i] = true;
        return;
    }
    const TypeSpec* type = nullptr;
    Value& slot = targetValue(target, &type);
    std::size_t used = 0;
    Variable* v = targetVariable(target, used);
    if (target.parts.size() == used && v->record)
        compileError(target.at, ora::kPlsRestriction, "assignment of a whole record");
    Value converted =
        type->kind == TypeSpec::Kind::RowType ? value : coerce(value, *type, target.at);
    if (target.parts.size() == used && v->notNull && converted.isNull())
        throw PlError::numbered(ora::kNumericOrValueError.code, target.at);
    slot = std::move(converted);
}

void Interpreter::assignRecord(Variable& v, const Expr& e) {
    if (v.constant) compileError(e.at, ora::kPlsNotAssignable, v.name);
    const SourceToken& first = src_.at(e.range.first);
    const bool single = e.range.last - e.range.first == 1;
    if (single && first.isWord("NULL")) {
        for (auto& f : v.fields) f.second = Value::null();
        return;
    }
    Fields from;
    Variable* other = single && (first.kind == Token::Kind::Word ||
                                 first.kind == Token::Kind::QuotedIdent)
                          ? findVariable(first.name())
                          : nullptr;
    if (other && other->record) {
        from = other->fields;
    } else {
        // A function of a record type: its RETURN's fields.
        calledRecord_.clear();
        evaluate(e);
        from = calledRecord_;
    }
    if (from.empty() || (!v.fields.empty() && from.size() != v.fields.size()))
        compileError(e.at, ora::kPlsWrongType);
    if (v.fields.empty()) {  // a cursor's %ROWTYPE before its first row: the other's names
        v.fields = from;
        return;
    }
    for (std::size_t i = 0; i < from.size(); ++i) v.fields[i].second = from[i].second;
}

void Interpreter::assignRow(const std::vector<NamePath>& into, SqlCursor& cursor, Position at) {
    const unsigned columns = cursor.columnCount();
    if (into.size() == 1 && !into[0].hostBind && into[0].parts.size() == 1) {
        Variable* v = findVariable(into[0].parts[0]);
        if (v && v->record) {
            // A record takes the row's columns in order; one declared by a cursor's %ROWTYPE
            // takes their names too.
            if (v->fields.empty())
                for (unsigned i = 1; i <= columns; ++i)
                    v->fields.emplace_back(cursor.columnName(i), Value());
            if (v->fields.size() != columns)
                throw PlError::numbered(ora::kNumericOrValueError.code, at);
            for (unsigned i = 1; i <= columns; ++i) v->fields[i - 1].second = cursor.column(i);
            return;
        }
    }
    if (into.size() != columns) throw PlError::numbered(ora::kNumericOrValueError.code, at);
    for (unsigned i = 1; i <= columns; ++i) assign(into[i - 1], cursor.column(i));
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
