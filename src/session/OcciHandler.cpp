#include "session/OcciHandler.h"

#include "session/Session.h"

namespace kavex {

// Destroying the handler destroys its session, whose teardown never throws.
OcciHandler::~OcciHandler() = default;

}  // namespace kavex
