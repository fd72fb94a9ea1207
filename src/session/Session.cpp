// Session construction and teardown; the read slots a front end does not serve.
#include "session/Session.h"

#include "statement/LobParameter.h"
#include "statement/ParameterBuffer.h"
#include "values/ColumnInfo.h"

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

}  // namespace

Session::Session(const std::string& userName, const std::string& password,
                 const std::string& connectString) {
    environment = occi::Environment::createEnvironment(
        kCharacterSet, kCharacterSet, occi::Environment::THREADED_UNMUTEXED, nullptr, nullptr,
        nullptr, nullptr);
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
    quietly([this] { releaseParameters(); });
    quietly([this] { columns.clear(); });
    if (resultSet != nullptr && statement != nullptr) {
        quietly([this] { statement->closeResultSet(resultSet); });
    }
    resultSet = nullptr;
    if (connection != nullptr && statement != nullptr) {
        quietly([this] { connection->terminateStatement(statement); });
    }
    statement = nullptr;
    if (environment != nullptr) {
        if (connection != nullptr) {
            quietly([this] { environment->terminateConnection(connection); });
        }
        connection = nullptr;
        quietly([this] { occi::Environment::terminateEnvironment(environment); });
        environment = nullptr;
    }
}

bool Session::readString(CallingContext&, int, KavexPointerRecord*) { return false; }
bool Session::readInteger(CallingContext&, int, KavexIntRecord*) { return false; }
bool Session::readDouble(CallingContext&, int, KavexDoubleRecord*) { return false; }
bool Session::readFloat(CallingContext&, int, KavexFloatRecord*) { return false; }
bool Session::readBytes(CallingContext&, int, KavexPointerRecord*) { return false; }
