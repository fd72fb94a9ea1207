// How a NUMBER is stored. SQLite holds a whole number within 64 bits as an INTEGER and a value a
// double gives back exactly (its shortest text is the value's own digits) as a REAL; every other
// NUMBER (more digits than a double keeps, 12345678901234567890.5, 2^64) is stored as a BLOB of
// its decimal digits in a form whose bytes sort as the numbers do:
//   the marker 0xFF 'N', a sign byte (1 negative, 2 zero, 3 positive), then for a non-zero value
//   its base-100 exponent and its base-100 digits (value = 0.D1D2... * 100^E), each digit d as
//   d + 1, negatives complemented (101 - d) and closed by 102, so that a longer negative sorts
//   before its prefix.
// Every value has exactly one storage form (canonicalForm), so equal numbers are equal to SQLite
// (GROUP BY, DISTINCT, UNION, unique indexes); SQLite orders every BLOB after every number, so
// comparisons and sorts that may meet such a BLOB compare through numberKey, which gives any
// number (zero too) in the BLOB form.
#ifndef KAVEXDB_TYPES_NUMBER_STORAGE_H
#define KAVEXDB_TYPES_NUMBER_STORAGE_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "types/decimal.h"
#include "types/declared_type.h"

namespace kavexdb {
namespace detail {

struct CanonicalForm {
    enum class Kind { Integer, Real, Blob } kind = Kind::Integer;
    std::int64_t whole = 0;
    double real = 0;
    std::string bytes;  // Blob: the stored bytes
};

// Whether a column of type t may hold NUMBERs in the BLOB form: a NUMBER (or FLOAT, INTEGER)
// whose values may have more digits than a double keeps.
bool mayHoldStoredBlobs(const DeclaredType& t);

// d must be normalised (as numberOf leaves it) and within NUMBER's range.
CanonicalForm canonicalForm(const Decimal& d);
// The BLOB form of d, whatever its canonical form is.
std::string numberKey(const Decimal& d);
// Whether bytes are a number in the BLOB form; out (when given) receives it.
bool storedNumber(const void* bytes, std::size_t size, Decimal* out = nullptr);

}  // namespace detail
}  // namespace kavexdb

#endif
