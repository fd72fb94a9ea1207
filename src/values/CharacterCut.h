// Character values cut to a size limit: a LONG value cut by the client to the maximum column size
// (in bytes), a CLOB cut by the reader. A cut in bytes can fall inside a UTF-8 sequence; hosts
// receive whole characters only.
#ifndef KAVEX_VALUES_CHARACTERCUT_H
#define KAVEX_VALUES_CHARACTERCUT_H

#include <cstdint>
#include <string>

#include "values/ColumnInfo.h"

namespace kavex {

// Drops an incomplete UTF-8 sequence from the end of text that was cut. Call it only for text
// known to be cut: the end of an uncut value is kept byte for byte, whatever it holds.
void dropPartialLastCharacter(std::string& text);

// The text of a character column as the client delivered it: a LONG value that fills maxLength
// bytes was cut there and loses a partial last character; other values are left as they are.
void keepWholeCharacters(std::string& text, const ColumnInfo& column, std::int32_t maxLength);

}  // namespace kavex

#endif
