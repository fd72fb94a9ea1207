#include "plsql/parser.h"

#include <cstdlib>
#include <initializer_list>

#include "plsql/compile_error.h"
#include "plsql/goto_targets.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

// Blocks, loops and IFs nested deeper than this are refused before the interpreter's stack
// could feel them.
constexpr int kMostNesting = 200;

using Words = std::initializer_list<const char*>;

bool isOneOf(const SourceToken& t, Words words) {
    for (const char* w : words)
        if (t.isWord(w)) return true;
    return false;
}

Position positionOf(const SourceToken& t) { return Position{t.line, t.column}; }

class Parser {
  public:
    explicit Parser(const Source& source) : src_(source) {}

    std::unique_ptr<Block> anonymousBlock() {
        std::string label = labels();
        if (!peek().isWord("DECLARE") && !peek().isWord("BEGIN")) fail("begin declare");
        std::unique_ptr<Block> b = block(label);
        if (peek().isSymbol(";")) ++i_;
        // SQL*Plus's terminating slash is the host's; anything else after END is an error.
        if (peek().isSymbol("/") && at(1).kind == Token::Kind::Punct && at(1).text.empty()) ++i_;
        if (!atEnd()) fail("end-of-file");
        return b;
    }

    std::unique_ptr<Unit> storedUnit() {
        std::unique_ptr<Unit> u = subprogram(false);
        if (peek().isSymbol(";")) ++i_;
        if (peek().isSymbol("/") && at(1).kind == Token::Kind::Punct && at(1).text.empty()) ++i_;
        if (!atEnd()) fail("end-of-file");
        return u;
    }

    // PROCEDURE | FUNCTION name [(parameters)] [RETURN type] IS|AS declarations BEGIN ... END:
    // a stored unit, or (local) one a block declares, which may be a declaration only, ended by
    // its ";" (its body follows later in the block: the unit is then null).
    std::unique_ptr<Unit> subprogram(bool local) {
        auto u = std::make_unique<Unit>();
        if (acceptWord("FUNCTION"))
            u->kind = Unit::Kind::Function;
        else
            expectWord("PROCEDURE");
        u->name = identifier();
        while (acceptSymbol(".")) u->name = identifier();  // schema.name
        if (acceptSymbol("(")) {
            do {
                Parameter p;
                p.at = positionOf(peek());
                p.name = identifier();
                if (acceptWord("IN")) {
                    if (acceptWord("OUT")) p.mode = Parameter::Mode::InOut;
                } else if (acceptWord("OUT")) {
                    p.mode = Parameter::Mode::Out;
                }
                acceptWord("NOCOPY");
                p.type = typeSpec(true);
                if (acceptSymbol(":=") || acceptWord("DEFAULT")) {
                    p.hasDefault = true;
                    p.defaultValue = expression({}, {",", ")"});
                }
                u->params.push_back(std::move(p));
            } while (acceptSymbol(","));
            expectSymbol(")");
        }
        if (u->kind == Unit::Kind::Function) {
            expectWord("RETURN");
            u->returnType = typeSpec(true);
        }
        // AUTHID CURRENT_USER | DEFINER, DETERMINISTIC, PARALLEL_ENABLE, RESULT_CACHE, ...
        while (!peek().isWord("IS") && !peek().isWord("AS")) {
            if (local && peek().isSymbol(";")) return u;  // a declaration only: no body
            if (atEnd() || peek().kind != Token::Kind::Word) fail("is as");
            ++i_;
        }
        ++i_;
        if (isOneOf(peek(), {"LANGUAGE", "EXTERNAL"})) restriction("external procedures");
        const bool outerFunction = inFunction_;
        inFunction_ = u->kind == Unit::Kind::Function;
        u->body = block("", true);
        inFunction_ = outerFunction;
        return u;
    }

    // PACKAGE name IS|AS declarations END [name]; then, when the text goes on, PACKAGE BODY name
    // IS|AS declarations [BEGIN statements [EXCEPTION handlers]] END [name];
    std::unique_ptr<Package> package() {
        auto p = std::make_unique<Package>();
        p->declared.at = positionOf(peek());
        p->name = packageHead(false);
        declarations(p->declared, true);
        p->declared.end = positionOf(peek());
        packageEnd(p->name);
        if (atEnd()) return p;
        p->body = std::make_unique<Block>();
        p->body->at = positionOf(peek());
        if (packageHead(true) != p->name) fail("package body " + p->name);
        declarations(*p->body, true);
        if (acceptWord("BEGIN")) {
            p->body->body = statements();
            if (p->body->body.empty()) fail("a statement");
            if (acceptWord("EXCEPTION")) {
                while (peek().isWord("WHEN")) p->body->handlers.push_back(handler());
                if (p->body->handlers.empty()) fail("when");
            }
        }
        p->body->end = positionOf(peek());
        packageEnd(p->name);
        if (!atEnd()) fail("end-of-file");
        return p;
    }

    TypeSpec typeOnly() {
        TypeSpec t = typeSpec();
        if (!atEnd()) fail("end-of-file");
        return t;
    }

  private:
    // ---- tokens ------------------------------------------------------------------------------
    const SourceToken& peek() const { return src_.at(i_); }
    const SourceToken& at(std::size_t k) const { return src_.at(i_ + k); }
    bool atEnd() const { return i_ + 1 >= src_.tokens().size(); }
    bool acceptWord(const char* w) {
        if (!peek().isWord(w)) return false;
        ++i_;
        return true;
    }
    bool acceptSymbol(const char* s) {
        if (!peek().isSymbol(s)) return false;
        ++i_;
        return true;
    }
    void expectWord(const char* w) {
        if (!acceptWord(w)) fail(w);
    }
    void expectSymbol(const char* s) {
        if (!acceptSymbol(s)) fail(s);
    }
    [[noreturn]] void fail(const std::string& expecting) const {
        const SourceToken& t = peek();
        const std::string shown = atEnd() ? "end-of-file" : t.text;
        compileError(positionOf(t), ora::kPlsEncountered, shown, expecting);
    }
    [[noreturn]] void restriction(const std::string& what) const {
        compileError(positionOf(peek()), ora::kPlsRestriction, what);
    }
    std::string identifier() {
        const SourceToken& t = peek();
        if (t.kind != Token::Kind::Word && t.kind != Token::Kind::QuotedIdent)
            fail("an identifier");
        ++i_;
        return t.name();
    }

    // A cursor's name: C, or a package's PKG.C.
    std::string cursorName() {
        std::string name = identifier();
        if (peek().isSymbol(".") && (at(1).kind == Token::Kind::Word ||
                                     at(1).kind == Token::Kind::QuotedIdent)) {
            ++i_;
            name += "." + identifier();
        }
        return name;
    }

    struct Nesting {
        explicit Nesting(Parser& p) : p_(p) {
            if (++p_.depth_ > kMostNesting) {
                compileError(positionOf(p_.peek()), ora::kPlsProgramTooLarge, "nesting");
            }
        }
        ~Nesting() { --p_.depth_; }
        Parser& p_;
    };

    // PACKAGE [BODY] [schema.]name [AUTHID ... | ACCESSIBLE BY (...) ...] IS | AS: the name.
    std::string packageHead(bool body) {
        expectWord("PACKAGE");
        if (body) expectWord("BODY");
        std::string name = identifier();
        while (acceptSymbol(".")) name = identifier();
        while (!peek().isWord("IS") && !peek().isWord("AS")) {
            if (atEnd()) fail("is as");
            ++i_;
        }
        ++i_;
        return name;
    }
    // END [name] [;] [/]
    void packageEnd(const std::string& name) {
        expectWord("END");
        if (peek().kind == Token::Kind::Word || peek().kind == Token::Kind::QuotedIdent) {
            if (peek().name() != name) fail(";");
            ++i_;
        }
        acceptSymbol(";");
        if (peek().isSymbol("/") && at(1).kind == Token::Kind::Punct) ++i_;
    }

    // ---- blocks ------------------------------------------------------------------------------
    // <<a>> <<b>> ...: all of them into `all` (when given); the last is the one a loop or block
    // is named by.
    std::string labels(std::vector<std::string>* all = nullptr) {
        std::string label;
        while (peek().isSymbol("<<")) {
            ++i_;
            label = identifier();
            if (all) all->push_back(label);
            expectSymbol(">>");
        }
        return label;
    }

    std::unique_ptr<Block> block(const std::string& label, bool unitBody = false) {
        Nesting nesting(*this);
        auto b = std::make_unique<Block>();
        b->label = label;
        b->at = positionOf(peek());
        if (unitBody || acceptWord("DECLARE")) declarations(*b);
        expectWord("BEGIN");
        b->body = statements();
        if (b->body.empty()) fail("a statement");
        if (acceptWord("EXCEPTION")) {
            while (peek().isWord("WHEN")) b->handlers.push_back(handler());
            if (b->handlers.empty()) fail("when");
        }
        b->end = positionOf(peek());
        expectWord("END");
        if (peek().kind == Token::Kind::Word && !peek().isWord("END") && at(1).isSymbol(";"))
            ++i_;  // END label
        return b;
    }

    Handler handler() {
        Handler h;
        h.at = positionOf(peek());
        expectWord("WHEN");
        do {
            std::string name = identifier();
            while (acceptSymbol(".")) name += "." + identifier();
            h.names.push_back(name);
        } while (acceptWord("OR"));
        expectWord("THEN");
        h.body = statements();
        if (h.body.empty()) fail("a statement");
        return h;
    }

    // A block's declarations, up to its BEGIN; a package's (inPackage) up to BEGIN or END.
    void declarations(Block& b, bool inPackage = false) {
        while (!peek().isWord("BEGIN") && !(inPackage && peek().isWord("END"))) {
            if (atEnd()) fail("begin");
            Decl d;
            d.at = positionOf(peek());
            if (peek().isWord("PRAGMA") &&
                isOneOf(at(1), {"RESTRICT_REFERENCES", "SERIALLY_REUSABLE", "INLINE"})) {
                // Hints to the compiler that change nothing here.
                while (!atEnd() && !peek().isSymbol(";")) ++i_;
                expectSymbol(";");
                continue;
            }
            if (acceptWord("PRAGMA")) {
                if (!acceptWord("EXCEPTION_INIT")) restriction("PRAGMA " + peek().text);
                expectSymbol("(");
                d.kind = Decl::Kind::ExceptionInit;
                d.name = identifier();
                expectSymbol(",");
                bool negative = acceptSymbol("-");
                if (peek().kind != Token::Kind::Number) fail("a number");
                d.code = std::atoi(peek().text.c_str()) * (negative ? -1 : 1);
                ++i_;
                expectSymbol(")");
            } else if (acceptWord("CURSOR")) {
                d.kind = Decl::Kind::Cursor;
                d.name = identifier();
                if (acceptSymbol("(")) {
                    do {
                        Decl::Param p;
                        p.name = identifier();
                        acceptWord("IN");
                        p.type = typeSpec(true);
                        if (acceptSymbol(":=") || acceptWord("DEFAULT")) {
                            p.hasDefault = true;
                            p.defaultValue = expression({}, {",", ")"});
                        }
                        d.params.push_back(std::move(p));
                    } while (acceptSymbol(","));
                    expectSymbol(")");
                }
                if (acceptWord("RETURN")) typeSpec();
                // A package may declare a cursor whose query its body gives.
                if (!(inPackage && peek().isSymbol(";"))) {
                    expectWord("IS");
                    d.query = sqlRange();
                }
            } else if (acceptWord("TYPE")) {
                typeDeclaration(d);
            } else if (isOneOf(peek(), {"PROCEDURE", "FUNCTION"})) {
                d.kind = Decl::Kind::Subprogram;
                d.unit = subprogram(true);
                d.name = d.unit->name;
            } else if (acceptWord("SUBTYPE")) {
                // SUBTYPE name IS base [NOT NULL]: another name for the base type.
                d.kind = Decl::Kind::Subtype;
                d.name = identifier();
                expectWord("IS");
                d.type = typeSpec();
                if (acceptWord("NOT")) expectWord("NULL");
            } else {
                d.name = identifier();
                if (acceptWord("EXCEPTION")) {
                    d.kind = Decl::Kind::Exception;
                } else {
                    d.constant = acceptWord("CONSTANT");
                    d.type = typeSpec();
                    if (acceptWord("NOT")) {
                        expectWord("NULL");
                        d.notNull = true;
                    }
                    if (acceptSymbol(":=") || acceptWord("DEFAULT")) {
                        d.hasInit = true;
                        d.init = expression({}, {});
                    } else if (d.constant || d.notNull) {
                        fail(":=");
                    }
                }
            }
            expectSymbol(";");
            b.decls.push_back(std::move(d));
        }
    }

    // TYPE name IS RECORD (field type [NOT NULL] [:= value], ...) | TABLE OF type [NOT NULL]
    // [INDEX BY key type] | VARRAY (n) OF type | VARYING ARRAY (n) OF type, after TYPE.
    void typeDeclaration(Decl& d) {
        d.kind = Decl::Kind::Type;
        d.name = identifier();
        expectWord("IS");
        if (acceptWord("RECORD")) {
            d.form = Decl::Form::Record;
            expectSymbol("(");
            do {
                Decl::Param f;
                f.name = identifier();
                f.type = typeSpec();
                if (acceptWord("NOT")) expectWord("NULL");
                if (acceptSymbol(":=") || acceptWord("DEFAULT")) {
                    f.hasDefault = true;
                    f.defaultValue = expression({}, {",", ")"});
                }
                d.params.push_back(std::move(f));
            } while (acceptSymbol(","));
            expectSymbol(")");
            return;
        }
        if (acceptWord("REF")) {
            // TYPE name IS REF CURSOR [RETURN type]: another name for SYS_REFCURSOR (the rows'
            // type is the query's, whatever RETURN says).
            expectWord("CURSOR");
            if (acceptWord("RETURN")) typeSpec();
            d.kind = Decl::Kind::Subtype;
            d.type = TypeSpec::plain(TypeSpec::Kind::RefCursor);
            return;
        }
        if (acceptWord("TABLE")) {
            d.form = Decl::Form::NestedTable;
        } else {
            if (!acceptWord("VARRAY")) {
                expectWord("VARYING");
                expectWord("ARRAY");
            }
            d.form = Decl::Form::Varray;
            expectSymbol("(");
            d.limit = number();
            expectSymbol(")");
        }
        expectWord("OF");
        d.element = typeSpec();
        if (acceptWord("NOT")) expectWord("NULL");
        if (d.form == Decl::Form::NestedTable && acceptWord("INDEX")) {
            expectWord("BY");
            const TypeSpec key = typeSpec();
            d.form = Decl::Form::AssociativeArray;
            d.textKeys = key.kind == TypeSpec::Kind::Varchar2;
            if (!d.textKeys && key.kind != TypeSpec::Kind::PlsInteger)
                restriction("INDEX BY other than PLS_INTEGER, BINARY_INTEGER or VARCHAR2");
        }
    }

    // parameter: a parameter's type, which takes no length (VARCHAR2, RAW).
    TypeSpec typeSpec(bool parameter = false) {
        TypeSpec t;
        const std::size_t first = i_;
        const SourceToken& head = peek();
        if (head.kind != Token::Kind::Word && head.kind != Token::Kind::QuotedIdent) fail("a type");
        // NAME%TYPE, T.C%TYPE, T%ROWTYPE
        std::vector<std::string> path{head.name()};
        std::size_t k = 1;
        while (at(k).isSymbol(".") && (at(k + 1).kind == Token::Kind::Word ||
                                       at(k + 1).kind == Token::Kind::QuotedIdent)) {
            path.push_back(at(k + 1).name());
            k += 2;
        }
        if (at(k).isSymbol("%") && (at(k + 1).isWord("TYPE") || at(k + 1).isWord("ROWTYPE"))) {
            const bool row = at(k + 1).isWord("ROWTYPE");
            i_ += k + 2;
            t.of = path;
            if (row)
                t.kind = TypeSpec::Kind::RowType;
            else
                t.kind =
                    path.size() == 1 ? TypeSpec::Kind::VariableType : TypeSpec::Kind::ColumnType;
            t.sqlText = src_.slice(first, i_);
            return t;
        }
        using K = TypeSpec::Kind;
        if (path.size() > 1) {  // PKG.TYPE: a type a package declares
            i_ += k;
            t.kind = K::UserType;
            t.of = {path[0]};
            for (std::size_t p = 1; p < path.size(); ++p) t.of[0] += "." + path[p];
            t.sqlText = src_.slice(first, i_);
            return t;
        }
        const std::string name = head.name();
        ++i_;
        if (name == "NUMBER" || name == "NUMERIC" || name == "DECIMAL" || name == "DEC") {
            t.kind = K::Number;
            sizes(t, true);
        } else if (name == "INTEGER" || name == "INT" || name == "SMALLINT") {
            t.kind = K::Number;
            t.precision = 38;
            t.hasScale = true;
        } else if (name == "FLOAT" || name == "REAL") {
            t.kind = K::Number;
            if (peek().isSymbol("(")) {
                TypeSpec ignored;
                sizes(ignored, false);
            }
        } else if (name == "DOUBLE") {
            expectWord("PRECISION");
            t.kind = K::Number;
        } else if (name == "PLS_INTEGER" || name == "BINARY_INTEGER" || name == "NATURAL" ||
                   name == "NATURALN" || name == "POSITIVE" || name == "POSITIVEN" ||
                   name == "SIGNTYPE" || name == "SIMPLE_INTEGER") {
            t.kind = K::PlsInteger;
        } else if (name == "BINARY_DOUBLE") {
            t.kind = K::BinaryDouble;
        } else if (name == "BINARY_FLOAT") {
            t.kind = K::BinaryFloat;
        } else if (name == "VARCHAR2" || name == "VARCHAR" || name == "NVARCHAR2" ||
                   name == "STRING") {
            t.kind = K::Varchar2;
            length(t, !parameter);
        } else if (name == "CHAR" || name == "NCHAR" || name == "CHARACTER") {
            t.kind = K::Char;
            if (acceptWord("VARYING")) t.kind = K::Varchar2;
            length(t, t.kind == K::Varchar2);
            if (t.length == 0 && t.kind == K::Char) t.length = 1;
        } else if (name == "LONG") {
            t.kind = acceptWord("RAW") ? K::Raw : K::Varchar2;
            t.length = 32760;
        } else if (name == "DATE") {
            t.kind = K::Date;
        } else if (name == "TIMESTAMP") {
            t.kind = K::Timestamp;
            if (peek().isSymbol("(")) {
                TypeSpec ignored;
                sizes(ignored, false);
            }
            if (acceptWord("WITH")) {
                acceptWord("LOCAL");
                expectWord("TIME");
                expectWord("ZONE");
            }
        } else if (name == "BOOLEAN") {
            t.kind = K::Boolean;
        } else if (name == "CLOB" || name == "NCLOB") {
            t.kind = K::Clob;
        } else if (name == "BLOB") {
            t.kind = K::Blob;
        } else if (name == "RAW") {
            t.kind = K::Raw;
            length(t, !parameter);
        } else if (name == "ROWID" || name == "UROWID") {
            t.kind = K::Varchar2;
            t.length = 4000;
        } else if (name == "SYS_REFCURSOR") {
            t.kind = K::RefCursor;
        } else {
            t.kind = K::UserType;  // a TYPE of the block, found when the declaration runs
            t.of = {name};
        }
        t.sqlText = src_.slice(first, i_);
        return t;
    }

    // (p[, s]) after NUMBER, optional.
    void sizes(TypeSpec& t, bool scaleAllowed) {
        if (!acceptSymbol("(")) return;
        if (peek().isSymbol("*")) {
            ++i_;
        } else {
            t.precision = number();
        }
        if (scaleAllowed && acceptSymbol(",")) {
            const bool negative = acceptSymbol("-");
            t.scale = number() * (negative ? -1 : 1);
            t.hasScale = true;
        }
        expectSymbol(")");
    }

    // (n [BYTE | CHAR]), required for VARCHAR2.
    void length(TypeSpec& t, bool required) {
        if (!acceptSymbol("(")) {
            if (required) fail("(");
            return;
        }
        t.length = static_cast<unsigned>(number());
        if (!acceptWord("BYTE")) acceptWord("CHAR");
        expectSymbol(")");
    }

    int number() {
        if (peek().kind != Token::Kind::Number) fail("a number");
        const long n = std::strtol(peek().text.c_str(), nullptr, 10);
        ++i_;
        return n > 1000000 ? 1000000 : static_cast<int>(n);
    }

    // ---- statements --------------------------------------------------------------------------
    Body statements() {
        Body body;
        while (!atEnd() && !isOneOf(peek(), {"END", "EXCEPTION", "ELSIF", "ELSE", "WHEN"}))
            body.push_back(statement());
        return body;
    }

    std::unique_ptr<Stmt> statement() {
        Nesting nesting(*this);
        auto s = std::make_unique<Stmt>();
        const std::string label = labels(&s->labels);
        s->label = label;
        s->at = positionOf(peek());
        const SourceToken& t = peek();
        // A label precedes a statement or a block, never the end of a sequence.
        if (!label.empty() && (atEnd() || isOneOf(t, {"END", "EXCEPTION", "ELSIF", "ELSE", "WHEN"})))
            fail("a statement");
        if (t.isWord("DECLARE") || t.isWord("BEGIN")) {
            s->kind = Stmt::Kind::Block;
            s->block = block(label);
            expectSymbol(";");
            return s;
        }
        if (t.kind == Token::Kind::Bind) {
            s->kind = Stmt::Kind::Assign;
            s->target = namePath();
            expectSymbol(":=");
            s->exprs.push_back(expression({}, {}));
        } else if (t.kind != Token::Kind::Word && t.kind != Token::Kind::QuotedIdent) {
            fail("a statement");
        } else if (acceptWord("NULL")) {
            s->kind = Stmt::Kind::Null;
        } else if (acceptWord("IF")) {
            ifStatement(*s);
        } else if (peek().isWord("CASE")) {
            ++i_;
            caseStatement(*s);
        } else if (peek().isWord("LOOP") || peek().isWord("WHILE") || peek().isWord("FOR")) {
            loop(*s);
        } else if (peek().isWord("EXIT") || peek().isWord("CONTINUE")) {
            s->kind = peek().isWord("EXIT") ? Stmt::Kind::Exit : Stmt::Kind::Continue;
            ++i_;
            if (peek().kind == Token::Kind::Word && !peek().isWord("WHEN")) s->name = identifier();
            if (acceptWord("WHEN")) s->exprs.push_back(expression({}, {}));
        } else if (acceptWord("RETURN")) {
            s->kind = Stmt::Kind::Return;
            if (!peek().isSymbol(";")) {
                if (!inFunction_) restriction("RETURN with a value outside a function");
                s->exprs.push_back(expression({}, {}));
            }
        } else if (acceptWord("RAISE")) {
            s->kind = Stmt::Kind::Raise;
            if (!peek().isSymbol(";")) {
                s->name = identifier();
                while (acceptSymbol(".")) s->name += "." + identifier();
            }
        } else if (acceptWord("GOTO")) {
            s->kind = Stmt::Kind::Goto;
            s->name = identifier();
        } else if (peek().isWord("EXECUTE") && at(1).isWord("IMMEDIATE")) {
            i_ += 2;
            executeImmediate(*s);
        } else if (isOneOf(peek(), {"SELECT", "WITH"})) {
            selectInto(*s);
            return s;
        } else if (isOneOf(peek(), {"INSERT", "UPDATE", "DELETE", "MERGE", "COMMIT", "ROLLBACK",
                                    "SAVEPOINT", "LOCK"}) ||
                   (peek().isWord("SET") && at(1).isWord("TRANSACTION"))) {
            s->kind = Stmt::Kind::Sql;
            s->sql = sqlRange();
            returningInto(*s);
            expectSymbol(";");
            return s;
        } else if (acceptWord("OPEN")) {
            s->kind = Stmt::Kind::Open;
            s->name = cursorName();
            if (acceptWord("FOR")) {
                s->openFor = true;
                if (isOneOf(peek(), {"SELECT", "WITH"}) || peek().isSymbol("(")) {
                    s->sql = sqlRange();
                } else {
                    s->exprs.push_back(expression({"USING"}, {}));
                    if (acceptWord("USING")) {
                        do {
                            acceptWord("IN");
                            s->exprs.push_back(expression({}, {","}));
                        } while (acceptSymbol(","));
                    }
                }
                expectSymbol(";");
                return s;
            }
            if (acceptSymbol("(")) arguments(*s);
        } else if (acceptWord("FETCH")) {
            s->kind = Stmt::Kind::Fetch;
            s->name = cursorName();
            if (acceptWord("BULK")) {
                expectWord("COLLECT");
                s->bulk = true;
            }
            expectWord("INTO");
            targets(s->into);
            if (s->bulk && acceptWord("LIMIT")) s->exprs.push_back(expression({}, {}));
        } else if (acceptWord("CLOSE")) {
            s->kind = Stmt::Kind::Close;
            s->name = cursorName();
        } else if (acceptWord("FORALL")) {
            // FORALL i IN a .. b | INDICES OF c [BETWEEN a AND b] | VALUES OF c
            // [SAVE EXCEPTIONS] one DML statement
            s->kind = Stmt::Kind::Forall;
            s->target.at = positionOf(peek());
            s->target.parts.push_back(identifier());
            expectWord("IN");
            const Words dml = {"INSERT", "UPDATE", "DELETE", "MERGE", "SAVE"};
            if (isOneOf(peek(), {"INDICES", "VALUES"}) && at(1).isWord("OF")) {
                s->forall = peek().isWord("INDICES") ? Stmt::Bounds::IndicesOf
                                                     : Stmt::Bounds::ValuesOf;
                i_ += 2;
                s->name = identifier();
                if (s->forall == Stmt::Bounds::IndicesOf && acceptWord("BETWEEN")) {
                    s->exprs.push_back(expression({"AND"}, {}));
                    expectWord("AND");
                    s->exprs.push_back(expression(dml, {}));
                }
            } else {
                s->exprs.push_back(expression({}, {".."}));
                expectSymbol("..");
                s->exprs.push_back(expression(dml, {}));
            }
            if (acceptWord("SAVE")) {
                expectWord("EXCEPTIONS");
                s->saveExceptions = true;
            }
            if (!isOneOf(peek(), {"INSERT", "UPDATE", "DELETE", "MERGE"}))
                fail("insert update delete merge");
            s->sql = sqlRange();
            returningInto(*s);
            if (!s->into.empty() && !s->bulk) restriction("RETURNING INTO in FORALL");
        } else if (isOneOf(peek(), {"PIPE"})) {
            restriction(peek().name());
        } else {
            NamePath path = namePath();
            if (acceptSymbol(":=")) {
                s->kind = Stmt::Kind::Assign;
                s->target = std::move(path);
                s->exprs.push_back(expression({}, {}));
            } else {
                s->kind = Stmt::Kind::Call;
                s->name = path.shown();
                s->target = std::move(path);
                if (acceptSymbol("(")) {
                    arguments(*s);
                    if (peek().isSymbol(":=") || peek().isSymbol(".")) {
                        // v(i) := value, v(i).field := value
                        if (s->exprs.size() != 1 || !s->argumentNames[0].empty() ||
                            s->target.parts.size() > 2)  // v(i), or a package's PKG.V(i)
                            fail(":=");
                        s->kind = Stmt::Kind::Assign;
                        s->target.indexed = true;
                        s->target.index = s->exprs[0];
                        s->exprs.clear();
                        s->argumentNames.clear();
                        if (acceptSymbol(".")) s->target.field = identifier();
                        expectSymbol(":=");
                        s->exprs.push_back(expression({}, {}));
                    }
                }
            }
        }
        expectSymbol(";");
        return s;
    }

    void ifStatement(Stmt& s) {
        s.kind = Stmt::Kind::If;
        do {
            s.exprs.push_back(expression({"THEN"}, {}));
            expectWord("THEN");
            s.bodies.push_back(branch());
        } while (acceptWord("ELSIF"));
        if (acceptWord("ELSE")) {
            s.hasElse = true;
            s.bodies.push_back(branch());
        }
        expectWord("END");
        expectWord("IF");
    }

    void caseStatement(Stmt& s) {
        s.kind = Stmt::Kind::Case;
        if (!peek().isWord("WHEN")) {
            s.hasSelector = true;
            s.exprs.push_back(expression({"WHEN"}, {}));
        }
        while (acceptWord("WHEN")) {
            s.exprs.push_back(expression({"THEN"}, {}));
            expectWord("THEN");
            s.bodies.push_back(branch());
        }
        if (s.bodies.empty()) fail("when");
        if (acceptWord("ELSE")) {
            s.hasElse = true;
            s.bodies.push_back(branch());
        }
        expectWord("END");
        expectWord("CASE");
        if (peek().kind == Token::Kind::Word) ++i_;  // END CASE label
    }

    Body branch() {
        Body body = statements();
        if (body.empty()) fail("a statement");
        return body;
    }

    void loop(Stmt& s) {
        if (acceptWord("WHILE")) {
            s.kind = Stmt::Kind::While;
            s.exprs.push_back(expression({"LOOP"}, {}));
        } else if (acceptWord("FOR")) {
            s.target.at = positionOf(peek());
            s.target.parts.push_back(identifier());
            expectWord("IN");
            s.reverse = acceptWord("REVERSE");
            if (peek().isSymbol("(") && isOneOf(at(1), {"SELECT", "WITH"})) {
                s.kind = Stmt::Kind::ForCursor;
                ++i_;
                s.sql = sqlRange({")"});
                expectSymbol(")");
            } else {
                const std::size_t start = i_;
                Expr low = expression({"LOOP"}, {".."});
                if (acceptSymbol("..")) {
                    s.kind = Stmt::Kind::ForRange;
                    s.exprs.push_back(low);
                    s.exprs.push_back(expression({"LOOP"}, {}));
                } else {
                    // FOR r IN cursor [(arguments)] LOOP
                    i_ = start;
                    s.kind = Stmt::Kind::ForCursor;
                    s.name = cursorName();
                    if (acceptSymbol("(")) arguments(s);
                }
            }
        } else {
            s.kind = Stmt::Kind::Loop;
        }
        expectWord("LOOP");
        s.bodies.push_back(branch());
        expectWord("END");
        expectWord("LOOP");
        if (peek().kind == Token::Kind::Word) ++i_;  // END LOOP label
    }

    void executeImmediate(Stmt& s) {
        s.kind = Stmt::Kind::ExecuteImmediate;
        s.exprs.push_back(expression({"INTO", "USING", "RETURNING", "RETURN", "BULK"}, {}));
        if (peek().isWord("BULK")) restriction("BULK COLLECT");
        if (acceptWord("INTO")) targets(s.into);
        if (acceptWord("USING")) {
            do {
                bool out = false;
                if (acceptWord("IN")) {
                    out = acceptWord("OUT");
                } else if (acceptWord("OUT")) {
                    out = true;
                }
                s.usingOut.push_back(out);
                s.exprs.push_back(expression({"RETURNING", "RETURN"}, {","}));
            } while (acceptSymbol(","));
        }
        if (isOneOf(peek(), {"RETURNING", "RETURN"})) {
            // The statement's own RETURNING ... INTO :b names what it returns; these targets
            // take it.
            if (!s.into.empty()) fail(";");
            ++i_;
            expectWord("INTO");
            targets(s.into);
            s.returningInto = true;
        }
    }

    void selectInto(Stmt& s) {
        s.kind = Stmt::Kind::SelectInto;
        s.sql = sqlRange();
        // The INTO clause of the outermost query, between its select list and FROM.
        int depth = 0;
        for (std::size_t k = s.sql.first; k < s.sql.last; ++k) {
            const SourceToken& t = src_.at(k);
            if (t.isSymbol("("))
                ++depth;
            else if (t.isSymbol(")"))
                --depth;
            else if (depth == 0 && (t.isWord("INTO") || t.isWord("BULK"))) {
                const std::size_t save = i_;
                i_ = k + 1;
                if (t.isWord("BULK")) {
                    expectWord("COLLECT");
                    expectWord("INTO");
                    s.bulk = true;
                }
                targets(s.into);
                if (!peek().isWord("FROM")) fail("from");
                s.skip = Range{k, i_};
                i_ = save;
                break;
            } else if (depth == 0 && t.isWord("FROM")) {
                break;
            }
        }
        if (s.into.empty()) {
            compileError(s.at, ora::kPlsIntoExpected);
        }
        expectSymbol(";");
    }

    // RETURNING | RETURN exprs INTO targets at the end of a DML statement: the targets, and the
    // INTO clause as the part SQL does not see.
    void returningInto(Stmt& s) {
        int depth = 0;
        for (std::size_t k = s.sql.first; k < s.sql.last; ++k) {
            const SourceToken& t = src_.at(k);
            if (t.isSymbol("(")) ++depth;
            if (t.isSymbol(")")) --depth;
            if (depth != 0 || !(t.isWord("RETURNING") || t.isWord("RETURN"))) continue;
            for (std::size_t j = k + 1; j < s.sql.last; ++j) {
                const SourceToken& into = src_.at(j);
                if (into.isSymbol("(")) ++depth;
                if (into.isSymbol(")")) --depth;
                if (depth != 0) continue;
                // RETURNING ... BULK COLLECT INTO collections: every row the statement returns.
                const bool bulk = into.isWord("BULK") && src_.at(j + 1).isWord("COLLECT") &&
                                  src_.at(j + 2).isWord("INTO");
                if (!bulk && !into.isWord("INTO")) continue;
                s.bulk = bulk;
                const std::size_t save = i_;
                i_ = bulk ? j + 3 : j + 1;
                targets(s.into);
                if (i_ != s.sql.last) fail(";");
                s.skip = Range{j, s.sql.last};
                s.returning = Range{k + 1, j};
                i_ = save;
                return;
            }
            return;
        }
    }

    void targets(std::vector<NamePath>& into) {
        do {
            into.push_back(namePath());
        } while (acceptSymbol(","));
    }

    // name(arguments): positional or name => value, after the "(".
    void arguments(Stmt& s) {
        if (acceptSymbol(")")) return;
        do {
            std::string named;
            if ((peek().kind == Token::Kind::Word || peek().kind == Token::Kind::QuotedIdent) &&
                at(1).isSymbol("=>")) {
                named = peek().name();
                i_ += 2;
            }
            s.argumentNames.push_back(named);
            s.exprs.push_back(expression({}, {",", ")"}));
        } while (acceptSymbol(","));
        expectSymbol(")");
    }

    NamePath namePath() {
        NamePath p;
        p.at = positionOf(peek());
        if (peek().kind == Token::Kind::Bind) {
            p.hostBind = true;
            std::string name = peek().text.substr(1);
            for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            p.parts.push_back(name);
            ++i_;
            return p;
        }
        p.parts.push_back(identifier());
        while (peek().isSymbol(".")) {
            ++i_;
            p.parts.push_back(identifier());
        }
        return p;
    }

    // ---- expressions and SQL -----------------------------------------------------------------
    // The tokens of an expression: up to a stop word or symbol (or ";") outside parentheses and
    // CASE ... END, or a ")" that closes one opened before it.
    Expr expression(Words stopWords, Words stopSymbols) {
        Expr e;
        e.at = positionOf(peek());
        e.range.first = i_;
        int depth = 0, cases = 0;
        for (; !atEnd(); ++i_) {
            const SourceToken& t = peek();
            if (depth == 0 && cases == 0) {
                if (t.isSymbol(";") || isOneOf(t, stopWords)) break;
                bool stop = false;
                for (const char* s : stopSymbols) stop = stop || t.isSymbol(s);
                if (stop) break;
            }
            if (t.isSymbol("(")) {
                ++depth;
            } else if (t.isSymbol(")")) {
                if (depth == 0) break;
                --depth;
            } else if (t.isWord("CASE")) {
                ++cases;
            } else if (t.isWord("END") && cases > 0) {
                --cases;
            } else if (depth == 0 && cases == 0 &&
                       isOneOf(t, {"LOOP", "THEN", "BEGIN", "DECLARE"})) {
                break;  // a keyword no expression holds: the statement is malformed there
            }
        }
        e.range.last = i_;
        if (e.range.empty()) fail("an expression");
        return e;
    }

    // A SQL statement's tokens up to its ";" (or a stop symbol) outside parentheses.
    Range sqlRange(Words stopSymbols = {}) {
        Range r;
        r.first = i_;
        int depth = 0;
        for (; !atEnd(); ++i_) {
            const SourceToken& t = peek();
            if (t.isSymbol("(")) {
                ++depth;
            } else if (t.isSymbol(")")) {
                if (depth == 0) break;
                --depth;
            } else if (depth == 0 && t.isSymbol(";")) {
                break;
            }
            if (depth == 0) {
                bool stop = false;
                for (const char* s : stopSymbols) stop = stop || t.isSymbol(s);
                if (stop) break;
            }
        }
        r.last = i_;
        if (r.empty()) fail("a SQL statement");
        return r;
    }

    const Source& src_;
    std::size_t i_ = 0;
    int depth_ = 0;
    bool inFunction_ = false;  // RETURN takes a value
};

}  // namespace

std::unique_ptr<Block> parseAnonymousBlock(const Source& source) {
    std::unique_ptr<Block> block = Parser(source).anonymousBlock();
    checkGotos(*block);
    return block;
}

bool readUnitHead(const Source& source, UnitHead& head) {
    std::size_t i = 0;
    if (!source.at(i).isWord("CREATE")) return false;
    ++i;
    if (source.at(i).isWord("OR") && source.at(i + 1).isWord("REPLACE")) {
        head.orReplace = true;
        i += 2;
    }
    if (source.at(i).isWord("EDITIONABLE") || source.at(i).isWord("NONEDITIONABLE")) ++i;
    if (!source.at(i).isWord("PROCEDURE") && !source.at(i).isWord("FUNCTION") &&
        !source.at(i).isWord("PACKAGE"))
        return false;
    head.type = source.at(i).name();
    head.sourceBegin = source.at(i).begin;
    std::size_t n = i + 1;
    if (head.type == "PACKAGE" && source.at(n).isWord("BODY")) {
        head.type = "PACKAGE BODY";
        ++n;
    }
    const SourceToken* name = &source.at(n);
    while (source.at(n + 1).isSymbol(".")) {  // schema.name
        n += 2;
        name = &source.at(n);
    }
    if (name->kind != Token::Kind::Word && name->kind != Token::Kind::QuotedIdent)
        compileError(positionOf(*name), ora::kPlsEncountered,
                     name->text.empty() ? "end-of-file" : name->text, "an identifier");
    head.name = name->name();
    return true;
}

std::unique_ptr<Unit> parseStoredUnit(const Source& source) {
    std::unique_ptr<Unit> unit = Parser(source).storedUnit();
    checkGotos(*unit->body);
    return unit;
}

std::unique_ptr<Package> parsePackage(const Source& source) {
    std::unique_ptr<Package> p = Parser(source).package();
    for (const Block* b : {&p->declared, p->body.get()})
        if (b)
            for (const Decl& d : b->decls)
                if (d.kind == Decl::Kind::Subprogram && d.unit->body) checkGotos(*d.unit->body);
    if (p->body && !p->body->body.empty()) checkGotos(*p->body);
    return p;
}

TypeSpec parseTypeText(const std::string& text) {
    const Source source(text);
    return Parser(source).typeOnly();
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
