// Datetime format models (TO_CHAR semantics) for Date::toText and Timestamp::toText.
#include <cstdlib>
#include <vector>

#include "base/errors.h"
#include "base/faults.h"
#include "base/ora_messages.h"
#include "types/calendar.h"
#include "types/format_cache.h"
#include "types/format_model.h"
#include "types/spelled_numbers.h"

namespace kavexdb {
namespace detail {

namespace {

enum class Element {
    SignedYear4, CommaYear, Year4, Year3, Year2, Year1, RoundYear4, RoundYear2, IsoYear4,
    IsoWeek, SignedCentury, Century, Quarter, MonthName, MonthAbbrev, Month, Minute,
    WeekOfYear, WeekOfMonth, DayOfYear, DayName, Day, DayAbbrev, DayOfWeek, Julian, Hour24,
    Hour12, Hour, SecondsOfDay, Second, Fraction, Meridian, MeridianDots, Era, EraDots,
    TzHour, TzMinute, TzRegion, TzAbbrev, FillMode, ExactMode, Radix, YearSpelled,
    SignedYearSpelled, IsoYear3, IsoYear2, IsoYear1, RomanMonth, LongDate, ShortDate, ShortTime
};

struct ElementName {
    const char* name;
    Element element;
};

// Longest names first, so that the first match is the element the model means.
const ElementName kElements[] = {
    {"SYYYY", Element::SignedYear4}, {"SYEAR", Element::SignedYearSpelled},
    {"YEAR", Element::YearSpelled},  {"Y,YYY", Element::CommaYear}, {"YYYY", Element::Year4},
    {"YYY", Element::Year3},         {"YY", Element::Year2},        {"Y", Element::Year1},
    {"RRRR", Element::RoundYear4},   {"RR", Element::RoundYear2},   {"IYYY", Element::IsoYear4},
    {"IW", Element::IsoWeek},        {"IYY", Element::IsoYear3},    {"IY", Element::IsoYear2},
    {"I", Element::IsoYear1},        {"RM", Element::RomanMonth},   {"DL", Element::LongDate},
    {"DS", Element::ShortDate},      {"TS", Element::ShortTime},
    {"SCC", Element::SignedCentury}, {"CC", Element::Century},
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

[[noreturn]] void unknownElement() { raise(ora::kDateFormatNotRecognized); }

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

// ASCII only: a model's letters mean the same whatever locale the host process set.
bool isUpperAscii(char c) { return c >= 'A' && c <= 'Z'; }
bool isLowerAscii(char c) { return c >= 'a' && c <= 'z'; }
bool isAlphaAscii(char c) { return isUpperAscii(c) || isLowerAscii(c); }
bool isAlnumAscii(char c) { return isAlphaAscii(c) || (c >= '0' && c <= '9'); }
char upperAscii(char c) { return isLowerAscii(c) ? static_cast<char>(c - 'a' + 'A') : c; }
char lowerAscii(char c) { return isUpperAscii(c) ? static_cast<char>(c - 'A' + 'a') : c; }

// Oracle takes the case of a word element from its first two letters.
LetterCase caseOf(const char* spelled, std::size_t length) {
    char letters[2] = {0, 0};
    int n = 0;
    for (std::size_t i = 0; i < length && n < 2; ++i) {
        if (isAlphaAscii(spelled[i])) letters[n++] = spelled[i];
    }
    if (isLowerAscii(letters[0])) return LetterCase::Lower;
    if (n > 1 && isLowerAscii(letters[1])) return LetterCase::Capital;
    return LetterCase::Upper;
}

// Appends at most `length` characters of an upper-case name in the given case, padded with
// blanks to padTo unless in fill mode.
void appendWord(std::string& out, const char* name, std::size_t length, LetterCase lc, bool fill,
                std::size_t padTo) {
    bool first = true;
    std::size_t written = 0;
    for (; written < length && name[written] != '\0'; ++written) {
        char c = name[written];
        if (isAlphaAscii(c)) {
            const bool upper = lc == LetterCase::Upper || (lc == LetterCase::Capital && first);
            c = upper ? upperAscii(c) : lowerAscii(c);
            first = false;
        }
        out.push_back(c);
    }
    if (!fill && written < padTo) out.append(padTo - written, ' ');
}

// One piece of a parsed model: literal text, or an element with what its spelling says.
struct Token {
    bool literal = false;
    Element element = Element::ExactMode;
    LetterCase letterCase = LetterCase::Upper;  // for words: the case the model spelled
    unsigned digits = 0;                        // for FF: the digits asked for, 0 for fsprec
    bool spelled = false, ordinal = false;      // the SP and TH suffixes of a number element
    std::size_t offset = 0, length = 0;         // for literals: their place in `literals`
};

// A parsed datetime model; parsing knows nothing of the value, so one parse serves all.
struct DateTimeModel {
    std::vector<Token> tokens;
    std::string literals;
    std::size_t expectedSize = 0;  // a generous guess at the rendered length

    void addLiteral(const char* text, std::size_t length) {
        if (length == 0) return;
        if (tokens.empty() || !tokens.back().literal) {
            Token t;
            t.literal = true;
            t.offset = literals.size();
            tokens.push_back(t);
        }
        literals.append(text, length);
        tokens.back().length += length;
        expectedSize += length;
    }
};

bool wordAt(const std::string& model, std::size_t at, const char* word) {
    const std::size_t n = std::char_traits<char>::length(word);
    if (model.size() - at < n) return false;
    for (std::size_t k = 0; k < n; ++k)
        if (upperAscii(model[at + k]) != word[k]) return false;
    return true;
}

// Reads a TH, SP, SPTH or THSP suffix at model[at]; returns the position after it.
std::size_t parseSuffix(const std::string& model, std::size_t at, Token& t) {
    if (wordAt(model, at, "SPTH") || wordAt(model, at, "THSP")) {
        t.spelled = t.ordinal = true;
        return at + 4;
    }
    if (wordAt(model, at, "SP")) {
        t.spelled = true;
        return at + 2;
    }
    if (wordAt(model, at, "TH")) {
        t.ordinal = true;
        return at + 2;
    }
    return at;
}

// Matches the element at model[at]; returns the position after it.
std::size_t parseElement(const std::string& model, std::size_t at, DateTimeModel& m) {
    const char first = upperAscii(model[at]);
    for (const ElementName& e : kElements) {
        if (e.name[0] != first) continue;
        const std::size_t n = std::char_traits<char>::length(e.name);
        if (model.size() - at < n) continue;
        bool match = true;
        for (std::size_t k = 0; k < n && match; ++k) match = upperAscii(model[at + k]) == e.name[k];
        if (!match) continue;
        std::size_t end = at + n;
        Token t;
        t.element = e.element;
        if (e.element == Element::Fraction) {
            if (end < model.size() && model[end] >= '1' && model[end] <= '9')
                t.digits = static_cast<unsigned>(model[end++] - '0');
        } else {
            t.letterCase = caseOf(model.data() + at, n);
            end = parseSuffix(model, end, t);
        }
        m.tokens.push_back(t);
        m.expectedSize += 10;  // the longest element texts: month and day names, TZR, J
        return end;
    }
    unknownElement();
}

DateTimeModel parseModel(const std::string& model) {
    DateTimeModel m;
    std::size_t i = 0;
    while (i < model.size()) {
        const char c = model[i];
        if (c == '"') {
            std::size_t close = model.find('"', i + 1);
            if (close == std::string::npos) unknownElement();
            m.addLiteral(model.data() + i + 1, close - i - 1);
            i = close + 1;
        } else if (!isAlnumAscii(c)) {
            m.addLiteral(&c, 1);
            ++i;
        } else {
            i = parseElement(model, i, m);
        }
    }
    return m;
}

const DateTimeModel& cachedModel(const std::string& model) {
    thread_local FormatCache<DateTimeModel> cache;
    return cache.get(model, parseModel);
}

class DateTimeRenderer {
public:
    DateTimeRenderer(const DateTimeFields& f, bool isTimestamp, unsigned fsprec)
        : f_(f), cal_(f), isTimestamp_(isTimestamp), fsprec_(fsprec > 9 ? 9 : fsprec) {}

    std::string render(const DateTimeModel& model) {
        std::string out;
        out.reserve(model.expectedSize);
        for (const Token& t : model.tokens) {
            if (t.literal) {
                out.append(model.literals, t.offset, t.length);
            } else if (t.element == Element::Fraction) {
                appendFraction(t.digits == 0 ? fsprec_ : t.digits, out);
            } else if (t.spelled || t.ordinal) {
                appendSuffixed(t, out);
            } else {
                appendText(t, out);
            }
        }
        return out;
    }

private:
    void appendFraction(unsigned digits, std::string& out) const {
        if (!isTimestamp_) unknownElement();
        // The nanoseconds as nine digits (more if out of range), of which the first `digits`.
        char buf[16];
        char* end = buf + sizeof buf;
        char* p = end;
        unsigned v = f_.fraction;
        do {
            *--p = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v != 0);
        while (end - p < 9) *--p = '0';
        out.append(p, digits);
    }

    // The value and zero-padded width of an element that shows a number; false for the others.
    bool numericValue(Element element, long& value, int& width) const {
        const long year = f_.year < 0 ? -static_cast<long>(f_.year) : f_.year;
        width = 2;
        switch (element) {
            case Element::SignedYear4:
            case Element::CommaYear:
            case Element::Year4:
            case Element::RoundYear4: value = year; width = 4; return true;
            case Element::Year3: value = year % 1000; width = 3; return true;
            case Element::Year2:
            case Element::RoundYear2: value = year % 100; return true;
            case Element::Year1: value = year % 10; width = 1; return true;
            case Element::IsoYear4: value = cal_.isoYear(); width = 4; return true;
            case Element::IsoYear3: value = cal_.isoYear() % 1000; width = 3; return true;
            case Element::IsoYear2: value = cal_.isoYear() % 100; return true;
            case Element::IsoYear1: value = cal_.isoYear() % 10; width = 1; return true;
            case Element::IsoWeek: value = cal_.isoWeek(); return true;
            case Element::SignedCentury:
            case Element::Century: value = (year + 99) / 100; return true;
            case Element::Quarter: value = (f_.month - 1) / 3 + 1; width = 1; return true;
            case Element::Month: value = f_.month; return true;
            case Element::Minute: value = f_.minute; return true;
            case Element::WeekOfYear: value = (cal_.dayOfYear() - 1) / 7 + 1; return true;
            case Element::WeekOfMonth: value = (f_.day - 1) / 7 + 1; width = 1; return true;
            case Element::DayOfYear: value = cal_.dayOfYear(); width = 3; return true;
            case Element::Day: value = f_.day; return true;
            case Element::DayOfWeek: value = cal_.dayOfWeek() + 1; width = 1; return true;
            case Element::Julian: value = cal_.days + 2440588; width = 7; return true;
            case Element::Hour24: value = f_.hour; return true;
            case Element::Hour12:
            case Element::Hour: value = f_.hour % 12 == 0 ? 12 : f_.hour % 12; return true;
            case Element::SecondsOfDay:
                value = f_.hour * 3600L + f_.minute * 60L + f_.second;
                width = 5;
                return true;
            case Element::Second: value = f_.second; return true;
            default: return false;
        }
    }

    // A number element with SP (spelled), TH (ordinal) or both, always in English.
    void appendSuffixed(const Token& t, std::string& out) const {
        long value = 0;
        int width = 0;
        if (!numericValue(t.element, value, width)) unknownElement();
        if (t.spelled) {
            const std::string cardinal = spelledNumber(value);
            return appendWords(out, t.ordinal ? spelledOrdinal(cardinal) : cardinal, t.letterCase);
        }
        appendPadded(out, value, width, fill_);
        appendWords(out, ordinalSuffix(value), t.letterCase == LetterCase::Upper
                                                    ? LetterCase::Upper : LetterCase::Lower);
    }

    // Upper-case words in the given case; Capital starts every word with a capital.
    static void appendWords(std::string& out, const std::string& words, LetterCase lc) {
        bool wordStart = true;
        for (char c : words) {
            const bool upper = lc == LetterCase::Upper || (lc == LetterCase::Capital && wordStart);
            out.push_back(upper ? upperAscii(c) : lowerAscii(c));
            wordStart = !isAlphaAscii(c);
        }
    }

    void appendRomanMonth(const Token& t, std::string& out) const {
        static const char* const kRoman[] = {"I",   "II",   "III", "IV", "V",  "VI",
                                             "VII", "VIII", "IX",  "X",  "XI", "XII"};
        const std::size_t start = out.size();
        appendWords(out, kRoman[f_.month - 1], t.letterCase == LetterCase::Upper
                                                   ? LetterCase::Upper : LetterCase::Lower);
        if (!fill_ && out.size() - start < 4) out.append(4 - (out.size() - start), ' ');
    }

    void appendText(const Token& t, std::string& out) {
        const long year = f_.year < 0 ? -static_cast<long>(f_.year) : f_.year;
        const bool bc = f_.year < 0;
        const LetterCase lc = t.letterCase;
        switch (t.element) {
            case Element::SignedYear4:
            case Element::SignedCentury:
                if (bc) {
                    out.push_back('-');
                } else if (!fill_) {
                    out.push_back(' ');
                }
                break;
            case Element::CommaYear: {
                if (fill_ && year < 1000) {
                    appendPadded(out, year, 1, true);
                    return;
                }
                appendPadded(out, year, 4, false);
                out.insert(out.end() - 3, ',');
                return;
            }
            case Element::SignedYearSpelled:
                if (bc) out.push_back('-');
                return appendWords(out, spelledYear(year), lc);
            case Element::YearSpelled: return appendWords(out, spelledYear(year), lc);
            case Element::RomanMonth: return appendRomanMonth(t, out);
            case Element::MonthName:
                return appendWord(out, kMonthNames[f_.month - 1], 9, lc, fill_, 9);
            case Element::MonthAbbrev:
                return appendWord(out, kMonthNames[f_.month - 1], 3, lc, fill_, 3);
            case Element::DayName:
                return appendWord(out, kDayNames[cal_.dayOfWeek()], 9, lc, fill_, 9);
            case Element::DayAbbrev:
                return appendWord(out, kDayNames[cal_.dayOfWeek()], 3, lc, fill_, 3);
            case Element::Meridian:
                return appendWord(out, f_.hour < 12 ? "AM" : "PM", 2, lc, true, 0);
            case Element::MeridianDots:
                return appendWord(out, f_.hour < 12 ? "A.M." : "P.M.", 4, lc, true, 0);
            case Element::Era: return appendWord(out, bc ? "BC" : "AD", 2, lc, true, 0);
            case Element::EraDots: return appendWord(out, bc ? "B.C." : "A.D.", 4, lc, true, 0);
            // The American long and short date and time forms.
            case Element::LongDate: {
                static const DateTimeModel kLong = parseModel("fmDay, Month fmDD, YYYY");
                return appendModel(kLong, out);
            }
            case Element::ShortDate: {
                static const DateTimeModel kShort = parseModel("fmMM/DD/YYYY");
                return appendModel(kShort, out);
            }
            case Element::ShortTime: {
                static const DateTimeModel kTime = parseModel("HH:MI:SS AM");
                return appendModel(kTime, out);
            }
            case Element::TzHour:
                requireTimestamp();
                out.push_back(west() ? '-' : '+');
                return appendPadded(out, std::abs(f_.tzHour), 2, false);
            case Element::TzMinute:
                requireTimestamp();
                return appendPadded(out, std::abs(f_.tzMinute), 2, false);
            case Element::TzRegion:
                requireTimestamp();
                out.push_back(west() ? '-' : '+');
                appendPadded(out, std::abs(f_.tzHour), 2, false);
                out.push_back(':');
                return appendPadded(out, std::abs(f_.tzMinute), 2, false);
            case Element::TzAbbrev: return requireTimestamp();
            case Element::FillMode:
                fill_ = !fill_;
                return;
            case Element::ExactMode: return;
            case Element::Radix: out.push_back('.'); return;
            default: break;
        }
        long value = 0;
        int width = 0;
        if (numericValue(t.element, value, width)) appendPadded(out, value, width, fill_);
    }

    // Renders a model that stands for others (DL, DS, TS).
    void appendModel(const DateTimeModel& model, std::string& out) const {
        out += DateTimeRenderer(f_, isTimestamp_, fsprec_).render(model);
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

void appendPadded(std::string& out, long value, int width, bool fill) {
    if (width == 2 && !fill && value >= 0 && value < 100) {  // months, days, hours, ...: most fields
        out.push_back(static_cast<char>('0' + value / 10));
        out.push_back(static_cast<char>('0' + value % 10));
        return;
    }
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
    out.append(p, static_cast<std::size_t>(end - p));  // the (pointer, length) form: no aliasing checks
}

std::string formatDateTime(const DateTimeFields& value, const std::string& model,
                           bool isTimestamp, unsigned fsprec) {
    const DateTimeModel& parsed = cachedModel(model);
    return DateTimeRenderer(value, isTimestamp, fsprec).render(parsed);
}

}  // namespace detail
}  // namespace kavexdb

namespace oracle {
namespace occi {

namespace {

// The default models as strings made once (and never released), so that a call with an empty
// format does not build one per value.
const std::string& defaultDateModel() {
    static const std::string* const model = new std::string("DD-MON-YY");
    return *model;
}

const std::string& defaultTimestampModel() {
    static const std::string* const model = new std::string("DD-MON-RR HH.MI.SSXFF AM");
    return *model;
}

}  // namespace

std::string Date::toText(const std::string& fmt, const std::string& /*nlsParam*/) const {
    kavexdb::detail::checkFault("Date::toText");
    if (null_) return std::string();
    const kavexdb::detail::DateTimeFields f =
        kavexdb::detail::calendarFields(year_, month_, day_, hour_, minute_, second_);
    // OCCI's documented default; Oracle itself may follow the session's NLS_DATE_FORMAT.
    return kavexdb::detail::formatDateTime(f, fmt.empty() ? defaultDateModel() : fmt, false, 0);
}

std::string Timestamp::toText(const std::string& fmt, unsigned int fsprec,
                              const std::string& /*nlsParam*/) const {
    kavexdb::detail::checkFault("Timestamp::toText");
    if (null_) return std::string();
    kavexdb::detail::DateTimeFields f =
        kavexdb::detail::calendarFields(year_, month_, day_, hour_, minute_, second_);
    f.fraction = fs_;
    f.tzHour = tzHour_;
    f.tzMinute = tzMinute_;
    return kavexdb::detail::formatDateTime(f, fmt.empty() ? defaultTimestampModel() : fmt, true,
                                           fsprec);
}

}  // namespace occi
}  // namespace oracle
