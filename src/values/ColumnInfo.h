// One column description of the current result set or of a described object.
#ifndef KAVEX_VALUES_COLUMNINFO_H
#define KAVEX_VALUES_COLUMNINFO_H

#include <cstdint>
#include <string>

struct ColumnInfo {
    explicit ColumnInfo(std::int32_t position) : index(position) {}

    // Appends the NUMBER format model for this column's size, precision and scale.
    void buildNumberFormat(bool floating);

    std::int32_t index;
    std::string textFormat;
    std::string name = "unknown";
    std::string tableName = "unknown";
    std::string schemaName = "unknown";
    std::string typeName;
    std::int32_t charSetForm = 1;
    std::int32_t type = 0;
    std::int32_t size = 0;
    std::int32_t scale = 0;
    std::int32_t precision = 0;
    bool isNullable = true;
    bool isAutoIncremented = false;
    bool isReadOnly = false;
};

#endif
