// Iterative execution: the client runs every iteration bound since the last replacement in one
// execute; the library keeps no count of its own.
#include "session/Guarded.h"
#include "statement/CurrentStatement.h"

namespace core {

std::int32_t setMaxIterations(OcciHandler* handler, std::uint32_t count) {
    return guarded(
        handler,
        [&](Session& session) {
            currentStatement(session).setMaxIterations(count);
            return 0;
        },
        [] { return std::string("Cannot set max iterations number"); });
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
