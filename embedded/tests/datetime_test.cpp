// Date and Timestamp: range checks with Oracle's errors, rendering with datetime format models,
// and the storage texts.
#include <gtest/gtest.h>

#include <string>

#include "kavexdb/occi.h"
#include "test_util.h"
#include "types/values.h"

namespace {

using clienttest::oraCode;
using clienttest::oraMessage;
using kavexdb::detail::dateFromText;
using kavexdb::detail::dateToStorage;
using kavexdb::detail::timestampFromText;
using kavexdb::detail::timestampToStorage;
using oracle::occi::Date;
using oracle::occi::Timestamp;

const Timestamp kReference(nullptr, 2024, 1, 15, 14, 30, 5, 123456789, 5, 30);
const Date kDate(nullptr, 2024, 1, 15, 14, 30, 5);

TEST(DateTime, NullValues) {
    Date d;
    Timestamp t;
    EXPECT_TRUE(d.isNull());
    EXPECT_TRUE(t.isNull());
    EXPECT_FALSE(Date(nullptr).isNull());
    Timestamp copy(kReference);
    copy.setNull();
    EXPECT_TRUE(copy.isNull());
    EXPECT_FALSE(kReference.isNull());
    int year = 0;
    unsigned month = 0, day = 0;
    EXPECT_EQ(oraCode([&] { t.getDate(year, month, day); }), 32146);
    EXPECT_EQ(d.toText("YYYY"), "");
}

TEST(DateTime, RangeChecks) {
    EXPECT_EQ(oraCode([] { Date(nullptr, 2024, 13, 1); }), 1843);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2024, 0, 1); }), 1843);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2023, 2, 29); }), 1847);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2024, 2, 29); }), 0);
    EXPECT_EQ(oraCode([] { Date(nullptr, 1900, 2, 29); }), 1847);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2000, 2, 29); }), 0);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2024, 4, 31); }), 1847);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2024, 1, 0); }), 1847);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2024, 1, 1, 24); }), 1850);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2024, 1, 1, 0, 60); }), 1851);
    EXPECT_EQ(oraCode([] { Date(nullptr, 2024, 1, 1, 0, 0, 60); }), 1852);
    EXPECT_EQ(oraCode([] { Date(nullptr, 0, 1, 1); }), 1841);
    EXPECT_EQ(oraCode([] { Date(nullptr, 10000, 1, 1); }), 1841);
    EXPECT_EQ(oraCode([] { Timestamp(nullptr, 2024, 1, 1, 0, 0, 61); }), 1852);
    EXPECT_EQ(oraCode([] { Timestamp(nullptr, 2024, 1, 1, 0, 0, 0, 1000000000); }), 1880);
    EXPECT_EQ(oraCode([] { Timestamp(nullptr, 2024, 1, 1, 0, 0, 0, 0, 15); }), 1874);
    EXPECT_EQ(oraCode([] { Timestamp(nullptr, 2024, 1, 1, 0, 0, 0, 0, -13); }), 1874);
    EXPECT_EQ(oraCode([] { Timestamp(nullptr, 2024, 1, 1, 0, 0, 0, 0, 14); }), 0);
    EXPECT_EQ(oraCode([] { Timestamp(nullptr, 2024, 1, 1, 0, 0, 0, 0, -12, -59); }), 0);
    EXPECT_EQ(oraCode([] { Timestamp(nullptr, 2024, 1, 1, 0, 0, 0, 0, 5, 60); }), 1875);
    EXPECT_EQ(oraMessage([] { Date(nullptr, 2024, 13, 1); }), "ORA-01843: not a valid month\n");
}

TEST(DateTime, Accessors) {
    int year = 0, tzHour = 0, tzMinute = 0;
    unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0, fs = 0;
    kReference.getDate(year, month, day);
    kReference.getTime(hour, minute, second, fs);
    kReference.getTimeZoneOffset(tzHour, tzMinute);
    EXPECT_EQ(year, 2024);
    EXPECT_EQ(month, 1u);
    EXPECT_EQ(day, 15u);
    EXPECT_EQ(hour, 14u);
    EXPECT_EQ(minute, 30u);
    EXPECT_EQ(second, 5u);
    EXPECT_EQ(fs, 123456789u);
    EXPECT_EQ(tzHour, 5);
    EXPECT_EQ(tzMinute, 30);
    kDate.getDate(year, month, day, hour, minute, second);
    EXPECT_EQ(year * 10000 + month * 100 + day, 20240115u);
    EXPECT_EQ(hour * 10000 + minute * 100 + second, 143005u);
}

TEST(DateTime, ReferenceRenderings) {
    EXPECT_EQ(kReference.toText("yyyy-mm-dd hh24:mi:sstzh:tzm", 0), "2024-01-15 14:30:05+05:30");
    // The library's timestamp format: 12-hour clock without an indicator.
    EXPECT_EQ(kReference.toText("yyyy-mm-dd hh:mi:sstzh:tzm", 0), "2024-01-15 02:30:05+05:30");
    EXPECT_EQ(kDate.toText(""), "15-JAN-24");
    EXPECT_EQ(kDate.toText(), "15-JAN-24");
    const Timestamp noZone(nullptr, 2024, 1, 15, 0, 5, 0);
    EXPECT_EQ(noZone.toText("yyyy-mm-dd hh:mi:sstzh:tzm", 0), "2024-01-15 12:05:00+00:00");
    const Timestamp west(nullptr, 2024, 1, 15, 12, 0, 0, 0, -5, -30);
    EXPECT_EQ(west.toText("hh24:mi tzh:tzm tzr", 0), "12:00 -05:30 -05:30");
    const Timestamp halfHourWest(nullptr, 2024, 1, 15, 12, 0, 0, 0, 0, -30);
    EXPECT_EQ(halfHourWest.toText("tzh:tzm", 0), "-00:30");
}

TEST(DateTime, ElementCaseFollowsTheModel) {
    EXPECT_EQ(kDate.toText("MON Mon mon mON"), "JAN Jan jan jan");
    EXPECT_EQ(kDate.toText("MONTH|Month|month"), "JANUARY  |January  |january  ");
    EXPECT_EQ(kDate.toText("FMMonth DD"), "January 15");
    EXPECT_EQ(kDate.toText("DAY Dy dy"), "MONDAY    Mon mon");
    EXPECT_EQ(kDate.toText("fmDay, Month fmDD"), "Monday, January 15");
    EXPECT_EQ(kDate.toText("HH:MI AM|hh:mi am|HH A.M.|hh p.m.|Am"), "02:30 PM|02:30 pm|02 P.M.|02 p.m.|Pm");
}

TEST(DateTime, ClockAndNumericElements) {
    const Date midnight(nullptr, 2024, 3, 1, 0, 7, 9);
    const Date noon(nullptr, 2024, 3, 1, 12, 0, 0);
    EXPECT_EQ(midnight.toText("HH HH12 HH24 AM"), "12 12 00 AM");
    EXPECT_EQ(noon.toText("HH HH24 PM"), "12 12 PM");
    EXPECT_EQ(midnight.toText("SSSSS"), "00429");
    EXPECT_EQ(midnight.toText("FMHH24:MI:SS"), "0:7:9");
    EXPECT_EQ(kDate.toText("YYYY YYY YY Y RR RRRR Y,YYY"), "2024 024 24 4 24 2024 2,024");
    EXPECT_EQ(kDate.toText("DDD D Q WW W CC J"), "015 2 1 03 3 21 2460325");
    EXPECT_EQ(Date(nullptr, 2021, 1, 1).toText("IYYY-IW"), "2020-53");
    EXPECT_EQ(Date(nullptr, 2024, 12, 30).toText("IYYY-IW"), "2025-01");
    EXPECT_EQ(Date(nullptr, 1).toText("YYYY-MM-DD AD"), "0001-01-01 AD");
    EXPECT_EQ(Date(nullptr, -44, 3, 15).toText("SYYYY B.C."), "-0044 B.C.");
    EXPECT_EQ(kDate.toText("YYYY \"year\" MM, \"Q\"Q"), "2024 year 01, Q1");
    EXPECT_EQ(kDate.toText("DD/MM/YYYY;HH24.MI"), "15/01/2024;14.30");
}

TEST(DateTime, FractionalSeconds) {
    EXPECT_EQ(kReference.toText("SS.FF3", 0), "05.123");
    EXPECT_EQ(kReference.toText("SS.FF9", 0), "05.123456789");
    EXPECT_EQ(kReference.toText("SS.FF1", 0), "05.1");
    EXPECT_EQ(kReference.toText("SS.FF", 6), "05.123456");
    EXPECT_EQ(kReference.toText("SS.FF", 0), "05.");
    EXPECT_EQ(kReference.toText("SS.FF", 12), "05.123456789");
    EXPECT_EQ(kReference.toText("SSXFF2", 0), "05.12");
    EXPECT_EQ(kReference.toText("", 3), "15-JAN-24 02.30.05.123 PM");
}

TEST(DateTime, UnknownElements) {
    for (const char* fmt : {"YYYY-ZZ", "T", "HH25", "\"open", "DD 2024", "YYYYMMDDQQQX9"})
        EXPECT_EQ(oraCode([&] { kDate.toText(fmt); }), 1821) << fmt;
    for (const char* fmt : {"FF", "FF3", "TZH", "TZM", "TZR"})
        EXPECT_EQ(oraCode([&] { kDate.toText(fmt); }), 1821) << fmt;
    EXPECT_EQ(oraCode([] { kReference.toText("YYYY-ZZ", 0); }), 1821);
}

TEST(DateTime, StorageRoundTrips) {
    EXPECT_EQ(dateToStorage(kDate), "2024-01-15 14:30:05");
    EXPECT_EQ(dateToStorage(dateFromText("2024-01-15 14:30:05")), "2024-01-15 14:30:05");
    EXPECT_EQ(dateToStorage(Date(nullptr, -44, 3, 15)), "-0044-03-15 00:00:00");
    EXPECT_EQ(dateToStorage(dateFromText("-0044-03-15 00:00:00")), "-0044-03-15 00:00:00");
    EXPECT_EQ(timestampToStorage(kReference, true), "2024-01-15 14:30:05.123456789+05:30");
    EXPECT_EQ(timestampToStorage(kReference, false), "2024-01-15 14:30:05.123456789");
    const Timestamp west(nullptr, 2024, 1, 15, 12, 0, 0, 0, -5, -30);
    EXPECT_EQ(timestampToStorage(timestampFromText(timestampToStorage(west, true)), true),
              "2024-01-15 12:00:00.000000000-05:30");
    EXPECT_EQ(timestampToStorage(timestampFromText("2024-01-15 14:30:05.123456789+05:30"), true),
              "2024-01-15 14:30:05.123456789+05:30");
}

TEST(DateTime, StorageParsingIsLenientWhereSafe) {
    EXPECT_EQ(dateToStorage(dateFromText("2024-01-15")), "2024-01-15 00:00:00");
    EXPECT_EQ(dateToStorage(dateFromText("2024-1-5 7:08")), "2024-01-05 07:08:00");
    EXPECT_EQ(dateToStorage(dateFromText("2024-01-15 14:30:05.999")), "2024-01-15 14:30:05");
    EXPECT_EQ(timestampToStorage(timestampFromText("2024-01-15 14:30:05.5"), false),
              "2024-01-15 14:30:05.500000000");
    EXPECT_EQ(timestampToStorage(timestampFromText("2024-01-15T14:30:05Z"), true),
              "2024-01-15 14:30:05.000000000+00:00");
    EXPECT_EQ(timestampToStorage(timestampFromText(" 2024-01-15 14:30:05 -0800 "), true),
              "2024-01-15 14:30:05.000000000-08:00");
    EXPECT_EQ(timestampToStorage(timestampFromText("2024-01-15 14:30:05.1234567891"), false),
              "2024-01-15 14:30:05.123456789");
}

TEST(DateTime, MalformedStorageText) {
    for (const char* bad : {"", "hello", "2024/01/15", "2024-01", "2024-01-15 14",
                            "2024-01-15 14:30:05.", "2024-01-15 14:30:05 x", "2024-01-15T",
                            "20240-01-15", "2024-01-15 14:30:05+5"})
        EXPECT_EQ(oraCode([&] { timestampFromText(bad); }), 1861) << bad;
    EXPECT_EQ(oraCode([] { dateFromText("2024-13-01"); }), 1843);
    EXPECT_EQ(oraCode([] { dateFromText("2024-02-30"); }), 1847);
    EXPECT_EQ(oraCode([] { timestampFromText("2024-01-01 25:00:00"); }), 1850);
    EXPECT_EQ(oraCode([] { timestampFromText("2024-01-01 00:00:00+15:00"); }), 1874);
}

}  // namespace
