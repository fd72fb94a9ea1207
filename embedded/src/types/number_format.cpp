// Number format models (TO_CHAR and TO_NUMBER semantics) with the American NLS values: FM, 9,
// 0, D, '.', ',', G, $, L, C, U, B, V, S, MI, PR, EEEE, X, RN and the text minimum TM, TM9, TME.
#include <algorithm>
#include <cctype>

#include "base/errors.h"
#include "base/faults.h"
#include "base/ora_messages.h"
#include "types/format_cache.h"
#include "types/format_model.h"
#include "types/values.h"

namespace kavexdb {
namespace detail {

std::string numberToPlainText(const occi::Number& n);

namespace {

// L and U take the width of the longest currency symbol a session may set.
constexpr std::size_t kCurrencyWidth = 10;
constexpr std::size_t kIsoWidth = 3;
constexpr std::size_t kRomanWidth = 15;   // MMMDCCCLXXXVIII, the longest numeral RN shows
constexpr std::size_t kTextMinimumLimit = 64;  // TM9 switches to scientific notation beyond it

enum class SignStyle { Default, LeadingS, TrailingS, TrailingMI, Brackets };
enum class ModelKind { Fixed, Hex, Roman, TextMinimum, TextScientific };
enum class Currency { None, Local, Iso, Dual };

// A parsed number format model, with the figures every value needs worked out once.
struct NumberModel {
    ModelKind kind = ModelKind::Fixed;
    bool fillMode = false;
    bool scientific = false;
    bool dollar = false;
    bool hasDecimal = false;
    bool blankZero = false;    // B: an integer part of zero shows as blanks
    bool lowerCase = false;    // rn, xx, TMe
    bool zeroPadded = false;   // 0XX: hexadecimal digits with leading zeros
    Currency currency = Currency::None;
    bool currencyTrails = false;
    SignStyle sign = SignStyle::Default;
    int scale = 0;             // V: the value is shown times 10^scale
    bool decimalIsD = false;   // D (the NLS decimal character) rather than '.'
    std::string integerPart;   // '9', '0', ',' and 'G' before the decimal character (and after V)
    std::string fractionPart;  // '9' and '0' after it
    int integerDigits = 0;     // digit positions in integerPart
    int forced = 0;            // positions a '0' element forces to show
    bool grouped = false;      // integerPart holds group separators
    std::size_t width = 0;     // characters of output, the sign position included

    const std::string& currencyText(const NumberNls& nls) const {
        return currency == Currency::Iso ? nls.isoCurrency
               : currency == Currency::Dual ? nls.dualCurrency
                                            : nls.currency;
    }

    void finish() {
        integerDigits = static_cast<int>(
            std::count_if(integerPart.begin(), integerPart.end(), [](char c) { return c == '9' || c == '0'; }));
        grouped = integerDigits != static_cast<int>(integerPart.size());
        // A '0' element forces digits from its position to the decimal character.
        int seen = 0;
        for (char c : integerPart) {
            if (c == ',' || c == 'G') continue;
            if (c == '0') {
                forced = integerDigits - seen;
                break;
            }
            ++seen;
        }
        width = integerPart.size() + (hasDecimal ? 1 : 0) + fractionPart.size();
        width += sign == SignStyle::Brackets ? 2 : 1;
        width += dollar ? 1 : 0;
        width += scientific ? 5 : 0;  // "E+nnn"
        if (currency == Currency::Iso) width += kIsoWidth;
        if (currency == Currency::Local || currency == Currency::Dual) width += kCurrencyWidth;
    }
};

[[noreturn]] void invalidModel() { raise(ora::kInvalidNumberFormatModel); }

// ASCII only: a model's letters mean the same whatever locale the host process set.
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool startsWith(const std::string& upper, std::size_t at, const char* word) {
    return upper.compare(at, std::char_traits<char>::length(word), word) == 0;
}

// TM, TM9, TME: nothing may come before or after them.
bool parseTextMinimum(const std::string& model, const std::string& upper, NumberModel& m) {
    if (!startsWith(upper, 0, "TM")) return false;
    if (upper == "TM" || upper == "TM9") {
        m.kind = ModelKind::TextMinimum;
    } else if (upper == "TME") {
        m.kind = ModelKind::TextScientific;
        m.lowerCase = model[2] == 'e';
    } else {
        invalidModel();
    }
    return true;
}

// [FM] RN | [FM] 0...X...: the models that stand alone.
bool parseWholeModel(const std::string& model, const std::string& upper, std::size_t at,
                     NumberModel& m) {
    if (upper.compare(at, std::string::npos, "RN") == 0) {
        m.kind = ModelKind::Roman;
        m.lowerCase = model[at] == 'r';
        return true;
    }
    const std::size_t x = upper.find_first_not_of('0', at);
    if (x == std::string::npos || upper[x] != 'X') return false;
    if (upper.find_first_not_of('X', x) != std::string::npos) invalidModel();
    m.kind = ModelKind::Hex;
    m.zeroPadded = x > at;
    m.lowerCase = model[x] == 'x';
    m.integerDigits = static_cast<int>(upper.size() - at);
    return true;
}

void setCurrency(NumberModel& m, Currency c, bool afterDigits) {
    if (m.currency != Currency::None || m.dollar) invalidModel();
    m.currency = c;
    m.currencyTrails = afterDigits;
}

NumberModel parseModel(const std::string& model) {
    std::string upper(model);
    for (char& c : upper) c = upperAscii(c);
    NumberModel m;
    if (parseTextMinimum(model, upper, m)) return m;
    std::size_t i = 0;
    if (startsWith(upper, 0, "FM")) {
        m.fillMode = true;
        i = 2;
    }
    if (parseWholeModel(model, upper, i, m)) return m;
    bool anyDigit = false, ended = false, afterV = false;
    for (; i < upper.size(); ++i) {
        const char c = upper[i];
        if (ended) invalidModel();  // nothing may follow a trailing sign
        if (m.currencyTrails && (c == '9' || c == '0' || c == ',' || c == 'G' || c == 'D' ||
                                 c == '.' || c == 'V' || c == 'E'))
            invalidModel();
        if (c == '9' || c == '0') {
            if (m.scientific) invalidModel();
            (m.hasDecimal ? m.fractionPart : m.integerPart).push_back(c);
            if (afterV) ++m.scale;
            anyDigit = true;
        } else if (c == ',' || c == 'G') {
            if (m.hasDecimal || m.scientific || afterV || !anyDigit) invalidModel();
            m.integerPart.push_back(c);
        } else if (c == 'D' || c == '.') {
            if (m.hasDecimal || m.scientific || afterV) invalidModel();
            m.hasDecimal = true;
            m.decimalIsD = c == 'D';
        } else if (c == 'V') {
            if (m.hasDecimal || m.scientific || afterV) invalidModel();
            afterV = true;
        } else if (startsWith(upper, i, "EEEE")) {
            if (m.scientific || afterV || !anyDigit) invalidModel();
            m.scientific = true;
            i += 3;
        } else if (c == '$') {
            if (m.dollar || m.currency != Currency::None) invalidModel();
            m.dollar = true;
        } else if (c == 'L' || c == 'C' || c == 'U') {
            setCurrency(m, c == 'L' ? Currency::Local : c == 'C' ? Currency::Iso : Currency::Dual,
                        anyDigit || m.hasDecimal);
        } else if (c == 'B') {
            if (m.blankZero) invalidModel();
            m.blankZero = true;
        } else if (c == 'S') {
            if (m.sign != SignStyle::Default) invalidModel();
            if (!anyDigit && !m.hasDecimal && !m.dollar && m.currency == Currency::None) {
                m.sign = SignStyle::LeadingS;
            } else {
                m.sign = SignStyle::TrailingS;
                ended = true;
            }
        } else if (startsWith(upper, i, "MI") || startsWith(upper, i, "PR")) {
            if (m.sign != SignStyle::Default || !anyDigit) invalidModel();
            m.sign = c == 'M' ? SignStyle::TrailingMI : SignStyle::Brackets;
            ended = true;
            ++i;
        } else {
            invalidModel();
        }
    }
    if (!anyDigit) invalidModel();
    if (!m.integerPart.empty() && (m.integerPart.back() == ',' || m.integerPart.back() == 'G'))
        invalidModel();
    m.finish();
    return m;
}

const NumberModel& cachedModel(const std::string& model) {
    thread_local FormatCache<NumberModel> cache;
    return cache.get(model, parseModel);
}

// Digit of d with place value 10^power ('0' outside the stored digits).
char digitAt(const Decimal& d, int power) {
    long index = static_cast<long>(d.exponent) - 1 - power;
    if (index < 0 || index >= static_cast<long>(d.digits.size())) return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

// Appends the fraction digits (place values 10^(top-1) down to 10^(top-count)) as the model
// shows them: fill mode drops trailing zeros of '9' positions.
void appendFraction(const Decimal& d, int top, const NumberModel& m, std::string& out) {
    const int count = static_cast<int>(m.fractionPart.size());
    for (int k = 1; k <= count; ++k) out.push_back(digitAt(d, top - k));
    if (m.fillMode) {
        std::size_t kept = static_cast<std::size_t>(count);
        while (kept > 0 && out.back() == '0' && m.fractionPart[kept - 1] == '9') {
            out.pop_back();
            --kept;
        }
    }
}

void appendExponent(int e, std::string& out, char letter = 'E') {
    out.push_back(letter);
    out.push_back(e < 0 ? '-' : '+');
    unsigned magnitude = static_cast<unsigned>(e < 0 ? -e : e);
    char buf[12];
    char* p = buf + sizeof buf;
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (buf + sizeof buf - p < 2) *--p = '0';
    out.append(p, buf + sizeof buf);
}

// value rounded to `keep` leading digits; `scratch` holds the result when rounding changes it.
const Decimal& rounded(const Decimal& value, long keep, Decimal& scratch) {
    if (keep >= static_cast<long>(value.digits.size())) return value;
    scratch = roundDigits(value, keep);
    return scratch;
}

// Appends the digits of the value without sign and without the model's leading positions that
// stay empty; false when the value does not fit.
bool appendBody(const Decimal& value, const NumberModel& m, const NumberNls& nls,
                std::string& out) {
    const char decimal = m.decimalIsD ? nls.decimal : '.';
    const int fractionDigits = static_cast<int>(m.fractionPart.size());
    Decimal scratch;
    if (m.scientific) {
        const Decimal& r = rounded(value, 1 + static_cast<long>(fractionDigits), scratch);
        const int e = r.isZero() ? 0 : r.exponent - 1;
        out.push_back(r.isZero() ? '0' : r.digits[0]);
        if (m.hasDecimal) {
            out.push_back(decimal);
            appendFraction(r, e, m, out);
        }
        appendExponent(e, out);
        return true;
    }
    const Decimal& r =
        rounded(value, static_cast<long>(value.exponent) + fractionDigits, scratch);
    const int valueDigits = r.isZero() ? 0 : std::max(r.exponent, 0);
    const int positions = m.integerDigits;
    if (valueDigits > positions) return false;
    int shown = m.blankZero && valueDigits == 0 ? 0 : std::max(valueDigits, m.forced);
    const bool noFraction = !m.hasDecimal || fractionDigits == 0;
    if (shown == 0 && positions > 0 && !m.blankZero && (noFraction || (m.fillMode && r.isZero())))
        shown = 1;
    // Positions left of the shown ones stay blank; blanks only ever lead, so they are skipped.
    if (m.grouped) {
        int position = positions;  // digit positions from here to the decimal character
        for (char element : m.integerPart) {
            if (element == ',' || element == 'G') {
                if (position < shown) out.push_back(element == 'G' ? nls.group : ',');
                continue;
            }
            --position;
            if (position < shown) out.push_back(digitAt(r, position));
        }
    } else {
        const std::size_t start = out.size();
        out.resize(start + static_cast<std::size_t>(shown));
        char* p = &out[start];
        for (int position = shown - 1; position >= 0; --position) *p++ = digitAt(r, position);
    }
    if (m.hasDecimal) {
        out.push_back(decimal);
        appendFraction(r, 0, m, out);
    }
    return true;
}

// The value rounded to an integer, as its decimal digits ("0" for zero).
std::string integerDigits(const Decimal& value) {
    const Decimal r = roundToScale(value, 0);
    if (r.isZero()) return "0";
    std::string digits = r.digits;
    digits.append(static_cast<std::size_t>(r.exponent) - digits.size(), '0');
    return digits;
}

// The hexadecimal digits of a decimal integer, by long division.
std::string toHex(std::string decimal, bool lower) {
    const char* const symbols = lower ? "0123456789abcdef" : "0123456789ABCDEF";
    std::string hex;
    while (!(decimal.size() == 1 && decimal[0] == '0')) {
        std::string quotient;
        unsigned remainder = 0;
        for (char c : decimal) {
            remainder = remainder * 10 + static_cast<unsigned>(c - '0');
            if (!quotient.empty() || remainder >= 16)
                quotient.push_back(static_cast<char>('0' + remainder / 16));
            remainder %= 16;
        }
        hex.push_back(symbols[remainder]);
        decimal = quotient.empty() ? "0" : quotient;
    }
    if (hex.empty()) hex = "0";
    std::reverse(hex.begin(), hex.end());
    return hex;
}

std::string formatHex(const Decimal& value, const NumberModel& m) {
    const std::size_t positions = static_cast<std::size_t>(m.integerDigits);
    const std::size_t width = positions + (m.zeroPadded || m.fillMode ? 0 : 1);
    if (value.negative && !roundToScale(value, 0).isZero()) return std::string(positions + 1, '#');
    std::string hex = toHex(integerDigits(value), m.lowerCase);
    if (hex.size() > positions) return std::string(positions + 1, '#');
    if (m.zeroPadded) hex.insert(0, positions - hex.size(), '0');
    if (!m.fillMode && hex.size() < width) hex.insert(0, width - hex.size(), ' ');
    return hex;
}

std::string formatRoman(const Decimal& value, const NumberModel& m) {
    const std::string digits = integerDigits(value);
    const long n = value.negative || digits.size() > 4 ? 0 : std::stol(digits);
    if (n < 1 || n > 3999) return std::string(kRomanWidth, '#');
    static const struct {
        int value;
        const char* upper;
        const char* lower;
    } kNumerals[] = {{1000, "M", "m"}, {900, "CM", "cm"}, {500, "D", "d"}, {400, "CD", "cd"},
                     {100, "C", "c"},  {90, "XC", "xc"},  {50, "L", "l"},  {40, "XL", "xl"},
                     {10, "X", "x"},   {9, "IX", "ix"},   {5, "V", "v"},   {4, "IV", "iv"},
                     {1, "I", "i"}};
    std::string out;
    long rest = n;
    for (const auto& numeral : kNumerals) {
        for (; rest >= numeral.value; rest -= numeral.value)
            out += m.lowerCase ? numeral.lower : numeral.upper;
    }
    if (!m.fillMode) out.insert(0, kRomanWidth - out.size(), ' ');
    return out;
}

// The text minimum forms: every significant digit and nothing more, fixed or scientific.
std::string minimalScientific(const Decimal& value, bool lower) {
    std::string out = value.negative ? "-" : "";
    if (value.isZero()) {
        out += "0";
        appendExponent(0, out, lower ? 'e' : 'E');
        return out;
    }
    out.push_back(value.digits[0]);
    if (value.digits.size() > 1) out.append(".").append(value.digits, 1, std::string::npos);
    appendExponent(value.exponent - 1, out, lower ? 'e' : 'E');
    return out;
}

std::string minimalFixed(const Decimal& value) {
    if (value.isZero()) return "0";
    std::string out = value.negative ? "-" : "";
    const int count = static_cast<int>(value.digits.size());
    if (value.exponent <= 0) {
        out.push_back('.');
        out.append(static_cast<std::size_t>(-value.exponent), '0');
        out += value.digits;
    } else if (value.exponent >= count) {
        out += value.digits;
        out.append(static_cast<std::size_t>(value.exponent - count), '0');
    } else {
        out.append(value.digits, 0, static_cast<std::size_t>(value.exponent));
        out.push_back('.');
        out.append(value.digits, static_cast<std::size_t>(value.exponent), std::string::npos);
    }
    return out;
}

std::string formatFixed(const Decimal& input, const NumberModel& m, const NumberNls& nls) {
    Decimal shifted;
    if (m.scale != 0 && !input.isZero()) {
        shifted = input;
        shifted.exponent += m.scale;
    }
    const Decimal& value = m.scale != 0 && !input.isZero() ? shifted : input;
    if (m.blankZero && roundToScale(value, static_cast<int>(m.fractionPart.size())).isZero())
        return std::string(m.fillMode ? 0 : m.width, ' ');
    const bool negative = value.negative;
    std::string text;
    text.reserve(m.width + 1);
    switch (m.sign) {
        case SignStyle::Default:
            if (negative) {
                text.push_back('-');
            } else if (!m.fillMode) {
                text.push_back(' ');
            }
            break;
        case SignStyle::LeadingS: text.push_back(negative ? '-' : '+'); break;
        case SignStyle::Brackets:
            if (negative) {
                text.push_back('<');
            } else if (!m.fillMode) {
                text.push_back(' ');
            }
            break;
        case SignStyle::TrailingS:
        case SignStyle::TrailingMI: break;
    }
    if (m.currency != Currency::None && !m.currencyTrails) text += m.currencyText(nls);
    if (m.dollar) text.push_back('$');
    if (!appendBody(value, m, nls, text)) return std::string(m.width, '#');
    if (m.currency != Currency::None && m.currencyTrails) text += m.currencyText(nls);
    switch (m.sign) {
        case SignStyle::TrailingS: text.push_back(negative ? '-' : '+'); break;
        case SignStyle::TrailingMI:
        case SignStyle::Brackets:
            if (negative) {
                text.push_back(m.sign == SignStyle::Brackets ? '>' : '-');
            } else if (!m.fillMode) {
                text.push_back(' ');
            }
            break;
        case SignStyle::Default:
        case SignStyle::LeadingS: break;
    }
    if (!m.fillMode && text.size() < m.width) text.insert(0, m.width - text.size(), ' ');
    return text;
}

[[noreturn]] void notANumber() { raise(ora::kInvalidNumber); }

std::string asciiUpperCopy(std::string text) {
    for (char& c : text) c = upperAscii(c);
    return text;
}

// Removes `symbol` (any letter case) from the front or the back of text; false if absent.
bool strip(std::string& text, const std::string& symbol, bool back) {
    if (text.size() < symbol.size()) return false;
    const std::size_t at = back ? text.size() - symbol.size() : 0;
    for (std::size_t k = 0; k < symbol.size(); ++k)
        if (upperAscii(text[at + k]) != symbol[k]) return false;
    text.erase(at, symbol.size());
    return true;
}

std::string hexToDecimal(const std::string& hex) {
    std::string decimal = "0";
    for (char c : hex) {
        const char u = upperAscii(c);
        unsigned carry = u >= 'A' && u <= 'F' ? static_cast<unsigned>(u - 'A' + 10)
                                               : static_cast<unsigned>(u - '0');
        for (auto it = decimal.rbegin(); it != decimal.rend(); ++it) {
            const unsigned v = static_cast<unsigned>(*it - '0') * 16 + carry;
            *it = static_cast<char>('0' + v % 10);
            carry = v / 10;
        }
        for (; carry != 0; carry /= 10) decimal.insert(0, 1, static_cast<char>('0' + carry % 10));
    }
    const std::size_t first = decimal.find_first_not_of('0');
    return first == std::string::npos ? "0" : decimal.substr(first);
}

std::string readHex(const std::string& text, const NumberModel& m) {
    if (text.empty() || text.size() > static_cast<std::size_t>(m.integerDigits)) notANumber();
    for (char c : text) {
        const char u = upperAscii(c);
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F'))) notANumber();
    }
    return hexToDecimal(text);
}

// Checks text against a fixed model's sign, currency and digit positions and gives the plain
// number text it stands for.
std::string readFixed(std::string text, const NumberModel& m, const NumberNls& nls) {
    bool negative = false;
    switch (m.sign) {
        case SignStyle::Brackets:
            if (!text.empty() && text.front() == '<') {
                if (!strip(text, ">", true)) notANumber();
                text.erase(0, 1);
                negative = true;
            }
            break;
        case SignStyle::TrailingMI:
            negative = strip(text, "-", true);
            if (!negative) strip(text, "+", true);
            break;
        case SignStyle::TrailingS:
            negative = strip(text, "-", true);
            if (!negative && !strip(text, "+", true)) notANumber();
            break;
        case SignStyle::LeadingS:
            negative = strip(text, "-", false);
            if (!negative && !strip(text, "+", false)) notANumber();
            break;
        case SignStyle::Default:
            negative = strip(text, "-", false);
            if (!negative) strip(text, "+", false);
            break;
    }
    if (m.currency != Currency::None) strip(text, asciiUpperCopy(m.currencyText(nls)), m.currencyTrails);
    if (m.dollar) strip(text, "$", false);
    if (m.sign == SignStyle::Default && !negative) negative = strip(text, "-", false);
    std::string plain = negative ? "-" : "";
    std::size_t i = 0;
    int whole = 0, fraction = 0;
    const char group = m.integerPart.find('G') != std::string::npos ? nls.group : ',';
    const char decimal = m.decimalIsD ? nls.decimal : '.';
    for (; i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == group); ++i) {
        if (text[i] == group) {
            if (!m.grouped || whole == 0) notANumber();
            continue;
        }
        plain.push_back(text[i]);
        ++whole;
    }
    if (i < text.size() && text[i] == decimal && m.hasDecimal) {
        plain.push_back('.');
        ++i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++fraction)
            plain.push_back(text[i]);
    }
    if (whole + fraction == 0) notANumber();
    if (m.scientific && i < text.size() && upperAscii(text[i]) == 'E') {
        plain.append(text, i, std::string::npos);
        i = text.size();
    } else if (whole > m.integerDigits || fraction > static_cast<int>(m.fractionPart.size())) {
        notANumber();
    }
    if (i != text.size()) notANumber();
    if (m.scale != 0) plain += "e-" + std::to_string(m.scale);
    return plain;
}

[[noreturn]] void badNlsParameter() { raise(ora::kInvalidNlsParameter); }

// The ISO currency of a territory NLS_ISO_CURRENCY names.
std::string isoCurrencyOf(const std::string& territory) {
    static const struct {
        const char* territory;
        const char* code;
    } kTerritories[] = {{"AMERICA", "USD"},   {"UNITED KINGDOM", "GBP"}, {"CANADA", "CAD"},
                        {"AUSTRALIA", "AUD"}, {"JAPAN", "JPY"},          {"SWITZERLAND", "CHF"},
                        {"GERMANY", "EUR"},   {"FRANCE", "EUR"},         {"ITALY", "EUR"},
                        {"SPAIN", "EUR"},     {"NETHERLANDS", "EUR"},    {"AUSTRIA", "EUR"},
                        {"BELGIUM", "EUR"},   {"IRELAND", "EUR"},        {"FINLAND", "EUR"}};
    for (const auto& t : kTerritories)
        if (territory == t.territory) return t.code;
    badNlsParameter();
}

}  // namespace

const NumberNls& americanNumberNls() {
    static const NumberNls american;
    return american;
}

NumberNls numberNlsOf(const std::string& nlsParam) {
    NumberNls nls;
    std::size_t i = 0;
    const auto blanks = [&] {
        while (i < nlsParam.size() && (nlsParam[i] == ' ' || nlsParam[i] == '\t')) ++i;
    };
    for (blanks(); i < nlsParam.size(); blanks()) {
        const std::size_t nameStart = i;
        while (i < nlsParam.size() && (std::isalpha(static_cast<unsigned char>(nlsParam[i])) ||
                                       nlsParam[i] == '_'))
            ++i;
        const std::string name = asciiUpperCopy(nlsParam.substr(nameStart, i - nameStart));
        blanks();
        if (name.empty() || i >= nlsParam.size() || nlsParam[i] != '=') badNlsParameter();
        ++i;
        blanks();
        std::string value;
        if (i < nlsParam.size() && (nlsParam[i] == '\'' || nlsParam[i] == '"')) {
            const std::size_t close = nlsParam.find(nlsParam[i], i + 1);
            if (close == std::string::npos) badNlsParameter();
            value = nlsParam.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            const std::size_t end = nlsParam.find_first_of(" \t", i);
            value = nlsParam.substr(i, end == std::string::npos ? std::string::npos : end - i);
            i = end == std::string::npos ? nlsParam.size() : end;
        }
        if (name == "NLS_NUMERIC_CHARACTERS") {
            const std::string refused = "0123456789+-<>";
            if (value.size() != 2 || value[0] == value[1] ||
                refused.find(value[0]) != std::string::npos ||
                refused.find(value[1]) != std::string::npos)
                badNlsParameter();
            nls.decimal = value[0];
            nls.group = value[1];
        } else if (name == "NLS_CURRENCY" || name == "NLS_DUAL_CURRENCY") {
            if (value.empty() || value.size() > kCurrencyWidth) badNlsParameter();
            (name == "NLS_CURRENCY" ? nls.currency : nls.dualCurrency) = value;
        } else if (name == "NLS_ISO_CURRENCY") {
            nls.isoCurrency = isoCurrencyOf(asciiUpperCopy(value));
        } else if (name == "NLS_LANGUAGE" || name == "NLS_DATE_LANGUAGE") {
            const std::string language = asciiUpperCopy(value);
            if (language != "AMERICAN" && language != "ENGLISH") badNlsParameter();
        } else {
            badNlsParameter();
        }
    }
    return nls;
}

std::string formatNumber(const Decimal& value, const std::string& model, const NumberNls& nls) {
    if (model.empty()) {
        // The implicit conversion's text: no leading zero before the decimal character.
        std::string text = numberToPlainText(numberOf(value));
        const std::size_t zero = text[0] == '-' ? 1 : 0;
        if (text.compare(zero, 2, "0.") == 0) text.erase(zero, 1);
        return text;
    }
    const NumberModel& m = cachedModel(model);
    switch (m.kind) {
        case ModelKind::TextMinimum: {
            std::string text = minimalFixed(value);
            return text.size() > kTextMinimumLimit ? minimalScientific(value, false) : text;
        }
        case ModelKind::TextScientific: return minimalScientific(value, m.lowerCase);
        case ModelKind::Hex: return formatHex(value, m);
        case ModelKind::Roman: return formatRoman(value, m);
        case ModelKind::Fixed: break;
    }
    return formatFixed(value, m, nls);
}

std::string numberTextByModel(const std::string& text, const std::string& model,
                              const NumberNls& nls) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    const std::string trimmed = first == std::string::npos ? std::string()
                                                           : text.substr(first, last - first + 1);
    const NumberModel& m = cachedModel(model);
    switch (m.kind) {
        case ModelKind::TextMinimum:
        case ModelKind::TextScientific: return trimmed;
        case ModelKind::Hex: return readHex(trimmed, m);
        case ModelKind::Roman: invalidModel();
        case ModelKind::Fixed: break;
    }
    return readFixed(trimmed, m, nls);
}

}  // namespace detail
}  // namespace kavexdb

namespace oracle {
namespace occi {

std::string Number::toText(const Environment* /*envp*/, const std::string& fmt,
                           const std::string& nlsParam) const {
    kavexdb::detail::checkFault("Number::toText");
    if (null_) return std::string();
    if (nlsParam.empty()) return kavexdb::detail::formatNumber(kavexdb::detail::decimalOf(*this), fmt);
    return kavexdb::detail::formatNumber(kavexdb::detail::decimalOf(*this), fmt,
                                         kavexdb::detail::numberNlsOf(nlsParam));
}

}  // namespace occi
}  // namespace oracle
