// Test controls: injected faults, a throwing getMessage and the counts of live objects. Every
// public operation calls checkFault first; when nothing is armed that costs one atomic load.
#include <atomic>
#include <list>
#include <mutex>
#include <new>
#include <stdexcept>

#include "base/access.h"
#include "base/faults.h"
#include "kavexdb/test_support.h"

namespace kavexdb {
namespace {

struct Fault {
    std::string operation;
    int remaining;  // calls still to pass before this one fires
    testing::FaultKind kind;
    int code;
    std::string text;
};

std::mutex faultMutex;
std::list<Fault> faults;
std::atomic<int> armedFaults{0};
std::atomic<bool> messageThrows{false};
std::atomic<long> liveCounters[5];

}  // namespace

namespace detail {

void checkFault(const char* operation) {
    if (armedFaults.load(std::memory_order_acquire) == 0) return;
    std::unique_lock<std::mutex> lock(faultMutex);
    for (auto it = faults.begin(); it != faults.end(); ++it) {
        if (it->operation != operation || --it->remaining > 0) continue;
        Fault fired = *it;
        faults.erase(it);
        armedFaults.fetch_sub(1, std::memory_order_release);
        lock.unlock();
        switch (fired.kind) {
        case testing::FaultKind::BadAlloc:
            throw std::bad_alloc();
        case testing::FaultKind::RuntimeError:
            throw std::runtime_error(fired.text);
        case testing::FaultKind::SqlException:
            throw Access::error(fired.code, fired.text);
        }
    }
}

void liveAdd(Live kind, long delta) {
    liveCounters[static_cast<int>(kind)].fetch_add(delta, std::memory_order_relaxed);
}

bool getMessageThrows() { return messageThrows.load(std::memory_order_relaxed); }

}  // namespace detail

namespace testing {

void injectFault(const std::string& operation, int nth, FaultKind kind, int code,
                 const std::string& text) {
    std::lock_guard<std::mutex> lock(faultMutex);
    faults.push_back(Fault{operation, nth < 1 ? 1 : nth, kind, code, text});
    armedFaults.fetch_add(1, std::memory_order_release);
}

void clearFaults() {
    std::lock_guard<std::mutex> lock(faultMutex);
    armedFaults.fetch_sub(static_cast<int>(faults.size()), std::memory_order_release);
    faults.clear();
}

void setGetMessageThrows(bool on) { messageThrows.store(on, std::memory_order_relaxed); }

LiveCounts liveCounts() {
    auto get = [](detail::Live k) {
        return liveCounters[static_cast<int>(k)].load(std::memory_order_relaxed);
    };
    return LiveCounts{get(detail::Live::Environment), get(detail::Live::Connection),
                      get(detail::Live::Statement), get(detail::Live::ResultSet),
                      get(detail::Live::LobContent)};
}

}  // namespace testing
}  // namespace kavexdb
