#include "Variables.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>

#include "DbError.h"
#include "SqlText.h"
#include "ValueReader.h"

namespace kavexsql {

std::string Variable::describe() const {
    switch (kind) {
        case Kind::Text:
            return "'" + text + "'";
        case Kind::Null:
            return "NULL";
        case Kind::Number:
            return text;
        case Kind::Integer:
            return std::to_string(integer);
        case Kind::Double:
            return formatDouble(number);
        case Kind::Timestamp: {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer,
                          "TIMESTAMP '%04d-%02u-%02u %02u:%02u:%02u.%09u %+03d:%02d'",
                          timestamp.year, timestamp.month, timestamp.day, timestamp.hour,
                          timestamp.minute, timestamp.second, timestamp.fraction, timestamp.tzHour,
                          timestamp.tzMinute < 0 ? -timestamp.tzMinute : timestamp.tzMinute);
            return buffer;
        }
        case Kind::ClobFile:
            return "CLOB FILE '" + text + "'";
        case Kind::BlobFile:
            return "BLOB FILE '" + text + "'";
    }
    return "";
}

void Variables::set(const std::string& name, Variable value) {
    values_[upper(name)] = std::move(value);
}

bool Variables::unset(const std::string& name) { return values_.erase(upper(name)) > 0; }

const Variable* Variables::find(const std::string& name) const {
    auto it = values_.find(upper(name));
    return it == values_.end() ? nullptr : &it->second;
}

BindType parseBindType(const std::string& text) {
    static const std::regex pattern(
        R"(\s*([A-Za-z_0-9]+)\s*(?:\(\s*(\d+)\s*(?:(CHAR|BYTE)\s*)?\))?\s*)",
        std::regex::icase);
    std::smatch m;
    const std::string usage =
        "VARIABLE takes NUMBER, BINARY_FLOAT, BINARY_DOUBLE, CHAR[(n)], NCHAR[(n)], "
        "VARCHAR2(n), NVARCHAR2(n), CLOB or NCLOB";
    if (!std::regex_match(text, m, pattern)) throw UsageError(usage + ", not '" + text + "'");
    const std::string word = upper(m[1].str());
    const bool sized = m[2].matched;
    const bool chars = m[3].matched && upper(m[3].str()) == "CHAR";
    using Base = BindType::Base;
    BindType t;
    if (word == "REFCURSOR")
        throw UsageError("REFCURSOR variables are not supported: the library hands a host no "
                         "cursor of a block");
    if (word == "NUMBER" || word == "BINARY_FLOAT" || word == "BINARY_DOUBLE" || word == "CLOB" ||
        word == "NCLOB") {
        if (sized) throw UsageError(word + " takes no length in VARIABLE");
        t.base = word == "NUMBER"          ? Base::Number
                 : word == "BINARY_FLOAT"  ? Base::BinaryFloat
                 : word == "BINARY_DOUBLE" ? Base::BinaryDouble
                                           : Base::Clob;
        t.shown = word;
        return t;
    }
    const bool fixed = word == "CHAR" || word == "NCHAR";
    const bool varying = word == "VARCHAR2" || word == "NVARCHAR2";
    if (!fixed && !varying) throw UsageError(usage + ", not '" + trim(text) + "'");
    if (varying && !sized) throw UsageError(word + " needs a length in VARIABLE: " + word + "(n)");
    const bool national = word[0] == 'N';
    if (national && m[3].matched) throw UsageError(word + " takes a length in characters");
    const unsigned long most = fixed ? 2000 : 32767;
    const unsigned long n = sized ? std::strtoul(m[2].str().c_str(), nullptr, 10) : 1;
    if (n < 1 || n > most)
        throw UsageError("the length of a " + word + " variable is 1 to " + std::to_string(most) +
                         ", not " + m[2].str());
    t.base = fixed ? Base::Char : Base::Varchar2;
    t.length = static_cast<unsigned>(n);
    // In characters, a value takes up to 4 bytes of UTF-8 each.
    t.maxBytes = static_cast<unsigned>(chars || national ? std::min(4 * n, most) : n);
    t.shown = word + "(" + std::to_string(n) + (chars ? " CHAR" : "") + ")";
    return t;
}

void Variables::declare(const std::string& name, const BindType& type) {
    const std::string key = upper(name);
    if (declared_.find(key) == declared_.end()) order_.push_back(key);
    declared_[key] = Declaration{name, type};
    values_[key] = Variable();
}

const Declaration* Variables::declaration(const std::string& name) const {
    auto it = declared_.find(upper(name));
    return it == declared_.end() ? nullptr : &it->second;
}

std::vector<const Declaration*> Variables::declarations() const {
    std::vector<const Declaration*> out;
    for (const std::string& key : order_) out.push_back(&declared_.at(key));
    return out;
}

namespace {

// Whether text is a number as Oracle writes one (digits, a point, an exponent).
bool numeric(const std::string& text) {
    static const std::regex pattern(R"(\s*[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?\s*)");
    return std::regex_match(text, pattern);
}

}  // namespace

void Variables::assign(const std::string& name, const std::string* text) {
    const std::string key = upper(name);
    Variable v;
    if (!text || text->empty()) {
        values_[key] = v;
        return;
    }
    using Base = BindType::Base;
    using Kind = Variable::Kind;
    const Declaration* d = declaration(key);
    const auto old = values_.find(key);
    const bool wasNumber = old != values_.end() &&
                           (old->second.kind == Kind::Number || old->second.kind == Kind::Integer ||
                            old->second.kind == Kind::Double);
    if (d && (d->type.base == Base::BinaryFloat || d->type.base == Base::BinaryDouble)) {
        v.kind = Kind::Double;
        v.number = std::strtod(text->c_str(), nullptr);
    } else if ((d ? d->type.base == Base::Number : wasNumber) && numeric(*text)) {
        v.kind = Kind::Number;
        v.text = trim(*text);
    } else {
        v.kind = Kind::Text;
        v.text = *text;
        if (d && d->type.base == Base::Char && v.text.size() < d->type.length)
            v.text.append(d->type.length - v.text.size(), ' ');
    }
    values_[key] = v;
}

Timestamp parseTimestamp(const std::string& text) {
    static const std::regex pattern(
        R"(\s*(-?\d{1,4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,9}))?)?)?\s*(?:([+-])(\d{1,2}):(\d{2}))?\s*)");
    std::smatch m;
    if (!std::regex_match(text, m, pattern))
        throw UsageError("timestamp '" + text + "' is not YYYY-MM-DD HH:MI:SS[.FFFFFFFFF][+HH:MM]");
    auto number = [&](int group) { return m[group].matched ? std::stoi(m[group].str()) : 0; };
    Timestamp ts;
    ts.year = number(1);
    ts.month = static_cast<unsigned>(number(2));
    ts.day = static_cast<unsigned>(number(3));
    ts.hour = static_cast<unsigned>(number(4));
    ts.minute = static_cast<unsigned>(number(5));
    ts.second = static_cast<unsigned>(number(6));
    if (m[7].matched) {
        std::string digits = m[7].str();
        digits.resize(9, '0');
        ts.fraction = static_cast<unsigned>(std::stoul(digits));
    }
    if (m[8].matched) {
        int sign = m[8].str() == "-" ? -1 : 1;
        ts.tzHour = sign * number(9);
        ts.tzMinute = sign * number(10);
    }
    return ts;
}

}  // namespace kavexsql
