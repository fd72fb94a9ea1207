// The frame every core operation runs in: an SQLException stores exactly its getMessage() text,
// anything else the operation's own "Cannot ..." message; both return the new error id. An id that
// names no open session stores "Session is not initialized".
#ifndef KAVEX_SESSION_GUARDED_H
#define KAVEX_SESSION_GUARDED_H

#include <cstdint>
#include <exception>
#include <string>

#include "occi/occi.h"
#include "session/ErrorStore.h"
#include "session/OcciHandler.h"
#include "session/Operations.h"
#include "session/Session.h"

// Stores the failure text and returns its id; never throws.
std::int32_t storeFailure(const std::string& message) noexcept;

// work(Session&) returns the operation's non-negative result; ownMessage() composes the
// operation's own message.
template <class Work, class OwnMessage>
std::int32_t guarded(OcciHandler* handler, Work&& work, OwnMessage&& ownMessage) noexcept {
    if (handler == nullptr || !handler->session) {
        return storeFailure(core::kSessionNotInitialized);
    }
    try {
        return work(*handler->session);
    } catch (const occi::SQLException& e) {
        std::string text;
        try {
            text = e.getMessage();
        } catch (...) {
            try {
                text = ownMessage();
            } catch (...) {
            }
        }
        return storeFailure(text);
    } catch (...) {
        std::string text;
        try {
            text = ownMessage();
        } catch (...) {
        }
        return storeFailure(text);
    }
}

#endif
