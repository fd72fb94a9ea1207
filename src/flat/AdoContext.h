// The flat front end's calling context: one process-wide object. The text GetError hands out is
// kept per thread, so it stays valid until the next GetError on the same thread whatever other
// threads fetch meanwhile.
#ifndef KAVEX_FLAT_ADOCONTEXT_H
#define KAVEX_FLAT_ADOCONTEXT_H

#include <string>

#include "session/CallingContext.h"

namespace kavex {

class AdoContext : public CallingContext {
public:
    // The process-wide context; never destroyed, so calls arriving during unload still find it.
    static AdoContext& instance();

    static thread_local std::string errorText;
};

}  // namespace kavex

#endif
