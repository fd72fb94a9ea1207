// Storage texts parsed straight from a buffer: only `length` bytes count.
#include <gtest/gtest.h>

#include <string>

#include "kavexdb/occi.h"
#include "storage_text.h"

namespace {

using kavexdb::detail::dateFromText;
using kavexdb::detail::timestampFromText;
using oracle::occi::SQLException;

int errorOf(const std::string& buffer, std::size_t length) {
    try {
        timestampFromText(buffer.data(), length);
    } catch (const SQLException& e) {
        return e.getErrorCode();
    }
    return 0;
}

TEST(StorageText, BufferAndLengthReadLikeTheString) {
    // A fetch buffer holds the next value right behind this one.
    const std::string buffer = "2024-01-15 14:30:05.123456789+05:302025-12-31 00:00:00";
    const std::size_t first = buffer.find("2025");
    const char* const model = "yyyy-mm-dd hh24:mi:ss.ff9 tzr";
    EXPECT_EQ(timestampFromText(buffer.data(), first).toText(model, 0),
              timestampFromText(buffer.substr(0, first)).toText(model, 0));
    EXPECT_EQ(timestampFromText(buffer.data(), first).toText(model, 0),
              "2024-01-15 14:30:05.123456789 +05:30");
    EXPECT_EQ(dateFromText(buffer.data() + first, 10).toText("YYYY-MM-DD HH24:MI"),
              "2025-12-31 00:00");
    // A cut inside the value is as malformed as the same short string.
    EXPECT_EQ(errorOf(buffer, 8), 1861);
    EXPECT_EQ(errorOf(buffer, 20), 1861);  // "...:05." with no fraction digit
    EXPECT_EQ(errorOf(buffer, buffer.size()), 1861);
    EXPECT_EQ(errorOf(std::string("2024-02-30", 10), 10), 1847);
}

}  // namespace
