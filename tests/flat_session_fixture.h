// A flat session on a fresh shared in-memory database, driven through the exported functions as
// a .NET host drives it.
#ifndef KAVEX_TESTS_FLAT_SESSION_FIXTURE_H
#define KAVEX_TESTS_FLAT_SESSION_FIXTURE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <optional>
#include <string>

#include "kavex_oracleociw.h"

class FlatSession : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        database = "file:/flat_values_" + std::to_string(getpid()) + "_" +
                   std::to_string(++counter) + "?vfs=memdb";
        id = OpenConnection(database.c_str(), "scott", "tiger");
        ASSERT_GE(id, 11) << GetError(id);
    }

    void TearDown() override { CloseConnection(id); }

    // Runs a statement that must succeed.
    void run(const std::string& sql) {
        const int result = ExecuteQuery(id, sql.c_str(), 1);
        ASSERT_GE(result, 0) << sql << ": " << GetError(result);
    }

    // Runs a query and stands on its first row.
    void firstRow(const std::string& sql) {
        run(sql);
        ASSERT_EQ(NextRow(id), 1) << sql;
    }

    // The column's text through GetString; nullopt for a NULL value. Fails the test on an error.
    std::optional<std::string> text(int column) {
        KavexPointerRecord record{};
        const std::optional<std::string> value = delivered(GetString(id, column, &record), record);
        if (value) {
            EXPECT_EQ(std::strlen(record.value), static_cast<std::size_t>(record.length));
        }
        return value;
    }

    // The column's bytes through GetByteArray; nullopt for a NULL or empty value.
    std::optional<std::string> bytes(int column) {
        KavexPointerRecord record{};
        return delivered(GetByteArray(id, column, &record), record);
    }

    // The value a pointer getter that returned result delivered in record; nullopt for NULL, after
    // checking that a NULL or failed read leaves the record empty. Fails the test on an error.
    static std::optional<std::string> delivered(int result, const KavexPointerRecord& record) {
        EXPECT_EQ(result, 0) << (result < 0 ? GetError(result) : "");
        if (result != 0 || record.isNull) {
            // Packed fields are compared by value: a reference to one would be misaligned.
            EXPECT_EQ(std::int32_t{record.length}, 0);
            EXPECT_EQ(static_cast<const char*>(record.value), nullptr);
            return std::nullopt;
        }
        return std::string(record.value, static_cast<std::size_t>(record.length));
    }

    std::string database;
    int id = 0;
};

#endif
