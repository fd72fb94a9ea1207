// The statement the binding, batch and execution operations work on.
#ifndef KAVEX_STATEMENT_CURRENTSTATEMENT_H
#define KAVEX_STATEMENT_CURRENTSTATEMENT_H

#include <stdexcept>

#include "occi/occi.h"
#include "session/Session.h"

// Before the first ExecuteQuery/PrepareQuery, or after a replacement that failed to create its
// statement, there is none: the caller's operation then fails with its own message.
inline occi::Statement& currentStatement(Session& session) {
    if (session.statement == nullptr) {
        throw std::logic_error("the session has no statement");
    }
    return *session.statement;
}

#endif
