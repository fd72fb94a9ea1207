// NUMBER(12,2) through the flat exports, on 1,000,000 rows of two-decimal values from 0.01 to
// 1000.00, each figure side by side with raw SQLite over a REAL column holding the same numbers
// in a file of its own, in three alternating rounds (best CPU time of each side):
//   array DML  the values bound as text (as the .NET provider binds a decimal) in one batch of
//              SetMaxIterations / SetString / AddIteration / Execute in one transaction, against
//              one prepared insert binding doubles in one transaction (the same batch bound with
//              SetDouble is shown beside it, without a target);
//   fetch      ExecuteQuery, NextRow and GetString of every value, against sqlite3_step and
//              sqlite3_column_text;
//   SUM, AVG   SELECT SUM(n), AVG(n) read with GetString, against SELECT SUM(x), AVG(x).
// Target for each: the library at most 2x raw SQLite. The run fails unless every fetched value,
// the SUM and the AVG equal the exact decimal values inserted (worked out in integer cents).
//
// Usage: bench_flat_number [rows] [directory]
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"
#include "kavex_oracleociw.h"

namespace {

using benchutil::check;
using benchutil::cpuSeconds;
using benchutil::fail;

constexpr int kRounds = 3;

// Row i holds cents(i) / 100: two-decimal values cycling through 0.01 .. 1000.00.
std::int64_t cents(long i) { return i % 100000 + 1; }

std::int64_t totalCents(long rows) {
    std::int64_t sum = 0;
    for (long i = 0; i < rows; ++i) {
        sum += cents(i);
    }
    return sum;
}

// A NUMBER's text with its scientific notation written out: "5.00005E+08" is "500005000",
// "1.E-02" is "0.01"; text without an exponent stays as it is, a malformed exponent gives "".
// (A NUMBER column without precision, an aggregate's result, reads in scientific notation.)
std::string plainDecimal(const std::string& text) {
    const std::size_t e = text.find_first_of("Ee");
    if (e == std::string::npos) {
        return text;
    }
    const std::string exponentText = text.substr(e + 1);
    if (exponentText.size() < 2 || (exponentText[0] != '+' && exponentText[0] != '-') ||
        exponentText.find_first_not_of("0123456789", 1) != std::string::npos) {
        return "";
    }
    const long exponent = std::atol(exponentText.c_str());
    const std::string mantissa = text.substr(0, e);
    const std::size_t point = mantissa.find('.');
    const std::string whole = mantissa.substr(0, point);
    const std::string digits =
        whole + (point == std::string::npos ? "" : mantissa.substr(point + 1));
    const long pointAt = static_cast<long>(whole.size()) + exponent;
    if (pointAt <= 0) {
        return "0." + std::string(static_cast<std::size_t>(-pointAt), '0') + digits;
    }
    if (pointAt >= static_cast<long>(digits.size())) {
        return digits + std::string(static_cast<std::size_t>(pointAt) - digits.size(), '0');
    }
    return digits.substr(0, static_cast<std::size_t>(pointAt)) + "." +
           digits.substr(static_cast<std::size_t>(pointAt));
}

// Whether text is the decimal value numerator / denominator (both positive) as a NUMBER shows
// it: digits with an optional point (or in scientific notation), equal to the exact quotient
// rounded half up at the text's last digit, and, when that rounding dropped digits, carrying at
// least the 38 significant digits a NUMBER keeps.
bool showsQuotient(const std::string& numberText, std::int64_t numerator,
                   std::int64_t denominator) {
    const std::string text = plainDecimal(numberText);
    const std::size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    const auto digitsOnly = [](const std::string& s) {
        return s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digitsOnly(whole) || !digitsOnly(fraction) || whole.size() + fraction.size() == 0) {
        return false;
    }
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));

    // The exact quotient, one digit past the text's last, then rounded half up.
    std::int64_t integerPart = numerator / denominator;
    std::int64_t remainder = numerator % denominator;
    std::string digits;
    for (std::size_t k = 0; k <= fraction.size(); ++k) {
        remainder *= 10;
        digits += static_cast<char>('0' + remainder / denominator);
        remainder %= denominator;
    }
    const bool dropped = digits.back() != '0' || remainder != 0;
    const bool roundUp = digits.back() >= '5';
    digits.pop_back();
    if (roundUp) {
        std::size_t k = digits.size();
        while (k > 0 && digits[k - 1] == '9') {
            digits[--k] = '0';
        }
        if (k == 0) {
            ++integerPart;
        } else {
            ++digits[k - 1];
        }
    }
    const std::string expectedWhole = integerPart == 0 ? "" : std::to_string(integerPart);
    if (whole != expectedWhole || fraction != digits) {
        return false;
    }
    if (dropped) {
        const std::string all = whole + fraction;
        const std::size_t first = all.find_first_not_of('0');
        return first != std::string::npos && all.size() - first >= 38;
    }
    return true;
}

std::string openString(const std::string& path) { return "file:" + path + "?mode=rwc"; }

// The values as a host hands them to the library: as text, the way the .NET provider binds a
// decimal, and as doubles. Made once, outside the timed runs.
struct BoundValues {
    std::vector<std::string> texts;
    std::vector<double> doubles;
};

BoundValues boundValues(long rows) {
    BoundValues values;
    values.texts.reserve(static_cast<std::size_t>(rows));
    values.doubles.reserve(static_cast<std::size_t>(rows));
    char text[32];
    for (long i = 0; i < rows; ++i) {
        const std::int64_t c = cents(i);
        std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(c / 100),
                      static_cast<long long>(c % 100));
        values.texts.emplace_back(text);
        values.doubles.push_back(static_cast<double>(c) / 100.0);
    }
    return values;
}

enum class Binding { Text, Double };

// The library's batch insert into a new table t (n NUMBER(12,2)); the CPU seconds from
// PrepareQuery to the committed Execute.
double libraryInsert(const std::string& path, const BoundValues& values, Binding binding) {
    benchutil::removeDb(path);
    const int id = OpenConnection(openString(path).c_str(), "bench", "bench");
    check(id, "open");
    check(ExecuteQuery(id, "CREATE TABLE t (n NUMBER(12,2))", 1), "create");
    const long rows = static_cast<long>(values.texts.size());
    const double start = cpuSeconds();
    check(PrepareQuery(id, "INSERT INTO t VALUES (:1)", 1), "prepare");
    check(SetMaxIterations(id, static_cast<unsigned>(rows)), "iterations");
    if (binding == Binding::Text) {
        check(SetMaxParSize(id, 1, 32), "size");
    }
    for (long i = 0; i < rows; ++i) {
        const auto row = static_cast<std::size_t>(i);
        if (binding == Binding::Text) {
            check(SetString(id, 1, values.texts[row].c_str(), 0), "string");
        } else {
            check(SetDouble(id, 1, values.doubles[row], 0), "double");
        }
        if (i + 1 < rows) {
            check(AddIteration(id), "iteration");
        }
    }
    const int inserted = Execute(id);
    check(inserted, "execute");
    const double seconds = cpuSeconds() - start;
    if (inserted != rows) {
        fail("library inserted " + std::to_string(inserted) + " rows");
    }
    CloseConnection(id);
    return seconds;
}

// Raw SQLite's prepared insert into a new table t (x REAL) in one transaction.
double rawInsert(const std::string& path, const BoundValues& values) {
    benchutil::removeDb(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        fail("sqlite3_open");
    }
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "CREATE TABLE t (x REAL)", nullptr, nullptr, nullptr);
    const double start = cpuSeconds();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?)", -1, &insert, nullptr);
    for (const double value : values.doubles) {
        sqlite3_bind_double(insert, 1, value);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            fail(std::string("insert: ") + sqlite3_errmsg(db));
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail(std::string("commit: ") + sqlite3_errmsg(db));
    }
    const double seconds = cpuSeconds() - start;
    sqlite3_close(db);
    return seconds;
}

struct Read {
    double cpu;
    long rows;
    std::uint64_t bytes;  // keeps the reads from being optimised away
};

Read libraryFetch(const std::string& path) {
    const int id = OpenConnection(path.c_str(), "bench", "bench");
    check(id, "open");
    const double start = cpuSeconds();
    check(ExecuteQuery(id, "SELECT n FROM t", 0), "query");
    Read read{0, 0, 0};
    KavexPointerRecord record{};
    int more = 0;
    while ((more = NextRow(id)) == 1) {
        check(GetString(id, 0, &record), "GetString");
        read.bytes += static_cast<std::uint64_t>(record.length);
        ++read.rows;
    }
    check(more, "NextRow");
    read.cpu = cpuSeconds() - start;
    CloseConnection(id);
    return read;
}

Read rawFetch(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    const double start = cpuSeconds();
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT x FROM t", -1, &select, nullptr);
    Read read{0, 0, 0};
    while (sqlite3_step(select) == SQLITE_ROW) {
        sqlite3_column_text(select, 0);
        read.bytes += static_cast<std::uint64_t>(sqlite3_column_bytes(select, 0));
        ++read.rows;
    }
    sqlite3_finalize(select);
    read.cpu = cpuSeconds() - start;
    sqlite3_close(db);
    return read;
}

// Every value the library fetches back, in insertion order, against the cents inserted.
void checkFetchedValues(const std::string& path, long rows) {
    const int id = OpenConnection(path.c_str(), "bench", "bench");
    check(id, "open");
    check(ExecuteQuery(id, "SELECT n FROM t", 0), "query");
    KavexPointerRecord record{};
    long row = 0;
    int more = 0;
    while ((more = NextRow(id)) == 1) {
        check(GetString(id, 0, &record), "GetString");
        const std::string text = record.isNull ? "NULL" : std::string(record.value, record.length);
        if (row >= rows || !showsQuotient(text, cents(row), 100)) {
            fail("row " + std::to_string(row) + " reads " + text + ", inserted " +
                 std::to_string(cents(row)) + " cents");
        }
        ++row;
    }
    check(more, "NextRow");
    CloseConnection(id);
    if (row != rows) {
        fail("fetched " + std::to_string(row) + " of " + std::to_string(rows) + " rows");
    }
}

struct Aggregates {
    double cpu;
    std::string sum;
    std::string avg;
};

Aggregates libraryAggregates(const std::string& path) {
    const int id = OpenConnection(path.c_str(), "bench", "bench");
    check(id, "open");
    const double start = cpuSeconds();
    check(ExecuteQuery(id, "SELECT SUM(n), AVG(n) FROM t", 0), "query");
    check(NextRow(id), "NextRow");
    KavexPointerRecord record{};
    Aggregates result{0, "", ""};
    check(GetString(id, 0, &record), "GetString");
    result.sum = record.isNull ? "NULL" : std::string(record.value, record.length);
    check(GetString(id, 1, &record), "GetString");
    result.avg = record.isNull ? "NULL" : std::string(record.value, record.length);
    result.cpu = cpuSeconds() - start;
    CloseConnection(id);
    return result;
}

Aggregates rawAggregates(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    const double start = cpuSeconds();
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT SUM(x), AVG(x) FROM t", -1, &select, nullptr);
    Aggregates result{0, "", ""};
    if (sqlite3_step(select) == SQLITE_ROW) {
        result.sum = reinterpret_cast<const char*>(sqlite3_column_text(select, 0));
        result.avg = reinterpret_cast<const char*>(sqlite3_column_text(select, 1));
    }
    sqlite3_finalize(select);
    result.cpu = cpuSeconds() - start;
    sqlite3_close(db);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::string directory = argc > 2 ? argv[2] : "/tmp";
    const std::string libraryPath = directory + "/bench_flat_number_library.db";
    const std::string rawPath = directory + "/bench_flat_number_raw.db";
    if (rows < 1) {
        fail("rows must be at least 1");
    }
    std::printf("rows: %ld of NUMBER(12,2), values 0.01 .. 1000.00, best CPU of %d rounds\n", rows,
                kRounds);

    // Alternating rounds: other work on a shared machine only ever adds time, and alternating
    // spreads it over both sides. The doubles' table is checked on its own; the last round's
    // tables are the ones read below.
    const BoundValues values = boundValues(rows);
    double rawInsertCpu = 1e300;
    double libraryDoubleCpu = 1e300;
    double libraryInsertCpu = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        rawInsertCpu = std::min(rawInsertCpu, rawInsert(rawPath, values));
        libraryDoubleCpu =
            std::min(libraryDoubleCpu, libraryInsert(libraryPath, values, Binding::Double));
    }
    checkFetchedValues(libraryPath, rows);
    for (int round = 0; round < kRounds; ++round) {
        rawInsertCpu = std::min(rawInsertCpu, rawInsert(rawPath, values));
        libraryInsertCpu =
            std::min(libraryInsertCpu, libraryInsert(libraryPath, values, Binding::Text));
    }
    checkFetchedValues(libraryPath, rows);

    Read rawRead{1e300, 0, 0};
    Read libraryRead{1e300, 0, 0};
    for (int round = 0; round < kRounds; ++round) {
        const Read r = rawFetch(rawPath);
        const Read l = libraryFetch(libraryPath);
        if (r.rows != rows || l.rows != rows) {
            fail("a fetch read " + std::to_string(r.rows) + " / " + std::to_string(l.rows) +
                 " rows");
        }
        rawRead = r.cpu < rawRead.cpu ? r : rawRead;
        libraryRead = l.cpu < libraryRead.cpu ? l : libraryRead;
    }

    Aggregates rawSums{1e300, "", ""};
    Aggregates librarySums{1e300, "", ""};
    for (int round = 0; round < kRounds; ++round) {
        const Aggregates r = rawAggregates(rawPath);
        const Aggregates l = libraryAggregates(libraryPath);
        rawSums = r.cpu < rawSums.cpu ? r : rawSums;
        librarySums = l.cpu < librarySums.cpu ? l : librarySums;
    }
    const std::int64_t sum = totalCents(rows);
    std::printf("exact SUM %lld.%02lld; library SUM %s AVG %s; raw REAL SUM %s AVG %s\n",
                static_cast<long long>(sum / 100), static_cast<long long>(sum % 100),
                librarySums.sum.c_str(), librarySums.avg.c_str(), rawSums.sum.c_str(),
                rawSums.avg.c_str());

    std::printf("array DML, %ld rows in one batch and one transaction\n", rows);
    std::printf("  bound with SetDouble   %8.3f s CPU  (%.0f rows/s, %.2fx raw)\n",
                libraryDoubleCpu, rows / libraryDoubleCpu, libraryDoubleCpu / rawInsertCpu);
    std::printf("  bound with SetString:\n");
    benchutil::printVersusRaw("NUMBER(12,2) batch insert, library / raw CPU", rows, rawInsertCpu,
                              libraryInsertCpu, 2.0);
    std::printf("fetch with GetString (%llu bytes of text)\n",
                static_cast<unsigned long long>(libraryRead.bytes));
    benchutil::printVersusRaw("NUMBER(12,2) fetch as text, library / raw CPU", rows, rawRead.cpu,
                              libraryRead.cpu, 2.0);
    std::printf("SELECT SUM, AVG\n");
    benchutil::printVersusRaw("NUMBER(12,2) SUM and AVG, library / raw CPU", rows, rawSums.cpu,
                              librarySums.cpu, 2.0);

    benchutil::removeDb(libraryPath);
    benchutil::removeDb(rawPath);
    if (!showsQuotient(librarySums.sum, sum, 100)) {
        fail("SUM(n) reads " + librarySums.sum + ", not the exact sum of the values inserted");
    }
    if (!showsQuotient(librarySums.avg, sum, 100 * static_cast<std::int64_t>(rows))) {
        fail("AVG(n) reads " + librarySums.avg + ", not the exact mean of the values inserted");
    }
    return 0;
}
