// The shell's bind variables. A statement that names ":X" gets the value of variable X (names
// compare case-insensitively, as Oracle bind names do). A variable is text, a number, an integer,
// a double, a timestamp, NULL, or a file whose content streams into a CLOB or BLOB parameter.
// VARIABLE declares one with SQL*Plus's types; a block that assigns it gives it its new value.
#ifndef KAVEXSQL_VARIABLES_H
#define KAVEXSQL_VARIABLES_H

#include <map>
#include <string>
#include <vector>

namespace kavexsql {

struct Timestamp {
    int year = 0;
    unsigned month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;  // fraction in ns
    int tzHour = 0, tzMinute = 0;
};

struct Variable {
    enum class Kind { Text, Null, Number, Integer, Double, Timestamp, ClobFile, BlobFile };
    Kind kind = Kind::Null;
    std::string text;  // Text: the value; Number: its digits; ClobFile/BlobFile: the path
    int integer = 0;
    double number = 0;
    Timestamp timestamp;

    // How \set lists it, e.g. "'abc'", "42", "NULL", "CLOB FILE 'notes.txt'".
    std::string describe() const;
};

// The type VARIABLE declares: NUMBER, BINARY_FLOAT, BINARY_DOUBLE, CHAR[(n)], NCHAR[(n)],
// VARCHAR2(n), NVARCHAR2(n), CLOB, NCLOB.
struct BindType {
    enum class Base { Number, BinaryFloat, BinaryDouble, Char, Varchar2, Clob };
    Base base = Base::Number;
    std::string shown;      // as VARIABLE lists it: "NUMBER", "VARCHAR2(20)", "CHAR(1)"
    unsigned length = 0;    // CHAR and VARCHAR2: the declared n
    unsigned maxBytes = 0;  // CHAR and VARCHAR2: the most bytes a value takes; 0: no limit
    bool text() const { return base == Base::Char || base == Base::Varchar2; }
};

// Reads VARIABLE's type ("number", "VARCHAR2 (20 CHAR)", "char"); throws UsageError for another
// type, REFCURSOR included, and for a length out of SQL*Plus's range.
BindType parseBindType(const std::string& text);

// A declared variable: its name as VARIABLE wrote it, and its type.
struct Declaration {
    std::string name;
    BindType type;
};

class Variables {
  public:
    void set(const std::string& name, Variable value);
    bool unset(const std::string& name);
    const Variable* find(const std::string& name) const;
    const std::map<std::string, Variable>& all() const { return values_; }

    // VARIABLE name type: a variable of that type, NULL (again, when it was declared before).
    void declare(const std::string& name, const BindType& type);
    const Declaration* declaration(const std::string& name) const;
    // The declared variables, in the order they were first declared.
    std::vector<const Declaration*> declarations() const;

    // The value a block assigned to variable name, read back as text (null: NULL), converted to
    // the variable's type: digits for a NUMBER, a double for BINARY_FLOAT and BINARY_DOUBLE, text
    // blank-padded to its length for a CHAR. An undeclared variable keeps a numeric kind for a
    // value that reads as a number, else takes the text.
    void assign(const std::string& name, const std::string* text);

  private:
    std::map<std::string, Variable> values_;  // upper-cased names
    std::map<std::string, Declaration> declared_;
    std::vector<std::string> order_;  // declared_'s keys in the order of declaration
};

// Parses "YYYY-MM-DD[ HH:MI:SS[.fraction]][ ]+HH:MM|-HH:MM"; throws UsageError when malformed.
Timestamp parseTimestamp(const std::string& text);

}  // namespace kavexsql

#endif
