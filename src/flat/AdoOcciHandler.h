// The flat front end's registry entry: creates AdoSessions.
#ifndef KAVEX_FLAT_ADOOCCIHANDLER_H
#define KAVEX_FLAT_ADOOCCIHANDLER_H

#include "flat/AdoSession.h"
#include "session/OcciHandler.h"

namespace kavex {

class AdoOcciHandler : public OcciHandlerFor<AdoSession> {};

}  // namespace kavex

#endif
