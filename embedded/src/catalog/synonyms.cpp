#include "catalog/synonyms.h"

#include <map>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "functions/sql_function.h"
#include "sql/internal_names.h"
#include "sql/sql_context.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"
#include "functions/catalog.h"
#include "sql/internal_names.h"

namespace kavexdb {
namespace detail {

namespace {

const char* const kSynonymCatalog = "KAVEX$SYNONYM";
const char* const kPublic = "PUBLIC";
constexpr int kMaxChain = 32;

std::string catalog() { return sqlQuotedIdentifier(kSynonymCatalog); }

// An object's name as a statement writes it: plain when it needs no quotes.
std::string writtenName(const std::string& name) {
    bool plain = !name.empty() && name[0] >= 'A' && name[0] <= 'Z';
    for (char c : name)
        plain = plain && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                          c == '$' || c == '#');
    return plain ? name : sqlQuotedIdentifier(name);
}

std::string raiseIf(const OraMessage<0>& message, const std::string& condition) {
    return "SELECT " + raiseCall(message) + " WHERE " + condition;
}

std::string synonymExists(const std::string& owner, const std::string& name) {
    return "EXISTS (SELECT 1 FROM " + catalog() + " WHERE OWNER = " + sqlStringLiteral(owner) +
           " AND SYNONYM_NAME = " + sqlStringLiteral(name) + ")";
}

// [schema.]name at i: the name, and the schema (or "" when none); i moves past them.
bool qualifiedName(const TokenEditor& e, std::size_t& i, std::string& schema, std::string& name) {
    if (!e.name(i)) return false;
    name = identifierName(e.at(i));
    schema.clear();
    i = e.next(i + 1);
    if (e.punct(i, '.')) {
        const std::size_t second = e.next(i + 1);
        if (!e.name(second)) return false;
        schema = name;
        name = identifierName(e.at(second));
        i = e.next(second + 1);
    }
    return true;
}

void createSynonym(TokenEditor& e, std::size_t i, bool replace, bool isPublic,
                   const std::string& schema, RewrittenSql& out) {
    std::string ownerPrefix, name, targetOwner, target;
    if (!qualifiedName(e, i, ownerPrefix, name)) raise(ora::kInvalidTableName);
    if (e.word(i, "SHARING")) {  // SHARING = METADATA | NONE
        i = e.next(e.next(e.next(i + 1) + 1) + 1);
    }
    if (!e.word(i, "FOR")) raise(ora::kMissingKeyword);
    i = e.next(i + 1);
    if (!qualifiedName(e, i, targetOwner, target)) raise(ora::kInvalidTableName);
    if (e.punct(i, '@')) raise(ora::kRemoteDatabaseNotFound);
    if (i < e.size()) raise(ora::kCommandNotProperlyEnded);
    const std::string owner = isPublic ? kPublic : schema;
    if (targetOwner.empty()) targetOwner = schema;
    if (!isPublic && name == target && targetOwner == schema) raise(ora::kSynonymNamedAsObject);
    std::string taken;
    if (!isPublic) {
        // A private synonym shares its user's namespace with tables, views and sequences.
        taken = "EXISTS (SELECT 1 FROM main.sqlite_master WHERE upper(name) = " +
                sqlStringLiteral(asciiUpper(name)) +
                " AND type IN ('table', 'view')) OR EXISTS (SELECT 1 FROM "
                "json_each(ORA$SEQUENCE_ROWS()) j WHERE json_extract(j.value, '$[0]') = " +
                sqlStringLiteral(name) + ")";
    }
    if (!replace) taken += (taken.empty() ? "" : " OR ") + synonymExists(owner, name);
    if (!taken.empty()) out.ddl.catalogSql.push_back(raiseIf(ora::kNameAlreadyUsed, taken));
    out.ddl.catalogSql.push_back("INSERT OR REPLACE INTO " + catalog() + " VALUES (" +
                             sqlStringLiteral(owner) + ", " + sqlStringLiteral(name) + ", " +
                             sqlStringLiteral(targetOwner) + ", " + sqlStringLiteral(target) + ")");
}

void dropSynonym(TokenEditor& e, std::size_t i, bool isPublic, const std::string& schema,
                 RewrittenSql& out) {
    std::string ownerPrefix, name;
    if (!qualifiedName(e, i, ownerPrefix, name)) raise(ora::kInvalidTableName);
    if (e.word(i, "FORCE")) i = e.next(i + 1);
    if (i < e.size()) raise(ora::kCommandNotProperlyEnded);
    const std::string owner = isPublic ? kPublic : schema;
    out.ddl.catalogSql.push_back(
        isPublic ? raiseIf(ora::kNoPublicSynonymToDrop, "NOT " + synonymExists(owner, name))
                 : raiseIf(ora::kNoPrivateSynonymToDrop, "NOT " + synonymExists(owner, name)));
    out.ddl.catalogSql.push_back("DELETE FROM " + catalog() + " WHERE OWNER = " +
                             sqlStringLiteral(owner) + " AND SYNONYM_NAME = " +
                             sqlStringLiteral(name));
}

// ---- resolution ---------------------------------------------------------------------------

struct Synonyms {
    std::map<std::string, std::string> own, shared;  // name -> object name

    const std::string* find(const std::string& name) const {
        auto it = own.find(name);
        if (it != own.end()) return &it->second;
        it = shared.find(name);
        return it != shared.end() ? &it->second : nullptr;
    }
};

bool catalogExists(sqlite3* db, const char* table) {
    return sqlite3_table_column_metadata(db, "main", table, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, nullptr) == SQLITE_OK;
}

// Whether the one-row query with ?1 bound to name finds something.
bool found(sqlite3* db, const char* sql, const std::string& name) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return false;
    }
    SqliteStmt stmt(raw);
    sqlite3_bind_text(raw, 1, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
    return sqlite3_step(raw) == SQLITE_ROW;
}

bool tableExists(sqlite3* db, const std::string& name) {
    return found(db,
                 "SELECT 1 FROM main.sqlite_master WHERE type IN ('table', 'view') AND "
                 "upper(name) = upper(?1) UNION ALL SELECT 1 FROM temp.sqlite_master WHERE "
                 "type IN ('table', 'view') AND upper(name) = upper(?1)",
                 name);
}

bool sequenceExists(sqlite3* db, const std::string& name) {
    return found(db,
                 "SELECT 1 FROM json_each(ORA$SEQUENCE_ROWS()) j WHERE "
                 "json_extract(j.value, '$[0]') = ?1",
                 name);
}

Synonyms loadSynonyms(sqlite3* db, const std::string& schema) {
    Synonyms s;
    sqlite3_stmt* raw = nullptr;
    const std::string sql = "SELECT OWNER, SYNONYM_NAME, TABLE_NAME FROM " + catalog() +
                            " WHERE OWNER IN (?1, '" + kPublic + "')";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        raiseSqlite(db, sqlite3_errcode(db));
    }
    SqliteStmt stmt(raw);
    sqlite3_bind_text(raw, 1, schema.c_str(), static_cast<int>(schema.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(raw) == SQLITE_ROW) {
        auto text = [&](int c) {
            const unsigned char* v = sqlite3_column_text(raw, c);
            return v ? std::string(reinterpret_cast<const char*>(v)) : std::string();
        };
        (text(0) == kPublic ? s.shared : s.own)[text(1)] = text(2);
    }
    return s;
}

// The object a synonym finally stands for, following synonyms of synonyms.
std::string objectOf(sqlite3* db, const Synonyms& s, const std::string& synonym, bool sequence) {
    std::string name = synonym;
    for (int depth = 0; depth < kMaxChain; ++depth) {
        const std::string* next = s.find(name);
        if (!next) break;
        name = *next;
        if (sequence ? sequenceExists(db, name) : tableExists(db, name)) return name;
    }
    if (s.find(name)) raise(ora::kLoopingSynonymChain);
    raise(ora::kSynonymTranslationInvalid);
}

bool isTableWord(const TokenEditor& e, std::size_t i) {
    for (const char* w : {"FROM", "JOIN", "INTO", "UPDATE", "DELETE", "USING"})
        if (e.word(i, w)) return true;
    return false;
}

// Whether the token after a table name is its alias.
bool aliasFollows(const TokenEditor& e, std::size_t i) {
    if (i >= e.size()) return false;
    if (e.at(i).kind == Token::Kind::QuotedIdent || e.word(i, "AS")) return true;
    return e.at(i).kind == Token::Kind::Word && !isClauseWord(e, i) &&
           !e.word(i, "JOIN") && !e.word(i, "LEFT") && !e.word(i, "RIGHT") &&
           !e.word(i, "FULL") && !e.word(i, "INNER") && !e.word(i, "CROSS") &&
           !e.word(i, "NATURAL") && !e.word(i, "ON") && !e.word(i, "USING") &&
           !e.word(i, "SET") && !e.word(i, "VALUES") && !e.word(i, "PARTITION");
}

}  // namespace

bool rewriteSynonymDdl(TokenEditor& e, RewrittenSql& out, const std::string& sessionSchema) {
    std::size_t i = e.next(0);
    const bool create = e.word(i, "CREATE");
    if (!create && !e.word(i, "DROP")) return false;
    i = e.next(i + 1);
    bool replace = false, isPublic = false;
    if (create && e.word(i, "OR") && e.word(e.next(i + 1), "REPLACE")) {
        replace = true;
        i = e.next(e.next(i + 1) + 1);
    }
    if (create && (e.word(i, "EDITIONABLE") || e.word(i, "NONEDITIONABLE"))) i = e.next(i + 1);
    if (e.word(i, "PUBLIC")) {
        isPublic = true;
        i = e.next(i + 1);
    }
    if (!e.word(i, "SYNONYM")) return false;
    i = e.next(i + 1);
    out.sql = "CREATE TABLE IF NOT EXISTS " + catalog() +
              " (OWNER TEXT NOT NULL, SYNONYM_NAME TEXT NOT NULL, TABLE_OWNER TEXT, "
              "TABLE_NAME TEXT NOT NULL, PRIMARY KEY (OWNER, SYNONYM_NAME))";
    if (create)
        createSynonym(e, i, replace, isPublic, sessionSchema, out);
    else
        dropSynonym(e, i, isPublic, sessionSchema, out);
    return true;
}

std::string resolveSynonyms(sqlite3* db, const std::string& oracleSql,
                            const std::string& sessionSchema) {
    if (!catalogExists(db, kSynonymCatalog)) return oracleSql;
    TokenEditor e(lexSql(oracleSql));
    const std::size_t first = e.next(0);
    if (e.word(first, "CREATE") || e.word(first, "DROP") || e.word(first, "ALTER")) {
        // Only a view's or a table's query names synonyms in DDL.
        bool query = false;
        for (std::size_t i = first; i < e.size() && !query; i = e.next(i + 1))
            query = e.word(i, "SELECT");
        if (!query) return oracleSql;
    }
    Synonyms synonyms;
    bool loaded = false, changed = false;
    std::vector<bool> fromList{false};  // per parenthesis depth: inside a FROM clause
    for (std::size_t i = first; i < e.size(); i = e.next(i + 1)) {
        if (e.punct(i, '(')) {
            fromList.push_back(false);
            continue;
        }
        if (e.punct(i, ')')) {
            if (fromList.size() > 1) fromList.pop_back();
            continue;
        }
        if (e.word(i, "FROM")) {
            fromList.back() = true;
            continue;
        }
        if (e.at(i).kind == Token::Kind::Word && isClauseWord(e, i)) fromList.back() = false;
        if (!e.name(i) || isClauseWord(e, i)) continue;
        // [schema.]name where a table may stand, or name.NEXTVAL / name.CURRVAL.
        std::size_t start = i, before = e.previous(i);
        if (e.punct(before, '.')) {
            const std::size_t owner = e.previous(before);
            if (!e.word(owner, sessionSchema.c_str()) && !e.word(owner, kPublic)) continue;
            start = owner;
            before = e.previous(owner);
        }
        const std::size_t after = e.next(i + 1);
        const bool sequence = e.punct(after, '.') &&
                              (e.word(e.next(after + 1), "NEXTVAL") || e.word(e.next(after + 1), "CURRVAL"));
        const bool dmlTarget = e.word(before, "INTO") || e.word(before, "UPDATE") ||
                               e.word(before, "DELETE") ||
                               (e.word(before, "FROM") && e.word(e.previous(before), "DELETE"));
        const bool table = isTableWord(e, before) || (e.punct(before, ',') && fromList.back());
        if (!sequence && (!table || (e.punct(after, '(') && !dmlTarget) || e.punct(after, '.')))
            continue;
        const std::string name = identifierName(e.at(i));
        if (!loaded) {
            synonyms = loadSynonyms(db, sessionSchema);
            loaded = true;
        }
        if (!synonyms.find(name)) continue;
        if (!sequence && tableExists(db, name)) continue;  // a table of that name comes first
        const std::string object = writtenName(objectOf(db, synonyms, name, sequence));
        e.erase(start, i);
        // A query's table keeps the synonym as its alias, so names qualified by it still work.
        e[i].text = sequence || dmlTarget || aliasFollows(e, after)
                        ? object
                        : object + " " + e.at(i).text;
        changed = true;
    }
    return changed ? e.text() : oracleSql;
}

std::string synonymDictionaryQuery(const std::string& name, const std::string& sessionSchema) {
    const bool all = name == "ALL_SYNONYMS";
    if (!all && name != "USER_SYNONYMS") return std::string();
    const std::string owner = sqlStringLiteral(sessionSchema);
    return std::string("(SELECT ") + (all ? "json_extract(j.value, '$[0]') AS OWNER, " : "") +
           "json_extract(j.value, '$[1]') AS SYNONYM_NAME, "
           "json_extract(j.value, '$[2]') AS TABLE_OWNER, "
           "json_extract(j.value, '$[3]') AS TABLE_NAME, NULL AS DB_LINK, 0 AS ORIGIN_CON_ID "
           "FROM json_each(ORA$SYNONYM_ROWS()) j WHERE json_extract(j.value, '$[0]') " +
           (all ? "IN (" + owner + ", 'PUBLIC')" : "= " + owner) + ")";
}

namespace {

// ORA$SYNONYM_ROWS(): the catalog as a JSON array of [owner, name, table owner, table name]
// rows, empty when the database has no synonyms yet.
void synonymRows(sqlite3_context* ctx, int, sqlite3_value**) {
    sqlite3* db = sqlite3_context_db_handle(ctx);
    if (!catalogExists(db, kSynonymCatalog)) {
        sqlite3_result_text(ctx, "[]", 2, SQLITE_STATIC);
        return;
    }
    const std::string sql = "SELECT json_group_array(json_array(OWNER, SYNONYM_NAME, TABLE_OWNER, "
                            "TABLE_NAME)) FROM (SELECT * FROM " + catalog() +
                            " ORDER BY OWNER, SYNONYM_NAME)";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        sqlite3_result_error(ctx, sqlite3_errmsg(db), -1);
        return;
    }
    SqliteStmt stmt(raw);
    if (sqlite3_step(raw) == SQLITE_ROW)
        sqlite3_result_value(ctx, sqlite3_column_value(raw, 0));
    else
        sqlite3_result_text(ctx, "[]", 2, SQLITE_STATIC);
}

}  // namespace

namespace {

// ORA$SYNONYM_ROWS(), which the dictionary views read.
const FunctionRow kRows[] = {
    {kOraSynonymRows, 0, 0, synonymRows, nullptr, false},
};

}  // namespace

const FunctionFamily kSynonymFunctions{kRows};

}  // namespace detail
}  // namespace kavexdb
