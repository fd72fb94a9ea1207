#include "session/OcciHandler.h"

#include "session/Session.h"

// Destroying the handler destroys its session, whose teardown never throws.
OcciHandler::~OcciHandler() = default;
