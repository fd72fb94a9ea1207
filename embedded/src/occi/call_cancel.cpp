#include "occi/call_cancel.h"

#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {
// SQLite virtual machine steps between two looks at a request: a few microseconds of work.
constexpr int kProgressSteps = 1000;
}  // namespace

CallCancel::CallCancel(sqlite3* db) : db_(db) {
    sqlite3_progress_handler(db_, kProgressSteps, &CallCancel::onProgress, this);
}

CallCancel::~CallCancel() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }

void CallCancel::request() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (reach_.load(std::memory_order_acquire) != Reach::Idle)
        requested_.store(true, std::memory_order_release);
}

void CallCancel::stopIfRequested() const {
    if (requested()) raise(ora::kUserRequestedCancel);
}

int CallCancel::onProgress(void* self) {
    const CallCancel& c = *static_cast<const CallCancel*>(self);
    return c.requested() && c.reach_.load(std::memory_order_acquire) == Reach::Anywhere;
}

CallCancel::Scope::Scope(CallCancel& cancel, Reach reach)
    : cancel_(cancel), outer_(cancel.reach_.load(std::memory_order_acquire)) {
    std::lock_guard<std::mutex> lock(cancel_.mutex_);
    cancel_.reach_.store(reach, std::memory_order_release);
}

CallCancel::Scope::~Scope() {
    std::lock_guard<std::mutex> lock(cancel_.mutex_);
    cancel_.reach_.store(outer_, std::memory_order_release);
    if (outer_ == Reach::Idle) cancel_.requested_.store(false, std::memory_order_release);
}

}  // namespace detail
}  // namespace kavexdb
