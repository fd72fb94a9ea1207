#include "values/ColumnInfo.h"

#include <algorithm>

#include "values/TextConversion.h"
#include "values/TypeCodes.h"

namespace kavex {

namespace {

// Fill mode, 16 digits, the decimal character, 39 digits, scientific notation: the 40 significant
// digits a NUMBER without precision holds at most (twenty base-100 digits; 38 always fit).
constexpr char kFloatingFormat[] =
    "FM9999999999999999D999999999999999999999999999999999999999EEEE";

}  // namespace

void ColumnInfo::buildDateTimeFormat() {
    if (type == types::kDate) {
        textFormat = dateFormat;
    } else if (types::isTimestampType(type)) {
        textFormat = timestampFormatWithFraction(fractionDigits());
    }
}

unsigned int ColumnInfo::fractionDigits() const {
    return static_cast<unsigned int>(std::clamp<std::int32_t>(scale, 0, 9));
}

void ColumnInfo::buildNumberFormat(bool floating) {
    if (floating) {
        textFormat += kFloatingFormat;
        return;
    }
    // The data size is 22 for every NUMBER whatever its precision, so the integer part may need
    // more positions than size - scale (NUMBER(38), NUMBER(28,18)); too few render the value as
    // "#####". Fill mode drops the positions a value does not use.
    const std::int32_t fraction = std::max<std::int32_t>(scale, 0);
    std::int32_t integral = std::max({size - fraction, precision - fraction, 0});
    if (fraction == 0) {
        // A model needs at least one digit position.
        integral = std::max<std::int32_t>(integral, 1);
    }
    textFormat += "FM";
    textFormat.append(static_cast<std::size_t>(integral), '9');
    if (fraction > 0) {
        textFormat += 'D';
        textFormat.append(static_cast<std::size_t>(fraction), '9');
    }
}

}  // namespace kavex
