// The registry's entry for one open session: its id and the owned Session. Each front end's
// handler is the factory of its own Session class.
#ifndef KAVEX_SESSION_OCCIHANDLER_H
#define KAVEX_SESSION_OCCIHANDLER_H

#include <cstdint>
#include <memory>

class Session;

class OcciHandler {
public:
    virtual ~OcciHandler();
    virtual std::unique_ptr<Session> createSession(const char* userName, const char* password,
                                                   const char* connectString) = 0;

    std::int32_t sessionId = 0;
    std::unique_ptr<Session> session;
};

#endif
