#include "NumberFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "SqlText.h"

namespace kavexsql {

namespace {

struct Model {
    std::string integer;  // the part before ".": 9, 0, "," positions
    size_t decimals = 0;
    bool dollar = false;
    bool leadingSign = false;   // S
    bool trailingSign = false;  // MI
    bool blankZero = false;     // B
    std::string text;           // the model as written
};

bool parse(const std::string& written, Model& model) {
    std::string f = upper(written);
    model = Model();
    model.text = f;
    if (f.size() >= 2 && f.compare(f.size() - 2, 2, "MI") == 0) {
        model.trailingSign = true;
        f.erase(f.size() - 2);
    }
    if (!f.empty() && f[0] == 'S') {
        model.leadingSign = true;
        f.erase(0, 1);
    }
    if (!f.empty() && f[0] == 'B') {
        model.blankZero = true;
        f.erase(0, 1);
    }
    if (!f.empty() && f[0] == '$') {
        model.dollar = true;
        f.erase(0, 1);
    }
    if (f.empty() || (model.leadingSign && model.trailingSign)) return false;
    bool point = false, digits = false;
    for (char c : f) {
        if (c == '9' || c == '0') {
            digits = true;
            if (point)
                ++model.decimals;
            else
                model.integer += c;
        } else if (c == ',' && !point) {
            model.integer += c;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

// Decimal text rounded half away from zero to the given decimals: {integer digits, fraction}.
std::pair<std::string, std::string> rounded(const std::string& magnitude, size_t decimals) {
    std::string integer = magnitude.substr(0, magnitude.find('.'));
    std::string fraction =
        magnitude.find('.') == std::string::npos ? "" : magnitude.substr(magnitude.find('.') + 1);
    const bool up = fraction.size() > decimals && fraction[decimals] >= '5';
    fraction.resize(decimals, '0');
    if (up) {
        std::string all = integer + fraction;
        size_t i = all.size();
        while (i > 0) {
            --i;
            if (all[i] == '9') {
                all[i] = '0';
                if (i == 0) all.insert(all.begin(), '1');
            } else {
                ++all[i];
                break;
            }
        }
        integer = all.substr(0, all.size() - decimals);
        fraction = all.substr(all.size() - decimals);
    }
    while (integer.size() > 1 && integer[0] == '0') integer.erase(0, 1);
    if (integer.empty()) integer = "0";
    return {integer, fraction};
}

}  // namespace

std::string fitNumber(const std::string& number, size_t width) {
    std::string text = number;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    const size_t point = text.find('.');
    if (text.find_first_not_of("0123456789.") == std::string::npos && !text.empty()) {
        std::string integer = text.substr(0, point);
        if (integer == "0") integer.clear();  // SQL*Plus shows .5, not 0.5
        const size_t fixed = integer.size() + (negative ? 1 : 0);
        if (fixed <= width) {
            const size_t room = width - fixed > 0 ? width - fixed - 1 : 0;  // after the "."
            const size_t decimals =
                point == std::string::npos ? 0 : std::min(room, text.size() - point - 1);
            auto [whole, fraction] = rounded(text, decimals);
            while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
            if (whole == "0" && !fraction.empty()) whole.clear();
            std::string out = (negative ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
            const bool zero = text.find_first_not_of("0.") == std::string::npos;
            if (out == "-" || out.empty() || out == "-0") out = zero ? "0" : "";
            if (!out.empty() && out.size() <= width) return out;
        }
    }
    // Too many digits before the point: scientific notation with as many digits as fit.
    const double value = std::strtod(number.c_str(), nullptr);
    for (int digits = static_cast<int>(width); digits >= 0; --digits) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*E", digits, value);
        if (std::string(buffer).size() <= width) return buffer;
    }
    return std::string(width, '#');
}

bool isNumberFormat(const std::string& text) {
    Model model;
    return parse(text, model);
}

size_t numberFormatWidth(const std::string& format) {
    Model model;
    if (!parse(format, model)) return format.size();
    return model.text.size() + (model.leadingSign || model.trailingSign ? 0 : 1) -
           (model.trailingSign ? 1 : 0);
}

std::string formatNumber(const std::string& number, const std::string& format) {
    Model model;
    const size_t width = numberFormatWidth(format);
    if (!parse(format, model)) return number;
    std::string text = number;
    if (text.find_first_of("eE") != std::string::npos) {  // beyond what plain text shows
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(model.decimals),
                      std::strtod(text.c_str(), nullptr));
        text = buffer;
    }
    bool negative = !text.empty() && text[0] == '-';
    if (negative || (!text.empty() && text[0] == '+')) text.erase(0, 1);
    auto [integer, fraction] = rounded(text, model.decimals);
    if (integer == "0" && fraction.find_first_not_of('0') == std::string::npos) {
        negative = false;
        if (model.blankZero) return std::string(width, ' ');
    }

    size_t positions = 0;
    for (char c : model.integer) positions += c != ',';
    if (integer == "0") integer.clear();  // shown only where the model asks for a zero
    if (integer.size() > positions) return std::string(width, '#');
    const std::string digits = std::string(positions - integer.size(), '0') + integer;
    std::string out;
    bool started = false;
    size_t k = 0;
    for (char c : model.integer) {
        if (c == ',') {
            out += started ? "," : "";
            continue;
        }
        const char digit = digits[k++];
        if (c == '0' || digit != '0') started = true;
        if (started) out += digit;
    }
    if (out.empty() && model.decimals == 0) out = "0";
    if (model.dollar) out = "$" + out;
    if (model.leadingSign) out = (negative ? "-" : "+") + out;
    else if (negative && !model.trailingSign) out = "-" + out;
    if (model.decimals > 0) out += "." + fraction;
    if (model.trailingSign) out += negative ? "-" : " ";
    if (out.size() > width) return std::string(width, '#');
    return std::string(width - out.size(), ' ') + out;
}

}  // namespace kavexsql
