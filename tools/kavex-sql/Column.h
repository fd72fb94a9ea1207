// A result column as the shell sees it: its name, type code, and which of the library's five value
// getters accepts that type.
#ifndef KAVEXSQL_COLUMN_H
#define KAVEXSQL_COLUMN_H

#include <string>
#include <vector>

namespace kavexsql {

enum class Getter { String, Integer, Float, Double, Bytes, None };

struct Column {
    std::string name;
    int type = 0;
    Getter getter = Getter::None;
    bool numeric = false;  // right-aligned in tables
    int size = 0;          // GetColumnSize: the declared length of text columns
};

Getter getterFor(int typeCode);
bool isNumericType(int typeCode);
// True for the types whose values the library cuts to the session's maximum column size (LONG,
// CLOB, RAW, LONG RAW, BLOB).
bool isCutToMaxSize(int typeCode);

// The columns of the session's current result (or described object).
std::vector<Column> readColumns(int session);

}  // namespace kavexsql

#endif
