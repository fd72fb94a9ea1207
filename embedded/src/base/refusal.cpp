// The authorizer's last refusal on this thread (base/refusal.h).
#include "base/refusal.h"

#include "base/errors.h"

namespace kavexdb {
namespace detail {

namespace {
thread_local int lastRefusal = 1031;
}

void noteRefusal(int code) { lastRefusal = code; }

void raiseRefused() {
    if (lastRefusal == 942) raise(942, "table or view does not exist");
    raise(1031, "insufficient privileges");
}

}  // namespace detail
}  // namespace kavexdb
