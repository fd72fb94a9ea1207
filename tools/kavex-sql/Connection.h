// One session of the library, opened with OpenConnection and closed when the object goes away.
// Every call that can fail goes through check(), which turns a negative result into a DbError
// carrying GetError's text.
#ifndef KAVEXSQL_CONNECTION_H
#define KAVEXSQL_CONNECTION_H

#include <string>

namespace kavexsql {

class Connection {
  public:
    Connection(const std::string& connect, const std::string& user, const std::string& password);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int id() const { return id_; }

    // Returns result when it is not negative; otherwise throws DbError with the library's message.
    static int check(int result);

    // The library's message for an error id, without the trailing newline Oracle texts carry.
    static std::string errorText(int errorId);

  private:
    int id_;
};

}  // namespace kavexsql

#endif
