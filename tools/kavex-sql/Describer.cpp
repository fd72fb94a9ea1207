#include "Describer.h"

#include "Connection.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

namespace {

std::string sized(const char* name, int size) {
    return std::string(name) + "(" + std::to_string(size) + ")";
}

std::string timestamp(int scale, const char* zone) {
    return "TIMESTAMP(" + std::to_string(scale < 0 ? 6 : scale) + ")" + zone;
}

std::string number(int precision, int scale) {
    if (scale == -127) return precision > 0 ? "FLOAT(" + std::to_string(precision) + ")" : "NUMBER";
    if (precision == 0) return "NUMBER";
    if (scale == 0) return "NUMBER(" + std::to_string(precision) + ")";
    return "NUMBER(" + std::to_string(precision) + "," + std::to_string(scale) + ")";
}

// A number getter answers an error id for values it refuses (a floating scale is negative).
int numberOr(int result, int fallback) { return result < 0 ? fallback : result; }

}  // namespace

std::string typeText(int type, int size, int precision, int scale, const std::string& typeName) {
    switch (type) {
        case KAVEX_SQLT_CHR:
            return sized("VARCHAR2", size);
        case KAVEX_SQLT_AFC:
            return sized("CHAR", size);
        case KAVEX_SQLT_NUM:
            return number(precision, scale);
        case KAVEX_SQLT_INT:
            return "BINARY_INTEGER";
        case KAVEX_SQLT_LNG:
            return "LONG";
        case KAVEX_SQLT_DAT:
            return "DATE";
        case KAVEX_SQLT_BIN:
            return sized("RAW", size);
        case KAVEX_SQLT_LBI:
            return "LONG RAW";
        case KAVEX_SQLT_IBFLOAT:
            return "BINARY_FLOAT";
        case KAVEX_SQLT_IBDOUBLE:
            return "BINARY_DOUBLE";
        case KAVEX_SQLT_RDD:
            return "ROWID";
        case KAVEX_SQLT_CLOB:
            return "CLOB";
        case KAVEX_SQLT_BLOB:
            return "BLOB";
        case KAVEX_SQLT_BFILEE:
            return "BFILE";
        case KAVEX_SQLT_TIMESTAMP:
            return timestamp(scale, "");
        case KAVEX_SQLT_TIMESTAMP_TZ:
            return timestamp(scale, " WITH TIME ZONE");
        case KAVEX_SQLT_TIMESTAMP_LTZ:
            return timestamp(scale, " WITH LOCAL TIME ZONE");
        case KAVEX_SQLT_INTERVAL_YM:
            return "INTERVAL YEAR(" + std::to_string(precision) + ") TO MONTH";
        case KAVEX_SQLT_INTERVAL_DS:
            return "INTERVAL DAY(" + std::to_string(precision) + ") TO SECOND(" +
                   std::to_string(scale < 0 ? 6 : scale) + ")";
        default:
            if (!typeName.empty() && typeName != "UNKNOWN_TYPE_NAME") return typeName;
            return "TYPE " + std::to_string(type);
    }
}

void describe(int session, const std::string& objectName, ResultWriter& writer) {
    Connection::check(GetMetaData(session, "", objectName.c_str()));
    const int count = Connection::check(GetColumnsCount(session));

    auto column = [](const char* name, bool numeric) {
        Column c;
        c.name = name;
        c.numeric = numeric;
        return c;
    };
    writer.begin({column("Name", false), column("Type", false), column("Size", true),
                  column("Precision", true), column("Scale", true), column("Nullable", false),
                  column("Identity", false)});
    for (int i = 0; i < count; ++i) {
        const std::string name = GetColumnName(session, i);
        const std::string typeName = GetColumnTypeName(session, i);
        const int type = Connection::check(GetColumnType(session, i));
        const int size = numberOr(GetColumnSize(session, i), 0);
        const int precision = numberOr(GetColumnPrecision(session, i), 0);
        const int scaleResult = GetColumnScale(session, i);
        const int scale = scaleResult < 0 ? -127 : scaleResult;
        const bool nullable = Connection::check(GetColumnIsNullable(session, i)) == 1;
        const bool identity = Connection::check(GetColumnIsAutoincremented(session, i)) == 1;

        Row row;
        row.push_back(name);
        row.push_back(typeText(type, size, precision, scale, typeName));
        row.push_back(std::to_string(size));
        const bool timestampType = type == KAVEX_SQLT_TIMESTAMP || type == KAVEX_SQLT_TIMESTAMP_TZ ||
                                   type == KAVEX_SQLT_TIMESTAMP_LTZ || type == KAVEX_SQLT_INTERVAL_DS;
        const bool fixedNumber = type == KAVEX_SQLT_NUM && scale != -127 && precision > 0;
        row.push_back(precision > 0 ? std::to_string(precision) : std::string());
        row.push_back(fixedNumber || timestampType ? std::to_string(scale) : std::string());
        row.push_back(std::string(nullable ? "YES" : "NO"));
        row.push_back(std::string(identity ? "YES" : ""));
        writer.row(std::move(row));
    }
    writer.end();
}

}  // namespace kavexsql
