#include "ValueReader.h"

#include <charconv>
#include <cmath>

#include "Connection.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

namespace {

// Positional notation from 1E-7 up to (not including) 1E+21, as the digits are easy to read there.
constexpr int kSmallestPlainExponent = -7;
constexpr int kLargestPlainExponent = 20;

template <class T>
std::string shortest(T value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    std::string text(buffer, result.ptr);  // "1.5e-10": the shortest exact digits
    const size_t e = text.find('e');
    const int exponent = std::stoi(text.substr(e + 1));
    if (value == 0 || (exponent >= kSmallestPlainExponent && exponent <= kLargestPlainExponent))
        return plainNumber(text);
    text[e] = 'E';
    return text;
}

size_t codePoints(const char* text, size_t length) {
    size_t count = 0;
    for (size_t i = 0; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace

std::string plainNumber(const std::string& text) {
    // sign, integer digits, optional "." and fraction digits, optional exponent
    size_t i = 0;
    std::string sign;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? "-" : "";
    std::string digits;
    long point = -1;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            digits += c;
        } else if (c == '.' && point < 0) {
            point = static_cast<long>(digits.size());
        } else {
            break;
        }
    }
    if (digits.empty()) return text;
    if (point < 0) point = static_cast<long>(digits.size());
    if (i < text.size()) {
        if (text[i] != 'E' && text[i] != 'e') return text;
        ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
        if (i >= text.size() || text.size() - i > 3) return text;
        long exponent = 0;
        for (; i < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9') return text;
            exponent = exponent * 10 + (text[i] - '0');
        }
        if (exponent > 60) return text;  // keep the scientific form for huge or tiny values
        point += negative ? -exponent : exponent;
    }
    // Place the point at position `point` of the digit string, padding with zeros as needed.
    if (point <= 0) {
        digits.insert(0, static_cast<size_t>(-point) + 1, '0');
        point = 1;
    } else if (point > static_cast<long>(digits.size())) {
        digits.append(static_cast<size_t>(point) - digits.size(), '0');
    }
    std::string whole = digits.substr(0, static_cast<size_t>(point));
    std::string fraction = digits.substr(static_cast<size_t>(point));
    while (whole.size() > 1 && whole[0] == '0') whole.erase(0, 1);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (whole == "0" && fraction.empty()) sign.clear();
    return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string toHex(const unsigned char* bytes, size_t length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

std::string formatDouble(double value) { return shortest(value); }
std::string formatFloat(float value) { return shortest(value); }

ValueReader::ValueReader(int session, const std::vector<Column>& columns, int maxColumnSize)
    : session_(session),
      columns_(columns),
      maxColumnSize_(maxColumnSize > 0 ? static_cast<size_t>(maxColumnSize) : 0),
      atLimit_(columns.size(), false) {}

bool ValueReader::next() { return Connection::check(NextRow(session_)) == 1; }

void ValueReader::noteLength(size_t column, size_t length) {
    if (maxColumnSize_ > 0 && length >= maxColumnSize_ && isCutToMaxSize(columns_[column].type))
        atLimit_[column] = true;
}

std::vector<std::string> ValueReader::columnsAtLimit() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < columns_.size(); ++i)
        if (atLimit_[i]) names.push_back(columns_[i].name);
    return names;
}

Row ValueReader::row() {
    Row values;
    values.reserve(columns_.size());
    for (size_t i = 0; i < columns_.size(); ++i) values.push_back(value(i));
    return values;
}

Value ValueReader::value(size_t column) {
    const int index = static_cast<int>(column);
    switch (columns_[column].getter) {
        case Getter::String: {
            KavexPointerRecord record{};
            Connection::check(GetString(session_, index, &record));
            if (record.isNull || record.value == nullptr) return std::nullopt;
            std::string text(record.value, static_cast<size_t>(record.length));
            noteLength(column, codePoints(text.data(), text.size()));
            if (columns_[column].type == 2) return plainNumber(text);
            return text;
        }
        case Getter::Bytes: {
            KavexPointerRecord record{};
            Connection::check(GetByteArray(session_, index, &record));
            if (record.isNull || record.value == nullptr) return std::nullopt;
            noteLength(column, static_cast<size_t>(record.length));
            return toHex(reinterpret_cast<const unsigned char*>(record.value),
                         static_cast<size_t>(record.length));
        }
        case Getter::Integer: {
            KavexIntRecord record{};
            Connection::check(GetInteger(session_, index, &record));
            if (record.isNull) return std::nullopt;
            return std::to_string(record.value);
        }
        case Getter::Float: {
            KavexFloatRecord record{};
            Connection::check(GetFloat(session_, index, &record));
            if (record.isNull) return std::nullopt;
            return formatFloat(record.value);
        }
        case Getter::Double: {
            KavexDoubleRecord record{};
            Connection::check(GetDouble(session_, index, &record));
            if (record.isNull) return std::nullopt;
            return formatDouble(record.value);
        }
        case Getter::None:
            break;
    }
    return "<unsupported type " + std::to_string(columns_[column].type) + ">";
}

}  // namespace kavexsql
