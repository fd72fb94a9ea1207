// The one statement and result set of a session: replacement, execution and the row cursor.
#include <stdexcept>

#include "session/CallFrame.h"
#include "session/Messages.h"
#include "statement/Operations.h"

namespace kavex::core {

namespace {

// Replaces the session's statement with sql, then answers then(session); a failure reads the
// operation's prefix and the SQL text.
template <class Then>
std::int32_t onNewStatement(Session& session, const char* sql, bool autoCommit,
                            const messages::QuotingSql& text, Then&& then) {
    return guarded(
        [&] {
            if (sql == nullptr) {
                throw std::invalid_argument("no SQL text");
            }
            session.replaceStatement(sql, autoCommit);
            return then();
        },
        [&] { return text.with(sql); });
}

}  // namespace

std::int32_t executeQuery(Session& session, const char* sql, bool autoCommit) noexcept {
    return onNewStatement(session, sql, autoCommit, messages::kExecuteQuery,
                          [&] { return session.executeStatement(); });
}

std::int32_t prepareQuery(Session& session, const char* sql, bool autoCommit) noexcept {
    return onNewStatement(session, sql, autoCommit, messages::kPrepareQuery, [&] {
        if (session.currentStatement().status() != occi::Statement::PREPARED) {
            throw std::runtime_error("statement not prepared");
        }
        return 0;
    });
}

std::int32_t execute(Session& session) noexcept {
    return guarded([&] { return session.executeStatement(); },
                   [] { return std::string(messages::kExecute); });
}

std::int32_t nextRow(Session& session) noexcept {
    return guarded(
        [&]() -> std::int32_t {
            occi::ResultSet* rows = session.currentResultSet();
            if (rows == nullptr) {
                return 0;
            }
            return rows->next(1) == occi::ResultSet::END_OF_FETCH ? 0 : 1;
        },
        [] { return std::string(messages::kNextRow); });
}

std::int32_t getRow(Session& session, CallingContext& context, void* row) noexcept {
    return guarded([&]() -> std::int32_t { return session.readRow(context, row) ? 1 : 0; },
                   [] { return std::string(messages::kGetRow); });
}

std::int32_t setIntSessionProperty(Session& session, std::int32_t propertyId,
                                   std::int32_t value) noexcept {
    return guarded(
        [&]() -> std::int32_t {
            if (propertyId == KAVEX_PROPERTY_MAX_COLUMN_SIZE) {
                session.maxColumnSize = value > 0 ? value : KAVEX_DEFAULT_MAX_COLUMN_SIZE;
            }
            return 0;
        },
        [] { return std::string(messages::kSetProperty); });
}

}  // namespace kavex::core
