// How deep PL/SQL runs PL/SQL on one thread: blocks that EXECUTE IMMEDIATE blocks, stored units
// that call units, SQL that calls stored functions. Each level holds a scope; past 50 levels the
// next one is ORA-00036, never a stack overflow.
#ifndef KAVEXDB_PLSQL_NESTING_H
#define KAVEXDB_PLSQL_NESTING_H

namespace kavexdb {
namespace detail {
namespace plsql {

class NestingLevel {
  public:
    NestingLevel();
    ~NestingLevel();
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
};

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb

#endif
