#include "occi/plsql_port.h"

#include "occi/connection.h"
#include "occi/result_set.h"
#include "occi/statement.h"
#include "plsql/output_buffer.h"

namespace kavexdb {
namespace detail {

namespace {

using plsql::Value;
using plsql::ValueType;

// The type a column's values have, from the describe's type code.
ValueType valueType(int code) {
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
        statement_->bindValue(index, value.data);
    }
    void execute() override {
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
        else if (k == BindValue::Kind::Blob && v.type != ValueType::Clob)
            v.type = ValueType::Raw;
        return v;
    }
    unsigned rowsChanged() const override { return rows_ ? 0 : statement_->getUpdateCount(); }

  private:
    void describe() {
        if (described_ || !rows_) return;
        for (const occi::MetaData& m : rows_->getColumnListMetaData()) {
            names_.push_back(m.getString(occi::MetaData::ATTR_NAME));
            types_.push_back(valueType(m.getInt(occi::MetaData::ATTR_DATA_TYPE)));
        }
        described_ = true;
    }

    ConnectionImpl& connection_;
    StatementImpl* statement_;
    ResultSetImpl* rows_ = nullptr;
    bool described_ = false;
    std::vector<std::string> names_;
    std::vector<ValueType> types_;
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
    return std::make_unique<StatementCursor>(connection_, sql);
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
