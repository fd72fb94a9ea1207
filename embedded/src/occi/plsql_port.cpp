#include "occi/plsql_port.h"

#include <cstring>
#include <set>

#include "base/ora_messages.h"
#include "catalog/stored_triggers.h"
#include "catalog/stored_units.h"
#include "catalog/unit_dependencies.h"
#include "functions/conversion_functions.h"
#include "functions/function_args.h"
#include "functions/sql_values.h"
#include "occi/connection.h"
#include "occi/result_set.h"
#include "occi/statement.h"
#include "plsql/block_runner.h"
#include "plsql/number_value.h"
#include "plsql/output_buffer.h"
#include "plsql/triggers.h"
#include "rewrite/pipeline.h"
#include "sql/internal_names.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "sql/sqlite_util.h"
#include "types/number_storage.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

using plsql::Value;
using plsql::ValueType;

ValueType columnValueType(int code) {
    switch (code) {
        case occi::OCCI_SQLT_NUM:
        case occi::OCCIINT:
            return ValueType::Number;
        case 100:  // BINARY_FLOAT
        case 101:  // BINARY_DOUBLE
            return ValueType::BinaryDouble;
        case occi::OCCI_SQLT_DAT:
            return ValueType::Date;
        case occi::OCCI_SQLT_TIMESTAMP:
        case occi::OCCI_SQLT_TIMESTAMP_TZ:
        case occi::OCCI_SQLT_TIMESTAMP_LTZ:
            return ValueType::Timestamp;
        case occi::OCCI_SQLT_CLOB:
            return ValueType::Clob;
        case occi::OCCI_SQLT_BLOB:
        case occi::OCCI_SQLT_BIN:
        case occi::OCCI_SQLT_LBI:
            return ValueType::Raw;
        default:
            return ValueType::Text;
    }
}

namespace {

// A text in a NUMBER column of a result: the exact digits of a number past a double's, or (in
// a column whose values describe themselves) a text.
void numberOrText(Value& v) {
    Decimal d;
    if (parseDecimal(v.data.bytes, d))
        v = plsql::numberValue(numberOf(std::move(d)));
    else
        v.type = ValueType::Text;
}

class StatementCursor final : public plsql::SqlCursor {
  public:
    StatementCursor(ConnectionImpl& connection, const std::string& sql)
        : connection_(connection),
          statement_(static_cast<StatementImpl*>(connection.createStatement(sql))) {
        statement_->setPrefetchRowCount(64);
    }
    ~StatementCursor() override { connection_.terminateStatement(statement_); }
    StatementCursor(const StatementCursor&) = delete;
    StatementCursor& operator=(const StatementCursor&) = delete;

    void bind(unsigned index, const Value& value) override {
        if (value.type == ValueType::Number && value.data.kind == BindValue::Kind::Text) {
            // A NUMBER past a double's digits goes in as a column stores it: a number to
            // every comparison and function, which its text would not be.
            BindValue stored;
            stored.kind = BindValue::Kind::Blob;
            stored.bytes = numberKey(decimalOf(plsql::numberIn(value)));
            statement_->bindValue(index, std::move(stored));
            return;
        }
        statement_->bindValue(index, value.data);
    }
    void execute() override {
        statement_->dropEndedResultSets();  // its columns stay described: the text is the same
        rows_ = nullptr;
        if (statement_->execute("") == occi::Statement::RESULT_SET_AVAILABLE)
            rows_ = static_cast<ResultSetImpl*>(statement_->getResultSet());
    }
    bool isQuery() const override { return rows_ != nullptr; }
    bool next() override { return rows_ && rows_->next(1) == occi::ResultSet::DATA_AVAILABLE; }
    unsigned columnCount() override {
        describe();
        return static_cast<unsigned>(names_.size());
    }
    std::string columnName(unsigned index) override {
        describe();
        return index - 1 < names_.size() ? names_[index - 1] : std::string();
    }
    Value column(unsigned index) override {
        describe();
        Value v;
        v.data = rows_->value(index);
        v.type = index - 1 < types_.size() ? types_[index - 1] : ValueType::Text;
        const BindValue::Kind k = v.data.kind;
        if ((k == BindValue::Kind::Integer || k == BindValue::Kind::Real) &&
            v.type != ValueType::BinaryDouble)
            v.type = ValueType::Number;
        else if (k == BindValue::Kind::Text && v.type == ValueType::Number)
            numberOrText(v);
        else if (k == BindValue::Kind::Blob && v.type != ValueType::Clob)
            v.type = ValueType::Raw;
        return v;
    }
    unsigned rowsChanged() const override { return rows_ ? 0 : statement_->getUpdateCount(); }
    void keepReturnedRows() override { statement_->keepReturnedRows(&returnedSql_); }
    const std::vector<std::vector<Value>>& returnedRows() const override {
        returned_.clear();
        for (const auto& row : returnedSql_) {
            std::vector<Value> values;
            for (const BindValue& b : row) {
                Value v;
                v.data = b;
                v.type = b.kind == BindValue::Kind::Integer || b.kind == BindValue::Kind::Real
                             ? ValueType::Number
                         : b.kind == BindValue::Kind::Blob ? ValueType::Raw
                         : b.kind == BindValue::Kind::Text ? ValueType::Text
                                                           : ValueType::Unknown;
                Decimal stored;  // a NUMBER past a double's digits, as its column keeps it
                if (b.kind == BindValue::Kind::Blob &&
                    storedNumber(b.bytes.data(), b.bytes.size(), &stored))
                    v = plsql::numberValue(numberOf(std::move(stored)));
                values.push_back(std::move(v));
            }
            returned_.push_back(std::move(values));
        }
        return returned_;
    }

  private:
    void describe() {
        if (described_ || !rows_) return;
        for (const occi::MetaData& m : rows_->getColumnListMetaData()) {
            names_.push_back(m.getString(occi::MetaData::ATTR_NAME));
            types_.push_back(columnValueType(m.getInt(occi::MetaData::ATTR_DATA_TYPE)));
        }
        described_ = true;
    }

    ConnectionImpl& connection_;
    StatementImpl* statement_;
    ResultSetImpl* rows_ = nullptr;
    bool described_ = false;
    std::vector<std::string> names_;
    std::vector<ValueType> types_;
    std::vector<std::vector<BindValue>> returnedSql_;
    mutable std::vector<std::vector<Value>> returned_;
};

// The columns of a table or view, described; none when it does not exist.
std::vector<occi::MetaData> describedColumns(ConnectionImpl& connection, const std::string& name) {
    try {
        const occi::MetaData table = connection.getMetaData(name, occi::MetaData::PTYPE_UNK);
        return table.getVector(occi::MetaData::ATTR_LIST_COLUMNS);
    } catch (const occi::SQLException&) {
        return {};
    }
}

}  // namespace

std::unique_ptr<plsql::SqlCursor> PlSqlPort::prepare(const std::string& sql) {
    if (fromQuery_) {
        // A function a query calls reads; Oracle refuses its DML (ORA-14551).
        std::size_t first = sql.find_first_not_of(" \t\r\n(");
        const std::string verb = upperAscii(sql.substr(first == std::string::npos ? 0 : first, 6));
        if (verb.compare(0, 6, "SELECT") != 0 && verb.compare(0, 4, "WITH") != 0)
            raise(ora::kDmlInsideQuery);
    }
    if (inTrigger_) {
        // A trigger runs inside its statement: it cannot end the transaction (DDL would).
        const std::size_t first = sql.find_first_not_of(" \t\r\n");
        const std::string verb = upperAscii(sql.substr(first == std::string::npos ? 0 : first, 8));
        for (const char* ends : {"COMMIT", "ROLLBACK", "CREATE", "ALTER", "DROP", "TRUNCATE"})
            if (verb.compare(0, std::strlen(ends), ends) == 0)
                raise(ora::kTransactionInTrigger, verb.compare(0, 8, "ROLLBACK") == 0 ? "ROLLBACK" : "COMMIT");
    }
    return std::make_unique<StatementCursor>(connection_, sql);
}

void PlSqlPort::saveTrigger(const TriggerDefinition& trigger, const plsql::UnitSource& source,
                            bool orReplace) {
    sqlite3* db = connection_.db();
    connection_.triggers().forget();
    StoredUnit other;
    if (findStoredUnit(db, source.name, other) && other.type != "TRIGGER")
        raise(ora::kNameAlreadyUsed);
    // A BEFORE INSERT trigger that only sets NEW's columns runs as SQL alone.
    TriggerDefinition kept = trigger;
    std::string insert;
    if (plsql::triggerAsInsert(trigger, columnsOf(trigger.table), insert)) {
        try {
            const PreparedSql sql = prepareStatementSql(db, insert, connection_.schema());
            if (sql.plan.kind == RewrittenSql::Kind::Dml && sql.plan.dml.steps.empty()) {
                kept.inlineInsert = insert;
                kept.inlineSql = sql.plan.sql;
            }
        } catch (const occi::SQLException&) {
            // left to the engine
        }
    }
    kavexdb::detail::saveTrigger(db, connection_.schema(), kept, orReplace);
    saveStoredUnit(db, connection_.schema(),
                   StoredUnit{source.name, source.type, source.status, source.text,
                              source.errorLine, source.errorPosition, source.errorText, "[]"},
                   true);
}

void PlSqlPort::dropTrigger(const std::string& name) {
    connection_.triggers().forget();
    kavexdb::detail::dropTrigger(connection_.db(), name);
}

void PlSqlPort::alterTrigger(const std::string& name, const std::string& action) {
    connection_.triggers().forget();
    if (action == "COMPILE") {
        TriggerDefinition kept;
        if (!findTrigger(connection_.db(), name, kept)) raise(ora::kTriggerDoesNotExist, name);
        return;
    }
    enableTrigger(connection_.db(), name, action == "ENABLE");
}

std::string PlSqlPort::schema() { return connection_.schema(); }

namespace {

void sourceOf(const StoredUnit& u, plsql::UnitSource& out) {
    out.name = u.name;
    out.type = u.type;
    out.status = u.status;
    out.text = u.text;
    out.errorLine = u.errorLine;
    out.errorPosition = u.errorPosition;
    out.errorText = u.errorText;
    out.arguments = u.arguments;
}

StoredUnit storedOf(const plsql::UnitSource& unit) {
    return StoredUnit{unit.name,      unit.type,          unit.status,    unit.text,
                      unit.errorLine, unit.errorPosition, unit.errorText, unit.arguments};
}

// The names a unit's text holds, among them the objects it uses.
std::set<std::string> namesIn(const std::string& text) {
    std::set<std::string> names;
    for (const Token& t : lexSql(text))
        if (t.kind == Token::Kind::Word || t.kind == Token::Kind::QuotedIdent)
            names.insert(identifierName(t));
    return names;
}

}  // namespace

bool PlSqlPort::findUnit(const std::string& name, plsql::UnitSource& out) {
    StoredUnit u;
    if (!findStoredUnit(connection_.db(), name, u) || u.type == "TRIGGER") return false;
    sourceOf(u, out);
    return true;
}

bool PlSqlPort::findUnitOfType(const std::string& name, const std::string& type,
                               plsql::UnitSource& out) {
    StoredUnit u;
    if (!findStoredUnitOfType(connection_.db(), name, type, u)) return false;
    sourceOf(u, out);
    return true;
}

plsql::PackageSession& PlSqlPort::packages() { return connection_.packages(); }

void PlSqlPort::saveUnit(const plsql::UnitSource& unit, bool orReplace) {
    sqlite3* db = connection_.db();
    connection_.packages().forget(unit.name);
    saveStoredUnit(db, connection_.schema(), storedOf(unit), orReplace);
    recordDependencies(db, unit.name, unit.type, namesIn(unit.text));
    invalidateDependents(db, unit.name, unit.type);
}

void PlSqlPort::dropUnit(const std::string& name, const std::string& type) {
    sqlite3* db = connection_.db();
    connection_.packages().forget(name);
    dropStoredUnit(db, name, type);
    invalidateDependents(db, name, type);
    forgetDependencies(db, name, type);
    if (type == "PACKAGE") forgetDependencies(db, name, "PACKAGE BODY");
}

void PlSqlPort::saveCompiled(const plsql::UnitSource& unit) {
    connection_.packages().forget(unit.name);
    saveStoredUnit(connection_.db(), connection_.schema(), storedOf(unit), true);
}

std::vector<std::pair<std::string, std::string>> PlSqlPort::brokenUses(
    const plsql::UnitSource& unit) {
    return brokenDependencies(connection_.db(), unit.name, unit.type);
}

plsql::Value engineValue(sqlite3_value* v) {
    plsql::Value out;
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            out = plsql::Value::integer(sqlite3_value_int64(v));
            break;
        case SQLITE_FLOAT:
            out.type = plsql::ValueType::Number;
            out.data.kind = BindValue::Kind::Real;
            out.data.real = sqlite3_value_double(v);
            break;
        case SQLITE_TEXT:
            out =
                plsql::Value::text(std::string(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                               static_cast<std::size_t>(sqlite3_value_bytes(v))));
            break;
        case SQLITE_BLOB:
            if (isStoredNumber(v)) {  // a NUMBER of more digits than a double holds
                out.type = plsql::ValueType::Number;
                out.data.kind = BindValue::Kind::Text;
                out.data.bytes = plainNumberText(storedNumberOf(v));
                break;
            }
            out.type = plsql::ValueType::Raw;
            out.data.kind = BindValue::Kind::Blob;
            out.data.bytes.assign(static_cast<const char*>(sqlite3_value_blob(v)),
                                  static_cast<std::size_t>(sqlite3_value_bytes(v)));
            break;
        default:
            break;
    }
    return out;
}

namespace {

void plsqlCall(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    guarded(ctx, [&] {
        auto& connection = *static_cast<ConnectionImpl*>(sqlite3_user_data(ctx));
        const std::string name = textArg(argv[0]);
        std::vector<plsql::Value> args;
        for (int i = 1; i < argc; ++i) args.push_back(engineValue(argv[i]));
        PlSqlPort port(connection, true);
        const plsql::Value r = plsql::callStoredFunction(port, name, args);
        // A NUMBER past a double's digits goes back in its stored form, a number to SQL.
        if (r.type == ValueType::Number && r.data.kind == BindValue::Kind::Text)
            resultStored(ctx, plsql::numberIn(r));
        else
            resultToSqlite(ctx, r.data);
    });
}

}  // namespace

void registerPlSqlCalls(sqlite3* db, ConnectionImpl& connection) {
    const int rc = sqlite3_create_function_v2(db, kOraPlSqlCall, -1, SQLITE_UTF8, &connection,
                                              plsqlCall, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

std::vector<std::string> PlSqlPort::columnsOf(const std::string& name) {
    std::vector<std::string> names;
    for (const occi::MetaData& c : describedColumns(connection_, name))
        names.push_back(c.getString(occi::MetaData::ATTR_NAME));
    return names;
}

std::string PlSqlPort::columnType(const std::string& table, const std::string& column) {
    for (const occi::MetaData& c : describedColumns(connection_, table)) {
        if (c.getString(occi::MetaData::ATTR_NAME) != column) continue;
        const int precision = c.getInt(occi::MetaData::ATTR_PRECISION);
        const int scale = c.getInt(occi::MetaData::ATTR_SCALE);
        const int size = c.getInt(occi::MetaData::ATTR_DATA_SIZE);
        switch (c.getInt(occi::MetaData::ATTR_DATA_TYPE)) {
            case occi::OCCI_SQLT_NUM:
                if (precision == 0 || scale == -127) return "NUMBER";
                return "NUMBER(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
            case occi::OCCI_SQLT_CHR:
                return "VARCHAR2(" + std::to_string(size) + ")";
            case occi::OCCI_SQLT_AFC:
                return "CHAR(" + std::to_string(size) + ")";
            case occi::OCCI_SQLT_DAT:
                return "DATE";
            case occi::OCCI_SQLT_TIMESTAMP:
            case occi::OCCI_SQLT_TIMESTAMP_TZ:
            case occi::OCCI_SQLT_TIMESTAMP_LTZ:
                return "TIMESTAMP";
            case occi::OCCI_SQLT_CLOB:
                return "CLOB";
            case occi::OCCI_SQLT_BLOB:
                return "BLOB";
            case occi::OCCI_SQLT_BIN:
                return "RAW(" + std::to_string(size) + ")";
            case 100:
                return "BINARY_FLOAT";
            case 101:
                return "BINARY_DOUBLE";
            default:
                return "VARCHAR2(4000)";
        }
    }
    return std::string();
}

void PlSqlPort::checkCancel() { connection_.cancel().stopIfRequested(); }

plsql::OutputBuffer& PlSqlPort::output() { return connection_.output(); }

}  // namespace detail
}  // namespace kavexdb
