// Test support hooks: injected faults and counts of live objects (include/kavexdb/test_support.h
// is their public face).
#ifndef KAVEXDB_BASE_FAULTS_H
#define KAVEXDB_BASE_FAULTS_H

#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// ---- Test support hooks (faults.cpp) -------------------------------------------------------
// Called at the start of every public operation with its "Class::method" name; throws when a
// fault was injected for this call.
void checkFault(const char* operation);
enum class Live { Environment, Connection, Statement, ResultSet, LobContent };
void liveAdd(Live kind, long delta);
bool getMessageThrows();

}  // namespace detail
}  // namespace kavexdb

#endif
