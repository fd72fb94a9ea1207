// What a host sees when the embedded database is misused or damaged: failure texts that are safe
// to print, databases that say what is wrong with them, accounts that refuse, and SQL functions
// that never take the process down.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
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

}  // namespace
