// The shell's bind variables. A statement that names ":X" gets the value of variable X (names
// compare case-insensitively, as Oracle bind names do). A variable is text, an integer, a double,
// a timestamp, NULL, or a file whose content streams into a CLOB or BLOB parameter.
#ifndef KAVEXSQL_VARIABLES_H
#define KAVEXSQL_VARIABLES_H

#include <map>
#include <string>

namespace kavexsql {

struct Timestamp {
    int year = 0;
    unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;  // fraction in ns
    int tzHour = 0, tzMinute = 0;
};

struct Variable {
    enum class Kind { Text, Null, Integer, Double, Timestamp, ClobFile, BlobFile };
    Kind kind = Kind::Null;
    std::string text;  // Text: the value; ClobFile/BlobFile: the path
    int integer = 0;
    double number = 0;
    Timestamp timestamp;

    // How \set lists it, e.g. "'abc'", "42", "NULL", "CLOB FILE 'notes.txt'".
    std::string describe() const;
};

class Variables {
  public:
    void set(const std::string& name, Variable value);
    bool unset(const std::string& name);
    const Variable* find(const std::string& name) const;
    const std::map<std::string, Variable>& all() const { return values_; }

  private:
    std::map<std::string, Variable> values_;  // upper-cased names
};

// Parses "YYYY-MM-DD[ HH:MI:SS[.fraction]][ ]+HH:MM|-HH:MM"; throws UsageError when malformed.
Timestamp parseTimestamp(const std::string& text);

}  // namespace kavexsql

#endif
