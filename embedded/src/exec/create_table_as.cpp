// CREATE TABLE ... AS query, run as a CREATE TABLE of the query's described columns and an
// INSERT ... SELECT.
#include "exec/create_table_as.h"

#include "base/errors.h"
#include "base/ora_messages.h"
#include "catalog/ddl_effects.h"
#include "exec/describe.h"
#include "rewrite/dml/write_conversion.h"
#include "rewrite/expr/clob_text.h"
#include "rewrite/expr/comparison_types.h"
#include "rewrite/pipeline.h"
#include "rewrite/sql_rewrite.h"
#include "sql/sql_lexer.h"
#include "sql/token_editor.h"

namespace kavexdb {
namespace detail {
namespace {

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// Oracle's name for a described column's type, as a CREATE TABLE would declare it.
std::string declaredTypeOf(const occi::MetaData& m) {
    const int type = m.getInt(occi::MetaData::ATTR_DATA_TYPE);
    const int size = m.getInt(occi::MetaData::ATTR_DATA_SIZE);
    const int precision = m.getInt(occi::MetaData::ATTR_PRECISION);
    const int scale = m.getInt(occi::MetaData::ATTR_SCALE);
    const bool national = m.getInt(occi::MetaData::ATTR_CHARSET_FORM) == 2;
    const std::string width = "(" + std::to_string(size > 0 ? size : 1) + ")";
    switch (type) {
    case 1: return (national ? "NVARCHAR2" : "VARCHAR2") + width;
    case 96: return (national ? "NCHAR" : "CHAR") + width;
    case 2:
        if (precision == 0) return "NUMBER";
        if (scale == -127) return "FLOAT(" + std::to_string(precision) + ")";
        return "NUMBER(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
    case 100: return "BINARY_FLOAT";
    case 101: return "BINARY_DOUBLE";
    case 12: return "DATE";
    case 187: return "TIMESTAMP(" + std::to_string(scale) + ")";
    case 188: return "TIMESTAMP(" + std::to_string(scale) + ") WITH TIME ZONE";
    case 232: return "TIMESTAMP(" + std::to_string(scale) + ") WITH LOCAL TIME ZONE";
    case 112: return national ? "NCLOB" : "CLOB";
    case 113: return "BLOB";
    case 23: return "RAW" + width;
    case 8: return "LONG";
    case 24: return "LONG RAW";
    case 189: return "INTERVAL YEAR(" + std::to_string(precision) + ") TO MONTH";
    case 190:
        return "INTERVAL DAY(" + std::to_string(precision) + ") TO SECOND(" +
               std::to_string(scale) + ")";
    case 104: return "ROWID";
    default: return "VARCHAR2(4000)";
    }
}

// A name Oracle takes for a column without quotes, or a quoted name: an expression's text is
// neither.
bool isColumnName(const std::string& name) {
    if (name.empty() || name.size() > 128) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#' ||
              static_cast<unsigned char>(c) >= 0x80))
            return false;
    return !std::isdigit(static_cast<unsigned char>(name[0]));
}

// Oracle SQL of a query or DML statement -> SQLite SQL, as a statement of its own gets it.
std::string sqliteSql(sqlite3* db, const std::string& oracleSql, const std::string& schema,
                      RewrittenSql::Kind kind) {
    const PreparedSql prepared = prepareStatementSql(db, oracleSql, schema);
    if (prepared.plan.kind != kind || !prepared.plan.dml.steps.empty())
        raise(ora::kMissingSelectKeyword);
    return prepared.plan.sql;
}

}  // namespace

void runCreateTableAs(sqlite3* db, const CreateTableAs& statement,
                      const std::string& sessionSchema) {
    std::vector<occi::MetaData> described;
    {
        SqliteStmt query = prepareSql(
            db, sqliteSql(db, statement.query, sessionSchema, RewrittenSql::Kind::Query));
        if (!query) raise(ora::kMissingExpression);
        if (sqlite3_bind_parameter_count(query.get()) > 0) raise(ora::kBindVariablesInDdl);
        // Every row: a text column must be as wide as the widest value it will hold.
        described =
            describeResultColumns(db, query.get(), sampleUntypedColumns(db, query.get(), true));
    }
    if (!statement.columns.empty() && statement.columns.size() != described.size())
        raise(ora::kInvalidColumnNameCount);
    std::string definitions;
    for (std::size_t c = 0; c < described.size(); ++c) {
        std::string name;
        if (statement.columns.empty()) {
            name = described[c].getString(occi::MetaData::ATTR_NAME);
            if (!isColumnName(name)) raise(ora::kColumnAliasRequired);
            name = quoted(name);
        } else {
            name = statement.columns[c];
        }
        definitions += (c ? ", " : "") + name + " " + declaredTypeOf(described[c]);
    }
    const RewrittenSql create =
        rewriteSql("CREATE TABLE " + statement.table + " (" + definitions + ")", sessionSchema);
    runOnce(db, create.sql);
    applyDdlEffects(db, create);
    runOnce(db, sqliteSql(db, "INSERT INTO " + statement.table + " " + statement.query,
                         sessionSchema, RewrittenSql::Kind::Dml));
}

}  // namespace detail
}  // namespace kavexdb
