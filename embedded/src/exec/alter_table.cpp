#include "exec/alter_table.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <set>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "catalog/foreign_keys.h"
#include "catalog/constraint_names.h"
#include "catalog/disabled_constraints.h"
#include "catalog/identity_catalog.h"
#include "catalog/table_definition.h"
#include "rewrite/sql_rewrite.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"
#include "types/declared_type.h"

namespace kavexdb {
namespace detail {

namespace {

const char* const kRebuilt = kOraRebuild;

bool sameName(const std::string& a, const std::string& b) {
    return sqlite3_stricmp(a.c_str(), b.c_str()) == 0;
}

// ---- the statement -----------------------------------------------------------------------------

[[noreturn]] void unsupported(const std::string& what) {
    raise(ora::kAlterTableOptionNotSupported, what);
}

std::vector<std::string> column0(sqlite3* db, const std::string& sql, const std::string& bind) {
    std::vector<std::string> out;
    SqliteStmt s = prepareSql(db, sql);
    sqlite3_bind_text(s.get(), 1, bind.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(s.get()) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(s.get(), 0);
        out.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
    }
    return out;
}

// SQLite leaves CHECK constraints unchecked while it lives, when on is set (ENABLE NOVALIDATE's
// copy of the rows there).
class ChecksIgnored {
  public:
    ChecksIgnored(sqlite3* db, bool on) : db_(on ? db : nullptr) {
        if (db_) runOnce(db_, "PRAGMA ignore_check_constraints = 1");
    }
    ~ChecksIgnored() {
        if (db_)
            sqlite3_exec(db_, "PRAGMA ignore_check_constraints = 0", nullptr, nullptr, nullptr);
    }
    ChecksIgnored(const ChecksIgnored&) = delete;
    ChecksIgnored& operator=(const ChecksIgnored&) = delete;

  private:
    sqlite3* db_;
};

bool anyRow(sqlite3* db, const std::string& sql) {
    SqliteStmt s = prepareSql(db, sql);
    const int rc = sqlite3_step(s.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) raiseSqlite(db, rc);
    return rc == SQLITE_ROW;
}

// A constraint as the client's CREATE TABLE would store it, from the host's text.
std::string storedForm(const std::string& oracleText, const std::string& schema) {
    const std::string sql = rewriteSql("CREATE TABLE " + sqlQuotedIdentifier(kRebuilt) +
                                           " (\"ORA$NONE\", " + oracleText + ")",
                                       schema)
                                .sql;
    const Definition d = parseDefinition(sql);
    if (d.items.size() != 2) raise(ora::kInvalidAlterTableOption);
    return d.items[1].render();
}

// Takes Oracle's constraint states the client keeps anyway (ENABLE, VALIDATE, USING INDEX ...)
// off the end of a constraint; refuses those it cannot keep.
std::string withoutStates(const std::string& text) {
    TokenEditor e(lexSql(text));
    for (std::size_t k = e.next(0); k < e.size(); k = e.next(k + 1)) {
        if (e.punct(k, '(')) {
            k = e.pastParens(k) - 1;
            continue;
        }
        if (e.word(k, "USING") && e.word(e.next(k + 1), "INDEX")) {
            e.erase(k, e.size());
            break;
        }
        if (e.word(k, "ENABLE") || e.word(k, "VALIDATE") || e.word(k, "RELY") ||
            e.word(k, "NORELY"))
            e.erase(k);
        else if (e.word(k, "DISABLE") || e.word(k, "NOVALIDATE") || e.word(k, "DEFERRABLE") ||
                 e.word(k, "INITIALLY"))
            unsupported(asciiUpper(e.at(k).text));
    }
    return trimmed(e.text());
}

std::string textUpTo(const TokenEditor& e, std::size_t from) {
    std::size_t to = e.size();
    while (to > from && (!e.at(to - 1).significant() || e.punct(to - 1, ';'))) --to;
    return trimmed(textOf(e, from, to));
}

// The items of "( a, b )" at k, or the one item from k to the end.
std::vector<std::string> actionItems(const TokenEditor& e, std::size_t k) {
    std::vector<std::string> out;
    if (e.punct(k, '(')) {
        const std::size_t past = e.pastParens(k);
        if (e.next(past) < e.size() && !e.punct(e.next(past), ';')) unsupported("the text after )");
        for (const auto& r : depthZeroItems(e, k + 1, past - 1))
            out.push_back(trimmed(textOf(e, r.first, r.second)));
        return out;
    }
    out.push_back(textUpTo(e, k));
    return out;
}

std::string constraintName(const std::string& schema, const std::string& name) {
    return "(" + schema + "." + name + ")";
}

// How a row that fails the copy is reported: from the code the copy raised to Oracle's.
using Failure = std::function<void(int code)>;

class TableRebuild {
  public:
    TableRebuild(sqlite3* db, std::string table, std::string schema)
        : db_(db), table_(std::move(table)), schema_(std::move(schema)), names_(db) {
        const auto sql = column0(db_,
                                 "SELECT sql FROM main.sqlite_master WHERE type = 'table' AND "
                                 "name = ?1",
                                 table_);
        if (sql.empty()) raise(ora::kTableOrViewDoesNotExist);
        def_ = parseDefinition(sql[0]);
    }

    Definition& definition() { return def_; }
    const std::string& table() const { return table_; }

    // ADD of a constraint (the host's text), or of one ENABLE takes back from the catalog,
    // already as the client's CREATE TABLE stores it (stored).
    void add(const std::string& oracleText, bool stored = false) {
        std::string text = withoutStates(oracleText);
        Item given = parseItem(text);
        if (given.isColumn) unsupported("ADD of a column with a constraint");
        std::string name = given.name;
        if (name.empty()) {
            name = names_.next();
            text = "CONSTRAINT " + sqlQuotedIdentifier(name) + " " + text;
        } else if (!stored && (def_.namesConstraint(name) || constraintNamesInUse(db_).count(name))) {
            raise(ora::kConstraintNameUsed);
        }
        Item item = parseItem(stored ? text : storedForm(text, schema_));
        item.name = name;
        const std::string shown = constraintName(schema_, name);
        if (item.kind == "PRIMARY" || item.kind == "UNIQUE") {
            const bool primary = item.kind == "PRIMARY";
            if (primary && !def_.keys(true).empty()) raise(ora::kSecondPrimaryKey);
            for (bool p : {true, false})
                for (const auto& key : def_.keys(p))
                    if (sameColumns(key, item.keyColumns)) raise(ora::kKeyAlreadyExists);
            for (const std::string& c : item.keyColumns) {
                Column* column = def_.column(c);
                if (!column) raise(ora::kInvalidColumnIdentifier, c);
                // A primary key's columns hold no NULL, as in Oracle; an identity column gets
                // its value after SQLite's NOT NULL check and never holds NULL anyway.
                if (primary && !column->has("NOT") && !isIdentity(column->name))
                    column->clauses.push_back({"NOT", "", "NOT NULL"});
            }
            failures_.push_back([shown, primary](int code) {
                if (code == 1 && primary) raise(ora::kPrimaryKeyViolatedOnValidate, shown);
                if (code == 1) raise(ora::kDuplicateKeysOnValidate, shown);
                if (code == 1400 && primary) raise(ora::kNullsPreventNotNull);
            });
        } else if (item.kind == "CHECK") {
            if (validate_) validatesCheck_ = true;
            failures_.push_back([shown](int code) {
                if (code == 2290) raise(ora::kCheckViolatedOnValidate, shown);
            });
        } else if (item.kind == "FOREIGN") {
            requireParentKey(item);
            if (validate_) foreignKeys_.push_back(shown);
        } else {
            unsupported("ADD " + item.kind);
        }
        def_.items.push_back(item);
    }

    // DROP CONSTRAINT name, DROP PRIMARY KEY, DROP UNIQUE (columns).
    void drop(const TokenEditor& e, std::size_t k) {
        std::vector<std::string> removedKey;
        bool found = false;
        if (e.word(k, "CONSTRAINT")) {
            const std::size_t n = e.next(k + 1);
            if (!e.name(n)) raise(ora::kInvalidConstraintName);
            const std::string name = identifierName(e.at(n));
            found = removeWhere([&](const std::string& kind, const std::string& itemName,
                                    const std::vector<std::string>& key) {
                if (itemName.empty() || !sameName(itemName, name)) return false;
                if (kind == "PRIMARY" || kind == "UNIQUE") removedKey = key;
                return true;
            });
            if (!found) raise(ora::kNoConstraintToDrop);
            recordValidation(db_, table_, name, true);
            k = e.next(n + 1);
        } else if (e.word(k, "PRIMARY") && e.word(e.next(k + 1), "KEY")) {
            found = removeWhere([&](const std::string& kind, const std::string&,
                                    const std::vector<std::string>& key) {
                if (kind != "PRIMARY") return false;
                removedKey = key;
                return true;
            });
            if (!found) raise(ora::kNoPrimaryKeyToDrop);
            k = e.next(e.next(k + 1) + 1);
        } else if (e.word(k, "UNIQUE")) {
            const std::vector<std::string> wanted = namesInParens(e, k);
            found = removeWhere([&](const std::string& kind, const std::string&,
                                    const std::vector<std::string>& key) {
                if (kind != "UNIQUE" || !sameColumns(key, wanted)) return false;
                removedKey = key;
                return true;
            });
            if (!found) raise(ora::kNoUniqueKeyToDrop);
            std::size_t open = k;
            while (open < e.size() && !e.punct(open, '(')) ++open;
            k = e.next(open < e.size() ? e.pastParens(open) : open);
        } else {
            unsupported("DROP " + asciiUpper(k < e.size() ? e.at(k).text : std::string()));
        }
        cascade_ = e.word(k, "CASCADE");
        if (removedKey.empty()) return;
        const std::set<std::string> referenced = referencedColumns(db_, table_);
        const bool isReferenced = std::any_of(removedKey.begin(), removedKey.end(), [&](const std::string& c) {
            return referenced.count(asciiUpper(c)) > 0;
        });
        if (!isReferenced) return;
        if (!cascade_) raise(ora::kKeyReferencedByForeignKeys);
        dropReferencesTo(db_, table_);
        dropSelfReferences_ = true;
    }

    // DISABLE CONSTRAINT name / DISABLE PRIMARY KEY: the table is rebuilt without it; the
    // catalog keeps it, as a table constraint, for ENABLE.
    void disable(const std::string& name, bool primaryKey, bool cascade) {
        const DeclaredConstraint* found = nullptr;
        const std::vector<DeclaredConstraint> declared = def_.constraints();
        for (const DeclaredConstraint& c : declared)
            if (primaryKey ? c.type == 'P' : !c.name.empty() && sameName(c.name, name)) found = &c;
        if (!found && !primaryKey)
            for (const Item& item : def_.items)
                for (const Clause& c : item.column.clauses)
                    if (item.isColumn && c.kind == "NOT" && !c.name.empty() && sameName(c.name, name))
                        unsupported("DISABLE of a NOT NULL constraint");
        if (!found) raise(ora::kNoConstraintToDisable, primaryKey ? "PRIMARY KEY" : name);
        if (found->type == 'P' || found->type == 'U') {
            const std::set<std::string> referenced = referencedColumns(db_, table_);
            for (const std::string& c : found->columns)
                if (referenced.count(asciiUpper(c))) {
                    if (cascade) unsupported("DISABLE ... CASCADE");
                    raise(ora::kDisableWithDependencies, schema_ + "." + found->name);
                }
        }
        DisabledConstraint kept{table_, found->name, tableConstraintText(*found)};
        removeWhere([&](const std::string& kind, const std::string& itemName,
                        const std::vector<std::string>&) {
            return kind != "NOT" && !itemName.empty() && sameName(itemName, kept.name);
        });
        // The NOT NULL a primary key gave its columns goes with it (ENABLE gives it back).
        if (found->type == 'P')
            for (const std::string& name : found->columns)
                if (Column* column = def_.column(name))
                    column->clauses.erase(
                        std::remove_if(column->clauses.begin(), column->clauses.end(),
                                       [](const Clause& c) { return c.kind == "NOT" && c.name.empty(); }),
                        column->clauses.end());
        recordDisabledConstraint(db_, kept);
        recordValidation(db_, table_, kept.name, true);
    }

    // ENABLE CONSTRAINT name: a disabled constraint goes back into the definition, and the rows
    // are checked against it as for ADD; one that is enabled already stays as it is.
    // ENABLE PRIMARY KEY names the table's disabled primary key, if it has one.
    // validate false (ENABLE NOVALIDATE): the rows there are kept as they are; a key's unique
    // index still refuses duplicates among them, as Oracle's does.
    void enable(std::string name, bool primaryKey, bool validate = true) {
        if (primaryKey) {
            for (const DisabledConstraint& c : disabledConstraints(db_))
                if (sameName(c.table, table_) && parseItem(c.definition).kind == "PRIMARY")
                    name = c.name;
            if (name.empty() && def_.keys(true).empty())
                raise(ora::kNoConstraintToEnable, "PRIMARY KEY");
            if (name.empty()) return;
        }
        validate_ = validate;
        std::string definition;
        if (takeDisabledConstraint(db_, table_, name, definition)) {
            recordValidation(db_, table_, name, validate);
            return add(definition, true);
        }
        if (!def_.namesConstraint(name)) raise(ora::kNoConstraintToEnable, name);
        recordValidation(db_, table_, name, validate);
        // Enabled already: VALIDATE checks the rows there against it.
        if (!validate) return;
        for (const DeclaredConstraint& c : def_.constraints()) {
            if (c.name.empty() || !sameName(c.name, name)) continue;
            const std::string shown = constraintName(schema_, c.name);
            if (c.type == 'C') {
                validatesCheck_ = true;
                failures_.push_back([shown](int code) {
                    if (code == 2290) raise(ora::kCheckViolatedOnValidate, shown);
                });
            }
            if (c.type == 'R') foreignKeys_.push_back(shown);
        }
    }

    void modify(const std::string& spec) {
        TokenEditor e(lexSql(spec));
        std::size_t k = e.next(0);
        if (!e.name(k)) raise(ora::kInvalidIdentifier);
        const std::string name = identifierName(e.at(k));
        Column* column = def_.column(name);
        if (!column) raise(ora::kInvalidColumnIdentifier, name);
        // [type] [DEFAULT expr] [[CONSTRAINT n] NOT NULL | NULL]
        std::size_t typeStart = e.next(k + 1);
        k = typeStart;
        auto specEnd = [&](std::size_t m) {
            return m >= e.size() || e.word(m, "DEFAULT") || e.word(m, "CONSTRAINT") ||
                   (e.word(m, "NOT") && e.word(e.next(m + 1), "NULL")) || e.word(m, "NULL");
        };
        while (!specEnd(k)) k = e.next(e.punct(k, '(') ? e.pastParens(k) : k + 1);
        const std::string newType = trimmed(textOf(e, typeStart, k));
        std::string defaultText;
        bool hasDefault = false;
        if (e.word(k, "DEFAULT")) {
            hasDefault = true;
            const std::size_t from = e.next(k + 1);
            k = from;
            do {
                k = e.next(e.punct(k, '(') ? e.pastParens(k) : k + 1);
            } while (k < e.size() && !e.word(k, "CONSTRAINT") && !e.word(k, "NOT") &&
                     !e.word(k, "NULL"));
            defaultText = trimmed(textOf(e, from, k));
        }
        std::string nullName;
        int nullness = 0;  // 1: NOT NULL, -1: NULL
        if (e.word(k, "CONSTRAINT")) {
            const std::size_t n = e.next(k + 1);
            if (n < e.size()) nullName = identifierName(e.at(n));
            k = e.next(n + 1);
        }
        if (e.word(k, "NOT") && e.word(e.next(k + 1), "NULL")) {
            nullness = 1;
            k = e.next(e.next(k + 1) + 1);
        } else if (e.word(k, "NULL")) {
            nullness = -1;
            k = e.next(k + 1);
        }
        while (e.word(k, "ENABLE") || e.word(k, "VALIDATE")) k = e.next(k + 1);
        if (k < e.size()) unsupported("MODIFY with " + asciiUpper(e.at(k).text));

        const std::string quotedTable = "main." + sqlQuotedIdentifier(table_);
        const std::string quotedColumn = sqlQuotedIdentifier(column->name);
        if (!newType.empty() &&
            mapDeclaredType(newType).dataType != mapDeclaredType(column->type).dataType &&
            anyRow(db_, "SELECT 1 FROM " + quotedTable + " WHERE " + quotedColumn +
                            " IS NOT NULL LIMIT 1"))
            raise(ora::kColumnNotEmptyForType);
        // The type's own checks and the default as the client's CREATE TABLE writes them.
        const Column fresh = parseColumn(
            parseDefinition(rewriteSql("CREATE TABLE " + messageName() + " (" +
                                           column->nameText + " " +
                                           (newType.empty() ? column->type : newType) +
                                           (hasDefault ? " DEFAULT " + defaultText : "") + ")",
                                       schema_)
                                .sql)
                .items.at(0)
                .column.text());
        const auto primaryKeys = def_.keys(true);
        const bool primaryKeyColumn = std::any_of(
            primaryKeys.begin(), primaryKeys.end(), [&](const std::vector<std::string>& key) {
                return std::any_of(key.begin(), key.end(),
                                   [&](const std::string& c) { return sameName(c, column->name); });
            });
        if (nullness == 1 && column->has("NOT")) raise(ora::kAlreadyNotNull);
        if (nullness == -1 && (!column->has("NOT") || primaryKeyColumn)) raise(ora::kAlreadyNull);
        std::vector<Clause> clauses;
        for (const Clause& c : fresh.clauses)
            if (c.fromType() || (hasDefault && c.kind == "DEFAULT")) clauses.push_back(c);
        for (const Clause& c : column->clauses) {
            if (c.fromType() || (hasDefault && c.kind == "DEFAULT")) continue;
            if (nullness != 0 && (c.kind == "NOT" || c.kind == "NULL")) continue;
            clauses.push_back(c);
        }
        if (nullness == 1) {
            // Unnamed, it gets a SYS_C name as in CREATE TABLE.
            const std::string given = nullName.empty() ? names_.next() : nullName;
            clauses.push_back(
                {"NOT", given, "CONSTRAINT " + sqlQuotedIdentifier(given) + " NOT NULL"});
        }
        if (!newType.empty()) column->type = newType;
        column->clauses = clauses;
        const std::string shown =
            constraintName(schema_, nullName.empty() && nullness == 1 ? std::string() : nullName);
        failures_.push_back([shown, nullness](int code) {
            if (code == 1400 && nullness == 1) raise(ora::kNullsOnEnable, shown);
            if (code == 12899) raise(ora::kValueTooBigForLength);
            if (code == 1438) raise(ora::kColumnNotEmptyForPrecision);
        });
    }

    void run() {
        // A table whose foreign keys reference itself is rebuilt first without them: while the
        // rows are copied, the keys would name the old table, which may lack the key they
        // reference (a primary key and a self-reference added in one statement). The second
        // rebuild adds them and checks the rows against them.
        const std::string full = def_.createSql(sqlQuotedIdentifier(kRebuilt));
        if (!dropSelfReferences_ && withoutReferencesTo(full, table_) != full) {
            dropSelfReferences_ = true;
            rebuild();
            dropSelfReferences_ = false;
        }
        rebuild();
    }

  private:
    void rebuild() {
        const std::string where = "main.";
        auto definition = [&](const std::string& name) {
            const std::string sql = def_.createSql(name);
            return dropSelfReferences_ ? withoutReferencesTo(sql, table_) : sql;
        };
        const std::string createSql = definition(where + sqlQuotedIdentifier(kRebuilt));
        const std::vector<std::string> kept = column0(
            db_,
            "SELECT sql FROM main.sqlite_master WHERE tbl_name = ?1 COLLATE NOCASE AND type IN ('index', "
            "'trigger') AND sql IS NOT NULL ORDER BY type, rowid",
            table_);
        std::string columns;
        for (const std::string& c :
             column0(db_, "SELECT name FROM pragma_table_xinfo(?1, 'main') WHERE hidden = 0", table_))
            columns += (columns.empty() ? "" : ", ") + sqlQuotedIdentifier(c);
        const bool rowid = sqlite3_table_column_metadata(db_, "main", table_.c_str(), "rowid",
                                                         nullptr, nullptr, nullptr, nullptr,
                                                         nullptr) == SQLITE_OK &&
                           asciiUpper(def_.tail).find("WITHOUT") == std::string::npos;
        runOnce(db_, createSql);
        const std::string list = (rowid ? std::string("rowid, ") : std::string()) + columns;
        try {
            // Rows a CHECK enabled NOVALIDATE lets stay are copied as they are, unless this
            // statement validates a CHECK (which then checks them all).
            bool unvalidated = false;
            for (const auto& c : unvalidatedConstraints(db_))
                unvalidated = unvalidated || sameName(c.first, table_);
            const ChecksIgnored checks(db_, unvalidated && !validatesCheck_);
            runOnce(db_, "INSERT INTO " + where + sqlQuotedIdentifier(kRebuilt) + " (" + list +
                             ") SELECT " + list + " FROM " + where + sqlQuotedIdentifier(table_));
        } catch (const occi::SQLException& e) {
            for (const Failure& f : failures_) f(e.getErrorCode());
            throw;
        }
        if (!foreignKeys_.empty() &&
            anyRow(db_, "SELECT 1 FROM pragma_foreign_key_check(" +
                            sqlStringLiteral(kRebuilt) + ", 'main')"))
            raise(ora::kParentKeysNotFoundOnValidate, foreignKeys_.front());
        runOnce(db_, "DROP TABLE " + where + sqlQuotedIdentifier(table_));
        {
            // The old name stays in the views, triggers and other tables' keys that use it.
            DbConfigScope legacy(db_, SQLITE_DBCONFIG_LEGACY_ALTER_TABLE, 1);
            runOnce(db_, "ALTER TABLE " + where + sqlQuotedIdentifier(kRebuilt) + " RENAME TO " +
                             sqlQuotedIdentifier(table_));
        }
        // SQLite's rename quotes the name; the definition keeps it as it was written, which
        // tells the dictionary whether it is a quoted name.
        storeDefinition(db_, table_, definition(def_.nameText));
        for (const std::string& sql : kept) runOnce(db_, sql);
    }

  private:
    // The table's name as the type checks' messages show it: the name as created.
    std::string messageName() const {
        const bool plain = std::all_of(table_.begin(), table_.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#';
        });
        return plain ? table_ : sqlQuotedIdentifier(table_);
    }

    // A constraint as a table constraint of the stored definition: a column's own key, check or
    // reference written for the table.
    std::string tableConstraintText(const DeclaredConstraint& c) const {
        for (const Item& item : def_.items) {
            if (!item.isColumn) {
                if (sameName(item.name, c.name)) return item.text;
                continue;
            }
            for (const Clause& clause : item.column.clauses) {
                if (clause.name.empty() || !sameName(clause.name, c.name) || clause.kind == "NOT")
                    continue;
                const std::string named = "CONSTRAINT " + sqlQuotedIdentifier(c.name) + " ";
                const std::string column = "(" + item.column.nameText + ")";
                if (clause.kind == "PRIMARY") return named + "PRIMARY KEY " + column;
                if (clause.kind == "UNIQUE") return named + "UNIQUE " + column;
                // The clause's text from its keyword on, after CONSTRAINT name.
                const std::string upper = asciiUpper(clause.text);
                if (clause.kind == "CHECK") return named + clause.text.substr(upper.find("CHECK"));
                return named + "FOREIGN KEY " + column + " " +
                       clause.text.substr(upper.find("REFERENCES"));
            }
        }
        unsupported("DISABLE of this constraint");
    }

    static bool sameColumns(std::vector<std::string> a, std::vector<std::string> b) {
        for (auto& c : a) c = asciiUpper(c);
        for (auto& c : b) c = asciiUpper(c);
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        return a == b;
    }

    bool isIdentity(const std::string& column) {
        SqliteStmt s;
        try {
            s = prepareSql(db_, std::string("SELECT 1 FROM main.") +
                                    sqlQuotedIdentifier(kIdentityCatalog) +
                                    " WHERE TABLE_NAME = ?1 AND COLUMN_NAME = ?2");
        } catch (const occi::SQLException&) {
            return false;  // no identity column yet in this database
        }
        sqlite3_bind_text(s.get(), 1, asciiUpper(table_).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s.get(), 2, asciiUpper(column).c_str(), -1, SQLITE_TRANSIENT);
        return sqlite3_step(s.get()) == SQLITE_ROW;
    }

    // A foreign key names a parent table and its primary key or unique columns.
    void requireParentKey(const Item& item) {
        TokenEditor e(lexSql(item.text));
        std::size_t k = 0;
        while (k < e.size() && !e.word(k, "REFERENCES")) ++k;
        k = e.next(k + 1);
        if (!e.name(k)) raise(ora::kNoMatchingKey);
        const std::string parent = identifierName(e.at(k));
        std::vector<std::string> wanted;
        const std::size_t open = e.next(k + 1);
        if (e.punct(open, '(')) wanted = namesInParens(e, open);
        const bool self = sameName(parent, table_);
        if (!self && column0(db_, "SELECT name FROM main.sqlite_master WHERE type = 'table' AND "
                                  "name = ?1 COLLATE NOCASE",
                             parent)
                         .empty())
            raise(ora::kTableOrViewDoesNotExist);
        std::vector<std::vector<std::string>> keys;
        if (self) {
            for (bool p : {true, false})
                for (const auto& key : def_.keys(p)) keys.push_back(key);
        } else {
            const auto pk = column0(db_, "SELECT name FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk", parent);
            if (!pk.empty()) keys.push_back(pk);
            for (const std::string& index :
                 column0(db_, "SELECT name FROM pragma_index_list(?1) WHERE \"unique\"", parent))
                keys.push_back(column0(db_, "SELECT name FROM pragma_index_info(?1)", index));
        }
        if (wanted.empty()) {
            // No columns: the parent's primary key.
            const bool hasPrimaryKey =
                self ? !def_.keys(true).empty()
                     : !column0(db_, "SELECT name FROM pragma_table_info(?1) WHERE pk > 0", parent)
                            .empty();
            if (!hasPrimaryKey) raise(ora::kNoMatchingKey);
            return;
        }
        for (const auto& key : keys)
            if (sameColumns(key, wanted)) return;
        raise(ora::kNoMatchingKey);
    }

    // Removes the table constraints and column clauses test accepts (kind, name, key columns).
    template <typename Test>
    bool removeWhere(Test test) {
        bool any = false;
        std::vector<Item> kept;
        for (Item& item : def_.items) {
            if (!item.isColumn) {
                if (test(item.kind, item.name, item.keyColumns)) {
                    any = true;
                    continue;
                }
            } else {
                std::vector<Clause> clauses;
                for (const Clause& c : item.column.clauses) {
                    if (test(c.kind, c.name, std::vector<std::string>{item.column.name})) {
                        any = true;
                        continue;
                    }
                    clauses.push_back(c);
                }
                item.column.clauses = clauses;
            }
            kept.push_back(item);
        }
        def_.items = kept;
        return any;
    }

    sqlite3* db_;
    std::string table_, schema_;
    Definition def_;
    SystemConstraintNames names_;
    std::vector<Failure> failures_;
    std::vector<std::string> foreignKeys_;
    bool validate_ = true;         // the constraint added or enabled checks the rows there
    bool validatesCheck_ = false;  // a CHECK is added or enabled with VALIDATE
    bool cascade_ = false, dropSelfReferences_ = false;
};

// A constraint's state as ALTER TABLE gives it: ENABLE or DISABLE, then VALIDATE or NOVALIDATE
// (in either order; RELY and NORELY are taken and change nothing). end: the token after.
struct ConstraintState {
    bool given = false;
    bool enable = true;
    bool validate = true;  // unless NOVALIDATE; DISABLE alone does not validate
    bool cascade = false;
    std::size_t end = 0;
};

ConstraintState constraintState(const TokenEditor& e, std::size_t k) {
    ConstraintState state;
    bool validateSaid = false;
    for (;; k = e.next(k + 1)) {
        if (e.word(k, "ENABLE") || e.word(k, "DISABLE")) {
            state.given = true;
            state.enable = e.word(k, "ENABLE");
        } else if (e.word(k, "VALIDATE") || e.word(k, "NOVALIDATE")) {
            validateSaid = true;
            state.validate = e.word(k, "VALIDATE");
        } else if (!e.word(k, "RELY") && !e.word(k, "NORELY")) {
            break;
        }
    }
    if (!validateSaid) state.validate = state.enable;
    state.end = k;
    return state;
}

// Carries a state out: DISABLE [NOVALIDATE] leaves the constraint unenforced; ENABLE
// [VALIDATE] enforces it and checks the rows there; ENABLE NOVALIDATE enforces it for the rows
// written from now on. DISABLE VALIDATE (a table whose rows may no longer change) is refused.
void changeState(TableRebuild& rebuild, const ConstraintState& state,
                 const std::string& constraint, bool primaryKey) {
    if (!state.enable && state.validate) unsupported("DISABLE VALIDATE");
    if (state.enable)
        rebuild.enable(constraint, primaryKey, state.validate);
    else
        rebuild.disable(constraint, primaryKey, state.cascade);
}

}  // namespace

void alterTableByRebuild(sqlite3* db, const std::string& oracleSql, const std::string& schema) {
    TokenEditor e(lexSql(oracleSql));
    std::size_t i = e.next(e.next(e.next(0) + 1) + 1);  // past ALTER TABLE
    std::string owner, name;
    if (!qualifiedNameAt(e, i, owner, name)) raise(ora::kInvalidTableName);
    if (!owner.empty() && !sameName(owner, schema)) raise(ora::kTableOrViewDoesNotExist);
    const auto found = column0(db,
                               "SELECT name FROM main.sqlite_master WHERE type = 'table' AND "
                               "name = ?1 COLLATE NOCASE",
                               name);
    if (found.empty()) raise(ora::kTableOrViewDoesNotExist);
    TableRebuild rebuild(db, found[0], schema);
    const std::size_t what = e.next(i + 1);
    if (e.word(i, "ADD")) {
        for (const std::string& item : actionItems(e, what)) rebuild.add(item);
    } else if (e.word(i, "DROP")) {
        rebuild.drop(e, what);
    } else if (e.word(i, "MODIFY") &&
               (e.word(what, "CONSTRAINT") || e.word(what, "PRIMARY"))) {
        // MODIFY CONSTRAINT c state / MODIFY PRIMARY KEY state: the state after the name.
        const bool primaryKey = e.word(what, "PRIMARY");
        std::string constraint;
        const std::size_t k = e.next(what + 1);
        if (!primaryKey) {
            if (!e.name(k)) raise(ora::kInvalidConstraintName);
            constraint = identifierName(e.at(k));
        }
        const ConstraintState state = constraintState(e, e.next(k + 1));
        if (!state.given) raise(ora::kInvalidAlterTableOption);
        changeState(rebuild, state, constraint, primaryKey);
    } else if (e.word(i, "MODIFY")) {
        for (const std::string& item : actionItems(e, what)) rebuild.modify(item);
    } else if (e.word(i, "DISABLE") || e.word(i, "ENABLE")) {
        // ENABLE | DISABLE [VALIDATE | NOVALIDATE] CONSTRAINT c | PRIMARY KEY [CASCADE]
        ConstraintState state = constraintState(e, i);
        std::size_t k = state.end;
        const bool primaryKey = e.word(k, "PRIMARY");
        std::string constraint;
        if (!primaryKey) {
            const std::size_t n = e.next(k + 1);
            if (!e.name(n)) raise(ora::kInvalidConstraintName);
            constraint = identifierName(e.at(n));
            k = e.next(n + 1);
        } else {
            k = e.next(e.next(k + 1) + 1);
        }
        state.cascade = e.word(k, "CASCADE");
        changeState(rebuild, state, constraint, primaryKey);
    } else {
        unsupported(asciiUpper(i < e.size() ? e.at(i).text : std::string()));
    }
    rebuild.run();
}

}  // namespace detail
}  // namespace kavexdb
