// What a host sees when the embedded database is misused or damaged: failure texts that are safe
// to print, databases that say what is wrong with them, accounts that refuse, and SQL functions
// that never take the process down.
#include <gtest/gtest.h>

#include <pthread.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "flat_host.h"
#include "kavex_oracleociw.h"

namespace {

using flathost::errorText;

std::string pathOf(const std::string& uri) {
    return uri.substr(5, uri.find('?') - 5);  // "file:" ... "?mode=rwc"
}

TEST(EmbeddedHardening, OpenFailureTextEscapesControlCharacters) {
    const std::string missing = ::testing::TempDir() + "no\x1b[2Jsuch\ndb\x7f.db";
    const int failed = OpenConnection(missing.c_str(), "eve\r\n\x1b]0;owned\x07\xc2\x9b", "pw");
    ASSERT_LT(failed, 0);
    const std::string text = errorText(failed);
    EXPECT_EQ(0u, text.find("Cannot open connection to server: " + ::testing::TempDir() +
                            "no\\x1B[2Jsuch\\x0Adb\\x7F.db, user: "
                            "eve\\x0D\\x0A\\x1B]0;owned\\x07\\u009B;  (ORA-12154: "))
        << text;
    // The Oracle message itself keeps its own line break before ")[Code:".
    for (char c : text.substr(0, text.find("ORA-12154")))
        EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7f) << text;
    // Printable UTF-8 and backslashes pass unchanged.
    const int other = OpenConnection("", "J\xc3\xb6rg\\x", "pw");
    EXPECT_EQ(0u,
              errorText(other).find("Cannot open connection to server: , user: J\xc3\xb6rg\\x; "));
}

TEST(EmbeddedHardening, NotADatabaseFileSaysSo) {
    const std::string path = pathOf(flathost::fileDatabase());
    { std::ofstream(path) << std::string(2048, 'n'); }
    const int failed = OpenConnection(path.c_str(), "scott", "tiger");
    EXPECT_EQ(errorText(failed), "Cannot open connection to server: " + path +
                                     ", user: scott;  (ORA-01122: database file failed "
                                     "verification check: file is not a database\n)[Code:1122]");
    std::remove(path.c_str());
}

TEST(EmbeddedHardening, AccountsRefuseThroughTheExports) {
    const std::string db = flathost::memoryDatabase();
    const int admin = OpenConnection(db.c_str(), "admin", "pw");
    ASSERT_GE(admin, 11) << errorText(admin);
    flathost::run(admin, "create user admin identified by pw");
    flathost::run(admin, "create user bob identified by b");
    const int bob = OpenConnection(db.c_str(), "bob", "b");
    ASSERT_GE(bob, 11) << errorText(bob);
    int r = ExecuteQuery(bob, "select * from \"KAVEX$ACCOUNTS\"", 0);
    EXPECT_EQ(errorText(r), "ORA-00942: table or view does not exist\n");
    r = ExecuteQuery(bob, "alter user admin identified by mine", 0);
    EXPECT_EQ(errorText(r), "ORA-01031: insufficient privileges\n");
    r = ExecuteQuery(bob, "pragma writable_schema = 1", 0);
    EXPECT_EQ(errorText(r), "ORA-01031: insufficient privileges\n");
    r = ExecuteQuery(admin, "CREATE USER b IDENTIFIED BY pw garbage (", 0);
    EXPECT_EQ(errorText(r), "ORA-00922: missing or invalid option\n");
    EXPECT_EQ(flathost::run(bob, "alter user bob identified by b2"), 0);
    CloseConnection(bob);
    CloseConnection(admin);
}

TEST(EmbeddedHardening, PaddingWithAnEmptyFillerIsNullNotACrash) {
    const int s = flathost::open(flathost::memoryDatabase());
    EXPECT_EQ(flathost::column(s, "select lpad('a', 5, X'') from dual"), "<NULL>");
    EXPECT_EQ(flathost::column(s, "select rpad('a', 5, empty_blob()) from dual"), "<NULL>");
    EXPECT_EQ(flathost::column(s, "select rpad('a', 3, '*') from dual"), "a**");
    CloseConnection(s);
}

// Statements past Oracle's limits fail at once with Oracle's errors; just inside them they run.
std::string joined(int count, const std::function<std::string(int)>& item) {
    std::string out;
    for (int i = 1; i <= count; ++i) out += (i > 1 ? ", " : "") + item(i);
    return out;
}

TEST(StatementLimits, ListsArgumentsAndSelectListsStopWhereOraclesDo) {
    const int s = flathost::open(flathost::memoryDatabase());
    auto number = [](int i) { return std::to_string(i); };
    const std::string in1000 = "select to_char(count(*)) from dual where 1 in (" + joined(1000, number) + ")";
    EXPECT_EQ(flathost::column(s, in1000), "1");
    const std::string in1001 = "select to_char(count(*)) from dual where 1 in (" + joined(1001, number) + ")";
    EXPECT_EQ(errorText(ExecuteQuery(s, in1001.c_str(), 1)),
              "ORA-01795: maximum number of expressions in a list is 1000\n");
    // A subquery is no expression list, and several lists ORed are each within the limit.
    const std::string ored = "select to_char(count(*)) from dual where 1 in (" + joined(1000, number) +
                             ") or 2 in (" + joined(1000, number) + ")";
    EXPECT_EQ(flathost::column(s, ored), "1");

    const std::string decode = "select decode(1, " +
                               joined(127, [](int i) { return std::to_string(i) + ", 'x'"; }) +
                               ") from dual";  // 1 + 254 arguments
    EXPECT_EQ(flathost::column(s, decode), "x");
    const std::string last = "select decode(127, " +
                             joined(127, [](int i) { return std::to_string(i) + ", 'v" + std::to_string(i) + "'"; }) +
                             ") || decode(130, " +
                             joined(126, [](int i) { return std::to_string(i) + ", 'w'"; }) +
                             ", 'none') from dual";
    EXPECT_EQ(flathost::column(s, last), "v127none");
    const std::string decode256 = "select decode(1, " +
                                  joined(127, [](int i) { return std::to_string(i) + ", 'x'"; }) +
                                  ", 'y') from dual";
    EXPECT_EQ(errorText(ExecuteQuery(s, decode256.c_str(), 1)),
              "ORA-00939: too many arguments for function\n");
    std::string cases = "select case";
    for (int i = 0; i < 32768; ++i) cases += " when 1 = " + std::to_string(i) + " then 'x'";
    cases += " end from dual";
    EXPECT_EQ(errorText(ExecuteQuery(s, cases.c_str(), 1)),
              "ORA-00939: too many arguments for function\n");

    const std::string columns1000 = "select " + joined(1000, number) + " from dual";
    EXPECT_GE(ExecuteQuery(s, columns1000.c_str(), 1), 0) << errorText(-1);
    const std::string columns1001 = "select " + joined(1001, number) + " from dual";
    EXPECT_EQ(errorText(ExecuteQuery(s, columns1001.c_str(), 1)),
              "ORA-01792: maximum number of columns in a table or view is 1000\n");
    CloseConnection(s);
}

// Placeholders keep their positions however many there are and however often a name repeats:
// position k is the k-th distinct name.
TEST(StatementLimits, ManyAndRepeatedPlaceholdersKeepTheirPositions) {
    const int s = flathost::open(flathost::memoryDatabase());
    ASSERT_EQ(PrepareQuery(s, "select :a || :b || :a || :c from dual", 1), 0);
    ASSERT_EQ(SetString(s, 1, "x", 0), 0);
    ASSERT_EQ(SetString(s, 2, "y", 0), 0);
    ASSERT_EQ(SetString(s, 3, "z", 0), 0);
    ASSERT_GE(Execute(s), 0) << errorText(-1);
    ASSERT_EQ(NextRow(s), 1);
    EXPECT_EQ(flathost::text(s, 0), "xyxz");
    // A row of text made of 5,000 values, as a CSV export writes one: a long chain of ||.
    std::string sql = "select to_char(length('x'";
    for (int i = 1; i <= 5000; ++i) sql += " || :p" + std::to_string(i) + " || ','";
    sql += " || :p1)) from dual";
    ASSERT_EQ(PrepareQuery(s, sql.c_str(), 1), 0);
    for (int i = 1; i <= 5000; ++i) ASSERT_EQ(SetInt(s, i, i, 0), 0);
    const int executed = Execute(s);
    ASSERT_GE(executed, 0) << errorText(executed);
    ASSERT_EQ(NextRow(s), 1);
    int digits = 0;
    for (int i = 1; i <= 5000; ++i) digits += static_cast<int>(std::to_string(i).size());
    EXPECT_EQ(flathost::text(s, 0), std::to_string(1 + digits + 5000 + 1));
    CloseConnection(s);
}

// Deep nesting is refused with ORA-03095 on a thread with the 1 MiB stack a JVM gives its
// threads, instead of overflowing it.
TEST(StatementLimits, DeepNestingIsAParseErrorOnAOneMegabyteStack) {
    struct Run {
        std::string parens, cases, inside;
    } run;
    auto body = [](void* arg) -> void* {
        Run& r = *static_cast<Run*>(arg);
        const int s = OpenConnection(flathost::memoryDatabase().c_str(), "scott", "tiger");
        auto nested = [&](const std::string& open, const std::string& close, int depth) {
            std::string sql = "select ";
            for (int i = 0; i < depth; ++i) sql += open;
            sql += "1";
            for (int i = 0; i < depth; ++i) sql += close;
            sql += " from dual";
            const int rc = ExecuteQuery(s, sql.c_str(), 1);
            return rc < 0 ? errorText(rc) : std::string("ran");
        };
        r.parens = nested("(", ")", 2000);
        r.cases = nested("case when 1 = 1 then ", " end", 2000);
        r.inside = nested("(", ")", 30);
        CloseConnection(s);
        return nullptr;
    };
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 1 << 20);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, body, &run), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(run.parens, "ORA-03095: expression level is too deep, maximum 255\n");
    EXPECT_EQ(run.cases, "ORA-03095: expression level is too deep, maximum 255\n");
    EXPECT_EQ(run.inside, "ran");
}

// A chain of one set operator over more queries than SQLite takes in one compound SELECT (500)
// runs whole, as in Oracle: its rows, the first query's column names, an ORDER BY of the whole.
TEST(StatementLimits, SetOperatorChainsOfThousandsOfQueriesRun) {
    const int s = flathost::open(flathost::memoryDatabase());
    auto chain = [](int n, const char* op, int modulo) {
        std::string sql;
        for (int i = 0; i < n; ++i)
            sql += (i ? std::string(" ") + op + " " : std::string()) + "select " +
                   std::to_string(i % modulo) + (i ? "" : " v") + " from dual";
        return sql;
    };
    EXPECT_EQ(flathost::column(s, "select to_char(count(*)) || ':' || to_char(sum(v)) from (" +
                                      chain(3000, "union all", 3000) + ")"),
              "3000:4498500");
    EXPECT_EQ(flathost::column(s, "select to_char(count(*)) from (" + chain(1200, "union", 7) + ")"),
              "7");
    EXPECT_EQ(flathost::column(s, chain(1200, "union all", 1200) +
                                      " order by v desc fetch first 2 rows only"),
              "1.199E+03|1.198E+03");
    flathost::run(s, "create table loaded (v number)");
    ASSERT_EQ(flathost::run(s, "insert into loaded " + chain(2000, "union all", 2000)), 2000);
    EXPECT_EQ(flathost::column(s, "select to_char(count(distinct v)) from loaded"), "2000");
    CloseConnection(s);
}

// A session's temporary files hold at most its temp_limit: a sort past it fails with ORA-01652
// and gives its space back, so the session goes on sorting within the limit. (The limit is kept
// by the VFS of Linux builds.)
TEST(StatementLimits, TemporaryDiskStopsAtTheSessionsTempLimit) {
#if !defined(__linux__)
    GTEST_SKIP() << "temporary files are counted on Linux";
#endif
    const int s = flathost::open(flathost::fileDatabase() + "&temp_limit=32M");
    // Rows of about 210 bytes: 100,000 spill about 21 MB to disk, 200,000 about 42 MB.
    auto sort = [&](int rows) {
        const std::string sql = "select count(*) from (select level l, rpad('x', 200, 'y') || level p "
                                "from dual connect by level <= " + std::to_string(rows) +
                                " order by p desc)";
        const int rc = ExecuteQuery(s, sql.c_str(), 1);
        if (rc < 0) return errorText(rc);
        return NextRow(s) == 1 ? flathost::text(s, 0) : std::string("no row");
    };
    EXPECT_EQ(sort(100000), "1.E+05");
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::string refused = sort(200000);
        EXPECT_EQ(refused.rfind("ORA-01652: unable to extend temp segment by ", 0), 0u) << refused;
        EXPECT_NE(refused.find(" in tablespace TEMP"), std::string::npos) << refused;
    }
    EXPECT_EQ(sort(100000), "1.E+05");
    CloseConnection(s);

    // A value the parameter cannot take refuses the session.
    const std::string bad = flathost::fileDatabase() + "&temp_limit=12X";
    const int refused = OpenConnection(bad.c_str(), "scott", "tiger");
    ASSERT_LT(refused, 0);
    EXPECT_NE(errorText(refused).find("ORA-00096: invalid value 12X for parameter temp_limit"),
              std::string::npos)
        << errorText(refused);
}

}  // namespace
