// The one statement and result set of a session: replacement, execution and the row cursor.
#include <limits>
#include <sstream>
#include <stdexcept>

#include "session/Guarded.h"
#include "statement/CurrentStatement.h"
#include "values/ColumnInfo.h"

namespace {

const unsigned int kPrefetchRows = 500;
const std::int32_t kMaxColumnSizeProperty = 1;
const std::int32_t kDefaultMaxColumnSize = 2000;

std::string quotedQueryMessage(const char* prefix, const char* sql) {
    std::ostringstream message;
    message << prefix << (sql != nullptr ? sql : "") << "'";
    return message.str();
}

// Replaces the session's statement with sql, then answers then(session); a failure reads prefix
// and the SQL text.
template <class Then>
std::int32_t onNewStatement(OcciHandler* handler, const char* sql, bool autoCommit,
                            const char* prefix, Then&& then) {
    return guarded(
        handler,
        [&](Session& session) {
            if (sql == nullptr) {
                throw std::invalid_argument("no SQL text");
            }
            session.replaceStatement(sql, autoCommit);
            return then(session);
        },
        [&] { return quotedQueryMessage(prefix, sql); });
}

}  // namespace

void Session::replaceStatement(const std::string& sql, bool autoCommit) {
    releaseParameters();
    columns.clear();
    if (resultSet != nullptr && statement != nullptr) {
        occi::ResultSet* closing = resultSet;
        resultSet = nullptr;
        statement->closeResultSet(closing);
    }
    resultSet = nullptr;
    if (connection != nullptr && statement != nullptr) {
        occi::Statement* terminating = statement;
        statement = nullptr;
        connection->terminateStatement(terminating);
    }
    statement = nullptr;
    statement = connection->createStatement(sql);
    statement->setPrefetchRowCount(kPrefetchRows);
    statement->setAutoCommit(autoCommit);
}

std::int32_t Session::executeStatement() {
    occi::Statement& current = currentStatement(*this);
    // A re-run ends the result set of the previous run: close it first so that no pointer to an
    // ended result set (or records describing it) outlives a failed run.
    if (resultSet != nullptr) {
        occi::ResultSet* closing = resultSet;
        resultSet = nullptr;
        columns.clear();
        current.closeResultSet(closing);
    }
    const occi::Statement::Status status = current.execute("");
    if (status == occi::Statement::RESULT_SET_AVAILABLE) {
        resultSet = current.getResultSet();
        const std::vector<occi::MetaData> list = resultSet->getColumnListMetaData();
        collectColumns(list, "", resultSet);
        return 0;
    }
    if (status == occi::Statement::UPDATE_COUNT_AVAILABLE) {
        // A count beyond the int range would read as an error id.
        const unsigned int count = current.getUpdateCount();
        return count > static_cast<unsigned int>(std::numeric_limits<std::int32_t>::max())
                   ? std::numeric_limits<std::int32_t>::max()
                   : static_cast<std::int32_t>(count);
    }
    return 0;
}

namespace core {

std::int32_t executeQuery(OcciHandler* handler, const char* sql, bool autoCommit) {
    return onNewStatement(handler, sql, autoCommit, "Cannot execute query: '",
                          [](Session& session) { return session.executeStatement(); });
}

std::int32_t prepareQuery(OcciHandler* handler, const char* sql, bool autoCommit) {
    return onNewStatement(handler, sql, autoCommit, "Cannot prepare query: '",
                          [](Session& session) {
                              if (session.statement->status() != occi::Statement::PREPARED) {
                                  throw std::runtime_error("statement not prepared");
                              }
                              return 0;
                          });
}

std::int32_t execute(OcciHandler* handler) {
    return guarded(
        handler, [](Session& session) { return session.executeStatement(); },
        [] { return std::string("Cannot execute query iteration"); });
}

std::int32_t nextRow(OcciHandler* handler) {
    return guarded(
        handler,
        [](Session& session) -> std::int32_t {
            if (session.resultSet == nullptr) {
                return 0;
            }
            return session.resultSet->next(1) == occi::ResultSet::END_OF_FETCH ? 0 : 1;
        },
        [] { return std::string("Cannot move to next row"); });
}

std::int32_t getRow(OcciHandler* handler, CallingContext& context, void* row) {
    return guarded(
        handler,
        [&](Session& session) -> std::int32_t { return session.readRow(context, row) ? 1 : 0; },
        [] { return std::string("Cannot read data row"); });
}

std::int32_t setIntSessionProperty(OcciHandler* handler, std::int32_t propertyId,
                                   std::int32_t value) {
    return guarded(
        handler,
        [&](Session& session) -> std::int32_t {
            if (propertyId == kMaxColumnSizeProperty) {
                session.maxColumnSize = value > 0 ? value : kDefaultMaxColumnSize;
            }
            return 0;
        },
        [] { return std::string("Cannot set property"); });
}

}  // namespace core
