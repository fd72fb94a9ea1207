// Iterative execution: the client runs every iteration bound since the last replacement in one
// execute; the library keeps no count of its own.
#include "session/Guarded.h"
#include "statement/CurrentStatement.h"

namespace {

// The client sets room for every iteration of every parameter aside up front: a count far beyond
// any real batch (a negative Java int arrives as one) would make every later bind fail.
constexpr std::uint32_t kMaxIterations = 1u << 20;

}  // namespace

namespace core {

std::int32_t setMaxIterations(OcciHandler* handler, std::uint32_t count) {
    const char* const ownMessage = "Cannot set max iterations number";
    if (count > kMaxIterations) {
        return guarded(
            handler, [](Session&) -> std::int32_t { throw std::length_error("too many"); },
            [&] {
                return ownMessage + (": " + std::to_string(count)) + " is more than the " +
                       std::to_string(kMaxIterations) + " iterations a batch can hold";
            });
    }
    return guarded(
        handler,
        [&](Session& session) {
            currentStatement(session).setMaxIterations(count);
            return 0;
        },
        [&] { return std::string(ownMessage); });
}

std::int32_t setMaxParSize(OcciHandler* handler, std::uint32_t index, std::uint32_t size) {
    return guarded(
        handler,
        [&](Session& session) {
            currentStatement(session).setMaxParamSize(index, size);
            return 0;
        },
        [] { return std::string("Cannot set max parameter size"); });
}

std::int32_t addIteration(OcciHandler* handler) {
    return guarded(
        handler,
        [](Session& session) {
            currentStatement(session).addIteration();
            return 0;
        },
        [] { return std::string("Cannot execute batch iteration"); });
}

}  // namespace core
