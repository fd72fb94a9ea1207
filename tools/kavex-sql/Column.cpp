#include "Column.h"

#include "Connection.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

Getter getterFor(int typeCode) {
    switch (typeCode) {
        case 1:
        case 2:
        case 5:
        case 8:
        case 11:
        case 12:
        case 94:
        case 96:
        case 97:
        case 104:
        case 112:
        case 184:
        case 185:
        case 186:
        case 187:
        case 188:
        case 189:
        case 190:
        case 232:
            return Getter::String;
        case 3:
        case 68:
            return Getter::Integer;
        case 4:
        case 21:
        case 100:
            return Getter::Float;
        case 22:
        case 101:
            return Getter::Double;
        case 23:
        case 24:
        case 95:
        case 113:
            return Getter::Bytes;
        default:
            return Getter::None;
    }
}

bool isNumericType(int typeCode) {
    switch (typeCode) {
        case 2:
        case 3:
        case 4:
        case 21:
        case 22:
        case 68:
        case 100:
        case 101:
            return true;
        default:
            return false;
    }
}

bool isCutToMaxSize(int typeCode) {
    switch (typeCode) {
        case 8:
        case 23:
        case 24:
        case 112:
        case 113:
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
    }
    return columns;
}

}  // namespace kavexsql
