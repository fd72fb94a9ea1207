// DESCRIBE name: the columns of a table or view, through GetMetaData, as a result of its own
// (Name, Type, Size, Precision, Scale, Nullable, Identity) printed by the current writer.
#ifndef KAVEXSQL_DESCRIBER_H
#define KAVEXSQL_DESCRIBER_H

#include <string>

#include "ResultWriter.h"

namespace kavexsql {

void describe(int session, const std::string& objectName, ResultWriter& writer);

// The Oracle spelling of a column type, e.g. VARCHAR2(40), NUMBER(10,2), TIMESTAMP(6) WITH TIME
// ZONE. scale is -127 for floating NUMBER / FLOAT columns.
std::string typeText(int type, int size, int precision, int scale, const std::string& typeName);

}  // namespace kavexsql

#endif
