// Runs a parsed PL/SQL block against a session's SQL. Variables live in frames, one per block
// (and loop) entered. Expressions are evaluated here when they are simple (literals, variables,
// NUMBER arithmetic in decimal, comparisons of numbers, AND / OR / NOT, IS NULL) and by the
// session's SQL otherwise (SELECT expression FROM DUAL), so that every SQL function and
// conversion is the one SQL has. SQL statements inside the block are prepared once, with the
// PL/SQL variables they name as binds, and run again with new values as often as the block
// reaches them. A package's instance has an interpreter of its own, whose bottom frames hold
// the package's variables; other interpreters reach its public members through it.
#ifndef KAVEXDB_PLSQL_INTERPRETER_H
#define KAVEXDB_PLSQL_INTERPRETER_H

#include <deque>
#include <initializer_list>
#include <map>
#include <unordered_map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plsql/ast.h"
#include "plsql/exceptions.h"
#include "plsql/source.h"
#include "plsql/sql_port.h"
#include "plsql/value.h"

namespace kavexdb {
namespace detail {
namespace plsql {

class PackageInstance;

// The host's binds of the block, by name (upper case, without the colon): the values the host
// bound, and at the block's end the values it assigned to them (its OUT binds).
struct HostBinds {
    std::vector<std::string> names;
    std::vector<Value> values;
    std::vector<bool> bound;  // false: the host set no value (ORA-01008 when the block reads it)
    // The most bytes a text assigned to the bind may take (the host's maximum parameter size);
    // 0 or missing: no limit. Past it an assignment fails with ORA-06502.
    std::vector<unsigned> maxBytes;
    std::vector<bool> assigned;  // the block assigned the bind a value
};

// What a row trigger's body sees as NEW and OLD (by the names REFERENCING gives them): records
// of its table's columns, in the table's order.
struct TriggerRow {
    std::string newName = "NEW";
    std::string oldName = "OLD";
    std::vector<std::string> columns;
    std::vector<Value> newValues;  // NULLs for a DELETE
    std::vector<Value> oldValues;  // NULLs for an INSERT
    bool newAssignable = false;    // a BEFORE row trigger may change NEW
};

class Interpreter {
  public:
    // port and source must outlive the interpreter; it works on its own copy of host.
    Interpreter(SqlPort& port, const Source& source, const HostBinds& host);
    ~Interpreter();
    Interpreter(const Interpreter&) = delete;
    Interpreter& operator=(const Interpreter&) = delete;

    // Runs the block to its end. An exception it does not handle comes out as the
    // occi::SQLException the host reads: the error, then "ORA-06512: at line N".
    void run(const Block& block);
    // The host binds with the values the block assigned them so far.
    const HostBinds& hostBinds() const { return host_; }

    // Runs a trigger's block with INSERTING, UPDATING and DELETING (event 'I', 'U' or 'D') and,
    // for a row trigger, row's records in scope; row->newValues take NEW's fields at its end. An
    // error it does not handle comes out with "at "SCOTT.NAME", line N" and ORA-04088 after it.
    void runTrigger(const Block& block, const std::string& shownName, char event, TriggerRow* row);

    // A node of the expressions evaluated without SQL (expressions.cpp).
    struct Native;

    // Calls the stored function of that name (or PKG.NAME, a package's) with args (positional)
    // and gives its value; for SQL's calls of a function (calls.cpp).
    Value callFunction(const std::string& name, const std::vector<Value>& args);

    // For a package's own interpreter: makes the package's declarations and its body's in
    // frames of their own, at the bottom of the interpreter, and runs the body's initialisation,
    // on port (package_calls.cpp).
    void openPackage(const Package& package, SqlPort& port);

  private:
    // ---- state -------------------------------------------------------------------------------
    using Fields = std::vector<std::pair<std::string, Value>>;  // a record's, in column order
    // One element of a collection: a value, or a record's fields.
    struct Element {
        Value value;
        Fields fields;
    };
    // An associative array, nested table or VARRAY (collections.cpp).
    struct Collection {
        const Decl* type = nullptr;  // its TYPE declaration
        bool null = false;           // a nested table or VARRAY not made yet
        std::map<std::int64_t, Element> ints;
        std::map<std::string, Element> texts;  // INDEX BY VARCHAR2
    };
    struct Variable {
        std::string name;
        TypeSpec type;
        Value value;
        bool constant = false;
        bool notNull = false;
        bool record = false;
        Fields fields;
        std::shared_ptr<Collection> collection;  // set for a collection variable
    };
    struct CursorState {
        std::string name;
        const Decl* decl = nullptr;        // null: a SYS_REFCURSOR variable
        SqlCursor* active = nullptr;       // a cursor variable's query, from OPEN ... FOR
        std::shared_ptr<SqlCursor> owned;  // the statement of OPEN ... FOR 'text'
        bool open = false;
        bool fetched = false;  // %FOUND is NULL until the first FETCH
        bool found = false;
        unsigned rowCount = 0;
    };
    struct ExceptionName {
        std::string name;
        int code = 0;  // 0: user-defined, matched by name
    };
    struct Frame {
        std::deque<Variable> vars;  // a deque: references stay valid as it grows
        std::vector<ExceptionName> exceptions;
        std::deque<CursorState> cursors;
        std::vector<const Decl*> types;        // TYPE and SUBTYPE declarations
        std::vector<const Unit*> subprograms;  // procedures and functions the block declares
        // A call into a package from outside it: the names below it, up to the package's own
        // frames, are the interrupted calls', which the call does not see.
        bool callBase = false;
        std::string owner;  // the subprogram or labelled block it holds the names of
    };

    // What one bind of a compiled SQL text takes its value from.
    struct BindSource {
        enum class Kind {
            Variable,
            Field,
            Host,
            SqlAttribute,
            CursorAttribute,
            SqlCode,
            SqlErrm,
            Element,
            Method,
            Call  // a call of the block's own function: index is the call
        };
        Kind kind = Kind::Variable;
        std::string name;   // variable, record, host bind, cursor or collection
        std::string field;  // Field and Element: the field; attributes and methods: their name
        const Expr* index = nullptr;  // Element: the subscript; Method: the argument, if any
        // Variable: where it was found, while the frames are those it was found in.
        Variable* found = nullptr;
        std::uint64_t foundIn = 0;
    };
    struct CompiledSql {
        std::string sql;
        std::vector<BindSource> binds;  // by bind index - 1
        std::unique_ptr<SqlCursor> cursor;
        std::shared_ptr<std::deque<Expr>> subscripts;  // what binds' index point at
    };
    // How an expression's SQL is asked for its value.
    enum class Mode { Value, Condition };

    // How a statement ends: Goto goes out to the statement sequence holding its label, which
    // goes on from the statement labelled so.
    enum class FlowKind { Normal, Exit, Continue, Return, Goto };
    struct Flow {
        FlowKind kind = FlowKind::Normal;
        std::string label;  // Exit / Continue: the loop's (or none); Goto: the target
    };

    // ---- blocks and statements (interpreter.cpp) ---------------------------------------------
    Flow runBlock(const Block& block);
    // The block's statements, with its handlers, in the frame its declarations were made in.
    Flow runHandled(const Block& block);
    void declare(const Decl& d);
    Flow runBody(const Body& body);
    Flow runStatement(const Stmt& s);
    Flow runIf(const Stmt& s);
    Flow runCase(const Stmt& s);
    Flow runLoop(const Stmt& s);
    Flow runForRange(const Stmt& s);
    Flow runForCursor(const Stmt& s);
    // After one pass of a loop's body: whether the loop goes on, and the flow it passes out.
    bool loopGoesOn(const Stmt& loop, Flow& flow);
    void runSql(const Stmt& s);
    void runInsertReturning(const Stmt& s);
    void runSelectInto(const Stmt& s);
    void runExecuteImmediate(const Stmt& s);
    void runCall(const Stmt& s);
    // DBMS_OUTPUT.CHARARR, the type of GET_LINES' lines: TABLE OF VARCHAR2(32767) INDEX BY
    // BINARY_INTEGER.
    static const Decl& outputLines();
    void runOpen(const Stmt& s);
    // Opens a declared cursor of this interpreter's (a package's, for another's OPEN) with its
    // parameters' values.
    void openDeclared(CursorState& c, const std::vector<Value>& arguments, Position at);
    void runFetch(const Stmt& s);
    void runClose(const Stmt& s);
    [[noreturn]] void runRaise(const Stmt& s);
    const Handler* handlerFor(const Block& block, const PlError& err);

    // ---- stored units (calls.cpp) ------------------------------------------------------------
    // A stored unit as calls meet it: its source and its parse (null when it does not compile).
    struct LoadedUnit {
        UnitSource stored;
        std::unique_ptr<Source> source;
        std::unique_ptr<Unit> unit;
    };
    // The unit of that name, loaded once per interpreter; null when there is none.
    LoadedUnit* loadUnit(const std::string& name);
    // Calls u with the caller's argument expressions (positional or named), then assigns its
    // OUT and IN OUT parameters back to the arguments that name them.
    Value callStored(LoadedUnit& u, const std::vector<Expr>& args,
                     const std::vector<std::string>& names, Position at);
    // Calls unit with the caller's arguments: a stored one (stored set) in an interpreter of its
    // own, a block's own in this one, where it sees the block's names.
    Value callUnit(const Unit& unit, LoadedUnit* stored, const std::vector<Expr>& args,
                   const std::vector<std::string>& names, Position at,
                   PackageInstance* package = nullptr);
    const Unit* findSubprogram(const std::string& name) const;
    // The subprograms of that name the innermost frame that declares any declares (overloads).
    std::vector<const Unit*> findSubprograms(const std::string& name) const;
    // The one of candidates that a call with these arguments matches: by their number and
    // names, then by the types of the arguments whose types are known before they run.
    // PLS-00306 when none does, PLS-00307 when more than one does.
    const Unit* chooseOverload(const std::vector<const Unit*>& candidates,
                               const std::vector<Expr>& args,
                               const std::vector<std::string>& names, Position at,
                               const std::string& shown);
    // Whether name(...) in an expression calls a function: the block's own or a stored one.
    bool callableFunction(const std::string& name);
    // Runs u in an interpreter of its own with the parameters' values (given[i] false: the
    // default); outs receives the parameters' values at its end.
    // A collection or record an argument passes (given: the argument is one), and what the
    // parameter holds at the call's end.
    struct Composite {
        bool given = false;
        std::shared_ptr<Collection> collection;
        Fields fields;
    };
    using Composites = std::vector<Composite>;
    Value runUnit(LoadedUnit& u, const std::vector<Value>& values, const std::vector<bool>& given,
                  std::vector<Value>& outs, Position at, Composites* composites = nullptr);
    Value enterUnit(const Unit& unit, const std::vector<Value>& values,
                    const std::vector<bool>& given, std::vector<Value>& outs,
                    Composites* composites = nullptr);
    // The argument an OUT parameter is passed: a variable or a record's field.
    NamePath outTarget(const Expr& e);

    // ---- packages (package_calls.cpp) ---------------------------------------------------------
    // The session's instance of the package of that name, looked up once per interpreter (and
    // made, with its initialisation run, on the session's first use); null when there is none.
    PackageInstance* findPackage(const std::string& name);
    // For "PKG.MEMBER" or "SCHEMA.PKG.MEMBER": the package, and member set to MEMBER; null when
    // the name is not one of a package's member.
    PackageInstance* packageOf(const std::string& dotted, std::string& member);
    // A package's public variable, type or exception by its dotted name; null when none.
    Variable* packageVariable(const std::string& dotted);
    // owner: set to the package's interpreter, which makes the type's variables.
    const Decl* packageType(const std::string& dotted, Interpreter** owner);
    // Calls a package's public subprogram from outside the package (function: a function is
    // wanted, else a procedure).
    Value callPackaged(PackageInstance& package, const std::string& member,
                       const std::vector<Expr>& args, const std::vector<std::string>& names,
                       Position at, bool function);
    // Runs one of the package's subprograms in its interpreter, for a caller outside it.
    Value runMember(PackageInstance& package, const Unit& unit, const std::vector<Value>& values,
                    const std::vector<bool>& given, std::vector<Value>& outs, Position at,
                    Composites* composites = nullptr);
    // Whether the package's public function member is callable with no arguments.
    bool packageFunction(const std::string& dotted);

    // ---- collections (collections.cpp) -------------------------------------------------------
    const Decl* findType(const std::string& name) const;
    // A TYPE's variable: a record's fields, or an empty (or, nested and VARRAY, null) collection.
    void makeOfType(Variable& v, const Decl& type, Position at);
    // v(index) of a collection; ORA-06531 (null), NO_DATA_FOUND / ORA-06533 (no such element).
    Element& element(Variable& v, const Value& index, Position at, bool forWrite);
    Value elementValue(Variable& v, const Value& index, const std::string& field, Position at);
    void assignElement(const NamePath& target, const Value& value);
    // COUNT, FIRST, LAST, LIMIT, NEXT(k), PRIOR(k), EXISTS(k).
    Value collectionMethod(Variable& v, const std::string& method, const Value* argument,
                           Position at);
    // EXTEND [(n)], TRIM [(n)], DELETE [(i [, j])] as statements.
    bool runCollectionMethod(const Stmt& s);
    // v := T(a, b, ...), v := other, v := NULL for a collection variable.
    void assignCollection(Variable& v, const Expr& e);
    // The rows of a query into collections (BULK COLLECT); limit 0: all of them.
    unsigned collectRows(const std::vector<NamePath>& into, SqlCursor& cursor, unsigned limit,
                         Position at);
    // RETURNING ... BULK COLLECT INTO: each returned column into its collection, after the
    // elements there when append (FORALL's later executions), else in place of them.
    void collectReturned(const std::vector<NamePath>& into,
                         const std::vector<std::vector<Value>>& rows, bool append, Position at);
    // INSERT ... RETURNING: the query of the returned expressions over the row just inserted,
    // run; and its row as returned rows (none when the INSERT made none).
    SqlCursor& insertedRow(const Stmt& s);
    std::vector<std::vector<Value>> insertedRows(SqlCursor& read, unsigned inserted);
    // The collection variables BULK COLLECT INTO names (PLS-00382 for any other).
    std::vector<Variable*> collectionTargets(const std::vector<NamePath>& into);
    // FORALL's index values, in the order the statement runs with them.
    std::vector<std::int64_t> forallIndexes(const Stmt& s);
    Flow runForall(const Stmt& s);
    // SQL%BULK_ROWCOUNT(i), SQL%BULK_EXCEPTIONS.COUNT, SQL%BULK_EXCEPTIONS(j).ERROR_INDEX and
    // .ERROR_CODE of the last FORALL; index: the subscript, when the attribute takes one.
    Value bulkAttribute(const std::string& attribute, const Value* index);

    // ---- names -------------------------------------------------------------------------------
    Frame& pushFrame();
    // Lookups go from frame i to the frame below what this gives (the innermost first): past a
    // call's base, to the package's own frames.
    std::size_t outerFrame(std::size_t i) const {
        return frames_[i]->callBase && i > packageFrames_ ? packageFrames_ : i;
    }
    Variable* findVariable(const std::string& name);
    CursorState* findCursor(const std::string& name);
    // A declared exception, or a package's (PKG.NAME); identity: the name errors raised as it
    // carry.
    const ExceptionName* findException(const std::string& name, std::string& identity);
    Variable& declareVariable(const std::string& name, const TypeSpec& type, Position at);
    TypeSpec resolveType(const TypeSpec& type, Position at, Variable* recordOf);
    // The variable a target names, and how many of its parts name it (PKG.NAME: two); null
    // when none.
    Variable* targetVariable(const NamePath& target, std::size_t& used);
    // The value a target names can take; Value& of a variable, a record's field or a host bind.
    Value& targetValue(const NamePath& target, const TypeSpec** type);
    // The index in host_ of a host bind the block assigns (marked assigned from now on).
    std::size_t assignedHostBind(const NamePath& target);
    // value as the host bind at index i takes it: the type of the value the host bound, and no
    // more bytes than the host's maximum parameter size (ORA-06502).
    Value hostBindValue(std::size_t i, const Value& value, Position at);
    void assign(const NamePath& target, const Value& value);
    // r := other record, r := f(x) (a function of a record type), r := NULL: field by field,
    // in order (PLS-00382 when the two do not have as many fields).
    void assignRecord(Variable& v, const Expr& e);
    // A row of a query into targets: one record, or one target per column.
    void assignRow(const std::vector<NamePath>& into, SqlCursor& cursor, Position at);

    // ---- expressions (expressions.cpp) -------------------------------------------------------
    Value evaluate(const Expr& e, Mode mode = Mode::Value);
    bool isTrue(const Expr& e);
    Value evaluateSql(const Expr& e, Mode mode);
    // The SQL text of tokens r (leaving out skip) with the PL/SQL names it holds as binds.
    CompiledSql compile(Range r, Range skip, bool statement);
    CompiledSql& compiled(const void* node, int mode, Range r, Range skip, bool statement);
    void bindAll(CompiledSql& c);
    Value bindValue(BindSource& b);
    // SELECT f(:1) FROM DUAL for one value, through a cached statement per f.
    Value convertSql(const std::string& function, const Value& v);
    Value helperSql(const std::string& expression, std::initializer_list<const Value*> args);
    // a op b (or function(a op b)) through SQL, for what the native evaluator leaves to it.
    Value operatorSql(const std::string& op, const Value& a, const Value& b, bool comparison,
                      const char* function = nullptr);
    // v converted to what a variable of type t holds (ORA-06502 when it cannot be).
    Value coerce(const Value& v, const TypeSpec& t, Position at);
    std::string textOf(const Value& v);
    // Native evaluation; false when the expression is not one this evaluator knows.
    bool nativeEvaluate(const Expr& e, Value& out);
    Variable* nativeVariable(const Native& n);
    Value evalNative(const Native& n);

    SqlPort* port_;  // the caller's, while a package's interpreter runs a call
    const Source& src_;
    Position at_;  // the statement running
    HostBinds host_;
    std::vector<ValueType> hostTypes_;  // of the values the host bound (assignedHostBind)
    std::vector<std::unique_ptr<Frame>> frames_;
    std::vector<PlError> handling_;  // the exceptions whose handlers run, innermost last
    std::vector<std::string> loopLabels_;
    unsigned sqlRowCount_ = 0;
    // The last FORALL's rows by index value, and the executions SAVE EXCEPTIONS kept going past
    // (the execution's number counting from 1, and its ORA error number).
    struct BulkException {
        unsigned iteration = 0;
        int code = 0;
    };
    std::map<std::int64_t, unsigned> bulkRowCounts_;
    std::vector<BulkException> bulkExceptions_;
    bool sqlRan_ = false;  // SQL%FOUND is NULL before the first SQL statement
    std::map<std::pair<const void*, int>, CompiledSql> compiled_;
    std::map<const void*, std::unique_ptr<Native>> natives_;     // null: not native
    // The local variable each assignment target named last time, for frames as they were then
    // (as a bind's): a loop assigns the same variable again and again. Keyed by the target's
    // address, which a target made for a moment (an OUT argument's) may share with another:
    // the name must match too.
    struct FoundTarget {
        Variable* variable;
        std::uint64_t foundIn;
        std::string name;
    };
    std::unordered_map<const NamePath*, FoundTarget> targets_;
    std::map<std::string, std::unique_ptr<SqlCursor>> helpers_;  // convertSql / operatorSql
    std::map<std::string, std::unique_ptr<SqlCursor>> dynamic_;  // EXECUTE IMMEDIATE texts
    std::map<const Decl*, CompiledSql> cursorQueries_;
    std::map<std::string, std::unique_ptr<LoadedUnit>> units_;  // null: no such unit
    // The packages the interpreter used (expired: none, or replaced since). A package's own
    // interpreter does not keep the packages it uses alive, which would make cycles of packages
    // that use each other; other interpreters (and any whose variables have a package's type)
    // keep them in held_ while they run, so that what they found in them stays.
    std::map<std::string, std::weak_ptr<PackageInstance>> packages_;
    std::vector<std::shared_ptr<PackageInstance>> held_;
    // A package's own interpreter: its frames at the bottom (package, body), and its name.
    std::size_t packageFrames_ = 0;
    std::string packageName_;
    std::map<const Expr*, std::vector<Expr>> constructorArgs_;  // T(a, b): a and b, kept
    std::uint64_t framesVersion_ = 0;  // changes whenever a frame is pushed
    static constexpr int kMostEvaluationDepth = 200;
    int evaluationDepth_ = 0;  // expressions being evaluated within one another
    bool returned_ = false;    // a function's RETURN ran
    Value returnValue_;
    Fields returnFields_;  // what RETURN of a record gave
    Fields calledRecord_;  // the record the last function call gave, for f(x).field
};

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
