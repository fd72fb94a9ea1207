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
    // maxColumnSize: the session's maximum column size, to notice values the library may have cut.
    ValueReader(int session, const std::vector<Column>& columns, int maxColumnSize = 0);

    // Moves to the next row; false at the end.
    bool next();
    Row row();
    Value value(size_t column);

    // The columns in which a value read so far reached the maximum column size (and so may have
    // been cut by the library), in column order.
    std::vector<std::string> columnsAtLimit() const;

  private:
    void noteLength(size_t column, size_t length);

    int session_;
    const std::vector<Column>& columns_;
    size_t maxColumnSize_;
    std::vector<bool> atLimit_;
};

// NUMBER text as people write numbers: the library renders through Oracle format models, so an
// unconstrained NUMBER arrives in scientific form ("1.25E+01") and a whole value of a scaled column
// keeps its decimal character ("7."). The digits are moved, never recomputed, so nothing is
// rounded. Text that is not such a number comes back unchanged.
std::string plainNumber(const std::string& text);

std::string toHex(const unsigned char* bytes, size_t length);
// BINARY_DOUBLE / BINARY_FLOAT text: the shortest digits that read back as the same value, written
// out in full from 1E-7 up to 1E+21 (0.00000015, 123456789012345680) and as 1.5E-10, 1E+308
// beyond; NaN, Inf, -Inf.
std::string formatDouble(double value);
std::string formatFloat(float value);

}  // namespace kavexsql

#endif
