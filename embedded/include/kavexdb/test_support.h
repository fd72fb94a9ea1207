// Test-only controls of the embedded client. The library's core never includes this header.
#ifndef KAVEXDB_TEST_SUPPORT_H
#define KAVEXDB_TEST_SUPPORT_H

#include <string>

namespace kavexdb {
namespace testing {

enum class FaultKind {
    SqlException,   // oracle::occi::SQLException with the given code and text
    BadAlloc,       // std::bad_alloc
    RuntimeError    // std::runtime_error with the given text
};

// Makes the nth call (1-based, counted from now) of the named operation throw. Operation names
// are "Class::method" of the public interface, e.g. "Environment::createEnvironment",
// "Environment::createConnection", "Connection::createStatement", "Statement::execute",
// "ResultSet::next", "ResultSet::getString", "Stream::writeBuffer", "Connection::getMetaData",
// "MetaData::getInt", "Statement::setInt". The text of an SQLException is used as given (a
// caller that wants the client's own form passes "ORA-NNNNN: ...\n").
void injectFault(const std::string& operation, int nth, FaultKind kind, int code = 0,
                 const std::string& text = "");
// Removes every injected fault and resets the call counters.
void clearFaults();
// While on, SQLException::getMessage throws std::runtime_error.
void setGetMessageThrows(bool on);

struct LiveCounts {
    long environments;
    long connections;
    long statements;
    long resultSets;
    long lobContents;  // shared LOB contents still referenced by some locator
};
LiveCounts liveCounts();

}  // namespace testing
}  // namespace kavexdb

#endif
