// The authorizer's last refusal on this thread (base/refusal.h).
#include "base/refusal.h"

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {
thread_local int lastRefusal = 1031;
}

void noteRefusal(int code) { lastRefusal = code; }

void raiseRefused() {
    if (lastRefusal == 942) raise(ora::kTableOrViewDoesNotExist);
    raise(ora::kInsufficientPrivileges);
}

}  // namespace detail
}  // namespace kavexdb
