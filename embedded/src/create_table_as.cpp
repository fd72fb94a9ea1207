// CREATE TABLE ... AS query, run as a CREATE TABLE of the query's described columns and an
// INSERT ... SELECT.
#include "create_table_as.h"

#include "comparison_types.h"
#include "detail.h"
#include "sql_lexer.h"
#include "sql_rewrite.h"
#include "write_conversion.h"

namespace kavexdb {
namespace detail {
namespace {

// Significant tokens with the index of each in the full list.
struct Significant {
    std::vector<Token> all;
    std::vector<std::size_t> at;
    bool word(std::size_t i, const char* upper) const {
        return i < at.size() && all[at[i]].isWord(upper);
    }
    bool punct(std::size_t i, char c) const { return i < at.size() && all[at[i]].isPunct(c); }
    bool name(std::size_t i) const {
        return i < at.size() &&
               (all[at[i]].kind == Token::Kind::Word || all[at[i]].kind == Token::Kind::QuotedIdent);
    }
    // The position of the parenthesis that closes the one at open; at.size() when none does.
    std::size_t closing(std::size_t open) const {
        int depth = 0;
        for (std::size_t k = open; k < at.size(); ++k) {
            if (punct(k, '(')) ++depth;
            if (punct(k, ')') && --depth == 0) return k;
        }
        return at.size();
    }
    std::string join(std::size_t from, std::size_t to) const {  // significant positions
        const std::size_t end = to < at.size() ? at[to] : all.size();
        return joinTokens(std::vector<Token>(all.begin() + static_cast<long>(at[from]),
                                             all.begin() + static_cast<long>(end)));
    }
};

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
    const RewrittenSql r = rewriteSql(oracleSql, schema);
    if (r.kind != kind || !r.steps.empty()) raise(928, "missing SELECT keyword");
    std::string sql = typeComparisons(db, r.sql);
    return kind == RewrittenSql::Kind::Dml ? addWriteConversions(db, sql).sql : sql;
}

void runOne(sqlite3* db, const std::string& sql) {
    SqliteStmt stmt = prepareSql(db, sql);
    if (sqlite3_bind_parameter_count(stmt.get()) > 0)
        raise(1027, "bind variables not allowed for data definition operations");
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) raiseSqlite(db, rc);
}

}  // namespace

bool parseCreateTableAs(const std::string& oracleSql, CreateTableAs& out) {
    Significant s;
    s.all = lexSql(oracleSql);
    for (std::size_t i = 0; i < s.all.size(); ++i)
        if (s.all[i].significant()) s.at.push_back(i);
    if (!s.word(0, "CREATE") || !s.word(1, "TABLE")) return false;
    std::size_t i = 2;
    if (s.word(i, "IF") && s.word(i + 1, "NOT") && s.word(i + 2, "EXISTS")) return false;
    const std::size_t nameStart = i;
    if (!s.name(i)) return false;
    ++i;
    while (s.punct(i, '.') && s.name(i + 1)) i += 2;
    const std::size_t nameEnd = i;
    std::vector<std::string> columns;
    if (s.punct(i, '(')) {
        for (++i;; i += 2) {
            if (!s.name(i)) return false;  // column definitions: an ordinary CREATE TABLE
            columns.push_back(s.all[s.at[i]].text);
            if (s.punct(i + 1, ')')) break;
            if (!s.punct(i + 1, ',')) return false;
        }
        i += 2;
    }
    if (!s.word(i, "AS") || i + 1 >= s.at.size()) return false;
    out.table = s.join(nameStart, nameEnd);
    out.columns = std::move(columns);
    std::size_t last = s.at.size() - 1;
    while (last > i && s.punct(last, ';')) --last;
    // AS (query): the parentheses would read as a column list after INSERT INTO name.
    std::size_t first = i + 1;
    while (s.punct(first, '(') && s.closing(first) == last) {
        ++first;
        --last;
    }
    if (first > last) return false;
    out.query = s.join(first, last + 1);
    return true;
}

void runCreateTableAs(sqlite3* db, const CreateTableAs& statement,
                      const std::string& sessionSchema) {
    std::vector<occi::MetaData> described;
    {
        SqliteStmt query = prepareSql(
            db, sqliteSql(db, statement.query, sessionSchema, RewrittenSql::Kind::Query));
        if (!query) raise(936, "missing expression");
        if (sqlite3_bind_parameter_count(query.get()) > 0)
            raise(1027, "bind variables not allowed for data definition operations");
        described = describeResultColumns(db, query.get(), sampleUntypedColumns(db, query.get()));
    }
    if (!statement.columns.empty() && statement.columns.size() != described.size())
        raise(1730, "invalid number of column names specified");
    std::string definitions;
    for (std::size_t c = 0; c < described.size(); ++c) {
        std::string name;
        if (statement.columns.empty()) {
            name = described[c].getString(occi::MetaData::ATTR_NAME);
            if (!isColumnName(name)) raise(998, "must name this expression with a column alias");
            name = quoted(name);
        } else {
            name = statement.columns[c];
        }
        definitions += (c ? ", " : "") + name + " " + declaredTypeOf(described[c]);
    }
    const RewrittenSql create =
        rewriteSql("CREATE TABLE " + statement.table + " (" + definitions + ")", sessionSchema);
    runOne(db, create.sql);
    applyDdlEffects(db, create);
    runOne(db, sqliteSql(db, "INSERT INTO " + statement.table + " " + statement.query,
                         sessionSchema, RewrittenSql::Kind::Dml));
}

}  // namespace detail
}  // namespace kavexdb
