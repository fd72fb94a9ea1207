#include "values/NumberText.h"

#include <cmath>
#include <cstdint>

#include "values/DigitPairs.h"
#include "values/TextConversion.h"

namespace kavex {

namespace {

constexpr int kMaxScale = 15;

using Layout = NumberText::Layout;

Layout parseLayout(const std::string& format) {
    Layout layout;
    const std::size_t size = format.size();
    if (size < 3 || format[0] != 'F' || format[1] != 'M') {
        return layout;
    }
    std::size_t i = 2;
    while (i < size && format[i] == '9') {
        ++i;
    }
    layout.integerDigits = static_cast<int>(i - 2);
    if (i < size) {
        if (format[i] != 'D') {
            return layout;
        }
        const std::size_t fraction = ++i;
        while (i < size && format[i] == '9') {
            ++i;
        }
        layout.decimal = true;
        layout.scale = static_cast<int>(i - fraction);
    }
    // Without integer positions a zero has no digit to show; OCCI knows that case.
    layout.handled = i == size && layout.integerDigits > 0 && layout.scale <= kMaxScale;
    return layout;
}

// Writes the text of `value` in `layout`, as the format shows it: the value rounded half away
// from zero to the layout's scale, a minus sign, the integer digits (a lone "0" only for zero),
// and with a scale the decimal character and the fraction digits without trailing zeros. False
// when the double does not settle the text: beyond 2^40 units of the scale (where the double's
// neighbours would round apart), within a quarter unit of a half-way point, a nonzero value that
// rounds to zero (its sign), more integer digits than positions, or no finite value at all.
bool writeFixed(double value, const Layout& layout, std::string& out) {
    static const double kPowers[kMaxScale + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double scaled = value * kPowers[layout.scale];
    if (!(std::fabs(scaled) <= 1099511627776.0)) {
        return false;
    }
    // std::round for the magnitudes that pass above, where adding a half is exact, without the
    // library call.
    const double nearest =
        static_cast<double>(static_cast<std::int64_t>(scaled + (scaled < 0 ? -0.5 : 0.5)));
    if (std::fabs(scaled - nearest) > 0.25 || (nearest == 0 && value != 0)) {
        return false;
    }
    const auto units = static_cast<std::uint64_t>(std::fabs(nearest));
    std::uint64_t rest = units;
    char text[48];
    char* const end = text + sizeof text;
    char* p = end;
    if (layout.decimal) {
        bool trailing = true;  // fill mode drops the fraction's trailing zeros
        for (int i = 0; i < layout.scale; ++i, rest /= 10) {
            const auto digit = static_cast<char>('0' + rest % 10);
            if (!trailing || digit != '0') {
                trailing = false;
                *--p = digit;
            }
        }
        *--p = '.';
    }
    char* const integerEnd = p;
    if (units == 0) {
        *--p = '0';
    }
    for (; rest >= 100; rest /= 100) {
        p -= 2;
        putTwoDigits(p, static_cast<unsigned int>(rest % 100));
    }
    if (rest >= 10) {
        p -= 2;
        putTwoDigits(p, static_cast<unsigned int>(rest));
    } else if (rest != 0) {
        *--p = static_cast<char>('0' + rest);
    }
    if (integerEnd - p > layout.integerDigits) {
        return false;
    }
    if (nearest < 0) {
        *--p = '-';
    }
    out.append(p, static_cast<std::size_t>(end - p));
    return true;
}

// A few values whose texts must be OCCI's: zero, signs, integers, fractions with and without
// trailing zeros, a value below one.
bool agreesWithOcci(const occi::Environment* environment) {
    struct Sample {
        double value;
        const char* format;
    };
    static const Sample kSamples[] = {
        {0, "FM999"},       {7, "FM999"},        {-120, "FM999"},      {0, "FM99D99"},
        {5, "FM99D99"},     {0.25, "FM99D99"},   {-0.5, "FM99D99"},    {1234.5, "FM9999D99"},
        {-12.05, "FM99D99"}, {99999.125, "FM99999D999"}, {1e9, "FM9999999999"}};
    for (const Sample& sample : kSamples) {
        const Layout layout = parseLayout(sample.format);
        std::string own;
        if (!layout.handled || !writeFixed(sample.value, layout, own) ||
            own != numberToText(occi::Number(sample.value), sample.format, environment)) {
            return false;
        }
    }
    return true;
}

}  // namespace

const Layout& NumberText::layoutOf(const std::string& format) {
    for (const Known& entry : known) {
        if (entry.format.size() == format.size() && entry.format == format) {
            return entry.layout;
        }
    }
    Known& entry = known[nextKnown];
    nextKnown = (nextKnown + 1) % kKnownFormats;
    entry.layout = parseLayout(format);
    entry.format = format;
    return entry.layout;
}

bool NumberText::append(occi::ResultSet& resultSet, unsigned int number,
                        const std::string& format, const occi::Environment* environment,
                        std::string& out) {
    if (state != State::Differs) {
        const Layout& layout = layoutOf(format);
        if (layout.handled && state == State::Unchecked) {
            state = agreesWithOcci(environment) ? State::Agrees : State::Differs;
        }
        if (layout.handled && state == State::Agrees) {
            occi::BDouble value;
            bool read = true;
            try {
                value = resultSet.getBDouble(number);
            } catch (const occi::SQLException&) {
                read = false;  // reported as OCCI reports it for the NUMBER, below
            }
            if (read && value.isNull) {
                return false;
            }
            if (read && writeFixed(value.value, layout, out)) {
                return true;
            }
        }
    }
    const occi::Number value = resultSet.getNumber(number);
    if (value.isNull()) {
        return false;
    }
    out += numberToText(value, format, environment);
    return true;
}

}  // namespace kavex
