// The frame every flat export shares: find the session, run one core operation, and let no
// exception cross the C boundary.
#ifndef KAVEX_FLAT_EXPORTFRAME_H
#define KAVEX_FLAT_EXPORTFRAME_H

#include <cstdint>
#include <string>

#include "session/SessionEntry.h"

namespace flat {

// The one-byte bool of the interface: only that byte counts.
inline bool isSet(kavex_bool flag) { return flag != 0; }

using core::withSession;

}  // namespace flat

#endif
