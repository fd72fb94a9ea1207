// Oracle SQL to SQLite SQL. The text is lexed once; rewrites edit token texts in place (an erased
// token becomes an empty Space), so positions stay valid while the passes run.
#include "rewrite/sql_rewrite.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <set>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "catalog/comments.h"
#include "catalog/dictionary.h"
#include "catalog/sequences.h"
#include "catalog/synonyms.h"
#include "functions/cast.h"
#include "functions/date_functions.h"
#include "functions/dbms_lob_functions.h"
#include "functions/extended_functions.h"
#include "functions/interval.h"
#include "functions/statistical_aggregates.h"
#include "rewrite/ddl/alter_index.h"
#include "rewrite/ddl/physical_attributes.h"
#include "rewrite/ddl/table_rebuilds.h"
#include "rewrite/ddl/value_checks.h"
#include "rewrite/ddl/views.h"
#include "rewrite/dml/merge.h"
#include "rewrite/dml/multitable_insert.h"
#include "rewrite/expr/conversion_forms.h"
#include "rewrite/expr/expression_rewrite.h"
#include "rewrite/query/for_update.h"
#include "rewrite/query/grouping_sets.h"
#include "rewrite/query/oracle_joins.h"
#include "rewrite/query/parenthesized_queries.h"
#include "rewrite/query/quantified_comparisons.h"
#include "rewrite/query/row_limiting.h"
#include "rewrite/session/alter_session.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/token_editor.h"
#include "types/datetime_literal.h"
#include "sql/keywords.h"

namespace kavexdb {
namespace detail {

namespace {

using Kind = RewrittenSql::Kind;
using TK = Token::Kind;

// SQLite expressions for Oracle's clock functions. Stored schema objects (defaults, views) get
// built-in forms so the database stays readable without this client's session functions.
const char* const kSysdateFunction = "SYSDATE()";
const char* const kSystimestampFunction = "SYSTIMESTAMP()";
const char* const kSysdateBuiltin = "(strftime('%Y-%m-%d %H:%M:%S','now'))";
const char* const kSystimestampBuiltin = "(strftime('%Y-%m-%d %H:%M:%f','now')||'000000+00:00')";
const char* const kLocaltimestampBuiltin = "(strftime('%Y-%m-%d %H:%M:%f','now')||'000000')";

// Drops trailing blanks, comments and the ';' or '/' terminators that tools leave at the end.
void trimTerminators(TokenEditor& e) {
    for (std::size_t i = e.size(); i > 0; --i) {
        Token& t = e[i - 1];
        if (!t.significant() || t.isPunct(';') || t.isPunct('/'))
            e.erase(i - 1);
        else
            break;
    }
}

// ---- Classification ---------------------------------------------------------------------------

// The first word of the statement, looking through opening parentheses.
std::size_t leadingWord(const TokenEditor& e) {
    std::size_t i = e.next(0);
    while (e.punct(i, '(')) i = e.next(i + 1);
    return i;
}

bool isTempLobBlock(const TokenEditor& e) {
    // begin dbms_lob.createtemporary(:p, TRUE|FALSE [, duration]); end;
    std::size_t i = e.next(0);
    auto expectWord = [&](const char* w) {
        if (!e.word(i, w)) return false;
        i = e.next(i + 1);
        return true;
    };
    auto expectPunct = [&](char c) {
        if (!e.punct(i, c)) return false;
        i = e.next(i + 1);
        return true;
    };
    if (!expectWord("BEGIN") || !expectWord("DBMS_LOB") || !expectPunct('.') ||
        !expectWord("CREATETEMPORARY") || !expectPunct('('))
        return false;
    if (i >= e.size() || e.at(i).kind != TK::Bind) return false;
    i = e.next(i + 1);
    if (!expectPunct(',')) return false;
    if (!expectWord("TRUE") && !expectWord("FALSE")) return false;
    if (expectPunct(',')) {
        if (expectWord("DBMS_LOB")) {
            if (!expectPunct('.') || (!expectWord("SESSION") && !expectWord("CALL"))) return false;
        } else if (i < e.size() && e.at(i).kind == TK::Number) {
            i = e.next(i + 1);
        } else {
            return false;
        }
    }
    if (!expectPunct(')') || !expectPunct(';') || !expectWord("END")) return false;
    while (expectPunct(';') || expectPunct('/')) {
    }
    return i >= e.size();
}

// CREATE USER name IDENTIFIED BY password / ALTER USER ... / DROP USER name [CASCADE].
bool parseUserStatement(const TokenEditor& e, std::size_t verb, RewrittenSql& out) {
    std::size_t i = e.next(verb + 1);
    if (!e.word(i, "USER")) return false;
    i = e.next(i + 1);
    if (!e.name(i)) raise(ora::kMissingUserName);
    out.account.userName = identifierName(e.at(i));
    if (e.word(verb, "DROP")) {
        out.kind = Kind::DropUser;
        i = e.next(i + 1);
        if (e.word(i, "CASCADE")) i = e.next(i + 1);
        if (i < e.size()) raise(ora::kMissingOrInvalidOption);
        return true;
    }
    out.kind = e.word(verb, "CREATE") ? Kind::CreateUser : Kind::AlterUser;
    i = e.next(i + 1);
    if (!e.word(i, "IDENTIFIED")) raise(ora::kMissingOrInvalidOption);
    i = e.next(i + 1);
    if (!e.word(i, "BY")) raise(ora::kMissingOrInvalidOption);
    i = e.next(i + 1);
    if (i >= e.size()) raise(ora::kInvalidPassword);
    const Token& pw = e.at(i);
    if (pw.kind == TK::QuotedIdent)
        out.account.password = identifierName(pw);
    else if (pw.kind == TK::Word || pw.kind == TK::Number)
        out.account.password = pw.text;
    else
        raise(ora::kInvalidPassword);
    // Options this client does not keep (DEFAULT TABLESPACE, ...) are refused, not ignored.
    if (e.next(i + 1) < e.size()) raise(ora::kMissingOrInvalidOption);
    return true;
}

// CREATE [OR REPLACE] [EDITIONABLE | NONEDITIONABLE] PROCEDURE | FUNCTION | PACKAGE | TRIGGER,
// DROP PROCEDURE | FUNCTION | PACKAGE | TRIGGER and ALTER PROCEDURE | FUNCTION | PACKAGE |
// TRIGGER: statements of the PL/SQL engine.
bool isStoredUnitDdl(const TokenEditor& e, std::size_t verb) {
    std::size_t i = e.next(verb + 1);
    if (e.word(verb, "CREATE")) {
        if (e.word(i, "OR") && e.word(e.next(i + 1), "REPLACE")) i = e.next(e.next(i + 1) + 1);
        if (e.word(i, "EDITIONABLE") || e.word(i, "NONEDITIONABLE")) i = e.next(i + 1);
    } else if (e.word(verb, "ALTER")) {
        return e.word(i, "TRIGGER") || e.word(i, "PROCEDURE") || e.word(i, "FUNCTION") ||
               e.word(i, "PACKAGE");
    } else if (!e.word(verb, "DROP")) {
        return false;
    }
    return e.word(i, "PROCEDURE") || e.word(i, "FUNCTION") || e.word(i, "PACKAGE") ||
           e.word(i, "TRIGGER");
}

Kind classify(TokenEditor& e, RewrittenSql& out) {
    const std::size_t first = leadingWord(e);
    if (first >= e.size()) return Kind::Empty;
    const Token& w = e.at(first);
    if (w.isWord("BEGIN") || w.isWord("DECLARE"))
        return isTempLobBlock(e) ? Kind::TempLobBlock : Kind::PlSql;
    if (w.isWord("SELECT") || w.isWord("WITH") || w.isWord("VALUES") || w.isWord("PRAGMA") ||
        w.isWord("EXPLAIN"))
        return Kind::Query;
    if (w.isWord("COMMIT") || w.isWord("ROLLBACK")) {
        std::size_t i = e.next(first + 1);
        if (e.word(i, "WORK")) i = e.next(i + 1);
        if (i >= e.size()) return w.isWord("COMMIT") ? Kind::Commit : Kind::Rollback;
        return Kind::Dml;  // ROLLBACK TO SAVEPOINT and the like: SQLite decides
    }
    if (w.isWord("CREATE") || w.isWord("ALTER") || w.isWord("DROP")) {
        if (isAlterSession(e, first)) return Kind::AlterSession;
        if (isStoredUnitDdl(e, first)) return Kind::PlSql;
        if (parseUserStatement(e, first, out)) return out.kind;
        return Kind::Ddl;
    }
    if (w.isWord("TRUNCATE") || w.isWord("COMMENT") || w.isWord("RENAME") || w.isWord("ANALYZE") ||
        w.isWord("VACUUM") || w.isWord("REINDEX"))
        return Kind::Ddl;
    return Kind::Dml;  // INSERT, UPDATE, DELETE, MERGE, ...; SQLite rejects what it cannot run
}

// ---- Rewrites every statement gets ------------------------------------------------------------

// NUMERIC, DECIMAL or DEC as the type of a column being defined.
bool isAnsiDecimalColumn(const TokenEditor& e, std::size_t i) {
    if (!e.word(i, "NUMERIC") && !e.word(i, "DECIMAL") && !e.word(i, "DEC")) return false;
    const std::size_t name = e.previous(i);
    const std::size_t before = e.previous(name);
    return e.name(name) && (e.punct(before, '(') || e.punct(before, ',') || e.word(before, "ADD") ||
                            e.word(before, "MODIFY"));
}

// OUTER, LEFT, ... are no reserved words in Oracle (`FROM employees outer` names an alias) but
// are SQLite's join keywords: where no join follows, such a word is a name and gets quoted.
bool isJoinWordUsedAsName(const TokenEditor& e, std::size_t i) {
    static const char* const kJoinWords[] = {"OUTER", "LEFT",  "RIGHT",  "FULL",
                                             "INNER", "CROSS", "NATURAL"};
    auto joinWord = [&](std::size_t k) {
        for (const char* w : kJoinWords)
            if (e.word(k, w)) return true;
        return false;
    };
    if (!joinWord(i)) return false;
    const std::size_t nx = e.next(i + 1);
    if (e.word(nx, "JOIN") || e.word(nx, "APPLY")) return false;  // [LEFT] OUTER JOIN, CROSS APPLY
    if (e.word(i, "NATURAL")) return !joinWord(nx);               // NATURAL LEFT JOIN
    // LEFT OUTER JOIN
    return !((e.word(i, "LEFT") || e.word(i, "RIGHT") || e.word(i, "FULL")) &&
             e.word(nx, "OUTER") && e.word(e.next(nx + 1), "JOIN"));
}

bool isCharacterType(const Token& t) {
    return t.isWord("VARCHAR2") || t.isWord("VARCHAR") || t.isWord("NVARCHAR2") ||
           t.isWord("CHAR") || t.isWord("NCHAR") || t.isWord("CHARACTER");
}

// TIMESTAMP(3) WITH [LOCAL] TIME ZONE -> TIMESTAMP WITH [LOCAL] TIME ZONE(3): SQLite's type-name
// grammar wants the arguments last.
void moveTimestampPrecision(TokenEditor& e, std::size_t ts) {
    const std::size_t open = e.next(ts + 1);
    if (!e.punct(open, '(')) return;
    const std::size_t close = e.pastParens(open);
    std::size_t i = e.next(close);
    if (!e.word(i, "WITH")) return;
    i = e.next(i + 1);
    if (e.word(i, "LOCAL")) i = e.next(i + 1);
    if (!e.word(i, "TIME")) return;
    i = e.next(i + 1);
    if (!e.word(i, "ZONE")) return;
    std::string args;
    for (std::size_t k = open; k < close; ++k) args += e[k].text;
    e.erase(open, close);
    e[i].text += args;
}

// NUMBER(*,s) -> NUMBER(38,s); NUMBER(*) -> NUMBER.
void rewriteNumberStar(TokenEditor& e, std::size_t number) {
    const std::size_t open = e.next(number + 1);
    if (!e.punct(open, '(')) return;
    const std::size_t star = e.next(open + 1);
    if (!e.punct(star, '*')) return;
    const std::size_t after = e.next(star + 1);
    if (e.punct(after, ')')) {
        e.erase(open, after + 1);
    } else if (e.punct(after, ',')) {
        e[star] = Token{TK::Number, "38"};
    }
}

// VARCHAR2(20 CHAR) / VARCHAR2(20 BYTE) -> VARCHAR2(20).
void dropLengthSemantics(TokenEditor& e, std::size_t type) {
    const std::size_t open = e.next(type + 1);
    if (!e.punct(open, '(')) return;
    const std::size_t length = e.next(open + 1);
    if (length >= e.size() || e[length].kind != TK::Number) return;
    const std::size_t unit = e.next(length + 1);
    if ((e.word(unit, "CHAR") || e.word(unit, "BYTE")) && e.punct(e.next(unit + 1), ')'))
        e.erase(length + 1, unit + 1);
}

// Whether token i is an alias given to the table reference before it (AS counts as one).
bool isAliasAt(const TokenEditor& e, std::size_t i) {
    if (i >= e.size()) return false;
    if (e.at(i).kind == TK::QuotedIdent) return true;
    if (e.at(i).kind != TK::Word) return false;
    if (hasRole(e, i, kNotTableAlias)) return false;
    return true;
}

// A view or trigger may not use the session's TEMP dual, so stored objects get an inline one.
void inlineDual(TokenEditor& e, std::size_t i) {
    const std::size_t prev = e.previous(i);
    if (!e.word(prev, "FROM") && !e.word(prev, "JOIN") && !e.punct(prev, ',')) return;
    e[i].text =
        isAliasAt(e, e.next(i + 1)) ? "(SELECT 'X' AS DUMMY)" : "(SELECT 'X' AS DUMMY) AS dual";
}

// Whether the statement declares a table or column alias spelled like the session's schema:
// then "NAME.x" means that alias, not the schema, wherever it can stand for a column.
bool schemaIsAlias(const TokenEditor& e, const std::string& schema) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        if (!e.name(i) || e.punct(e.next(i + 1), '.') || identifierName(e.at(i)) != schema)
            continue;
        const std::size_t prev = e.previous(i);
        if (prev >= e.size()) continue;
        if (e.word(prev, "AS") || e.punct(prev, ')') || e.at(prev).kind == TK::QuotedIdent)
            return true;
        // "table alias": the word before is a name, not a keyword that takes an expression
        bool keyword = false;
        for (const char* w : {"FROM", "SELECT", "BY", "AND", "OR", "NOT", "TABLE", "INTO",
                              "UPDATE", "SET", "DISTINCT", "CASE", "THEN", "ELSE", "WHEN", "IS",
                              "IN", "LIKE", "BETWEEN", "RETURN", "PRIOR"})
            keyword = keyword || e.word(prev, w);
        if (isAliasAt(e, prev) && !keyword) return true;
    }
    return false;
}

// Where "NAME." before a name can only be a schema: a table reference after FROM, JOIN, INTO,
// UPDATE or TABLE, or the first part of a three-part column name.
bool schemaPosition(const TokenEditor& e, std::size_t i) {
    const std::size_t prev = e.previous(i);
    if (e.word(prev, "FROM") || e.word(prev, "JOIN") || e.word(prev, "INTO") ||
        e.word(prev, "UPDATE") || e.word(prev, "TABLE"))
        return true;
    const std::size_t second = e.next(e.next(i + 1) + 1);
    return e.punct(e.next(second + 1), '.');
}

void rewriteCommon(TokenEditor& e, const std::string& schema, bool storedObject) {
    const bool aliasNamedLikeSchema = !schema.empty() && schemaIsAlias(e, schema);
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        Token& t = e[i];
        if (t.kind == TK::Word) {
            const std::size_t prev = e.previous(i);
            const bool qualified = e.punct(prev, '.');
            const std::size_t nx = e.next(i + 1);
            if ((t.text == "N" || t.text == "n") && i + 1 < e.size() &&
                e[i + 1].kind == TK::String) {
                e.erase(i);  // N'...' national literal: the text is the same in SQLite
            } else if (t.isWord("DATE") && nx < e.size() && e[nx].kind == TK::String) {
                e[nx].text = sqlStringLiteral(dateLiteralToStorage(literalContent(e[nx])));
                e.erase(i);
            } else if (t.isWord("TIMESTAMP") && nx < e.size() && e[nx].kind == TK::String) {
                e[nx].text = sqlStringLiteral(timestampLiteralToStorage(literalContent(e[nx])));
                e.erase(i);
            } else if (t.isWord("TIMESTAMP")) {
                moveTimestampPrecision(e, i);
            } else if (t.isWord("INTERVAL") && !qualified) {
                rewriteIntervalAt(e, i);
            } else if (t.isWord("NUMBER")) {
                rewriteNumberStar(e, i);
            } else if (isCharacterType(t)) {
                dropLengthSemantics(e, i);
            } else if (storedObject && isAnsiDecimalColumn(e, i)) {
                // Oracle stores NUMERIC/DECIMAL(p, s) as NUMBER(p, s), precision 38 and scale
                // 0 by default.
                t.text = e.punct(nx, '(') ? "NUMBER" : "NUMBER(38)";
            } else if (isJoinWordUsedAsName(e, i)) {
                t = Token{TK::QuotedIdent, sqlQuotedIdentifier(asciiUpper(t.text))};
            } else if (t.isWord("LOCALTIMESTAMP") && !qualified && !e.punct(nx, '(')) {
                t.text = kLocaltimestampBuiltin;
            } else if ((t.isWord("SYSDATE") || t.isWord("SYSTIMESTAMP") ||
                        t.isWord("CURRENT_DATE") || t.isWord("CURRENT_TIMESTAMP")) &&
                       !qualified && !e.punct(nx, '(')) {
                // The session's time zone is UTC: CURRENT_DATE is SYSDATE and so on.
                const bool date = t.isWord("SYSDATE") || t.isWord("CURRENT_DATE");
                t.text = storedObject ? (date ? kSysdateBuiltin : kSystimestampBuiltin)
                                      : (date ? kSysdateFunction : kSystimestampFunction);
            } else if (t.isWord("MINUS") && !qualified) {
                t.text = "EXCEPT";
            } else if (storedObject && t.isWord("DUAL") && !qualified && !e.punct(nx, '.')) {
                inlineDual(e, i);
            }
        }
        // Oracle has no empty strings: '' is NULL wherever it stands (x'' stays a blob).
        if (t.kind == TK::String && t.text == "''" && !(i > 0 && e[i - 1].kind == TK::Word))
            t.text = "NULL";
        // SCHEMA.name where SCHEMA is the session's own: the database has only that schema.
        if (!schema.empty() && e.name(i) && !e.punct(e.previous(i), '.')) {
            const std::size_t dot = e.next(i + 1);
            if (e.punct(dot, '.') && e.name(e.next(dot + 1)) && identifierName(e[i]) == schema &&
                (!aliasNamedLikeSchema || schemaPosition(e, i)))
                e.erase(i, dot + 1);
        }
    }
}

// ---- DDL ----------------------------------------------------------------------------------------

std::size_t skipIfNotExists(const TokenEditor& e, std::size_t i) {
    if (e.word(i, "IF")) {
        std::size_t j = e.next(i + 1);
        if (e.word(j, "NOT")) j = e.next(j + 1);
        if (e.word(j, "EXISTS")) return e.next(j + 1);
    }
    return i;
}

// The object name at i (after any schema prefix); sets i past it.
std::string objectNameAt(const TokenEditor& e, std::size_t& i) {
    if (!e.name(i)) return std::string();
    std::size_t nameAt = i;
    std::size_t dot = e.next(i + 1);
    if (e.punct(dot, '.') && e.name(e.next(dot + 1))) nameAt = e.next(dot + 1);
    i = e.next(nameAt + 1);
    return identifierName(e.at(nameAt));
}

// Whether a definition in a table's parentheses is a table constraint rather than a column.
bool startsConstraint(const TokenEditor& e, std::size_t i) {
    for (const char* w : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN"})
        if (e.word(i, w)) return true;
    return false;
}

// One column definition [from, to) of CREATE TABLE: takes out an identity clause, noting it.
void rewriteIdentity(TokenEditor& e, std::size_t from, std::size_t to, const std::string& table,
                     RewrittenSql& out) {
    const std::size_t column = e.next(from);
    if (column >= to || !e.name(column) || startsConstraint(e, column)) return;
    int depth = 0;
    for (std::size_t g = e.next(column + 1); g < to; g = e.next(g + 1)) {
        if (e.punct(g, '(')) ++depth;
        if (e.punct(g, ')')) --depth;
        if (depth != 0 || !e.word(g, "GENERATED")) continue;
        std::size_t i = e.next(g + 1);
        std::string generation = "ALWAYS";
        if (e.word(i, "ALWAYS")) {
            i = e.next(i + 1);
        } else if (e.word(i, "BY")) {
            i = e.next(i + 1);
            if (!e.word(i, "DEFAULT")) return;
            generation = "BY DEFAULT";
            i = e.next(i + 1);
            if (e.word(i, "ON")) {
                i = e.next(i + 1);
                if (!e.word(i, "NULL")) return;
                generation = "BY DEFAULT ON NULL";
                i = e.next(i + 1);
            }
        }
        if (!e.word(i, "AS")) return;
        i = e.next(i + 1);
        if (!e.word(i, "IDENTITY")) return;  // e.g. GENERATED ALWAYS AS (expr): SQLite's own
        std::size_t end = i + 1;
        const std::size_t options = e.next(end);
        if (e.punct(options, '(')) end = e.pastParens(options);
        e.erase(g, end);
        // Generated values are filled in after the row is stored, so SQLite must accept the
        // row without one; describe still reports the column as NOT NULL.
        for (std::size_t k = e.next(column + 1); k < to; k = e.next(k + 1)) {
            const std::size_t nullWord = e.next(k + 1);
            if (e.word(k, "NOT") && e.word(nullWord, "NULL")) e.erase(k, nullWord + 1);
        }
        // INTEGER PRIMARY KEY would make it SQLite's rowid, numbered by SQLite before any
        // trigger runs; INT means the same to describe and keeps it an ordinary column.
        const std::size_t type = e.next(column + 1);
        if (e.word(type, "INTEGER") && !e.punct(e.next(type + 1), '(')) e[type].text = "INT";
        out.ddl.identities.push_back(
            IdentityColumn{asciiUpper(table), asciiUpper(identifierName(e[column])), generation});
        return;
    }
}

// A word a column definition's clauses after the type start with.
bool endsType(const TokenEditor& e, std::size_t i) {
    for (const char* w : {"NOT", "NULL", "DEFAULT", "COLLATE", "REFERENCES", "GENERATED", "AS"})
        if (e.word(i, w)) return true;
    return startsConstraint(e, i);
}

// One column definition [from, to): the CHECK constraints its declared type asks for go right
// after the type, so a value that does not fit its type fails on that before the column's own
// constraints.
void addValueChecks(TokenEditor& e, std::size_t from, std::size_t to, const std::string& table) {
    const std::size_t column = e.next(from);
    if (column >= to || !e.name(column) || startsConstraint(e, column)) return;
    // SQLite's type name: words, then (n) or (n, m).
    const std::size_t typeStart = e.next(column + 1);
    std::size_t typeEnd = to;  // its last token
    for (std::size_t k = typeStart; k < to && e[k].kind == TK::Word && !endsType(e, k);
         k = e.next(k + 1)) {
        typeEnd = k;
        const std::size_t open = e.next(k + 1);
        if (e.punct(open, '(')) {
            typeEnd = e.pastParens(open) - 1;
            break;
        }
    }
    if (typeEnd >= to) return;
    std::string declared;
    for (std::size_t k = typeStart; k <= typeEnd; ++k) declared += e[k].text;
    e[typeEnd].text +=
        valueCheckConstraints(table, identifierName(e[column]), e[column].text, declared);
}

// Whether the words first second stand next to each other at depth 0 of [from, to).
bool wordPairAt(const TokenEditor& e, std::size_t from, std::size_t to, const char* first,
                const char* second) {
    int depth = 0;
    for (std::size_t k = e.next(from); k < to; k = e.next(k + 1)) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if (depth == 0 && e.word(k, first) && e.word(e.next(k + 1), second)) return true;
    }
    return false;
}

// Oracle's primary key columns hold no NULL; SQLite's (other than INTEGER PRIMARY KEY) would, so
// each gets NOT NULL: the tokens returned end the definitions of such columns. Identity columns
// are left alone: their value is set after SQLite's check.
std::vector<std::size_t> primaryKeyColumnEnds(const TokenEditor& e, std::size_t from,
                                              std::size_t to) {
    std::vector<std::size_t> ends;
    const auto items = depthZeroItems(e, from, to);
    std::set<std::string> keyColumns;
    for (const auto& item : items) {
        std::size_t k = e.next(item.first);
        if (!startsConstraint(e, k)) continue;
        if (e.word(k, "CONSTRAINT")) k = e.next(e.next(k + 1) + 1);
        if (!e.word(k, "PRIMARY")) continue;
        while (k < item.second && !e.punct(k, '(')) ++k;
        if (k >= item.second) continue;
        for (const auto& c : depthZeroItems(e, k + 1, e.pastParens(k) - 1)) {
            const std::size_t n = e.next(c.first);
            if (n < c.second && e.name(n)) keyColumns.insert(identifierName(e.at(n)));
        }
    }
    for (const auto& item : items) {
        const std::size_t column = e.next(item.first);
        if (column >= item.second || !e.name(column) || startsConstraint(e, column)) continue;
        const bool identity = wordPairAt(e, item.first, item.second, "AS", "IDENTITY");
        const bool key =
            !identity && (keyColumns.count(identifierName(e.at(column))) > 0 ||
                          wordPairAt(e, item.first, item.second, "PRIMARY", "KEY"));
        if (!key || wordPairAt(e, item.first, item.second, "NOT", "NULL")) continue;
        const std::size_t last = e.previous(item.second);
        if (last < item.second && last >= column) ends.push_back(last);
    }
    return ends;
}

// A column's DEFAULT [from, to) may be any expression in Oracle; SQLite takes a literal, a signed
// number or an expression in parentheses, so any other expression is put in parentheses.
bool parenthesizeDefault(TokenEditor& e, std::size_t from, std::size_t to) {
    const std::size_t column = e.next(from);
    if (column >= to || !e.name(column) || startsConstraint(e, column)) return false;
    std::size_t k = e.next(column + 1);
    int depth = 0;
    for (; k < to; k = e.next(k + 1)) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        // GENERATED BY DEFAULT AS IDENTITY is no default value.
        if (depth == 0 && e.word(k, "DEFAULT") && !e.word(e.previous(k), "BY")) break;
    }
    const std::size_t start = e.next(k + 1);
    if (k >= to || start >= to || e.word(start, "ON")) return false;
    std::size_t last = start, count = 0;
    for (std::size_t m = start; m < to; m = e.next(m + 1)) {
        if (m != start &&
            ((e.word(m, "NOT") && e.word(e.next(m + 1), "NULL")) || e.word(m, "NULL") ||
             e.word(m, "CONSTRAINT") || e.word(m, "CHECK") || e.word(m, "PRIMARY") ||
             e.word(m, "UNIQUE") || e.word(m, "REFERENCES") || e.word(m, "COLLATE") ||
             e.word(m, "ENABLE") || e.word(m, "DISABLE")))
            break;
        last = e.punct(m, '(') ? e.pastParens(m) - 1 : m;
        m = last;
        ++count;
    }
    const bool signedNumber = count == 2 && (e.punct(start, '-') || e.punct(start, '+')) &&
                              e[last].kind == Token::Kind::Number;
    if (count <= 1 || signedNumber) return false;
    // The expression gets a query's expression semantics (date arithmetic, ||, ...).
    const std::string alias = " AS \"ORA$DEFAULT\" FROM DUAL";
    const std::string query =
        rewriteSql("SELECT (" + textOf(e, start, last + 1) + ")" + alias, std::string()).sql;
    const std::size_t end = query.rfind(" AS \"ORA$DEFAULT\"");
    if (query.compare(0, 7, "SELECT ") != 0 || end == std::string::npos) {
        e[start].text = "(" + e[start].text;
        e[last].text += ")";
        return true;
    }
    e.erase(start, last + 1);
    e[start].text = "(" + query.substr(7, end - 7) + ")";
    return true;
}

// Where the column definition of ALTER TABLE ... ADD [COLUMN] starts.
std::size_t addedColumnStart(const TokenEditor& e) {
    std::size_t k = e.next(0);
    while (k < e.size() && !e.word(k, "ADD")) k = e.next(k + 1);
    k = e.next(k + 1);
    return e.word(k, "COLUMN") ? e.next(k + 1) : k;
}

// Oracle takes table constraints between column definitions; SQLite wants every column first.
// The columns keep their order, and so do the constraints.
bool columnsBeforeConstraints(TokenEditor& e, std::size_t open, std::size_t close) {
    std::vector<std::string> columns, constraints;
    bool mixed = false;
    for (const auto& item : depthZeroItems(e, open + 1, close)) {
        const bool constraint = startsConstraint(e, e.next(item.first));
        if (!constraint && !constraints.empty()) mixed = true;
        (constraint ? constraints : columns).push_back(textOf(e, item.first, item.second));
    }
    if (!mixed) return false;
    std::string definitions;
    for (const auto* list : {&columns, &constraints})
        for (const std::string& item : *list) definitions += (definitions.empty() ? "" : ",") + item;
    e.erase(open + 1, close);
    e[open + 1].text = definitions;
    e = TokenEditor(lexSql(e.text()));  // the positions after open have changed
    return true;
}

void rewriteCreateTable(TokenEditor& e, std::size_t tableWord, RewrittenSql& out) {
    std::size_t i = skipIfNotExists(e, e.next(tableWord + 1));
    const std::string table = objectNameAt(e, i);
    if (table.empty() || !e.punct(i, '(')) return;  // CREATE TABLE ... AS SELECT
    bool parenthesized = false;
    for (const auto& item : depthZeroItems(e, i + 1, e.pastParens(i) - 1))
        parenthesized = parenthesizeDefault(e, item.first, item.second) || parenthesized;
    if (parenthesized) {
        // Lexed anew before the type checks join tokens' texts; the positions move.
        e = TokenEditor(lexSql(e.text()));
        std::size_t t = e.next(0);
        while (t < e.size() && !e.word(t, "TABLE")) t = e.next(t + 1);
        i = skipIfNotExists(e, e.next(t + 1));
        objectNameAt(e, i);
    }
    if (columnsBeforeConstraints(e, i, e.pastParens(i) - 1)) {
        std::size_t t = e.next(0);
        while (t < e.size() && !e.word(t, "TABLE")) t = e.next(t + 1);
        i = skipIfNotExists(e, e.next(t + 1));
        objectNameAt(e, i);
    }
    const std::size_t close = e.pastParens(i) - 1;
    // Found while the definitions' parentheses are intact; the type checks join token texts.
    const std::vector<std::size_t> keyEnds = primaryKeyColumnEnds(e, i + 1, close);
    std::size_t defStart = i + 1;
    int depth = 0;
    for (std::size_t k = e.next(i + 1); k <= close && k < e.size(); k = e.next(k + 1)) {
        if (e.punct(k, '(')) ++depth;
        if (e.punct(k, ')')) --depth;
        if ((depth == 0 && e.punct(k, ',')) || k == close) {
            rewriteIdentity(e, defStart, k, table, out);
            addValueChecks(e, defStart, k, table);
            defStart = k + 1;
        }
    }
    if (!out.ddl.identities.empty())
        for (std::size_t k = e.next(close); k < e.size(); k = e.next(k + 1))
            if (e.word(k, "WITHOUT")) raise(ora::kMissingOrInvalidOption);
    for (std::size_t end : keyEnds) e[end].text += " NOT NULL";
}

// DROP TABLE name [CASCADE CONSTRAINTS] [PURGE]: SQLite has neither option.
void rewriteDropTable(TokenEditor& e, std::size_t tableWord, RewrittenSql& out) {
    std::size_t i = skipIfNotExists(e, e.next(tableWord + 1));
    out.ddl.droppedTable = asciiUpper(objectNameAt(e, i));
    if (e.word(i, "CASCADE") && e.word(e.next(i + 1), "CONSTRAINTS")) {
        out.ddl.cascadeConstraints = true;
        e.erase(i, e.next(i + 1) + 1);
        i = e.next(i);
    }
    if (e.word(i, "PURGE")) e.erase(i);
}

// TRUNCATE TABLE name [storage clauses] -> DELETE FROM name.
void rewriteTruncate(TokenEditor& e, std::size_t truncateWord) {
    const std::size_t tableWord = e.next(truncateWord + 1);
    if (!e.word(tableWord, "TABLE")) raise(ora::kInvalidTruncateCommand);
    std::size_t i = e.next(tableWord + 1);
    if (objectNameAt(e, i).empty()) raise(ora::kInvalidTableName);
    e.erase(i, e.size());
    e[truncateWord].text = "DELETE";
    e[tableWord].text = "FROM";
}

// ALTER TABLE t RENAME TO u is followed by the identity catalog; ALTER TABLE t ADD (column
// definition), Oracle's form, becomes SQLite's ADD COLUMN, and the new column gets checked.
// Constraint changes and MODIFY rebuild the table (alter_table.h).
void rewriteAlterTable(TokenEditor& e, std::size_t tableWord, RewrittenSql& out) {
    std::size_t i = e.next(tableWord + 1);
    const std::string table = objectNameAt(e, i);
    if (table.empty()) return;
    if (e.word(i, "RENAME") && e.word(e.next(i + 1), "TO")) {
        std::size_t to = e.next(e.next(i + 1) + 1);
        const std::string renamed = objectNameAt(e, to);
        if (!renamed.empty()) {
            out.ddl.renamedFrom = asciiUpper(table);
            out.ddl.renamedTo = asciiUpper(renamed);
        }
    } else if (rebuildsTable(e, i)) {
        out.ddl.rebuildTable = true;
    } else if (e.word(i, "MODIFY") || e.word(i, "ENABLE") || e.word(i, "DISABLE") ||
               ((e.word(i, "ADD") || e.word(i, "DROP")) && startsConstraint(e, e.next(i + 1)))) {
        // SQLite cannot change a table's columns or constraints in place.
        raise(ora::kAlterTableOptionNotSupported, asciiUpper(e[i].text));
    } else if (e.word(i, "DROP") && e.punct(e.next(i + 1), '(')) {
        // DROP (a, b): one DROP COLUMN each.
        const std::size_t open = e.next(i + 1), past = e.pastParens(open);
        const auto items = depthZeroItems(e, open + 1, past - 1);
        for (std::size_t n = 1; n < items.size(); ++n)
            out.ddl.catalogSql.push_back("ALTER TABLE " + textOf(e, tableWord + 1, i) +
                                     " DROP COLUMN " +
                                     textOf(e, items[n].first, items[n].second));
        e.erase(items[0].second, past);
        e[open].text = "COLUMN ";
    } else if (e.word(i, "ADD")) {
        const std::size_t open = e.next(i + 1);
        if (!e.punct(open, '(')) {
            // ADD [COLUMN] definition, SQLite's form; ADD CONSTRAINT and the like are no column.
            const std::size_t from = e.word(open, "COLUMN") ? open + 1 : open;
            std::size_t start = from;
            if (parenthesizeDefault(e, from, e.size())) {
                e = TokenEditor(lexSql(e.text()));
                start = addedColumnStart(e);
            }
            addValueChecks(e, start, e.size(), table);
            return;
        }
        const std::size_t past = e.pastParens(open);
        if (!e.punct(past - 1, ')') || e.next(past) < e.size())
            return;  // not one parenthesised definition
        // ADD (a ..., b ...): SQLite adds one column at a time, the others after this one.
        const auto items = depthZeroItems(e, open + 1, past - 1);
        std::string tableText;
        for (std::size_t k = e.next(tableWord + 1); k < e.previous(i) + 1; ++k)
            tableText += e[k].text;
        for (std::size_t n = 1; n < items.size(); ++n) {
            std::string definition;
            for (std::size_t k = items[n].first; k < items[n].second; ++k) definition += e[k].text;
            out.ddl.catalogSql.push_back(
                rewriteSql("ALTER TABLE " + tableText + " ADD (" + definition + ")", "").sql);
        }
        if (items.size() > 1) e.erase(items[0].second, past - 1);
        e[open].text = "COLUMN ";
        e.erase(past - 1);
        std::size_t start = open + 1, end = past - 1;
        if (parenthesizeDefault(e, start, end)) {
            e = TokenEditor(lexSql(e.text()));
            start = addedColumnStart(e);
            end = e.size();
        }
        addValueChecks(e, start, end, table);
    }
}

// ON COMMIT {DELETE | PRESERVE} ROWS at the end of CREATE GLOBAL TEMPORARY TABLE.
void dropOnCommitClause(TokenEditor& e) {
    for (std::size_t i = e.next(0); i < e.size(); i = e.next(i + 1)) {
        const std::size_t commit = e.next(i + 1);
        const std::size_t what = e.next(commit + 1);
        const std::size_t rows = e.next(what + 1);
        if (e.word(i, "ON") && e.word(commit, "COMMIT") &&
            (e.word(what, "DELETE") || e.word(what, "PRESERVE")) && e.word(rows, "ROWS")) {
            e.erase(i, rows + 1);
            return;
        }
    }
}

void rewriteDdl(TokenEditor& e, RewrittenSql& out) {
    const std::size_t verb = e.next(0);
    if (e.word(verb, "TRUNCATE")) {
        rewriteTruncate(e, verb);
        return;
    }
    std::size_t object = e.next(verb + 1);
    if (e.word(verb, "CREATE")) {
        dropPhysicalAttributes(e);
        object = e.next(verb + 1);
        bool global = false;
        while (e.word(object, "GLOBAL") || e.word(object, "TEMPORARY") || e.word(object, "TEMP")) {
            // A global temporary table becomes a session's temporary table.
            if (e.word(object, "GLOBAL")) {
                e.erase(object);
                global = true;
            }
            object = e.next(object + 1);
        }
        if (e.word(object, "TABLE")) rewriteCreateTable(e, object, out);
        if (global) dropOnCommitClause(e);
    } else if (e.word(verb, "DROP") && e.word(object, "TABLE")) {
        rewriteDropTable(e, object, out);
    } else if (e.word(verb, "ALTER") && e.word(object, "TABLE")) {
        rewriteAlterTable(e, object, out);
    } else if (e.word(verb, "ALTER") && e.word(object, "INDEX")) {
        rewriteAlterIndex(e, object, out.ddl.renamedIndexFrom, out.ddl.renamedIndexTo);
    } else if (rewriteCommentOn(e, out)) {
    } else if (e.word(verb, "RENAME")) {
        // RENAME a TO b -> ALTER TABLE a RENAME TO b
        std::size_t i = object;
        const std::string from = objectNameAt(e, i);
        if (from.empty() || !e.word(i, "TO")) raise(ora::kMissingToKeyword);
        e[verb].text = "ALTER TABLE";
        e[i].text = "RENAME TO";
        std::size_t to = e.next(i + 1);
        out.ddl.renamedFrom = asciiUpper(from);
        out.ddl.renamedTo = asciiUpper(objectNameAt(e, to));
    }
}

// CREATE [OR REPLACE] [TEMP] VIEW: its query gets the expression semantics of a query.
bool createsView(const TokenEditor& e) {
    std::size_t i = e.next(0);
    if (!e.word(i, "CREATE")) return false;
    for (i = e.next(i + 1); i < e.size(); i = e.next(i + 1)) {
        if (e.word(i, "VIEW")) return true;
        if (!e.word(i, "OR") && !e.word(i, "REPLACE") && !e.word(i, "TEMP") &&
            !e.word(i, "TEMPORARY") && !e.word(i, "FORCE") && !e.word(i, "NOFORCE"))
            return false;
    }
    return false;
}

}  // namespace

void trimStatementEnd(TokenEditor& e) { trimTerminators(e); }
RewrittenSql::Kind classifyStatement(TokenEditor& e, RewrittenSql& out) { return classify(e, out); }
void rewriteCommonForms(TokenEditor& e, const std::string& schema, bool storedObject) {
    rewriteCommon(e, schema, storedObject);
}
void rewriteTableDdl(TokenEditor& e, RewrittenSql& out) { rewriteDdl(e, out); }
bool isCreateView(const TokenEditor& e) { return createsView(e); }

}  // namespace detail
}  // namespace kavexdb
