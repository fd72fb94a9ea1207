// Iterative execution: the client runs every iteration bound since the last replacement in one
// execute; the library keeps no count of its own.
#include <stdexcept>

#include "session/CallFrame.h"
#include "session/Messages.h"
#include "statement/Operations.h"

namespace kavex::core {

namespace {

// The client sets room for every iteration of every parameter aside up front: a count far beyond
// any real batch (a negative Java int arrives as one) would make every later bind fail.
constexpr std::uint32_t kMaxIterations = 1u << 20;

}  // namespace

std::int32_t setMaxIterations(Session& session, std::uint32_t count) noexcept {
    if (count > kMaxIterations) {
        return guarded([]() -> std::int32_t { throw std::length_error("too many"); },
                       [&] {
                           return messages::kSetMaxIterations + (": " + std::to_string(count)) +
                                  " is more than the " + std::to_string(kMaxIterations) +
                                  " iterations a batch can hold";
                       });
    }
    return guarded(
        [&] {
            session.currentStatement().setMaxIterations(count);
            return 0;
        },
        [] { return std::string(messages::kSetMaxIterations); });
}

std::int32_t setMaxParSize(Session& session, std::uint32_t index, std::uint32_t size) noexcept {
    return guarded(
        [&] {
            session.currentStatement().setMaxParamSize(index, size);
            return 0;
        },
        [] { return std::string(messages::kSetMaxParSize); });
}

std::int32_t addIteration(Session& session) noexcept {
    return guarded(
        [&] {
            session.currentStatement().addIteration();
            return 0;
        },
        [] { return std::string(messages::kAddIteration); });
}

}  // namespace kavex::core
