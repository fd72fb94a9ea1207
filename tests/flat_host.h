// What the library tests share: fresh databases, sessions opened through the exports, and the
// small reads a host makes to check results.
#ifndef KAVEX_TESTS_FLAT_HOST_H
#define KAVEX_TESTS_FLAT_HOST_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <string>

#include "kavex_oracleociw.h"

namespace flathost {

// A shared in-memory database no other test process or test sees.
inline std::string memoryDatabase() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info != nullptr ? std::string(info->test_suite_name()) + "_" + info->name()
                                       : std::string("kavex");
    return "file:/" + name + "_" + std::to_string(::getpid()) + "_" +
           std::to_string(counter++) + "?vfs=memdb";
}

// A database file in a fresh name under the test temporary directory.
inline std::string fileDatabase() {
    static std::atomic<int> counter{0};
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info != nullptr ? std::string(info->name()) : std::string("kavex");
    return "file:" + ::testing::TempDir() + "kavex_" + name + "_" + std::to_string(::getpid()) +
           "_" + std::to_string(counter++) + ".db?mode=rwc";
}

inline std::string errorText(int errorId) {
    const char* text = GetError(errorId);
    return text != nullptr ? std::string(text) : std::string("<null>");
}

// Opens a session or fails the current test with the stored message.
inline int open(const std::string& database) {
    const int id = OpenConnection(database.c_str(), "scott", "tiger");
    EXPECT_GE(id, 11) << errorText(id);
    return id;
}

// Runs SQL that must succeed; returns its result.
inline int run(int session, const std::string& sql) {
    const int result = ExecuteQuery(session, sql.c_str(), 0);
    EXPECT_GE(result, 0) << sql << ": " << errorText(result);
    return result;
}

inline int rowCount(int session, const std::string& query) {
    if (run(session, query) < 0) {
        return -1;
    }
    int rows = 0;
    while (NextRow(session) == 1) {
        ++rows;
    }
    return rows;
}

// What a pointer getter (GetString, GetByteArray) delivers for column `index` of the current
// row; "<NULL>" for NULL, "<error: ...>" on failure.
inline std::string pointerValue(int (*getter)(int, int, KavexPointerRecord*), int session,
                                int index) {
    KavexPointerRecord record{};
    const int result = getter(session, index, &record);
    if (result < 0) {
        return "<error: " + errorText(result) + ">";
    }
    if (record.isNull != 0) {
        return "<NULL>";
    }
    return std::string(record.value, static_cast<std::size_t>(record.length));
}

// The text of column `index` in the current row; "<NULL>" for NULL, "<error: ...>" on failure.
inline std::string text(int session, int index) { return pointerValue(GetString, session, index); }

inline std::string bytes(int session, int index) {
    return pointerValue(GetByteArray, session, index);
}

// Every row of a one-column query as text, joined with '|'.
inline std::string column(int session, const std::string& query) {
    if (run(session, query) < 0) {
        return "<failed>";
    }
    std::string joined;
    bool first = true;
    while (NextRow(session) == 1) {
        joined += (first ? "" : "|") + text(session, 0);
        first = false;
    }
    return joined;
}

}  // namespace flathost

#endif
