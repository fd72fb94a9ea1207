// Datetime format models (TO_CHAR semantics) for Date::toText and Timestamp::toText.
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "detail.h"
#include "format_model.h"

namespace kavexdb {
namespace detail {

namespace {

enum class Element {
    SignedYear4, CommaYear, Year4, Year3, Year2, Year1, RoundYear4, RoundYear2, IsoYear4,
    IsoWeek, SignedCentury, Century, Quarter, MonthName, MonthAbbrev, Month, Minute,
    WeekOfYear, WeekOfMonth, DayOfYear, DayName, Day, DayAbbrev, DayOfWeek, Julian, Hour24,
    Hour12, Hour, SecondsOfDay, Second, Fraction, Meridian, MeridianDots, Era, EraDots,
    TzHour, TzMinute, TzRegion, TzAbbrev, FillMode, ExactMode, Radix
};

struct ElementName {
    const char* name;
    Element element;
};

// Longest names first, so that the first match is the element the model means.
const ElementName kElements[] = {
    {"SYYYY", Element::SignedYear4}, {"Y,YYY", Element::CommaYear}, {"YYYY", Element::Year4},
    {"YYY", Element::Year3},         {"YY", Element::Year2},        {"Y", Element::Year1},
    {"RRRR", Element::RoundYear4},   {"RR", Element::RoundYear2},   {"IYYY", Element::IsoYear4},
    {"IW", Element::IsoWeek},        {"SCC", Element::SignedCentury}, {"CC", Element::Century},
    {"Q", Element::Quarter},         {"MONTH", Element::MonthName}, {"MON", Element::MonthAbbrev},
    {"MM", Element::Month},          {"MI", Element::Minute},       {"WW", Element::WeekOfYear},
    {"W", Element::WeekOfMonth},     {"DDD", Element::DayOfYear},   {"DAY", Element::DayName},
    {"DD", Element::Day},            {"DY", Element::DayAbbrev},    {"D", Element::DayOfWeek},
    {"J", Element::Julian},          {"HH24", Element::Hour24},     {"HH12", Element::Hour12},
    {"HH", Element::Hour},           {"SSSSS", Element::SecondsOfDay}, {"SS", Element::Second},
    {"FF", Element::Fraction},       {"A.M.", Element::MeridianDots}, {"P.M.", Element::MeridianDots},
    {"AM", Element::Meridian},       {"PM", Element::Meridian},     {"A.D.", Element::EraDots},
    {"B.C.", Element::EraDots},      {"AD", Element::Era},          {"BC", Element::Era},
    {"TZH", Element::TzHour},        {"TZM", Element::TzMinute},    {"TZR", Element::TzRegion},
    {"TZD", Element::TzAbbrev},      {"FM", Element::FillMode},     {"FX", Element::ExactMode},
    {"X", Element::Radix},
};

const char* const kMonths[] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                               "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
const char* const kDays[] = {"SUNDAY",   "MONDAY", "TUESDAY", "WEDNESDAY",
                             "THURSDAY", "FRIDAY", "SATURDAY"};

[[noreturn]] void unknownElement() { raise(1821, "date format not recognized"); }

// Days since 1970-01-01 in the proleptic Gregorian calendar (astronomical years).
long daysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

long yearOfDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long month = mp < 10 ? mp + 3 : mp - 9;
    return yoe + era * 400 + (month <= 2);
}

// Everything a format element may need, worked out once per value.
struct Calendar {
    const DateTimeFields& f;
    long astronomicalYear;
    long days;  // since 1970-01-01

    explicit Calendar(const DateTimeFields& fields)
        : f(fields), astronomicalYear(fields.year < 0 ? fields.year + 1 : fields.year),
          days(daysFromCivil(astronomicalYear, fields.month, fields.day)) {}

    int dayOfWeek() const { return static_cast<int>(((days % 7) + 7 + 4) % 7); }  // 0 = Sunday
    long dayOfYear() const { return days - daysFromCivil(astronomicalYear, 1, 1) + 1; }
    // ISO 8601 week and year: weeks start on Monday, week 1 holds the year's first Thursday.
    long isoThursday() const {
        const int isoDay = (dayOfWeek() + 6) % 7 + 1;
        return days - isoDay + 4;
    }
    long isoYear() const { return yearOfDays(isoThursday()); }
    long isoWeek() const {
        const long thursday = isoThursday();
        return (thursday - daysFromCivil(yearOfDays(thursday), 1, 1)) / 7 + 1;
    }
};

enum class LetterCase { Upper, Capital, Lower };

// Oracle takes the case of a word element from its first two letters.
LetterCase caseOf(const std::string& spelled) {
    char letters[2] = {0, 0};
    int n = 0;
    for (char c : spelled) {
        if (std::isalpha(static_cast<unsigned char>(c)) && n < 2) letters[n++] = c;
    }
    if (std::islower(static_cast<unsigned char>(letters[0]))) return LetterCase::Lower;
    if (n > 1 && std::islower(static_cast<unsigned char>(letters[1]))) return LetterCase::Capital;
    return LetterCase::Upper;
}

std::string applyCase(std::string word, LetterCase lc) {
    bool first = true;
    for (char& c : word) {
        const bool upper = lc == LetterCase::Upper || (lc == LetterCase::Capital && first);
        if (std::isalpha(static_cast<unsigned char>(c))) {
            c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                        : std::tolower(static_cast<unsigned char>(c)));
            first = false;
        }
    }
    return word;
}

// Decimal digits of a non-negative value, zero-padded to width unless in fill mode.
std::string padded(long value, int width, bool fill) {
    char buf[24];
    char* end = buf + sizeof buf;
    char* p = end;
    unsigned long v = value < 0 ? 0 : static_cast<unsigned long>(value);
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (!fill) {
        while (end - p < width && p > buf) *--p = '0';
    }
    return std::string(p, end);
}

std::string word(const char* name, std::size_t length, const std::string& spelled, bool fill,
                 std::size_t padTo) {
    std::string text = applyCase(std::string(name).substr(0, length), caseOf(spelled));
    if (!fill && text.size() < padTo) text.append(padTo - text.size(), ' ');
    return text;
}

class DateTimeRenderer {
public:
    DateTimeRenderer(const DateTimeFields& f, bool isTimestamp, unsigned fsprec)
        : f_(f), cal_(f), isTimestamp_(isTimestamp), fsprec_(fsprec > 9 ? 9 : fsprec) {}

    std::string render(const std::string& model) {
        std::string out;
        std::size_t i = 0;
        while (i < model.size()) {
            const char c = model[i];
            if (c == '"') {
                std::size_t close = model.find('"', i + 1);
                if (close == std::string::npos) unknownElement();
                out.append(model, i + 1, close - i - 1);
                i = close + 1;
            } else if (!std::isalnum(static_cast<unsigned char>(c))) {
                out.push_back(c);
                ++i;
            } else {
                i = renderElement(model, i, out);
            }
        }
        return out;
    }

private:
    std::size_t renderElement(const std::string& model, std::size_t at, std::string& out) {
        const char first = static_cast<char>(std::toupper(static_cast<unsigned char>(model[at])));
        for (const ElementName& e : kElements) {
            if (e.name[0] != first) continue;
            const std::size_t n = std::char_traits<char>::length(e.name);
            if (model.size() - at < n) continue;
            bool match = true;
            for (std::size_t k = 0; k < n && match; ++k)
                match = std::toupper(static_cast<unsigned char>(model[at + k])) == e.name[k];
            if (!match) continue;
            std::size_t end = at + n;
            if (e.element == Element::Fraction) {
                unsigned digits = fsprec_;
                if (end < model.size() && model[end] >= '1' && model[end] <= '9')
                    digits = static_cast<unsigned>(model[end++] - '0');
                out += fraction(digits);
            } else {
                out += text(e.element, model.substr(at, n));
            }
            return end;
        }
        unknownElement();
    }

    std::string fraction(unsigned digits) const {
        if (!isTimestamp_) unknownElement();
        char buf[16];
        std::snprintf(buf, sizeof buf, "%09u", f_.fraction);
        return std::string(buf, digits);
    }

    std::string text(Element e, const std::string& spelled) {
        const long year = f_.year < 0 ? -static_cast<long>(f_.year) : f_.year;
        const bool bc = f_.year < 0;
        const unsigned hour12 = f_.hour % 12 == 0 ? 12 : f_.hour % 12;
        switch (e) {
            case Element::SignedYear4: return (bc ? "-" : (fill_ ? "" : " ")) + padded(year, 4, fill_);
            case Element::CommaYear: {
                std::string digits = padded(year, 4, false);
                std::string text = digits.substr(0, digits.size() - 3) + "," + digits.substr(digits.size() - 3);
                return fill_ && year < 1000 ? std::to_string(year) : text;
            }
            case Element::Year4:
            case Element::RoundYear4: return padded(year, 4, fill_);
            case Element::Year3: return padded(year % 1000, 3, fill_);
            case Element::Year2:
            case Element::RoundYear2: return padded(year % 100, 2, fill_);
            case Element::Year1: return padded(year % 10, 1, fill_);
            case Element::IsoYear4: return padded(cal_.isoYear(), 4, fill_);
            case Element::IsoWeek: return padded(cal_.isoWeek(), 2, fill_);
            case Element::SignedCentury:
                return (bc ? "-" : (fill_ ? "" : " ")) + padded((year + 99) / 100, 2, fill_);
            case Element::Century: return padded((year + 99) / 100, 2, fill_);
            case Element::Quarter: return std::to_string((f_.month - 1) / 3 + 1);
            case Element::MonthName: return word(kMonths[f_.month - 1], 9, spelled, fill_, 9);
            case Element::MonthAbbrev: return word(kMonths[f_.month - 1], 3, spelled, fill_, 3);
            case Element::Month: return padded(f_.month, 2, fill_);
            case Element::Minute: return padded(f_.minute, 2, fill_);
            case Element::WeekOfYear: return padded((cal_.dayOfYear() - 1) / 7 + 1, 2, fill_);
            case Element::WeekOfMonth: return std::to_string((f_.day - 1) / 7 + 1);
            case Element::DayOfYear: return padded(cal_.dayOfYear(), 3, fill_);
            case Element::DayName: return word(kDays[cal_.dayOfWeek()], 9, spelled, fill_, 9);
            case Element::DayAbbrev: return word(kDays[cal_.dayOfWeek()], 3, spelled, fill_, 3);
            case Element::Day: return padded(f_.day, 2, fill_);
            case Element::DayOfWeek: return std::to_string(cal_.dayOfWeek() + 1);
            case Element::Julian: return padded(cal_.days + 2440588, 7, fill_);
            case Element::Hour24: return padded(f_.hour, 2, fill_);
            case Element::Hour12:
            case Element::Hour: return padded(hour12, 2, fill_);
            case Element::SecondsOfDay:
                return padded(f_.hour * 3600L + f_.minute * 60L + f_.second, 5, fill_);
            case Element::Second: return padded(f_.second, 2, fill_);
            case Element::Meridian:
                return applyCase(f_.hour < 12 ? "AM" : "PM", caseOf(spelled));
            case Element::MeridianDots:
                return applyCase(f_.hour < 12 ? "A.M." : "P.M.", caseOf(spelled));
            case Element::Era: return applyCase(bc ? "BC" : "AD", caseOf(spelled));
            case Element::EraDots: return applyCase(bc ? "B.C." : "A.D.", caseOf(spelled));
            case Element::TzHour: {
                requireTimestamp();
                return std::string(west() ? "-" : "+") + padded(std::abs(f_.tzHour), 2, false);
            }
            case Element::TzMinute:
                requireTimestamp();
                return padded(std::abs(f_.tzMinute), 2, false);
            case Element::TzRegion:
                requireTimestamp();
                return std::string(west() ? "-" : "+") + padded(std::abs(f_.tzHour), 2, false) +
                       ":" + padded(std::abs(f_.tzMinute), 2, false);
            case Element::TzAbbrev:
                requireTimestamp();
                return std::string();
            case Element::FillMode:
                fill_ = !fill_;
                return std::string();
            case Element::ExactMode: return std::string();
            case Element::Radix: return ".";
            case Element::Fraction: break;
        }
        return std::string();
    }

    bool west() const { return f_.tzHour < 0 || (f_.tzHour == 0 && f_.tzMinute < 0); }
    void requireTimestamp() const {
        if (!isTimestamp_) unknownElement();
    }

    const DateTimeFields& f_;
    Calendar cal_;
    bool isTimestamp_;
    unsigned fsprec_;
    bool fill_ = false;
};

}  // namespace

std::string formatDateTime(const DateTimeFields& value, const std::string& model,
                           bool isTimestamp, unsigned fsprec) {
    return DateTimeRenderer(value, isTimestamp, fsprec).render(model);
}

}  // namespace detail
}  // namespace kavexdb

namespace oracle {
namespace occi {

std::string Date::toText(const std::string& fmt, const std::string& /*nlsParam*/) const {
    kavexdb::detail::checkFault("Date::toText");
    if (null_) return std::string();
    kavexdb::detail::DateTimeFields f;
    f.year = year_;
    f.month = month_;
    f.day = day_;
    f.hour = hour_;
    f.minute = minute_;
    f.second = second_;
    // OCCI's documented default; Oracle itself may follow the session's NLS_DATE_FORMAT.
    return kavexdb::detail::formatDateTime(f, fmt.empty() ? "DD-MON-YY" : fmt, false, 0);
}

std::string Timestamp::toText(const std::string& fmt, unsigned int fsprec,
                              const std::string& /*nlsParam*/) const {
    kavexdb::detail::checkFault("Timestamp::toText");
    if (null_) return std::string();
    kavexdb::detail::DateTimeFields f;
    f.year = year_;
    f.month = month_;
    f.day = day_;
    f.hour = hour_;
    f.minute = minute_;
    f.second = second_;
    f.fraction = fs_;
    f.tzHour = tzHour_;
    f.tzMinute = tzMinute_;
    return kavexdb::detail::formatDateTime(
        f, fmt.empty() ? "DD-MON-RR HH.MI.SSXFF AM" : fmt, true, fsprec);
}

}  // namespace occi
}  // namespace oracle
