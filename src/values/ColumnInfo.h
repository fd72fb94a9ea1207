// One column description of the current result set or of a described object.
#ifndef KAVEX_VALUES_COLUMNINFO_H
#define KAVEX_VALUES_COLUMNINFO_H

#include <cstdint>
#include <string>

namespace kavex {

// The type name of a column whose server type name is not read (every type but 58 and 110).
inline constexpr char unknownTypeName[] = "UNKNOWN_TYPE_NAME";

struct ColumnInfo {
    explicit ColumnInfo(std::int32_t position) : index(position) {}

    // Appends the NUMBER format model for this column's size, precision and scale.
    void buildNumberFormat(bool floating);
    // Sets the text format of a DATE or TIMESTAMP column from its type and scale (for a TIMESTAMP
    // its fractional-second precision); other columns keep theirs.
    void buildDateTimeFormat();
    // The digits of fractional seconds a TIMESTAMP value of this column shows: its scale, at most 9.
    unsigned int fractionDigits() const;

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

}  // namespace kavex

#endif
