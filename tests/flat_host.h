// What the library tests share: fresh databases, sessions opened through the exports, the small
// reads a host makes to check results, the FlatSession fixture, and a way to see the process-wide
// state a host sees first. Tests close what they open and compare counters against their own
// starting values, so that a test binary passes run whole as well as test by test.
#ifndef KAVEX_TESTS_FLAT_HOST_H
#define KAVEX_TESTS_FLAT_HOST_H

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
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

// A database file in a fresh name under the test temporary directory: with a number drawn
// once per process beside the process id, which Windows (and Wine) soon give out again while
// the temporary folder keeps what an earlier, failed run left.
inline std::string fileDatabase() {
    static std::atomic<int> counter{0};
    static const unsigned run = std::random_device{}();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info != nullptr ? std::string(info->name()) : std::string("kavex");
    return "file:" + ::testing::TempDir() + "kavex_" + name + "_" + std::to_string(::getpid()) +
           "_" + std::to_string(run) + "_" + std::to_string(counter++) + ".db?mode=rwc";
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

// Runs body and writes its failures to stderr, the part of a child process's output the parent
// reports; returns the number of failures.
template <typename Body>
int runWithFailuresOnStderr(Body& body) {
    ::testing::TestPartResultArray results;
    {
        const ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
        body();
    }
    int failures = 0;
    for (int i = 0; i < results.size(); ++i) {
        const ::testing::TestPartResult& result = results.GetTestPartResult(i);
        if (result.failed()) {
            ++failures;
            std::fprintf(stderr, "%s:%d: %s\n",
                         result.file_name() != nullptr ? result.file_name() : "?",
                         result.line_number(), result.message());
        }
    }
    return failures;
}

// Runs body in a new process that runs only the current test, so that body sees the process-wide
// state a host sees first (session ids from 11, error ids from -10, empty handler tables) however
// many tests ran before. A failure inside body fails the current test.
template <typename Body>
void inFreshProcess(Body body) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // re-runs the test binary, not a fork
    EXPECT_EXIT(
        {
            const int failures = runWithFailuresOnStderr(body);
            std::fflush(nullptr);
            std::_Exit(failures == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace flathost

// A flat session on a fresh shared in-memory database, driven through the exported functions as
// a .NET host drives it; closed after the test.
class FlatSession : public ::testing::Test {
protected:
    void SetUp() override {
        database = flathost::memoryDatabase();
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
