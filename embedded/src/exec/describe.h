// Describe: MetaData records, the sampling of columns without a declared type, and the
// description of result columns and of named tables and views (metadata.cpp, describe.cpp).
#ifndef KAVEXDB_EXEC_DESCRIBE_H
#define KAVEXDB_EXEC_DESCRIBE_H

#include <sqlite3.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "functions/column_sample.h"
#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// One attribute record behind a MetaData value.
struct MetaDataRecord {
    int paramType = occi::MetaData::PTYPE_COL;
    std::string name;
    std::string schemaName;  // ATTR_SCHEMA_NAME
    std::string objSchema;   // ATTR_OBJ_SCHEMA
    std::string typeName;
    int dataType = 0, dataSize = 0, precision = 0, scale = 0, charSetForm = 0;
    bool isNull = true;
    bool isIdentity = false, isGenAlways = false, isGenByDefOnNull = false;
    std::vector<occi::MetaData> columns;  // ATTR_LIST_COLUMNS of a table or view
};
occi::MetaData makeMetaData(std::shared_ptr<const MetaDataRecord> record);

// Reads up to fifty rows of a prepared statement (leaving it stepped) to sample the columns that
// have no declared type; returns empty samples without stepping when every column has one.
// allRows: every row instead, for a table made from the rows, whose columns must hold them all.
std::vector<ColumnSample> sampleUntypedColumns(sqlite3* db, sqlite3_stmt* stmt,
                                               bool allRows = false);
// Describes the result columns of a prepared statement.
std::vector<occi::MetaData> describeResultColumns(sqlite3* db, sqlite3_stmt* stmt,
                                                  const std::vector<ColumnSample>& samples);
// Describes a table or view by name as Oracle resolves it (unquoted names in upper case,
// "SCHEMA.NAME" where SCHEMA is the session's own); ORA-04043 when unknown.
occi::MetaData describeObject(sqlite3* db, const std::string& sessionSchema,
                              const std::string& name);

}  // namespace detail
}  // namespace kavexdb

#endif
