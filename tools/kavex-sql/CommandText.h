// Small parsers shared by the shell's one-line commands.
#ifndef KAVEXSQL_COMMANDTEXT_H
#define KAVEXSQL_COMMANDTEXT_H

#include <string>
#include <utility>
#include <vector>

namespace kavexsql {

// The first blank-separated word and the trimmed rest.
std::pair<std::string, std::string> splitWord(const std::string& text);

// 'it''s' -> it's (and "x" -> x); anything unquoted stays as it is.
std::string unquote(const std::string& text);

// The text without its trailing ";" characters and blanks.
std::string stripSemicolon(std::string text);

// Blank-separated words; a word in single or double quotes may hold blanks.
std::vector<std::string> words(const std::string& text);

// True when word is an abbreviation of full at least shortest characters long (case-insensitive),
// as SQL*Plus accepts "AUTO" for AUTOCOMMIT.
bool abbreviates(const std::string& word, const std::string& full, size_t shortest);

// A command or option name and the shortest abbreviation of it that is taken.
struct Abbreviation {
    const char* full;
    size_t shortest;
};
// True when word abbreviates one of the names.
template <size_t N>
bool abbreviatesAny(const std::string& word, const Abbreviation (&names)[N]) {
    for (const Abbreviation& a : names)
        if (abbreviates(word, a.full, a.shortest)) return true;
    return false;
}

// A whole number from low to high; throws UsageError("<what> needs a number from low to high").
long boundedNumber(const std::string& text, long low, long high, const std::string& what);

}  // namespace kavexsql

#endif
