#include "ValueReader.h"

#include <charconv>
#include <cmath>

#include "Connection.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

namespace {

template <class T>
std::string shortest(T value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
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

ValueReader::ValueReader(int session, const std::vector<Column>& columns)
    : session_(session), columns_(columns) {}

bool ValueReader::next() { return Connection::check(NextRow(session_)) == 1; }

Row ValueReader::row() const {
    Row values;
    values.reserve(columns_.size());
    for (size_t i = 0; i < columns_.size(); ++i) values.push_back(value(i));
    return values;
}

Value ValueReader::value(size_t column) const {
    const int index = static_cast<int>(column);
    switch (columns_[column].getter) {
        case Getter::String: {
            KavexPointerRecord record{};
            Connection::check(GetString(session_, index, &record));
            if (record.isNull || record.value == nullptr) return std::nullopt;
            std::string text(record.value, static_cast<size_t>(record.length));
            if (columns_[column].type == 2) return plainNumber(text);
            return text;
        }
        case Getter::Bytes: {
            KavexPointerRecord record{};
            Connection::check(GetByteArray(session_, index, &record));
            if (record.isNull || record.value == nullptr) return std::nullopt;
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
