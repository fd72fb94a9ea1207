// Describing result columns and named tables and views as Oracle's client reports them.
#include "exec/describe.h"

#include <map>
#include <set>
#include <utility>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "catalog/identity_catalog.h"
#include "functions/expression_types.h"
#include "rewrite/expr/concatenation.h"
#include "rewrite/expr/expression_rewrite.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"
#include "sql/token_editor.h"
#include "types/declared_type.h"

namespace kavexdb {
namespace detail {

const char* const kIdentityCatalog = "KAVEX$IDENTITY";

namespace {

using ColumnRecord = std::shared_ptr<MetaDataRecord>;

struct StmtCloser {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtCloser>;

Stmt prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
    Stmt stmt(raw);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
    return stmt;
}

std::string columnText(sqlite3_stmt* stmt, int i) {
    const unsigned char* text = sqlite3_column_text(stmt, i);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

// Names written as quoted identifiers in some SQL text: those keep their case when reported.
std::set<std::string> quotedNames(const char* sql) {
    std::set<std::string> names;
    if (!sql) return names;
    try {
        for (const Token& t : lexSql(sql))
            if (t.kind == Token::Kind::QuotedIdent) names.insert(identifierName(t));
    } catch (const occi::SQLException&) {
    }
    return names;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct Generation {
    bool identity = false, always = false, onNull = false;
};

// The identity columns recorded by CREATE TABLE, read once per describe.
class IdentityCatalog {
  public:
    explicit IdentityCatalog(sqlite3* db) {
        Stmt exists =
            prepare(db, std::string("SELECT 1 FROM main.sqlite_master WHERE type = 'table' "
                                    "AND name = '") +
                            kIdentityCatalog + "'");
        if (sqlite3_step(exists.get()) != SQLITE_ROW) return;
        Stmt rows = prepare(db, std::string("SELECT TABLE_NAME, COLUMN_NAME, GENERATION FROM \"") +
                                    kIdentityCatalog + "\"");
        while (sqlite3_step(rows.get()) == SQLITE_ROW)
            generations_[{columnText(rows.get(), 0), columnText(rows.get(), 1)}] =
                columnText(rows.get(), 2);
    }

    Generation find(const std::string& table, const std::string& column) const {
        Generation g;
        const auto it = generations_.find({asciiUpper(table), asciiUpper(column)});
        if (it == generations_.end()) return g;
        g.identity = true;
        g.always = it->second == "ALWAYS";
        g.onNull = it->second == "BY DEFAULT ON NULL";
        return g;
    }

  private:
    std::map<std::pair<std::string, std::string>, std::string> generations_;
};

// The quoted column names in each table's CREATE text, looked up once per table.
class TableDefinitions {
  public:
    explicit TableDefinitions(sqlite3* db) : db_(db) {}

    bool quotedInDefinition(const std::string& database, const std::string& table,
                            const std::string& column) {
        const auto key = std::make_pair(database, table);
        auto it = quoted_.find(key);
        if (it == quoted_.end()) {
            const std::string master = database == "temp"
                                           ? "sqlite_temp_master"
                                           : sqlQuotedIdentifier(database) + ".sqlite_master";
            Stmt stmt = prepare(db_, "SELECT sql FROM " + master + " WHERE name = ?1");
            sqlite3_bind_text(stmt.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
            std::set<std::string> names;
            if (sqlite3_step(stmt.get()) == SQLITE_ROW)
                names =
                    quotedNames(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0)));
            it = quoted_.emplace(key, std::move(names)).first;
        }
        return it->second.count(column) != 0;
    }

  private:
    sqlite3* db_;
    std::map<std::pair<std::string, std::string>, std::set<std::string>> quoted_;
};

void applyType(MetaDataRecord& r, const DeclaredType& t) {
    r.dataType = t.dataType;
    r.dataSize = t.size;
    r.precision = t.precision;
    r.scale = t.scale;
    r.charSetForm = t.charSetForm;
    r.typeName = t.typeName;
}

DeclaredType typeFromSample(const ColumnSample& sample) {
    DeclaredType t;
    const int length = static_cast<int>(sample.maxTextBytes > 0 ? sample.maxTextBytes : 1);
    switch (sample.sqliteType) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            t = mapDeclaredType("NUMBER");
            break;
        case SQLITE_BLOB:
            t = mapDeclaredType("RAW");
            t.size = length;
            break;
        case SQLITE_TEXT:
            t = mapDeclaredType("VARCHAR2");
            t.size = length;
            break;
        default:
            t = mapDeclaredType("VARCHAR2(1)");
            break;
    }
    return t;
}

// An expression whose values were all DATE, TIMESTAMP or INTERVAL storage texts (MIN of a DATE column,
// date arithmetic, a DATE literal) is of that type; the storage texts are only made for such
// values, except by a string literal or a TO_CHAR that happens to spell one.
bool isDatetimeExpression(const std::string& name, const ColumnSample& sample) {
    if (sample.sqliteType != SQLITE_TEXT || sample.datetimeType <= 0) return false;
    const std::string upper = asciiUpper(name);
    return !name.empty() && name[0] != '\'' && upper.find("TO_CHAR") == std::string::npos &&
           upper.find("||") == std::string::npos;
}

// The name Oracle reports for result column i: unquoted names and expression text in upper case
// (string literals untouched), quoted names as written.
std::string reportedName(sqlite3_stmt* stmt, int i, const std::set<std::string>& quotedInQuery,
                         TableDefinitions& tables) {
    const char* raw = sqlite3_column_name(stmt, i);
    // An expression the rewriting changed is named by its original text.
    if (raw && isExpressionAlias(raw)) return upperOutsideQuotes(reportedColumnName(raw));
    const std::string name = unwrapConcatenation(raw ? raw : "");
    if (quotedInQuery.count(name)) return name;
    const char* origin = sqlite3_column_origin_name(stmt, i);
    const char* table = sqlite3_column_table_name(stmt, i);
    const char* database = sqlite3_column_database_name(stmt, i);
    if (origin && table && database && name == origin &&
        tables.quotedInDefinition(database, table, name))
        return name;
    // The clock functions were rewritten into calls; report them as written.
    std::string upper = upperOutsideQuotes(name);
    upper = replaceAll(upper, "SYSTIMESTAMP()", "SYSTIMESTAMP");
    return replaceAll(upper, "SYSDATE()", "SYSDATE");
}

std::vector<ColumnRecord> describeColumns(sqlite3* db, sqlite3_stmt* stmt,
                                          const std::vector<ColumnSample>& samples) {
    const IdentityCatalog identities(db);
    TableDefinitions tables(db);
    const std::set<std::string> quotedInQuery = quotedNames(sqlite3_sql(stmt));
    const std::vector<ExpressionType> expressions = expressionTypes(db, stmt);
    std::vector<ColumnRecord> columns;
    const int count = sqlite3_column_count(stmt);
    for (int i = 0; i < count; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        const ColumnSample sample = at < samples.size() ? samples[at] : ColumnSample();
        auto r = std::make_shared<MetaDataRecord>();
        r->paramType = occi::MetaData::PTYPE_COL;
        r->name = reportedName(stmt, i, quotedInQuery, tables);
        const char* decl = sqlite3_column_decltype(stmt, i);
        const char* origin = sqlite3_column_origin_name(stmt, i);
        const char* table = sqlite3_column_table_name(stmt, i);
        const char* database = sqlite3_column_database_name(stmt, i);
        if (origin && table && r->name == "ROWID") {
            applyType(*r, mapDeclaredType("ROWID"));
        } else if (decl && *decl) {
            applyType(*r, mapDeclaredType(decl));
        } else if (expressions[at].known) {
            DeclaredType t = expressions[at].type;
            // A text expression is as wide as its widest value fetched, when there was one.
            if (t.dataType == 1 && sample.sqliteType == SQLITE_TEXT)
                t.size = static_cast<int>(sample.maxTextBytes > 0 ? sample.maxTextBytes : 1);
            applyType(*r, t);
        } else if (isDatetimeExpression(r->name, sample)) {
            const int type = sample.datetimeType;
            const std::string leading = std::to_string(sample.intervalLeading);
            applyType(*r, mapDeclaredType(
                              type == 12    ? "DATE"
                              : type == 187 ? "TIMESTAMP"
                              : type == 188 ? "TIMESTAMP WITH TIME ZONE"
                              : type == 189 ? "INTERVAL YEAR TO MONTH(" + leading + ")"
                                            : "INTERVAL DAY TO SECOND(" + leading + "," +
                                                  std::to_string(sample.intervalFraction) + ")"));
        } else if (expressions[at].numberUnlessDatetime) {
            applyType(*r, mapDeclaredType("NUMBER"));
        } else if (r->name == "SYSDATE" || r->name.compare(0, 8, "TO_DATE(") == 0) {
            applyType(*r, mapDeclaredType("DATE"));
        } else if (r->name == "SYSTIMESTAMP") {
            applyType(*r, mapDeclaredType("TIMESTAMP WITH TIME ZONE"));
        } else {
            applyType(*r, typeFromSample(sample));
        }
        r->isNull = true;
        if (origin && table && database) {
            int notNull = 0, primaryKey = 0, autoinc = 0;
            if (sqlite3_table_column_metadata(db, database, table, origin, nullptr, nullptr,
                                              &notNull, &primaryKey, &autoinc) == SQLITE_OK)
                r->isNull = !notNull && !primaryKey;
            const Generation g = identities.find(table, origin);
            r->isIdentity = g.identity;
            r->isGenAlways = g.always;
            r->isGenByDefOnNull = g.onNull;
            if (g.identity) r->isNull = false;
        }
        columns.push_back(std::move(r));
    }
    return columns;
}

struct ObjectName {
    std::string schema;  // empty when not given
    std::string name;
};

bool parseObjectName(const std::string& text, ObjectName& out) {
    std::vector<Token> parts;
    try {
        for (Token& t : lexSql(text))
            if (t.significant()) parts.push_back(std::move(t));
    } catch (const occi::SQLException&) {
        return false;
    }
    auto isName = [](const Token& t) {
        return t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent;
    };
    if (parts.size() == 1 && isName(parts[0])) {
        out.name = identifierName(parts[0]);
        return true;
    }
    if (parts.size() == 3 && isName(parts[0]) && parts[1].isPunct('.') && isName(parts[2])) {
        out.schema = identifierName(parts[0]);
        out.name = identifierName(parts[2]);
        return true;
    }
    return false;
}

struct FoundObject {
    std::string database, name, type, sql;
};

bool findObject(sqlite3* db, const std::string& name, FoundObject& out) {
    for (const char* database : {"main", "temp"}) {
        const std::string master =
            std::string(database) == "temp" ? "sqlite_temp_master" : "main.sqlite_master";
        Stmt stmt =
            prepare(db, "SELECT name, type, sql FROM " + master +
                            " WHERE type IN ('table', 'view') AND name = ?1 COLLATE NOCASE");
        sqlite3_bind_text(stmt.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(stmt.get()) == SQLITE_ROW) {
            out.database = database;
            out.name = columnText(stmt.get(), 0);
            out.type = columnText(stmt.get(), 1);
            out.sql = columnText(stmt.get(), 2);
            return true;
        }
    }
    return false;
}

}  // namespace

// Rows read from an object to type its columns that have no declared type.
constexpr int kSampleRows = 50;

std::vector<ColumnSample> sampleUntypedColumns(sqlite3* db, sqlite3_stmt* stmt, bool allRows) {
    const int count = sqlite3_column_count(stmt);
    std::vector<ColumnSample> samples(static_cast<std::size_t>(count));
    bool untyped = false;
    for (int i = 0; i < count; ++i) {
        const char* decl = sqlite3_column_decltype(stmt, i);
        if (!decl || !*decl) untyped = true;
    }
    if (!untyped) return samples;
    int rc = SQLITE_ROW;
    for (int row = 0; (allRows || row < kSampleRows) && (rc = sqlite3_step(stmt)) == SQLITE_ROW;
         ++row) {
        for (int i = 0; i < count; ++i) {
            ColumnSample& s = samples[static_cast<std::size_t>(i)];
            const int type = sqlite3_column_type(stmt, i);
            if (type == SQLITE_NULL) continue;
            if (s.sqliteType == SQLITE_NULL || type == SQLITE_TEXT) s.sqliteType = type;
            if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
                const std::size_t bytes = static_cast<std::size_t>(sqlite3_column_bytes(stmt, i));
                if (bytes > s.maxTextBytes) s.maxTextBytes = bytes;
            }
        }
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) raiseSqlite(db, rc);
    return samples;
}

std::vector<occi::MetaData> describeResultColumns(sqlite3* db, sqlite3_stmt* stmt,
                                                  const std::vector<ColumnSample>& samples) {
    std::vector<occi::MetaData> out;
    for (ColumnRecord& r : describeColumns(db, stmt, samples))
        out.push_back(makeMetaData(std::move(r)));
    return out;
}

occi::MetaData describeObject(sqlite3* db, const std::string& sessionSchema,
                              const std::string& name) {
    const std::string shown = upperOutsideQuotes(trimmed(name));
    ObjectName object;
    FoundObject found;
    if (!parseObjectName(name, object) ||
        (!object.schema.empty() && object.schema != sessionSchema) ||
        !findObject(db, object.name, found))
        raise(ora::kObjectDoesNotExist, shown);

    auto record = std::make_shared<MetaDataRecord>();
    record->paramType =
        found.type == "view" ? occi::MetaData::PTYPE_VIEW : occi::MetaData::PTYPE_TABLE;
    record->name =
        quotedNames(found.sql.c_str()).count(found.name) ? found.name : asciiUpper(found.name);
    record->objSchema = sessionSchema;
    record->schemaName = sessionSchema;

    const std::string master = found.database == "temp" ? "temp" : "main";
    Stmt stmt = prepare(db, "SELECT * FROM " + master + "." + sqlQuotedIdentifier(found.name));
    const std::vector<ColumnSample> samples = sampleUntypedColumns(db, stmt.get());
    for (ColumnRecord& column : describeColumns(db, stmt.get(), samples)) {
        column->objSchema = sessionSchema;
        record->columns.push_back(makeMetaData(std::move(column)));
    }
    return makeMetaData(std::move(record));
}

}  // namespace detail
}  // namespace kavexdb
