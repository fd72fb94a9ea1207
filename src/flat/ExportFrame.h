// What every flat export shares: the call frame (session/CallFrame.h), the core operations and the
// interface's one-byte bool.
#ifndef KAVEX_FLAT_EXPORTFRAME_H
#define KAVEX_FLAT_EXPORTFRAME_H

#include "kavex_oracleociw.h"
#include "session/CallFrame.h"
#include "session/Messages.h"
#include "statement/Operations.h"

namespace kavex::flat {

// The one-byte bool of the interface: only that byte counts.
inline bool isSet(kavex_bool flag) { return flag != 0; }

}  // namespace kavex::flat

#endif
