// Write-time checks of Oracle's declared types, which SQLite's flexible typing does not make,
// as inline CHECK constraints the DDL rewriting adds to a column definition. Each constraint
// fails as "CHECK constraint failed: ORA-NNNNN: text" with the Oracle error it stands for, so
// hosts get that code and text (errors.cpp); the length check, whose message tells the
// value's length, fails in ORA$VALUE_TOO_LARGE (functions/value_too_large.h), which other
// SQLite tools lack for writing such a column.
#ifndef KAVEXDB_VALUE_CHECKS_H
#define KAVEXDB_VALUE_CHECKS_H

#include <string>
#include <vector>

#include "storage/bind_value.h"

namespace kavexdb {
namespace detail {

// The checks one declared type asks for.
struct ValueChecks {
    int maxLength = 0;         // > 0: VARCHAR2/CHAR(n) text of at most n characters (ORA-12899)
    bool blankPadded = false;  // CHAR and NCHAR: blank-padded comparisons
    bool numeric = false;      // number types: no text (ORA-01722)
    bool precision = false;    // NUMBER(p,s): at most p - s digits before the point (ORA-01438)
    int digits = 0;            // p - s
    int scale = 0;             // s

    // The ORA codes of the constraints, in the order the column definition has them.
    std::vector<int> codes() const;
    // True when value, bound to a column of this type, certainly passes every check: the same
    // test SQLite makes after the column's affinity. False when it fails or cannot be told
    // without SQLite (text into a number column, reals against a precision, ...).
    bool passes(const BindView& value) const;
};

ValueChecks valueChecksFor(const std::string& declaredType);

// " CHECK ('ORA-...' IS NOT NULL AND (...))" for each check the declared type asks for, "" for
// none: text longer than a VARCHAR2/CHAR length (ORA-12899), a number beyond NUMBER(p,s)'s precision
// after rounding to its scale (ORA-01438), text that is no number in a number column
// (ORA-01722); CHAR(n) columns also get blank-padded comparisons, dates and timestamps
// comparisons as points in time (datetime_order.h). table and column are the names messages show; columnRef is the column as the
// statement writes it, so the constraint adds no quoted name to the table's SQL (describe takes
// quoted names there to keep their case).
std::string valueCheckConstraints(const std::string& table, const std::string& column,
                                  const std::string& columnRef, const std::string& declaredType);

}  // namespace detail
}  // namespace kavexdb

#endif
