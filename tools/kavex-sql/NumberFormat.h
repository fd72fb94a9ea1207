// SQL*Plus number format models for COLUMN ... FORMAT and SET NUMFORMAT: 9 (a digit, leading
// zeros blank), 0 (a digit, zeros shown), "," and "." (group and decimal separators), a leading
// "$", a leading "B" (zero shows as blanks), a leading "S" or trailing "MI" for the sign. A value is rounded to the model's decimals and
// takes its width plus one for the sign (none with S or MI); a value too wide for it shows as "#"s.
#ifndef KAVEXSQL_NUMBERFORMAT_H
#define KAVEXSQL_NUMBERFORMAT_H

#include <string>

namespace kavexsql {

// True when text is a model of the forms above (case-insensitive).
bool isNumberFormat(const std::string& text);

// The width of the model's values.
size_t numberFormatWidth(const std::string& format);

// The number (as plain decimal text, "-1234.5") laid out by the model, right-aligned in its width.
std::string formatNumber(const std::string& number, const std::string& format);

// A number without a model in a column of the given width, as SQL*Plus shows it: no zero before
// the decimal point (.5), decimals rounded away to fit, scientific notation (1.2346E+13) when the
// digits before the point do not fit.
std::string fitNumber(const std::string& number, size_t width);

}  // namespace kavexsql

#endif
