// Reads the values of the current row, each through the getter its column type accepts, and
// renders them as text: numbers in their shortest exact form, bytes as upper-case hex (as Oracle
// shows RAW). NULL is an empty optional.
#ifndef KAVEXSQL_VALUEREADER_H
#define KAVEXSQL_VALUEREADER_H

#include <optional>
#include <string>
#include <vector>

#include "Column.h"

namespace kavexsql {

using Value = std::optional<std::string>;
using Row = std::vector<Value>;

class ValueReader {
  public:
    ValueReader(int session, const std::vector<Column>& columns);

    // Moves to the next row; false at the end.
    bool next();
    Row row() const;
    Value value(size_t column) const;

  private:
    int session_;
    const std::vector<Column>& columns_;
};

// NUMBER text as people write numbers: the library renders through Oracle format models, so an
// unconstrained NUMBER arrives in scientific form ("1.25E+01") and a whole value of a scaled column
// keeps its decimal character ("7."). The digits are moved, never recomputed, so nothing is
// rounded. Text that is not such a number comes back unchanged.
std::string plainNumber(const std::string& text);

std::string toHex(const unsigned char* bytes, size_t length);
std::string formatDouble(double value);
std::string formatFloat(float value);

}  // namespace kavexsql

#endif
