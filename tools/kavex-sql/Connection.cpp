#include "Connection.h"

#include "DbError.h"
#include "kavex_oracleociw.h"

namespace kavexsql {

Connection::Connection(const std::string& connect, const std::string& user,
                       const std::string& password)
    : id_(check(OpenConnection(connect.c_str(), user.c_str(), password.c_str()))) {}

Connection::~Connection() { CloseConnection(id_); }

int Connection::check(int result) {
    if (result < 0) throw DbError(errorText(result));
    return result;
}

std::string Connection::errorText(int errorId) {
    const char* text = GetError(errorId);
    std::string message = text ? text : "Unknown error";
    // Oracle texts end with a line break, which the connection message keeps inside its "(...)".
    std::string tidy;
    for (size_t i = 0; i < message.size(); ++i) {
        if (message[i] == '\n' && i + 1 < message.size() && message[i + 1] == ')') continue;
        tidy += message[i];
    }
    while (!tidy.empty() && (tidy.back() == '\n' || tidy.back() == '\r' || tidy.back() == ' '))
        tidy.pop_back();
    return tidy;
}

}  // namespace kavexsql
