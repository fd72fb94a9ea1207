#include "catalog/table_definition.h"

#include <algorithm>

#include "base/text.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    return sqlite3_stricmp(a.c_str(), b.c_str()) == 0;
}

// Where a clause of a column definition starts: NOT only before NULL, NULL and DEFAULT not after
// ON DELETE SET, which a REFERENCES clause ends with.
bool clauseStart(const TokenEditor& e, std::size_t k) {
    bool keyword = false;
    for (const char* w : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "REFERENCES", "NOT", "NULL",
                          "DEFAULT", "COLLATE", "GENERATED", "AS"})
        keyword = keyword || e.word(k, w);
    if (!keyword) return false;
    if (e.word(k, "NOT")) return e.word(e.next(k + 1), "NULL");
    const std::size_t before = e.previous(k);
    if (e.word(k, "NULL")) return !e.word(before, "NOT") && !e.word(before, "SET");
    if (e.word(k, "DEFAULT")) return !e.word(before, "SET");
    return true;
}

std::size_t pastTerm(const TokenEditor& e, std::size_t k) {
    if (e.punct(k, '(')) return e.pastParens(k);
    if (e.punct(k, '-') || e.punct(k, '+')) k = e.next(k + 1);
    return k < e.size() ? k + 1 : k;
}

// Just past the clause whose keyword is at k.
std::size_t clauseEnd(const TokenEditor& e, std::size_t k) {
    if (e.word(k, "NOT")) return e.next(k + 1) + 1;
    if (e.word(k, "DEFAULT") || e.word(k, "COLLATE")) return pastTerm(e, e.next(k + 1));
    if (e.word(k, "CHECK")) return pastTerm(e, e.next(k + 1));
    std::size_t m = e.next(k + 1);
    while (m < e.size() && !clauseStart(e, m))
        m = e.next(e.punct(m, '(') ? e.pastParens(m) : m + 1);
    return m;
}

// Parses the clauses from k to the end of e.
std::vector<Clause> clausesFrom(const TokenEditor& e, std::size_t k) {
    std::vector<Clause> out;
    k = e.next(k);
    while (k < e.size()) {
        Clause c;
        const std::size_t start = k;
        if (e.word(k, "CONSTRAINT")) {
            const std::size_t n = e.next(k + 1);
            if (n < e.size()) c.name = identifierName(e.at(n));
            k = e.next(n + 1);
        }
        if (k >= e.size()) break;
        c.kind = asciiUpper(e.at(k).text);
        const std::size_t end = std::max(clauseEnd(e, k), k + 1);
        c.text = trimmed(textOf(e, start, end));
        out.push_back(c);
        k = e.next(end);
    }
    return out;
}

// The condition of the CHECK in text, without its parentheses.
std::string checkCondition(const std::string& text) {
    TokenEditor e(lexSql(text));
    std::size_t k = e.next(0);
    while (k < e.size() && !e.word(k, "CHECK")) k = e.next(k + 1);
    const std::size_t open = e.next(k + 1);
    if (!e.punct(open, '(')) return std::string();
    return trimmed(textOf(e, open + 1, e.pastParens(open) - 1));
}

// The parent, its columns and the delete rule of the REFERENCES clause in text.
void readReferences(const std::string& text, DeclaredConstraint& c) {
    TokenEditor e(lexSql(text));
    std::size_t k = e.next(0);
    while (k < e.size() && !e.word(k, "REFERENCES")) k = e.next(k + 1);
    std::size_t n = e.next(k + 1);
    if (e.punct(e.next(n + 1), '.')) n = e.next(e.next(n + 1) + 1);
    if (n >= e.size() || !e.name(n)) return;
    c.parent = identifierName(e.at(n));
    std::size_t m = e.next(n + 1);
    if (e.punct(m, '(')) {
        c.parentColumns = namesInParens(e, m);
        m = e.next(e.pastParens(m));
    }
    c.deleteRule = "NO ACTION";
    for (; m < e.size(); m = e.next(m + 1)) {
        if (!e.word(m, "ON") || !e.word(e.next(m + 1), "DELETE")) continue;
        const std::size_t action = e.next(e.next(m + 1) + 1);
        if (e.word(action, "CASCADE")) c.deleteRule = "CASCADE";
        if (e.word(action, "SET") && e.word(e.next(action + 1), "NULL")) c.deleteRule = "SET NULL";
    }
}

// The constraint a clause or table constraint of this kind and text declares; false for
// NOT NULL, DEFAULT and the like.
bool declared(const std::string& kind, const std::string& name, const std::string& text,
              std::vector<std::string> columns, DeclaredConstraint& c) {
    if (kind == "PRIMARY")
        c.type = 'P';
    else if (kind == "UNIQUE")
        c.type = 'U';
    else if (kind == "CHECK")
        c.type = 'C';
    else if (kind == "FOREIGN" || kind == "REFERENCES")
        c.type = 'R';
    else
        return false;
    c.name = name;
    c.columns = std::move(columns);
    if (c.type == 'C') c.condition = checkCondition(text);
    if (c.type == 'R') readReferences(text, c);
    return true;
}

}  // namespace

bool startsTableConstraint(const TokenEditor& e, std::size_t i) {
    for (const char* w : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN"})
        if (e.word(i, w)) return true;
    return false;
}

std::vector<std::string> namesInParens(const TokenEditor& e, std::size_t k) {
    std::vector<std::string> out;
    while (k < e.size() && !e.punct(k, '(')) ++k;
    if (k >= e.size()) return out;
    for (const auto& item : depthZeroItems(e, k + 1, e.pastParens(k) - 1)) {
        const std::size_t n = e.next(item.first);
        if (n < item.second && e.name(n)) out.push_back(identifierName(e.at(n)));
    }
    return out;
}

bool Clause::fromType() const {
    return kind == "COLLATE" ||
           (kind == "CHECK" && name.empty() && text.compare(0, 12, "CHECK ('ORA-") == 0);
}

bool Column::has(const char* kind) const {
    return std::any_of(clauses.begin(), clauses.end(),
                       [&](const Clause& c) { return c.kind == kind; });
}

std::string Column::text() const {
    std::string out = nameText;
    if (!type.empty()) out += " " + type;
    for (const Clause& c : clauses) out += " " + c.text;
    return out;
}

Column parseColumn(const std::string& item) {
    TokenEditor e(lexSql(item));
    Column c;
    std::size_t k = e.next(0);
    if (k >= e.size()) return c;
    c.name = identifierName(e.at(k));
    c.nameText = e.at(k).text;
    const std::size_t typeStart = e.next(k + 1);
    k = typeStart;
    while (k < e.size() && !clauseStart(e, k))
        k = e.next(e.punct(k, '(') ? e.pastParens(k) : k + 1);
    c.type = trimmed(textOf(e, typeStart, k));
    c.clauses = clausesFrom(e, k);
    return c;
}

Item parseItem(const std::string& text) {
    Item item;
    TokenEditor e(lexSql(text));
    std::size_t k = e.next(0);
    if (!startsTableConstraint(e, k)) {
        item.column = parseColumn(text);
        return item;
    }
    item.isColumn = false;
    item.text = trimmed(text);
    if (e.word(k, "CONSTRAINT")) {
        const std::size_t n = e.next(k + 1);
        if (n < e.size()) item.name = identifierName(e.at(n));
        k = e.next(n + 1);
    }
    if (k < e.size()) item.kind = asciiUpper(e.at(k).text);
    if (item.kind != "CHECK") item.keyColumns = namesInParens(e, k);
    return item;
}

std::string Definition::createSql(const std::string& name) const {
    std::string out = "CREATE TABLE " + name + " (";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i].render();
    return out + ")" + tail;
}

Column* Definition::column(const std::string& name) {
    for (Item& i : items)
        if (i.isColumn && sameName(i.column.name, name)) return &i.column;
    return nullptr;
}

bool Definition::namesConstraint(const std::string& name) const {
    for (const Item& i : items) {
        if (!i.isColumn && !i.name.empty() && sameName(i.name, name)) return true;
        if (i.isColumn)
            for (const Clause& c : i.column.clauses)
                if (!c.name.empty() && sameName(c.name, name)) return true;
    }
    return false;
}

std::vector<std::vector<std::string>> Definition::keys(bool primary) const {
    std::vector<std::vector<std::string>> out;
    const char* kind = primary ? "PRIMARY" : "UNIQUE";
    for (const Item& i : items) {
        if (!i.isColumn && i.kind == kind) out.push_back(i.keyColumns);
        if (i.isColumn && i.column.has(kind)) out.push_back({i.column.name});
    }
    return out;
}

std::vector<DeclaredConstraint> Definition::constraints() const {
    std::vector<DeclaredConstraint> out;
    for (const Item& i : items) {
        DeclaredConstraint c;
        if (!i.isColumn) {
            if (declared(i.kind, i.name, i.text,
                         i.kind == "CHECK" ? std::vector<std::string>() : i.keyColumns, c))
                out.push_back(c);
            continue;
        }
        for (const Clause& clause : i.column.clauses) {
            if (clause.fromType()) continue;
            DeclaredConstraint cc;
            if (declared(clause.kind, clause.name, clause.text, {i.column.name}, cc))
                out.push_back(cc);
        }
    }
    // A check's columns are those its condition names, in the table's order.
    for (DeclaredConstraint& c : out) {
        if (c.type != 'C') continue;
        std::vector<std::string> named;
        for (const Token& t : lexSql(c.condition))
            if (t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent)
                named.push_back(identifierName(t));
        c.columns.clear();
        for (const Item& i : items)
            if (i.isColumn && std::find(named.begin(), named.end(), i.column.name) != named.end())
                c.columns.push_back(i.column.name);
    }
    return out;
}

Definition parseDefinition(const std::string& createSql) {
    TokenEditor e(lexSql(createSql));
    Definition d;
    std::size_t open = 0;
    while (open < e.size() && !e.punct(open, '(')) ++open;
    if (open >= e.size()) return d;
    std::size_t name = e.next(0);
    while (name < open && !e.word(name, "TABLE")) name = e.next(name + 1);
    d.nameText = trimmed(textOf(e, name + 1, open));
    const std::size_t past = e.pastParens(open);
    for (const auto& range : depthZeroItems(e, open + 1, past - 1))
        d.items.push_back(parseItem(textOf(e, range.first, range.second)));
    d.tail = textOf(e, past, e.size());
    return d;
}

namespace {

std::vector<StoredTable> tablesWhere(sqlite3* db, const char* condition, const std::string& name) {
    std::vector<StoredTable> out;
    // Temporary tables (GLOBAL TEMPORARY) after the file's own.
    SqliteStmt read = prepareSql(db, std::string("SELECT name, sql FROM (SELECT name, sql, type, "
                                                 "0 AS temp, rowid AS seq FROM main.sqlite_master "
                                                 "UNION ALL SELECT name, sql, type, 1, rowid FROM "
                                                 "temp.sqlite_master) WHERE type = 'table' AND "
                                                 "sql IS NOT NULL AND "
                                                 "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND "
                                                 "name NOT LIKE 'KAVEX$%' AND ") +
                                         condition + " ORDER BY temp, seq");
    if (!name.empty()) sqlite3_bind_text(read.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(read.get()) == SQLITE_ROW) {
        StoredTable t;
        t.name = reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 0));
        t.definition =
            parseDefinition(reinterpret_cast<const char*>(sqlite3_column_text(read.get(), 1)));
        const std::vector<Token> tokens = lexSql(t.definition.nameText);
        t.shown = asciiUpper(t.name);
        for (const Token& token : tokens)
            if (token.kind == Token::Kind::Word || token.kind == Token::Kind::QuotedIdent)
                t.shown = identifierName(token);
        out.push_back(std::move(t));
    }
    return out;
}

}  // namespace

std::vector<StoredTable> storedTables(sqlite3* db) { return tablesWhere(db, "1", ""); }

bool storedTable(sqlite3* db, const std::string& name, StoredTable& table) {
    std::vector<StoredTable> found = tablesWhere(db, "name = ?1 COLLATE NOCASE", name);
    if (found.empty()) return false;
    table = std::move(found.front());
    return true;
}

}  // namespace detail
}  // namespace kavexdb
