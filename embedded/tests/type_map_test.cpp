#include <gtest/gtest.h>

#include "types/declared_type.h"

namespace kavexdb {
namespace detail {
namespace {

struct Row {
    const char* declared;
    int dataType, size, precision, scale, charSetForm;
    Storage storage;
};

// The client's type table, row for row, then SQLite's own names by affinity.
const Row kRows[] = {
    {"VARCHAR2(20)", 1, 20, 0, 0, 1, Storage::Text},
    {"varchar(7)", 1, 7, 0, 0, 1, Storage::Text},
    {"NVARCHAR2(10)", 1, 10, 0, 0, 2, Storage::Text},
    {"CHAR(3)", 96, 3, 0, 0, 1, Storage::Text},
    {"NCHAR(2)", 96, 2, 0, 0, 2, Storage::Text},
    {"CHAR", 96, 1, 0, 0, 1, Storage::Text},
    {"NUMBER(10,2)", 2, 22, 10, 2, 0, Storage::Numeric},
    {"NUMBER ( 5 , -2 )", 2, 22, 5, -2, 0, Storage::Numeric},
    {"NUMBER(9)", 2, 22, 9, 0, 0, Storage::Numeric},
    {"NUMBER(38,0)", 2, 22, 38, 0, 0, Storage::Numeric},
    {"NUMBER", 2, 22, 0, -127, 0, Storage::Numeric},
    {"INTEGER", 2, 22, 38, 0, 0, Storage::Integer},
    {"int", 2, 22, 38, 0, 0, Storage::Integer},
    {"SMALLINT", 2, 22, 38, 0, 0, Storage::Integer},
    {"FLOAT", 2, 22, 126, -127, 0, Storage::Real},
    {"FLOAT(24)", 2, 22, 24, -127, 0, Storage::Real},
    {"BINARY_FLOAT", 100, 4, 0, 0, 0, Storage::Real},
    {"BINARY_DOUBLE", 101, 8, 0, 0, 0, Storage::Real},
    {"PLS_INTEGER", 3, 4, 0, 0, 0, Storage::Integer},
    {"BINARY_INTEGER", 3, 4, 0, 0, 0, Storage::Integer},
    {"DATE", 12, 7, 0, 0, 0, Storage::Date},
    {"TIMESTAMP", 187, 11, 0, 6, 0, Storage::Timestamp},
    {"TIMESTAMP(3)", 187, 11, 0, 3, 0, Storage::Timestamp},
    {"TIMESTAMP WITH TIME ZONE", 188, 13, 0, 6, 0, Storage::TimestampTz},
    {"TIMESTAMP WITH TIME ZONE(9)", 188, 13, 0, 9, 0, Storage::TimestampTz},
    {"timestamp  with local time zone(0)", 232, 11, 0, 0, 0, Storage::Timestamp},
    {"CLOB", 112, 4000, 0, 0, 1, Storage::Clob},
    {"NCLOB", 112, 4000, 0, 0, 2, Storage::Clob},
    {"BLOB", 113, 4000, 0, 0, 0, Storage::Blob},
    {"RAW(16)", 23, 16, 0, 0, 0, Storage::Blob},
    {"LONG", 8, 0, 0, 0, 1, Storage::Text},
    {"LONG RAW", 24, 0, 0, 0, 0, Storage::Blob},
    {"ROWID", 104, 10, 0, 0, 0, Storage::Text},
    {"BFILE", 114, 530, 0, 0, 0, Storage::Text},
    {"XMLTYPE", 58, 2000, 0, 0, 0, Storage::Text},
    // SQLite's affinity rules for everything else.
    {"BIGINT", 2, 22, 38, 0, 0, Storage::Integer},
    {"UNSIGNED BIG INT", 2, 22, 38, 0, 0, Storage::Integer},
    {"TEXT", 1, 4000, 0, 0, 1, Storage::Text},
    {"NVARCHAR(30)", 1, 4000, 0, 0, 1, Storage::Text},
    {"CHARACTER(20)", 1, 4000, 0, 0, 1, Storage::Text},
    {"REAL", 101, 8, 0, 0, 0, Storage::Real},
    {"DOUBLE", 101, 8, 0, 0, 0, Storage::Real},
    {"DOUBLE PRECISION", 101, 8, 0, 0, 0, Storage::Real},
    {"BOOLEAN", 2, 22, 0, -127, 0, Storage::Numeric},
    {"DECIMAL(10,5)", 2, 22, 0, -127, 0, Storage::Numeric},
    {"DATETIME", 2, 22, 0, -127, 0, Storage::Numeric},
    {"", 2, 22, 0, -127, 0, Storage::Numeric},
};

TEST(TypeMap, EveryRowOfTheTypeTable) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.declared);
        const DeclaredType t = mapDeclaredType(row.declared);
        EXPECT_EQ(t.dataType, row.dataType);
        EXPECT_EQ(t.size, row.size);
        EXPECT_EQ(t.precision, row.precision);
        EXPECT_EQ(t.scale, row.scale);
        EXPECT_EQ(t.charSetForm, row.charSetForm);
        EXPECT_EQ(t.storage, row.storage);
    }
}

TEST(TypeMap, TypeNameOnlyForXmlType) {
    EXPECT_EQ(mapDeclaredType("XMLTYPE").typeName, "XMLTYPE");
    EXPECT_EQ(mapDeclaredType("xmltype").typeName, "XMLTYPE");
    EXPECT_EQ(mapDeclaredType("VARCHAR2(10)").typeName, "");
    EXPECT_EQ(mapDeclaredType("NUMBER").typeName, "");
}

TEST(TypeMap, MalformedArgumentsFallBackToDefaults) {
    EXPECT_EQ(mapDeclaredType("VARCHAR2(x)").size, 4000);
    EXPECT_EQ(mapDeclaredType("NUMBER(").scale, -127);
    EXPECT_EQ(mapDeclaredType("TIMESTAMP(").scale, 6);
    EXPECT_EQ(mapDeclaredType("VARCHAR2(99999999999)").size, 4000);
    EXPECT_EQ(mapDeclaredType("RAW(-99999999999)").size, 2000);
}

}  // namespace
}  // namespace detail
}  // namespace kavexdb
