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
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

}  // namespace kavexsql
