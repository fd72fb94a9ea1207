// Number format models (TO_CHAR semantics): FM, 9, 0, D, '.', ',', G, $, S, MI, PR, EEEE.
#include <algorithm>

#include "detail.h"
#include "format_cache.h"
#include "format_model.h"

namespace kavexdb {
namespace detail {

std::string numberToPlainText(const occi::Number& n);

namespace {

enum class SignStyle { Default, LeadingS, TrailingS, TrailingMI, Brackets };

// A parsed number format model, with the figures every value needs worked out once.
struct NumberModel {
    bool fillMode = false;
    bool scientific = false;
    bool dollar = false;
    bool hasDecimal = false;
    SignStyle sign = SignStyle::Default;
    std::string integerPart;   // '9', '0' and ',' before the decimal character
    std::string fractionPart;  // '9' and '0' after it
    int integerDigits = 0;     // digit positions in integerPart
    int forced = 0;            // positions a '0' element forces to show
    bool grouped = false;      // integerPart holds group separators
    std::size_t width = 0;     // characters of output, the sign position included

    void finish() {
        integerDigits = static_cast<int>(
            std::count_if(integerPart.begin(), integerPart.end(), [](char c) { return c != ','; }));
        grouped = integerDigits != static_cast<int>(integerPart.size());
        // A '0' element forces digits from its position to the decimal character.
        int seen = 0;
        for (char c : integerPart) {
            if (c == ',') continue;
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
    }
};

[[noreturn]] void invalidModel() { raise(1481, "invalid number format model"); }

// ASCII only: a model's letters mean the same whatever locale the host process set.
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool startsWith(const std::string& upper, std::size_t at, const char* word) {
    return upper.compare(at, std::char_traits<char>::length(word), word) == 0;
}

NumberModel parseModel(const std::string& model) {
    std::string upper(model);
    for (char& c : upper) c = upperAscii(c);
    NumberModel m;
    std::size_t i = 0;
    if (startsWith(upper, 0, "FM")) {
        m.fillMode = true;
        i = 2;
    }
    bool anyDigit = false, ended = false;
    for (; i < upper.size(); ++i) {
        const char c = upper[i];
        if (ended) invalidModel();  // nothing may follow a trailing sign
        if (c == '9' || c == '0') {
            if (m.scientific) invalidModel();
            (m.hasDecimal ? m.fractionPart : m.integerPart).push_back(c);
            anyDigit = true;
        } else if (c == ',' || c == 'G') {
            if (m.hasDecimal || m.scientific || !anyDigit) invalidModel();
            m.integerPart.push_back(',');
        } else if (c == 'D' || c == '.') {
            if (m.hasDecimal || m.scientific) invalidModel();
            m.hasDecimal = true;
        } else if (startsWith(upper, i, "EEEE")) {
            if (m.scientific || !anyDigit) invalidModel();
            m.scientific = true;
            i += 3;
        } else if (c == '$') {
            if (m.dollar) invalidModel();
            m.dollar = true;
        } else if (c == 'S') {
            if (m.sign != SignStyle::Default) invalidModel();
            if (!anyDigit && !m.hasDecimal && !m.dollar) {
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
    if (!m.integerPart.empty() && m.integerPart.back() == ',') invalidModel();
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

void appendExponent(int e, std::string& out) {
    out.push_back('E');
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
bool appendBody(const Decimal& value, const NumberModel& m, std::string& out) {
    const int fractionDigits = static_cast<int>(m.fractionPart.size());
    Decimal scratch;
    if (m.scientific) {
        const Decimal& r = rounded(value, 1 + static_cast<long>(fractionDigits), scratch);
        const int e = r.isZero() ? 0 : r.exponent - 1;
        out.push_back(r.isZero() ? '0' : r.digits[0]);
        if (m.hasDecimal) {
            out.push_back('.');
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
    int shown = std::max(valueDigits, m.forced);
    const bool noFraction = !m.hasDecimal || fractionDigits == 0;
    if (shown == 0 && positions > 0 && (noFraction || (m.fillMode && r.isZero()))) shown = 1;
    // Positions left of the shown ones stay blank; blanks only ever lead, so they are skipped.
    if (m.grouped) {
        int position = positions;  // digit positions from here to the decimal character
        for (char element : m.integerPart) {
            if (element == ',') {
                if (position < shown) out.push_back(',');
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
        out.push_back('.');
        appendFraction(r, 0, m, out);
    }
    return true;
}

bool isTextMinimum(const std::string& model) {
    if (model.size() > 3) return false;
    return model.empty() || model == "TM" || model == "TM9" || model == "tm" || model == "tm9";
}

}  // namespace

std::string formatNumber(const Decimal& value, const std::string& model) {
    if (isTextMinimum(model)) {
        // Oracle's text minimum form: no leading zero before the decimal character.
        occi::Number n = numberOf(value);
        std::string text = numberToPlainText(n);
        std::size_t zero = text[0] == '-' ? 1 : 0;
        if (text.compare(zero, 2, "0.") == 0) text.erase(zero, 1);
        return text;
    }
    const NumberModel& m = cachedModel(model);
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
    if (m.dollar) text.push_back('$');
    if (!appendBody(value, m, text)) return std::string(m.width, '#');
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

}  // namespace detail
}  // namespace kavexdb

namespace oracle {
namespace occi {

std::string Number::toText(const Environment* /*envp*/, const std::string& fmt,
                           const std::string& /*nlsParam*/) const {
    kavexdb::detail::checkFault("Number::toText");
    if (null_) return std::string();
    return kavexdb::detail::formatNumber(kavexdb::detail::decimalOf(*this), fmt);
}

}  // namespace occi
}  // namespace oracle
