// Numbers in English words, as datetime format models spell them (the SP and TH suffixes and the
// YEAR element): upper case, no "AND", hyphens between tens and units ("TWENTY-FIRST").
#ifndef KAVEXDB_SPELLED_NUMBERS_H
#define KAVEXDB_SPELLED_NUMBERS_H

#include <string>

namespace kavexdb {
namespace detail {

// The cardinal words of 0 <= n < 10^9 ("ONE THOUSAND NINE HUNDRED NINETY-EIGHT").
std::string spelledNumber(long n);
// The ordinal of spelled cardinal words ("TWENTY-ONE" -> "TWENTY-FIRST").
std::string spelledOrdinal(const std::string& cardinal);
// The ordinal suffix of a number's digits: "ST", "ND", "RD" or "TH".
const char* ordinalSuffix(long n);
// A year read the English way: 1998 "NINETEEN NINETY-EIGHT", 2000 "TWO THOUSAND",
// 2005 "TWO THOUSAND FIVE", 2010 "TWENTY TEN", 1900 "NINETEEN HUNDRED". year >= 0.
std::string spelledYear(long year);

}  // namespace detail
}  // namespace kavexdb

#endif
