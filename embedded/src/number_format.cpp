// Number format models (TO_CHAR semantics): FM, 9, 0, D, '.', ',', G, $, S, MI, PR, EEEE.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "detail.h"
#include "format_model.h"

namespace kavexdb {
namespace detail {

std::string numberToPlainText(const occi::Number& n);

namespace {

enum class SignStyle { Default, LeadingS, TrailingS, TrailingMI, Brackets };

// A parsed number format model.
struct NumberModel {
    bool fillMode = false;
    bool scientific = false;
    bool dollar = false;
    bool hasDecimal = false;
    SignStyle sign = SignStyle::Default;
    std::string integerPart;   // '9', '0' and ',' before the decimal character
    std::string fractionPart;  // '9' and '0' after it

    std::size_t integerDigits() const {
        std::size_t n = 0;
        for (char c : integerPart) n += c != ',';
        return n;
    }
    // Characters of output the model stands for, the sign position included.
    std::size_t width() const {
        std::size_t w = integerPart.size() + (hasDecimal ? 1 : 0) + fractionPart.size();
        w += sign == SignStyle::Brackets ? 2 : 1;
        w += dollar ? 1 : 0;
        w += scientific ? 5 : 0;  // "E+nnn"
        return w;
    }
};

[[noreturn]] void invalidModel() { raise(1481, "invalid number format model"); }

bool startsWith(const std::string& upper, std::size_t at, const char* word) {
    return upper.compare(at, std::char_traits<char>::length(word), word) == 0;
}

NumberModel parseModel(const std::string& model) {
    std::string upper(model);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
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
    return m;
}

// Digit of d with place value 10^power ('0' outside the stored digits).
char digitAt(const Decimal& d, int power) {
    long index = static_cast<long>(d.exponent) - 1 - power;
    if (index < 0 || index >= static_cast<long>(d.digits.size())) return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

// Fraction digits as the model shows them: fill mode drops trailing zeros of '9' positions.
std::string fractionText(std::string digits, const NumberModel& m) {
    if (m.fillMode) {
        while (!digits.empty() && digits.back() == '0' && m.fractionPart[digits.size() - 1] == '9')
            digits.pop_back();
    }
    return digits;
}

std::string exponentText(int e) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "E%c%02d", e < 0 ? '-' : '+', e < 0 ? -e : e);
    return buf;
}

// The digits of the value without sign, with blanks where the model's leading positions
// stay empty; empty when the value does not fit.
bool renderBody(const Decimal& value, const NumberModel& m, std::string& body) {
    const int fractionDigits = static_cast<int>(m.fractionPart.size());
    if (m.scientific) {
        Decimal r = roundDigits(value, 1 + static_cast<long>(fractionDigits));
        const int e = r.isZero() ? 0 : r.exponent - 1;
        std::string fraction;
        for (int k = 1; k <= fractionDigits; ++k) fraction.push_back(digitAt(r, e - k));
        body = r.isZero() ? std::string("0") : std::string(1, r.digits[0]);
        if (m.hasDecimal) body += "." + fractionText(fraction, m);
        body += exponentText(e);
        return true;
    }
    Decimal r = roundToScale(value, fractionDigits);
    const int valueDigits = r.isZero() ? 0 : std::max(r.exponent, 0);
    const int positions = static_cast<int>(m.integerDigits());
    if (valueDigits > positions) return false;
    // A '0' element forces digits from its position to the decimal character.
    int forced = 0;
    for (std::size_t i = 0, seen = 0; i < m.integerPart.size(); ++i) {
        if (m.integerPart[i] == ',') continue;
        if (m.integerPart[i] == '0') {
            forced = positions - static_cast<int>(seen);
            break;
        }
        ++seen;
    }
    int shown = std::max(valueDigits, forced);
    const bool noFraction = !m.hasDecimal || fractionDigits == 0;
    if (shown == 0 && positions > 0 && (noFraction || (m.fillMode && r.isZero()))) shown = 1;
    body.clear();
    int position = positions;  // digit positions from here to the decimal character
    for (char element : m.integerPart) {
        if (element == ',') {
            body.push_back(position < shown ? ',' : ' ');
            continue;
        }
        --position;
        body.push_back(position < shown ? digitAt(r, position) : ' ');
    }
    if (m.hasDecimal) {
        std::string fraction;
        for (int k = 1; k <= fractionDigits; ++k) fraction.push_back(digitAt(r, -k));
        body += "." + fractionText(fraction, m);
    }
    return true;
}

}  // namespace

std::string formatNumber(const Decimal& value, const std::string& model) {
    if (model.empty() || model == "TM" || model == "TM9" || model == "tm" || model == "tm9") {
        // Oracle's text minimum form: no leading zero before the decimal character.
        occi::Number n = numberOf(value);
        std::string text = numberToPlainText(n);
        std::size_t zero = text[0] == '-' ? 1 : 0;
        if (text.compare(zero, 2, "0.") == 0) text.erase(zero, 1);
        return text;
    }
    const NumberModel m = parseModel(model);
    std::string body;
    if (!renderBody(value, m, body)) return std::string(m.width(), '#');
    const std::size_t firstUsed = body.find_first_not_of(' ');
    std::string text = firstUsed == std::string::npos ? std::string() : body.substr(firstUsed);
    if (m.dollar) text.insert(0, "$");
    const bool negative = value.negative;
    switch (m.sign) {
        case SignStyle::Default:
            text.insert(0, negative ? "-" : (m.fillMode ? "" : " "));
            break;
        case SignStyle::LeadingS:
            text.insert(0, negative ? "-" : "+");
            break;
        case SignStyle::TrailingS:
            text += negative ? "-" : "+";
            break;
        case SignStyle::TrailingMI:
            text += negative ? "-" : (m.fillMode ? "" : " ");
            break;
        case SignStyle::Brackets:
            text = negative ? "<" + text + ">" : (m.fillMode ? text : " " + text + " ");
            break;
    }
    if (!m.fillMode && text.size() < m.width()) text.insert(0, m.width() - text.size(), ' ');
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
