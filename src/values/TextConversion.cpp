#include "values/TextConversion.h"

#include <cstdlib>
#include <cstring>

#include "values/DigitPairs.h"

namespace kavex {

namespace {

// The formats the column records carry for DATE and TIMESTAMP columns are written here digit by
// digit from the value's fields: the same text OCCI renders for them, without interpreting the
// format model for every value. Other formats, and values whose fields lie outside what these
// formats show in fixed widths (a year before 1 or after 9999), go to OCCI.
constexpr std::size_t kDateLength = sizeof dateFormat - 1;
constexpr char kZoneFormat[] = "tzh:tzm";
constexpr std::size_t kZoneLength = sizeof kZoneFormat - 1;
constexpr char kFractionFormat[] = ".ff";
constexpr std::size_t kFractionLength = sizeof kFractionFormat - 1;

// The digits of fractional seconds a timestamp format of the column records shows (0 to 9), or
// -1 for any other format.
int timestampLayout(const std::string& format) {
    const std::size_t size = format.size();
    if (size < kDateLength + kZoneLength ||
        std::memcmp(format.data(), dateFormat, kDateLength) != 0 ||
        std::memcmp(format.data() + size - kZoneLength, kZoneFormat, kZoneLength) != 0) {
        return -1;
    }
    if (size == kDateLength + kZoneLength) {
        return 0;
    }
    const char* fraction = format.data() + kDateLength;
    if (size != kDateLength + kFractionLength + 1 + kZoneLength ||
        std::memcmp(fraction, kFractionFormat, kFractionLength) != 0 ||
        fraction[kFractionLength] < '1' || fraction[kFractionLength] > '9') {
        return -1;
    }
    return fraction[kFractionLength] - '0';
}

char* putTwo(char* p, unsigned int value) {
    return putTwoDigits(p, value);
}

// "yyyy-mm-dd hh24:mi:ss" of fields already known to fit it; returns the end.
char* putDateTime(char* p, int year, unsigned int month, unsigned int day, unsigned int hour,
                  unsigned int minute, unsigned int second) {
    const auto y = static_cast<unsigned int>(year);
    p = putTwo(p, y / 100);
    p = putTwo(p, y % 100);
    *p++ = '-';
    p = putTwo(p, month);
    *p++ = '-';
    p = putTwo(p, day);
    *p++ = ' ';
    p = putTwo(p, hour);
    *p++ = ':';
    p = putTwo(p, minute);
    *p++ = ':';
    return putTwo(p, second);
}

bool fitsDateTime(int year, unsigned int month, unsigned int day, unsigned int hour,
                  unsigned int minute, unsigned int second) {
    return year >= 1 && year <= 9999 && month < 100 && day < 100 && hour < 100 && minute < 100 &&
           second < 100;
}

}  // namespace

std::string numberToText(occi::Number number, const std::string& format,
                         const occi::Environment* environment) {
    return number.toText(environment, format, "");
}

std::string dateToText(occi::Date date, const std::string& format) {
    std::string text;
    appendDateText(date, format, text);
    return text;
}

void appendDateText(const occi::Date& date, const std::string& format, std::string& out) {
    if (format.size() == kDateLength && std::memcmp(format.data(), dateFormat, kDateLength) == 0) {
        int year = 0;
        unsigned int month = 0, day = 0, hour = 0, minute = 0, second = 0;
        date.getDate(year, month, day, hour, minute, second);
        if (fitsDateTime(year, month, day, hour, minute, second)) {
            char text[kDateLength];
            out.append(text, static_cast<std::size_t>(
                                 putDateTime(text, year, month, day, hour, minute, second) - text));
            return;
        }
    }
    out += date.toText(format, "");
}

std::string timestampFormatWithFraction(unsigned int digits) {
    if (digits == 0) {
        return timestampFormat;
    }
    // Oracle's FF1 to FF9 name the digits; the precision passed with the value says the same.
    return "yyyy-mm-dd hh24:mi:ss.ff" + std::to_string(digits > 9 ? 9 : digits) + "tzh:tzm";
}

std::string timestampToText(occi::Timestamp timestamp, const std::string& format,
                            unsigned int fractionDigits) {
    std::string text;
    appendTimestampText(timestamp, format, fractionDigits, text);
    return text;
}

void appendTimestampText(const occi::Timestamp& timestamp, const std::string& format,
                         unsigned int fractionDigits, std::string& out) {
    const int digits = timestampLayout(format);
    if (digits >= 0) {
        int year = 0;
        unsigned int month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
        int zoneHour = 0, zoneMinute = 0;
        timestamp.getDate(year, month, day);
        timestamp.getTime(hour, minute, second, fraction);
        timestamp.getTimeZoneOffset(zoneHour, zoneMinute);
        if (fitsDateTime(year, month, day, hour, minute, second) && fraction < 1000000000u &&
            std::abs(zoneHour) < 100 && std::abs(zoneMinute) < 100) {
            char text[kDateLength + 1 + 9 + 6];
            char* p = putDateTime(text, year, month, day, hour, minute, second);
            if (digits > 0) {
                *p++ = '.';
                // The first `digits` of the nanoseconds' nine: cut, not rounded. All nine are
                // written (the text has room for them) and the zone overwrites the rest.
                p[0] = static_cast<char>('0' + fraction / 100000000u);
                const unsigned int eight = fraction % 100000000u;
                putTwo(p + 1, eight / 1000000u);
                putTwo(p + 3, eight / 10000u % 100u);
                putTwo(p + 5, eight / 100u % 100u);
                putTwo(p + 7, eight % 100u);
                p += digits;
            }
            // West of Greenwich when the hour is negative, or zero with a negative minute.
            const bool west = zoneHour < 0 || (zoneHour == 0 && zoneMinute < 0);
            *p++ = west ? '-' : '+';
            p = putTwo(p, static_cast<unsigned int>(std::abs(zoneHour)));
            *p++ = ':';
            p = putTwo(p, static_cast<unsigned int>(std::abs(zoneMinute)));
            out.append(text, static_cast<std::size_t>(p - text));
            return;
        }
    }
    out += timestamp.toText(format, fractionDigits, "");
}

}  // namespace kavex
