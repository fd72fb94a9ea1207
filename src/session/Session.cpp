// Session construction and teardown, the one statement and result set, and the read slots a front
// end does not serve.
#include "session/Session.h"

#include <limits>
#include <stdexcept>

#include "values/ColumnInfo.h"
#include "values/DataTypeHandlers.h"
#include "values/LobParameter.h"
#include "values/ParameterBuffer.h"

namespace kavex {

namespace {

// Teardown goes on whatever one step throws: a destructor that let an exception escape would end
// the host process.
template <class Step>
void quietly(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

// Hosts exchange standard UTF-8. Oracle's "UTF8" is CESU-8: a character beyond U+FFFF would
// travel as two three-byte surrogate halves.
const char* const kCharacterSet = "AL32UTF8";

const unsigned int kPrefetchRows = 500;

}  // namespace

Session::Session(const std::string& userName, const std::string& password,
                 const std::string& connectString) {
    environment = occi::Environment::createEnvironment(kCharacterSet, kCharacterSet,
                                                       occi::Environment::THREADED_UNMUTEXED,
                                                       nullptr, nullptr, nullptr, nullptr);
    try {
        connection = environment->createConnection(userName, password, connectString);
    } catch (...) {
        occi::Environment* failed = environment;
        environment = nullptr;
        quietly([failed] { occi::Environment::terminateEnvironment(failed); });
        throw;
    }
}

Session::~Session() {
    endStatement(OnFailure::GoOn);
    if (environment != nullptr) {
        if (connection != nullptr) {
            quietly([this] { environment->terminateConnection(connection); });
        }
        connection = nullptr;
        quietly([this] { occi::Environment::terminateEnvironment(environment); });
        environment = nullptr;
    }
}

bool Session::breakRunningCall() noexcept {
    // OCIBreak reports through an error handle of its own: the running call's handles belong to
    // the thread inside.
    OCIError* error = nullptr;
    if (OCIHandleAlloc(environment->getOCIEnvironment(), reinterpret_cast<void**>(&error),
                       OCI_HTYPE_ERROR, 0, nullptr) != OCI_SUCCESS)
        return false;
    const sword status = OCIBreak(connection->getOCIServiceContext(), error);
    OCIHandleFree(error, OCI_HTYPE_ERROR);
    return status == OCI_SUCCESS;
}

void Session::attachHandlerTable() {
    DataTypeHandlers* table = handlerTable();
    table->fillOnce();
    typeHandlers = table;
}

void Session::endStatement(OnFailure onFailure) {
    const auto step = [onFailure](auto&& work) {
        if (onFailure == OnFailure::GoOn) {
            quietly(work);
        } else {
            work();
        }
    };
    step([this] { releaseParameters(); });
    step([this] { columns.clear(); });
    step([this] { closeResultSet(); });
    step([this] {
        occi::Statement* terminating = statement;
        statement = nullptr;
        if (connection != nullptr && terminating != nullptr) {
            connection->terminateStatement(terminating);
        }
    });
}

void Session::closeResultSet() {
    occi::ResultSet* closing = resultSet;
    resultSet = nullptr;
    if (closing != nullptr && statement != nullptr) {
        columns.clear();
        statement->closeResultSet(closing);
    }
}

void Session::replaceStatement(const std::string& sql, bool autoCommit) {
    endStatement(OnFailure::Stop);
    statement = connection->createStatement(sql);
    statement->setPrefetchRowCount(kPrefetchRows);
    statement->setAutoCommit(autoCommit);
}

occi::Statement& Session::currentStatement() {
    if (statement == nullptr) {
        throw std::logic_error("the session has no statement");
    }
    return *statement;
}

std::int32_t Session::executeStatement() {
    occi::Statement& current = currentStatement();
    // A re-run ends the result set of the previous run: close it first so that no pointer to an
    // ended result set (or records describing it) outlives a failed run.
    closeResultSet();
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

bool Session::readString(CallingContext&, int, KavexPointerRecord*) { return false; }
bool Session::readInteger(CallingContext&, int, KavexIntRecord*) { return false; }
bool Session::readDouble(CallingContext&, int, KavexDoubleRecord*) { return false; }
bool Session::readFloat(CallingContext&, int, KavexFloatRecord*) { return false; }
bool Session::readBytes(CallingContext&, int, KavexPointerRecord*) { return false; }

}  // namespace kavex
