// The one frame every export runs in: enter the session the caller's id names, run the work on
// it, and let no exception cross the host boundary. Inside, each core operation guards its own
// work: an SQLException stores exactly its getMessage() text, anything else the operation's own
// "Cannot ..." message; both give the new error id.
#ifndef KAVEX_SESSION_CALLFRAME_H
#define KAVEX_SESSION_CALLFRAME_H

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "occi/occi.h"
#include "session/ErrorStore.h"
#include "session/Session.h"
#include "session/SessionLease.h"

namespace kavex {

// Runs work(session) holding the session (see SessionLease) and returns what it returns. With no
// session to hold, returns refuse(text) with the lease's refusal ("Session is not initialized",
// or the text for a call made from inside another call on the same session); when entering, or
// anything work lets escape, fails, returns fail().
template <class Work, class Refuse, class Fail>
auto inSession(std::int32_t sessionId, Work&& work, Refuse&& refuse, Fail&& fail) noexcept {
    try {
        const SessionLease lease(sessionId);
        Session* session = lease.session();
        if (session == nullptr) {
            return refuse(lease.refusal());
        }
        return work(*session);
    } catch (...) {
        return fail();
    }
}

// inSession for the calls that answer an error id: a refusal, or a failure of the frame, stores
// its text. `frameMessage` is a text, or a callable that composes one.
template <class Work, class FrameMessage>
std::int32_t withSession(std::int32_t sessionId, const FrameMessage& frameMessage,
                         Work&& work) noexcept {
    return inSession(
        sessionId, std::forward<Work>(work),
        [](const char* refusal) { return storeFailure(refusal); },
        [&frameMessage]() -> std::int32_t {
            if constexpr (std::is_invocable_v<const FrameMessage&>) {
                return storeFailure(frameMessage());
            } else {
                return storeFailure(frameMessage);
            }
        });
}

// work() returns the operation's non-negative result; ownMessage() composes the operation's own
// message, stored for any exception but an SQLException (and for an SQLException whose message
// cannot be read).
template <class Work, class OwnMessage>
std::int32_t guarded(Work&& work, OwnMessage&& ownMessage) noexcept {
    try {
        return work();
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

}  // namespace kavex

#endif
