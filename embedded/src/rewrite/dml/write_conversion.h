// Oracle converts every value written into a column to the column's declared type: a NUMBER(p,s)
// is rounded to its scale, text becomes a DATE or TIMESTAMP by the session's formats, text into
// RAW or BLOB is hexadecimal, CHAR(n) is blank-padded. SQLite keeps what it is given, so the
// values of INSERT and UPDATE statements are wrapped in conversion functions that do this (or
// fail with Oracle's error) before SQLite stores them.
#ifndef KAVEXDB_WRITE_CONVERSION_H
#define KAVEXDB_WRITE_CONVERSION_H

#include <sqlite3.h>

#include <string>
#include <vector>

#include "sql/sqlite_util.h"
#include "storage/bind_value.h"

namespace kavexdb {
namespace detail {

// A named parameter that is the whole value written into a converted column. It is converted
// when it is bound instead of in the SQL, so that array DML pays nothing for values that are
// already in the column's form (what the setters give for dates, timestamps and integers).
class ParameterConversion {
  public:
    // Float: a BINARY_FLOAT column, whose numbers are rounded to single precision.
    enum class Form { Number, Binary, Float, Date, Timestamp, Other };
    ParameterConversion(std::string parameter, std::string call, Form form, int scale);

    const std::string& parameter() const { return parameter_; }  // ":name" as written
    // Binds value to parameter index of target: as it is when it is already in the column's
    // form, else converted (SQLITE_TRANSIENT). Returns SQLite's code; throws the conversion's
    // ORA error.
    int bind(sqlite3* db, sqlite3_stmt* target, int index, const BindView& value);
    // Whether bind() hands value to SQLite as it is, unconverted.
    bool bindsAsIs(const BindView& value) const {
        return ((asIsKinds_ >> static_cast<unsigned>(value.kind)) & 1u) != 0 || inColumnForm(value);
    }

  private:
    // Of the values not in asIsKinds_: whether it is already in the column's form.
    bool inColumnForm(const BindView& value) const;
    std::string parameter_, call_;  // call: the conversion with ?1 for the value
    Form form_;
    int scale_;  // NUMBER's scale; TIMESTAMP's fractional digits
    unsigned asIsKinds_ = 0;  // bit k: every value of kind k is in the column's form
    SqliteStmt converter_;  // SELECT call, prepared on first use
};

struct WriteConversions {
    std::string sql;
    std::vector<ParameterConversion> parameters;
};

// sql is SQLite SQL as the rewriting made it. INSERT ... VALUES, INSERT ... SELECT and UPDATE ...
// SET get each value for a column whose declared type needs a conversion wrapped in that
// conversion, or, for a named parameter used once, a ParameterConversion; other statements, and
// columns of SQLite's own type names, are returned as they are. Looks the target table's columns
// up in db; an unknown table is left for SQLite to report.
WriteConversions addWriteConversions(sqlite3* db, const std::string& sql);


}  // namespace detail
}  // namespace kavexdb

#endif
