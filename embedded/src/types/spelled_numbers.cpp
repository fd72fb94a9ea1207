#include "types/spelled_numbers.h"

namespace kavexdb {
namespace detail {

namespace {

const char* const kUnits[] = {"ZERO",    "ONE",     "TWO",       "THREE",    "FOUR",
                              "FIVE",    "SIX",     "SEVEN",     "EIGHT",    "NINE",
                              "TEN",     "ELEVEN",  "TWELVE",    "THIRTEEN", "FOURTEEN",
                              "FIFTEEN", "SIXTEEN", "SEVENTEEN", "EIGHTEEN", "NINETEEN"};
const char* const kTens[] = {"",      "",      "TWENTY",  "THIRTY", "FORTY",
                             "FIFTY", "SIXTY", "SEVENTY", "EIGHTY", "NINETY"};

// " words" for the rest of a number after its leading part ("" when the rest is zero).
std::string rest(long n) { return n == 0 ? std::string() : " " + spelledNumber(n); }

}  // namespace

std::string spelledNumber(long n) {
    if (n < 20) return kUnits[n < 0 ? 0 : n];
    if (n < 100) return std::string(kTens[n / 10]) + (n % 10 ? std::string("-") + kUnits[n % 10] : "");
    if (n < 1000) return std::string(kUnits[n / 100]) + " HUNDRED" + rest(n % 100);
    if (n < 1000000) return spelledNumber(n / 1000) + " THOUSAND" + rest(n % 1000);
    return spelledNumber(n / 1000000) + " MILLION" + rest(n % 1000000);
}

std::string spelledOrdinal(const std::string& cardinal) {
    const std::size_t cut = cardinal.find_last_of(" -");
    const std::size_t start = cut == std::string::npos ? 0 : cut + 1;
    const std::string last = cardinal.substr(start);
    static const struct {
        const char* cardinal;
        const char* ordinal;
    } kIrregular[] = {{"ONE", "FIRST"}, {"TWO", "SECOND"}, {"THREE", "THIRD"}, {"FIVE", "FIFTH"},
                      {"EIGHT", "EIGHTH"}, {"NINE", "NINTH"}, {"TWELVE", "TWELFTH"}};
    std::string ordinal;
    for (const auto& word : kIrregular)
        if (last == word.cardinal) ordinal = word.ordinal;
    if (ordinal.empty())
        ordinal = last.back() == 'Y' ? last.substr(0, last.size() - 1) + "IETH" : last + "TH";
    return cardinal.substr(0, start) + ordinal;
}

const char* ordinalSuffix(long n) {
    if (n % 100 >= 11 && n % 100 <= 13) return "TH";
    switch (n % 10) {
        case 1: return "ST";
        case 2: return "ND";
        case 3: return "RD";
        default: return "TH";
    }
}

std::string spelledYear(long year) {
    const long century = year / 100, within = year % 100;
    if (century == 0) return spelledNumber(within);
    // Whole thousands and the years just after them read as thousands ("TWO THOUSAND FIVE");
    // the others as two pairs of digits ("NINETEEN NINETY-EIGHT", "NINETEEN HUNDRED").
    if (century % 10 == 0 && within < 10) return spelledNumber(century / 10) + " THOUSAND" + rest(within);
    if (within == 0) return spelledNumber(century) + " HUNDRED";
    if (within < 10) return spelledNumber(century) + " HUNDRED" + rest(within);
    return spelledNumber(century) + " " + spelledNumber(within);
}

}  // namespace detail
}  // namespace kavexdb
