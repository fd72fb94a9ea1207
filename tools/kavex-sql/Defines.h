// SQL*Plus substitution variables: DEFINE name = text, and "&name" or "&&name" in a statement or
// command replaced by the text before it runs (inside quotes too, as SQL*Plus does). A "." right
// after the name ends it and is dropped ("&prefix._t"). "@file a b" defines 1 and 2 for "&1", "&2".
// Names compare case-insensitively.
#ifndef KAVEXSQL_DEFINES_H
#define KAVEXSQL_DEFINES_H

#include <map>
#include <string>

namespace kavexsql {

class Defines {
  public:
    void set(const std::string& name, const std::string& value);
    bool unset(const std::string& name);
    const std::string* find(const std::string& name) const;
    const std::map<std::string, std::string>& all() const { return values_; }

    // The text with every "&name" replaced; throws UsageError naming the first undefined one.
    std::string substitute(const std::string& text) const;

    bool enabled = true;  // SET DEFINE OFF leaves "&" alone

  private:
    std::map<std::string, std::string> values_;  // upper-cased names
};

}  // namespace kavexsql

#endif
