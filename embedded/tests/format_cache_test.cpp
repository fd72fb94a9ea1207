// The per-thread cache of parsed format models: bounded, and never mixing up models however
// callers interleave them.
#include "types/format_cache.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "kavexdb/occi.h"
#include "types/values.h"

namespace {

using kavexdb::detail::FormatCache;
using kavexdb::detail::numberFromText;
using oracle::occi::SQLException;
using oracle::occi::Timestamp;

// A "model" that records how often it was parsed.
struct Counted {
    std::string text;
};

struct CountingParse {
    int* calls;
    Counted operator()(const std::string& model) const {
        ++*calls;
        if (model == "bad") throw std::invalid_argument("bad model");
        return Counted{model};
    }
};

TEST(FormatCache, KeepsTheLatestModelsWithinItsBound) {
    FormatCache<Counted, 4> cache;
    int calls = 0;
    const CountingParse parse{&calls};
    for (int i = 0; i < 10; ++i) {
        const std::string key = "m" + std::to_string(i);
        EXPECT_EQ(cache.get(key, parse).text, key);
    }
    EXPECT_EQ(calls, 10);
    EXPECT_EQ(cache.size(), 4u);
    // The last four are still there; the first ones were replaced.
    for (int i = 6; i < 10; ++i)
        EXPECT_EQ(cache.get("m" + std::to_string(i), parse).text, "m" + std::to_string(i));
    EXPECT_EQ(calls, 10);
    EXPECT_EQ(cache.get("m0", parse).text, "m0");
    EXPECT_EQ(calls, 11);
    EXPECT_EQ(cache.size(), 4u);
}

TEST(FormatCache, FailedParsesAndLongModelsAreNotKept) {
    FormatCache<Counted, 4> cache;
    int calls = 0;
    const CountingParse parse{&calls};
    EXPECT_EQ(cache.get("a", parse).text, "a");
    EXPECT_THROW(cache.get("bad", parse), std::invalid_argument);
    EXPECT_THROW(cache.get("bad", parse), std::invalid_argument);
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.get("a", parse).text, "a");
    EXPECT_EQ(calls, 3);

    const std::string huge(FormatCache<Counted, 4>::kMaxKey + 1, 'x');
    EXPECT_EQ(cache.get(huge, parse).text, huge);
    EXPECT_EQ(cache.get(huge, parse).text, huge);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.get("a", parse).text, "a");
    EXPECT_EQ(calls, 5);
}

std::string number(const std::string& value, const std::string& model) {
    return numberFromText(value).toText(nullptr, model);
}

const Timestamp kStamp(nullptr, 2024, 1, 15, 14, 30, 5, 123456789, 5, 30);

// More models than the cache holds, with their renderings of 1234.5 and kStamp.
struct Expected {
    const char* model;
    const char* text;
};
const Expected kNumbers[] = {
    {"FM9999D99", "1234.5"},  {"99999.00", "  1234.50"},  {"9,999.9", " 1,234.5"},
    {"S9999", "+1235"},       {"FM$9999", "$1235"},       {"9999MI", "1235 "},
    {"9999PR", " 1235 "},     {"FM9.99EEEE", "1.23E+03"}, {"99", "###"},
    {"FM0000009", "0001235"}, {"fm9999d9", "1234.5"},     {"FM99999999999999999999D99", "1234.5"},
};
const Expected kStamps[] = {
    {"yyyy-mm-dd hh24:mi:sstzh:tzm", "2024-01-15 14:30:05+05:30"},
    {"YYYY-MM-DD HH24:MI:SS.FF3", "2024-01-15 14:30:05.123"},
    {"MONTH|Month|month", "JANUARY  |January  |january  "},
    {"fmDay, DD Month YYYY", "Monday, 15 January 2024"},
    {"DD-MON-RR HH.MI.SSXFF9 AM", "15-JAN-24 02.30.05.123456789 PM"},
    {"\"week\" IW \"day\" DDD", "week 03 day 015"},
    {"Y,YYY Q J", "2,024 1 2460325"},
    {"hh:mi a.m. tzr", "02:30 p.m. +05:30"},
    {"SSSSS", "52205"},
    {"FMMM/DD/YYYY", "1/15/2024"},
};

TEST(FormatCache, InterleavedModelsRenderAsAlone) {
    // Round robin over more models than the cache holds, twice, in both directions.
    for (int pass = 0; pass < 2; ++pass) {
        for (const Expected& e : kNumbers) EXPECT_EQ(number("1234.5", e.model), e.text) << e.model;
        for (const Expected& e : kStamps) EXPECT_EQ(kStamp.toText(e.model, 0), e.text) << e.model;
        for (int i = 11; i >= 0; --i) {
            EXPECT_EQ(number("1234.5", kNumbers[i].model), kNumbers[i].text) << kNumbers[i].model;
            EXPECT_EQ(kStamp.toText(kStamps[i % 10].model, 0), kStamps[i % 10].text);
        }
    }
    // Models rejected in between leave the cached ones intact.
    EXPECT_THROW(number("1", "9X9"), SQLException);
    EXPECT_THROW(kStamp.toText("YYYY \"open", 0), SQLException);
    EXPECT_EQ(number("-7", "FM9999MI"), "7-");
    EXPECT_EQ(number("1234.5", kNumbers[0].model), kNumbers[0].text);
    EXPECT_EQ(kStamp.toText(kStamps[0].model, 0), kStamps[0].text);
    // The same model text serves dates and timestamps: FF is checked per value, not per model.
    const oracle::occi::Date date(nullptr, 2024, 1, 15, 14, 30, 5);
    EXPECT_THROW(date.toText(kStamps[1].model), SQLException);
    EXPECT_EQ(date.toText("YYYY-MM-DD"), "2024-01-15");
    EXPECT_EQ(kStamp.toText(kStamps[1].model, 0), kStamps[1].text);
}

TEST(FormatCache, EachThreadHasItsOwn) {
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &wrong] {
            for (int i = 0; i < 300; ++i) {
                const Expected& n = kNumbers[(i + t) % 12];
                const Expected& s = kStamps[(i * 3 + t) % 10];
                wrong[t] += number("1234.5", n.model) != n.text;
                wrong[t] += kStamp.toText(s.model, 0) != s.text;
            }
        });
    }
    for (std::thread& th : threads) th.join();
    for (int t = 0; t < 4; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
}

}  // namespace
