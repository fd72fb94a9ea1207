#include "Column.h"

#include "Connection.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

Getter getterFor(int typeCode) {
    switch (typeCode) {
        case KAVEX_SQLT_CHR:
        case KAVEX_SQLT_NUM:
        case KAVEX_SQLT_STR:
        case KAVEX_SQLT_LNG:
        case KAVEX_SQLT_RID:
        case KAVEX_SQLT_DAT:
        case KAVEX_SQLT_LVC:
        case KAVEX_SQLT_AFC:
        case KAVEX_SQLT_AVC:
        case KAVEX_SQLT_RDD:
        case KAVEX_SQLT_CLOB:
        case KAVEX_SQLT_DATE:
        case KAVEX_SQLT_TIME:
        case KAVEX_SQLT_TIME_TZ:
        case KAVEX_SQLT_TIMESTAMP:
        case KAVEX_SQLT_TIMESTAMP_TZ:
        case KAVEX_SQLT_INTERVAL_YM:
        case KAVEX_SQLT_INTERVAL_DS:
        case KAVEX_SQLT_TIMESTAMP_LTZ:
            return Getter::String;
        case KAVEX_SQLT_INT:
        case KAVEX_SQLT_UIN:
            return Getter::Integer;
        case KAVEX_SQLT_FLT:
        case KAVEX_SQLT_BFLOAT:
        case KAVEX_SQLT_IBFLOAT:
            return Getter::Float;
        case KAVEX_SQLT_BDOUBLE:
        case KAVEX_SQLT_IBDOUBLE:
            return Getter::Double;
        case KAVEX_SQLT_BIN:
        case KAVEX_SQLT_LBI:
        case KAVEX_SQLT_LVB:
        case KAVEX_SQLT_BLOB:
            return Getter::Bytes;
        default:
            return Getter::None;
    }
}

bool isNumericType(int typeCode) {
    switch (typeCode) {
        case KAVEX_SQLT_NUM:
        case KAVEX_SQLT_INT:
        case KAVEX_SQLT_FLT:
        case KAVEX_SQLT_BFLOAT:
        case KAVEX_SQLT_BDOUBLE:
        case KAVEX_SQLT_UIN:
        case KAVEX_SQLT_IBFLOAT:
        case KAVEX_SQLT_IBDOUBLE:
            return true;
        default:
            return false;
    }
}

bool isCutToMaxSize(int typeCode) {
    switch (typeCode) {
        case KAVEX_SQLT_LNG:
        case KAVEX_SQLT_BIN:
        case KAVEX_SQLT_LBI:
        case KAVEX_SQLT_CLOB:
        case KAVEX_SQLT_BLOB:
            return true;
        default:
            return false;
    }
}

std::vector<Column> readColumns(int session) {
    int count = Connection::check(GetColumnsCount(session));
    std::vector<Column> columns(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Column& column = columns[static_cast<size_t>(i)];
        const char* name = GetColumnName(session, i);
        column.name = name ? name : "";
        column.type = Connection::check(GetColumnType(session, i));
        column.getter = getterFor(column.type);
        column.numeric = isNumericType(column.type);
        column.size = GetColumnSize(session, i);
    }
    return columns;
}

}  // namespace kavexsql
