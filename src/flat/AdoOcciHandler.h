// The flat front end's registry entry: creates AdoSessions.
#ifndef KAVEX_FLAT_ADOOCCIHANDLER_H
#define KAVEX_FLAT_ADOOCCIHANDLER_H

#include "session/OcciHandler.h"

namespace kavex {

class AdoOcciHandler : public OcciHandler {
public:
    std::unique_ptr<Session> createSession(const char* userName, const char* password,
                                           const char* connectString) override;
};

}  // namespace kavex

#endif
