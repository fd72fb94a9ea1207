// Column metadata through GetMetaData, GetColumnsCount and the twelve column getters.
#include <gtest/gtest.h>

#include <string>

#include "flat_host.h"

namespace {

using Metadata = FlatSession;

TEST_F(Metadata, QueryColumnsDescribeTheirTypes) {
    run("CREATE TABLE t (id NUMBER(10) NOT NULL, price NUMBER(10,2), f NUMBER, "
        "name VARCHAR2(30), x XMLTYPE)");
    run("SELECT id, price, f, name, x FROM t");
    ASSERT_EQ(GetColumnsCount(id), 5);

    EXPECT_STREQ(GetColumnName(id, 0), "ID");
    EXPECT_STREQ(GetColumnTableName(id, 0), "");
    EXPECT_EQ(GetColumnType(id, 0), 2);
    EXPECT_EQ(GetColumnSize(id, 0), 22);
    EXPECT_EQ(GetColumnPrecision(id, 0), 10);
    EXPECT_EQ(GetColumnScale(id, 0), 0);
    EXPECT_EQ(GetColumnIsNullable(id, 0), 0);
    EXPECT_EQ(GetColumnIsNullable(id, 1), 1);
    EXPECT_EQ(GetColumnScale(id, 1), 2);

    EXPECT_EQ(GetColumnType(id, 3), 1);
    EXPECT_EQ(GetColumnSize(id, 3), 30);
    EXPECT_STREQ(GetColumnTypeName(id, 3), "UNKNOWN_TYPE_NAME");
    EXPECT_EQ(GetColumnType(id, 4), 58);
    EXPECT_STREQ(GetColumnTypeName(id, 4), "XMLTYPE");
}

TEST_F(Metadata, ExpressionColumnsOfAnEmptyResultHaveTheirTypes) {
    run("CREATE TABLE t (d DATE, n NUMBER(5,2), v VARCHAR2(10))");
    run("SELECT d + 1, n * 2, v || 'x', CAST(d AS TIMESTAMP), MAX(d), d - d FROM t WHERE 1 = 0");
    ASSERT_EQ(GetColumnsCount(id), 6);
    EXPECT_EQ(GetColumnType(id, 0), 12);
    EXPECT_EQ(GetColumnType(id, 1), 2);
    EXPECT_EQ(GetColumnType(id, 2), 1);
    EXPECT_EQ(GetColumnType(id, 3), 187);
    EXPECT_EQ(GetColumnType(id, 4), 12);
    EXPECT_EQ(GetColumnType(id, 5), 2);
}

TEST_F(Metadata, FloatingScaleIsRefusedByTheScaleGetter) {
    run("CREATE TABLE t (f NUMBER)");
    run("SELECT f FROM t");
    const int result = GetColumnScale(id, 0);
    ASSERT_LE(result, -10);
    EXPECT_STREQ(GetError(result), "Cannot read column scale");
    EXPECT_EQ(GetColumnPrecision(id, 0), 0);
}

TEST_F(Metadata, NegativeScaleReadsAsZero) {
    run("CREATE TABLE t (n NUMBER(5,-5))");
    run("SELECT n FROM t");
    EXPECT_EQ(GetColumnScale(id, 0), 0);
}

TEST_F(Metadata, BadIndexesGiveEachGettersMessage) {
    run("CREATE TABLE t (v VARCHAR2(3))");
    run("SELECT v FROM t");
    for (const int index : {-1, 1, 1000}) {
        struct TextCase {
            const char* (*getter)(int, int);
            const char* message;
        };
        for (const TextCase& c : {TextCase{GetColumnName, "Cannot read column's name"},
                                  TextCase{GetColumnSchemaName, "Cannot read column's schema name"},
                                  TextCase{GetColumnTableName, "Cannot read column's table name"},
                                  TextCase{GetColumnTypeName, "Cannot read column's type name"}}) {
            const int before = GetColumnType(id, index);
            EXPECT_STREQ(c.getter(id, index), c.message);
            // No message is stored for a text no caller could fetch by id.
            EXPECT_EQ(GetColumnType(id, index), before - 1);
        }
        struct NumberCase {
            int (*getter)(int, int);
            const char* message;
        };
        for (const NumberCase& c :
             {NumberCase{GetColumnType, "Cannot read column's type"},
              NumberCase{GetColumnSize, "Cannot read column size"},
              NumberCase{GetColumnPrecision, "Cannot read column precision"},
              NumberCase{GetColumnScale, "Cannot read column scale"},
              NumberCase{GetColumnIsAutoincremented,
                         "Cannot read column property 'is autoincremented'"},
              NumberCase{GetColumnIsReadOnly, "Cannot read column property 'is readonly'"},
              NumberCase{GetColumnIsDbGenerated, "Cannot read column property 'is db generated'"},
              NumberCase{GetColumnIsNullable, "Cannot read column property 'is nullable'"}}) {
            const int result = c.getter(id, index);
            ASSERT_LE(result, -10);
            EXPECT_STREQ(GetError(result), c.message);
        }
    }
}

TEST_F(Metadata, DescribedTableListsItsColumns) {
    run("CREATE TABLE emp (empno NUMBER GENERATED ALWAYS AS IDENTITY, ename VARCHAR2(10) NOT NULL, "
        "note CLOB)");
    run("SELECT 1 FROM dual");
    ASSERT_EQ(GetMetaData(id, "", "EMP"), 0);
    ASSERT_EQ(GetColumnsCount(id), 3);
    EXPECT_STREQ(GetColumnName(id, 0), "EMPNO");
    EXPECT_STREQ(GetColumnName(id, 2), "NOTE");
    for (int column = 0; column < 3; ++column) {
        EXPECT_STREQ(GetColumnTableName(id, column), "EMP");
        EXPECT_STREQ(GetColumnSchemaName(id, column), "SCOTT");
        const int identity = GetColumnIsAutoincremented(id, column);
        EXPECT_EQ(GetColumnIsReadOnly(id, column), identity);
        EXPECT_EQ(GetColumnIsDbGenerated(id, column), identity);
        EXPECT_EQ(identity, column == 0 ? 1 : 0);
    }
    EXPECT_EQ(GetColumnIsNullable(id, 1), 0);
    EXPECT_EQ(GetColumnType(id, 2), 112);
}

TEST_F(Metadata, EmptyObjectNameLeavesTheListAsItWas) {
    run("SELECT 1 AS one, 'a' AS two FROM dual");
    ASSERT_EQ(GetColumnsCount(id), 2);
    EXPECT_EQ(GetMetaData(id, "anything", ""), 0);
    EXPECT_EQ(GetMetaData(id, nullptr, ""), 0);
    EXPECT_EQ(GetColumnsCount(id), 2);
    EXPECT_STREQ(GetColumnName(id, 1), "TWO");
}

TEST_F(Metadata, UnknownObjectGivesTheClientsText) {
    const int result = GetMetaData(id, "", "NO_SUCH_TABLE");
    ASSERT_LE(result, -10);
    EXPECT_EQ(std::string(GetError(result)).rfind("ORA-04043", 0), 0u) << GetError(result);
}

TEST_F(Metadata, UnknownSessionIsRefused) {
    EXPECT_LE(GetColumnsCount(987654), -10);
    const int result = GetMetaData(987654, "", "EMP");
    ASSERT_LE(result, -10);
    EXPECT_STREQ(GetError(result), "Session is not initialized");
}

}  // namespace
