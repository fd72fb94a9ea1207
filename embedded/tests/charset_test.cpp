// Character sets and Bytes values.
#include <gtest/gtest.h>

#include <string>

#include "base/charset.h"
#include "kavexdb/occi.h"
#include "test_util.h"
#include "types/values.h"

namespace {

using clienttest::thrownBy;
using kavexdb::detail::Charset;
using kavexdb::detail::fromStorage;
using kavexdb::detail::parseCharset;
using kavexdb::detail::toStorage;
using oracle::occi::Bytes;
using oracle::occi::SQLException;

const std::string kGrinning = "\xF0\x9F\x98\x80";              // U+1F600, standard UTF-8
const std::string kGrinningPair = "\xED\xA0\xBD\xED\xB8\x80";  // the same as a surrogate pair

TEST(Charset, Names) {
    EXPECT_EQ(parseCharset("utf8"), Charset::UTF8);
    EXPECT_EQ(parseCharset("UTF8"), Charset::UTF8);
    EXPECT_EQ(parseCharset("AL32UTF8"), Charset::AL32UTF8);
    EXPECT_EQ(parseCharset("al32Utf8"), Charset::AL32UTF8);
    for (const char* bad : {"", "utf-8", "WE8ISO8859P1", "utf8 "}) {
        SQLException e = thrownBy([&] { parseCharset(bad); });
        EXPECT_EQ(e.getErrorCode(), 32101) << bad;
        EXPECT_EQ(e.getMessage(), "ORA-32101: cannot create OCI Environment\n");
    }
}

TEST(Charset, Utf8SurrogatePairsBecomeStandardSequences) {
    const std::string client = "a" + kGrinningPair + "b\xC3\xA9" + kGrinningPair;
    const std::string stored = "a" + kGrinning + "b\xC3\xA9" + kGrinning;
    EXPECT_EQ(toStorage(client, Charset::UTF8), stored);
    EXPECT_EQ(fromStorage(stored, Charset::UTF8), client);
    // Standard 4-byte input is accepted as it is.
    EXPECT_EQ(toStorage(stored, Charset::UTF8), stored);
    // AL32UTF8 is standard UTF-8 both ways.
    EXPECT_EQ(toStorage(client, Charset::AL32UTF8), client);
    EXPECT_EQ(fromStorage(stored, Charset::AL32UTF8), stored);
}

TEST(Charset, MalformedTextPassesThrough) {
    const std::string loneHigh = "x\xED\xA0\xBDy";
    const std::string loneLow = "\xED\xB8\x80";
    const std::string cut = "z\xF0\x9F\x98";
    EXPECT_EQ(toStorage(loneHigh, Charset::UTF8), loneHigh);
    EXPECT_EQ(toStorage(loneLow + loneHigh, Charset::UTF8), loneLow + loneHigh);
    EXPECT_EQ(fromStorage(cut, Charset::UTF8), cut);
    EXPECT_EQ(toStorage("\xED\x9F\xBF", Charset::UTF8), "\xED\x9F\xBF");  // U+D7FF is no surrogate
    EXPECT_EQ(toStorage("", Charset::UTF8), "");
}

TEST(Bytes, ValuesAndBounds) {
    Bytes none;
    EXPECT_TRUE(none.isNull());
    EXPECT_EQ(none.length(), 0u);
    unsigned char source[] = {1, 2, 3, 4, 5};
    Bytes b(source, 3, 1);
    EXPECT_FALSE(b.isNull());
    ASSERT_EQ(b.length(), 3u);
    unsigned char out[6] = {0, 0, 0, 0, 0, 0};
    b.getBytes(out, 3);
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[2], 4);
    b.getBytes(out, 2, 1, 4);
    EXPECT_EQ(out[4], 3);
    EXPECT_EQ(out[5], 4);
    EXPECT_EQ(thrownBy([&] { b.getBytes(out, 4); }).getErrorCode(), 21560);
    EXPECT_EQ(thrownBy([&] { b.getBytes(out, 1, 3); }).getErrorCode(), 21560);
    EXPECT_EQ(thrownBy([&] { b.getBytes(out, 2, 0xFFFFFFFFu); }).getErrorCode(), 21560);
    EXPECT_EQ(thrownBy([&] { none.getBytes(out, 1); }).getErrorCode(), 21560);
    EXPECT_EQ(thrownBy([&] { b.getBytes(nullptr, 1); }).getErrorCode(), 21560);
    b.getBytes(out, 0, 3);  // nothing to copy at the end

    Bytes copy(b);
    source[1] = 99;  // the value owns its bytes
    copy.getBytes(out, 1);
    EXPECT_EQ(out[0], 2);
    b.setNull();
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(copy.length(), 3u);
    Bytes assigned;
    assigned = copy;
    EXPECT_EQ(assigned.length(), 3u);

    Bytes empty = kavexdb::detail::bytesFrom(nullptr, 0);
    EXPECT_FALSE(empty.isNull());
    EXPECT_EQ(empty.length(), 0u);
    Bytes raw = kavexdb::detail::bytesFrom("\0\xFF", 2);
    raw.getBytes(out, 2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0xFF);
    EXPECT_EQ(thrownBy([] { Bytes(nullptr, 2); }).getErrorCode(), 21560);
}

}  // namespace
