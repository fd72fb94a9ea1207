// A NULL bound through a data buffer: the statement reads the length and indicator cells when it
// runs, so the buffer lives until the statement is replaced or the session closes.
#ifndef KAVEX_VALUES_PARAMETERBUFFER_H
#define KAVEX_VALUES_PARAMETERBUFFER_H

#include "occi/occi.h"

namespace kavex {

struct ParameterBuffer {
    const char* data;    // a process-wide empty text, never written
    ub2 length = 0;
    sb2 indicator = -1;  // NULL
};

}  // namespace kavex

#endif
