// Filling an ORA message's placeholders, and the error text it makes.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "base/ora_message.h"

namespace d = kavexdb::detail;

namespace {

constexpr d::OraMessage<2> kTwo{932, "inconsistent datatypes: expected {} got {}"};
constexpr d::OraMessage<1> kOne{54, "resource busy: {}"};
constexpr d::OraMessage<0> kNone{1008, "not all variables bound"};

TEST(OraMessage, CountsEachPairOfBracesOnce) {
    static_assert(d::placeholderCount("") == 0);
    static_assert(d::placeholderCount("{") == 0);
    static_assert(d::placeholderCount("} {") == 0);
    static_assert(d::placeholderCount("{}{}") == 2);
    static_assert(d::placeholderCount("{{}}") == 1);
    static_assert(d::placeholderCount("a {} b {}") == 2);
}

TEST(OraMessage, FillsPlaceholdersInOrder) {
    EXPECT_EQ(d::messageText(kTwo, "DATE", std::string("NUMBER")),
              "inconsistent datatypes: expected DATE got NUMBER");
    EXPECT_EQ(d::messageText(kNone), "not all variables bound");
}

TEST(OraMessage, IntegersAreDecimal) {
    EXPECT_EQ(d::messageText(kOne, -42), "resource busy: -42");
    EXPECT_EQ(d::messageText(kOne, std::size_t{18446744073709551615u}),
              "resource busy: 18446744073709551615");
    EXPECT_EQ(d::messageText(kTwo, 0LL, 7u), "inconsistent datatypes: expected 0 got 7");
}

// A name the user wrote may hold "{}"; it is shown as written, not filled again.
TEST(OraMessage, ArgumentsAreNotSearchedForPlaceholders) {
    EXPECT_EQ(d::messageText(kTwo, "{}", "X"), "inconsistent datatypes: expected {} got X");
}

TEST(OraMessage, ErrorCarriesCodeAndFiveDigitPrefix) {
    const oracle::occi::SQLException e = d::makeError(kOne, "NOWAIT");
    EXPECT_EQ(e.getErrorCode(), 54);
    EXPECT_EQ(e.getMessage(), "ORA-00054: resource busy: NOWAIT\n");
    EXPECT_EQ(d::oraErrorText(kNone), "ORA-01008: not all variables bound");
}

TEST(OraMessage, RaiseThrowsTheMessage) {
    try {
        d::raise(kTwo, "CLOB", "BLOB");
        FAIL();
    } catch (const oracle::occi::SQLException& e) {
        EXPECT_EQ(e.getErrorCode(), 932);
        EXPECT_STREQ(e.what(), "ORA-00932: inconsistent datatypes: expected CLOB got BLOB\n");
    }
}

}  // namespace
