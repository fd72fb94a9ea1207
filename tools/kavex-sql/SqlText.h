// Lexical helpers over SQL text that know where quotes and comments are: finding the bind
// placeholders, the first keyword, and a statement's end.
#ifndef KAVEXSQL_SQLTEXT_H
#define KAVEXSQL_SQLTEXT_H

#include <string>
#include <vector>

namespace kavexsql {

// The distinct placeholder names (":name" or ":1", without the colon, upper-cased) in order of
// first appearance. Placeholder n of this list is bound as parameter n: the embedded client binds
// the n-th distinct placeholder.
std::vector<std::string> placeholders(const std::string& sql);

// The text after the leading blanks and comments.
std::string withoutLeadingComments(const std::string& sql);

// The first word of the statement, upper-cased, skipping blanks and comments.
std::string firstKeyword(const std::string& sql);

std::string upper(std::string text);
std::string trim(const std::string& text);

}  // namespace kavexsql

#endif
