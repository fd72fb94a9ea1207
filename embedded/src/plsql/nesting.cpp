#include "plsql/nesting.h"

#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {

constexpr int kMostLevels = 50;
thread_local int levels = 0;

}  // namespace

NestingLevel::NestingLevel() {
    if (levels >= kMostLevels) raise(ora::kRecursiveSqlLevels, kMostLevels);
    ++levels;
}

NestingLevel::~NestingLevel() { --levels; }

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
