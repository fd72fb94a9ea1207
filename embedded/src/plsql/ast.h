// A parsed PL/SQL block. Expressions and SQL statements stay token ranges of the unit's Source:
// the interpreter resolves their names against the variables in scope when it first runs them,
// and either evaluates them itself or hands them to SQL.
#ifndef KAVEXDB_PLSQL_AST_H
#define KAVEXDB_PLSQL_AST_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace kavexdb {
namespace detail {
namespace plsql {

// Tokens [first, last) of the Source.
struct Range {
    std::size_t first = 0;
    std::size_t last = 0;
    bool empty() const { return first >= last; }
};

// Where a construct starts, for error messages and ORA-06512.
struct Position {
    int line = 1;
    int column = 1;
};

struct Expr {
    Range range;
    Position at;
};

// A name as a target or a reference: V, R.FIELD, or a host's :BIND.
// A collection's element is parts[0](index), and its record field after it: v(i).f.
struct NamePath {
    std::vector<std::string> parts;  // upper case unless quoted
    bool hostBind = false;
    Position at;
    bool indexed = false;
    Expr index;
    std::string field;  // of an indexed element
    // The name's parts joined: V, or PKG.V.
    std::string joined() const {
        std::string s;
        for (std::size_t i = 0; i < parts.size(); ++i) s += (i ? "." : "") + parts[i];
        return s;
    }
    std::string shown() const {
        std::string s = hostBind ? ":" : "";
        for (std::size_t i = 0; i < parts.size(); ++i) s += (i ? "." : "") + parts[i];
        if (indexed) s += "(..)" + (field.empty() ? "" : "." + field);
        return s;
    }
};

// A declared type as written: a base type with its length or precision and scale, or one
// taken from a column (T.C%TYPE), a variable (V%TYPE) or a table's row (T%ROWTYPE).
struct TypeSpec {
    enum class Kind {
        Number,
        PlsInteger,
        BinaryDouble,
        BinaryFloat,
        Varchar2,
        Char,
        Date,
        Timestamp,
        Boolean,
        Clob,
        Blob,
        Raw,
        RefCursor,
        ColumnType,
        VariableType,
        RowType,
        UserType  // a TYPE the block declares: of = {name}
    };
    Kind kind = Kind::Number;
    int precision = 0;  // 0: none given
    int scale = 0;
    bool hasScale = false;
    unsigned length = 0;          // 0: none given
    std::vector<std::string> of;  // ColumnType: table, column; VariableType: variable; RowType
    std::string sqlText;          // the type as written, for CAST

    static TypeSpec plain(Kind kind) {
        TypeSpec t;
        t.kind = kind;
        return t;
    }
};

struct Stmt;
struct Unit;
using Body = std::vector<std::unique_ptr<Stmt>>;

struct Decl {
    enum class Kind { Variable, Exception, ExceptionInit, Cursor, Type, Subtype, Subprogram };
    Kind kind = Kind::Variable;
    std::string name;
    Position at;
    TypeSpec type;
    bool constant = false;
    bool notNull = false;
    bool hasInit = false;
    Expr init;
    int code = 0;  // ExceptionInit: the ORA error number (negative, or 100)
    struct Param {
        std::string name;
        TypeSpec type;
        bool hasDefault = false;
        Expr defaultValue;
    };
    std::vector<Param> params;  // Cursor; Type: a record's fields
    Range query;                // Cursor
    // Type: TYPE name IS RECORD (fields) | TABLE OF element [INDEX BY key] | VARRAY(n) OF element
    enum class Form { Record, AssociativeArray, NestedTable, Varray };
    Form form = Form::Record;
    TypeSpec element;
    bool textKeys = false;  // INDEX BY VARCHAR2
    long limit = 0;         // VARRAY(n)
    // Subprogram: a procedure or function the block declares (null for a forward declaration).
    std::shared_ptr<Unit> unit;
};

struct Handler {
    std::vector<std::string> names;  // OTHERS, a predefined exception or a declared one
    Position at;
    Body body;
};

struct Block {
    std::string label;
    Position at;
    std::vector<Decl> decls;
    Body body;
    std::vector<Handler> handlers;
    Position end;
};

struct Stmt {
    enum class Kind {
        Null,
        Assign,
        If,
        Case,
        Loop,
        While,
        ForRange,
        ForCursor,
        Exit,
        Continue,
        Return,
        Raise,
        Block,
        Sql,
        SelectInto,
        ExecuteImmediate,
        Call,
        Open,
        Fetch,
        Close,
        Forall,  // FORALL i IN bounds [SAVE EXCEPTIONS] dml: see forall, exprs, sql
        Goto     // GOTO name
    };
    // FORALL's bounds: a .. b (exprs {low, high}), INDICES OF name [BETWEEN low AND high]
    // (exprs {} or {low, high}), VALUES OF name.
    enum class Bounds { Range, IndicesOf, ValuesOf };
    Kind kind = Kind::Null;
    Position at;
    std::string label;         // loops: the <<label>> before them (the last, if several)
    std::vector<std::string> labels;  // every <<label>> before the statement, for GOTO
    NamePath target;           // Assign; ForRange / ForCursor: the loop's own variable
    std::vector<Expr> exprs;   // see below
    std::vector<Body> bodies;  // If / Case: one per branch, then ELSE's; loops: bodies[0]
    bool hasElse = false;
    bool reverse = false;        // FOR .. IN REVERSE
    bool hasSelector = false;    // CASE selector WHEN ...
    bool openFor = false;        // OPEN v FOR query (sql) | FOR text (exprs {text, USING...})
    bool bulk = false;           // BULK COLLECT INTO
    bool returningInto = false;  // ExecuteImmediate: RETURNING INTO targets (into)
    Bounds forall = Bounds::Range;
    bool saveExceptions = false;  // FORALL ... SAVE EXCEPTIONS
    Range sql;                   // Sql, SelectInto, ForCursor's query
    Range skip;                  // SelectInto: its INTO clause, which SQL does not see
    Range returning;             // Sql: the expressions of RETURNING ... INTO
    std::vector<NamePath> into;  // SelectInto, Fetch, ExecuteImmediate INTO
    std::string name;  // Raise, Call (dotted), Open/Fetch/Close, ForCursor's cursor, Goto's label
    std::unique_ptr<Block> block;
    // exprs: Assign {value}; If {conditions...}; Case {selector?, when values...};
    // While {condition}; ForRange {low, high}; Exit / Continue {WHEN condition?};
    // Call / Open / ForCursor {arguments}; ExecuteImmediate {text, USING arguments...};
    // Return {value?}; Raise {}.
    std::vector<std::string> argumentNames;  // Call: name => value ("" where positional)
    // ExecuteImmediate: the USING arguments that are OUT or IN OUT (by argument, from 0).
    std::vector<bool> usingOut;
};

// A parameter of a stored procedure or function.
struct Parameter {
    enum class Mode { In, Out, InOut };
    std::string name;
    Mode mode = Mode::In;
    TypeSpec type;
    bool hasDefault = false;
    Expr defaultValue;
    Position at;
};

// A stored procedure or function: PROCEDURE | FUNCTION name [(parameters)] [RETURN type] IS|AS
// declarations BEGIN ... END.
struct Unit {
    enum class Kind { Procedure, Function };
    Kind kind = Kind::Procedure;
    std::string name;
    std::vector<Parameter> params;
    TypeSpec returnType;
    std::unique_ptr<Block> body;  // null: a declaration only (its body comes later)
};

// A package: its declarations (CREATE PACKAGE: the public ones) and its body's, with the body's
// initialisation part as the body's statements (none when it has no BEGIN). A package parsed
// without its body has none.
struct Package {
    std::string name;
    Block declared;
    std::unique_ptr<Block> body;
};

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
