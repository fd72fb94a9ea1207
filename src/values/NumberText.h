// NUMBER values as text in the formats the column records carry for them: fill mode, digit
// positions and, for a scale, the decimal character and fraction positions ("FM9999D99"). A
// value is written here from its binary double wherever that double settles the text, which it
// does for every value of about twelve significant digits that is not a half-way case; any other
// value or format goes to OCCI's Number::toText. Before the first value, the writer checks its
// texts against OCCI's own for a few values (the decimal character among them); if any differs,
// every value of the session goes to OCCI.
#ifndef KAVEX_VALUES_NUMBERTEXT_H
#define KAVEX_VALUES_NUMBERTEXT_H

#include <cstddef>
#include <string>

#include "occi/occi.h"

namespace kavex {

class NumberText {
public:
    // Reads the NUMBER value of column `number` (OCCI's 1-based index) of the current row:
    // false when it is NULL, else its text in `format` is appended to `out`, exactly as
    // Number::toText renders it in `environment`.
    bool append(occi::ResultSet& resultSet, unsigned int number, const std::string& format,
                const occi::Environment* environment, std::string& out);

    // The shape of a format: "FM", integer positions, optionally "D" and fraction positions.
    struct Layout {
        int integerDigits = 0;
        int scale = 0;
        bool decimal = false;
        bool handled = false;  // false: not such a format, or one left to OCCI
    };

private:
    // The layout of `format`, remembered for the last few formats: a fetch renders every value
    // of a column in the same one.
    const Layout& layoutOf(const std::string& format);

    struct Known {
        std::string format;
        Layout layout;
    };
    static constexpr std::size_t kKnownFormats = 4;
    Known known[kKnownFormats];
    std::size_t nextKnown = 0;
    enum class State { Unchecked, Agrees, Differs };
    State state = State::Unchecked;
};

}  // namespace kavex

#endif
