// Storage texts parsed straight from a buffer: only `length` bytes count.
#include <gtest/gtest.h>

#include <string>

#include "kavexdb/occi.h"
#include "types/storage_text.h"

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

TEST(StorageText, FixedWidthTextsReadEveryField) {
    const char* const model = "yyyy-mm-dd hh24:mi:ss.ff9";
    // The client's own forms, and the same values spelled in forms only the general reader takes.
    EXPECT_EQ(timestampFromText(std::string("0987-06-05 04:03:02.010203040")).toText(model, 0),
              "0987-06-05 04:03:02.010203040");
    EXPECT_EQ(timestampFromText(std::string("9999-12-31 23:59:59.999999999")).toText(model, 0),
              "9999-12-31 23:59:59.999999999");
    EXPECT_EQ(timestampFromText(std::string("2024-02-29 12:34:56")).toText(model, 0),
              "2024-02-29 12:34:56.000000000");
    EXPECT_EQ(timestampFromText(std::string("987-6-5 4:3:2.01020304")).toText(model, 0),
              "0987-06-05 04:03:02.010203040");
    EXPECT_EQ(dateFromText(std::string("2024-07-08T09:10:11")).toText("YYYY-MM-DD HH24:MI:SS"),
              "2024-07-08 09:10:11");
    // A wrong character anywhere in a fixed-width text is refused as in any other text.
    const std::string good = "2024-01-15 14:30:05.123456789";
    for (std::size_t at = 0; at < good.size(); ++at) {
        std::string bad = good;
        bad[at] = bad[at] == '5' ? 'x' : (bad[at] >= '0' && bad[at] <= '9') ? '/' : '0';
        EXPECT_EQ(errorOf(bad, bad.size()), 1861) << bad;
    }
    EXPECT_EQ(errorOf("2023-02-29 00:00:00", 19), 1847);
    EXPECT_EQ(errorOf("2024-13-01 00:00:00", 19), 1843);
    EXPECT_EQ(errorOf("2024-01-01 24:00:00", 19), 1850);
}

}  // namespace
