// The most memory SQLite may hold for the whole process: every session's statements, caches and
// values together. Past it an allocation fails and the statement that needed it ends with
// ORA-04030; the sessions go on. The limit is KAVEX_MEMORY_LIMIT from the environment (bytes, or
// with K, M or G) as the first session opens, else half of the machine's physical memory where
// the platform says how much there is (none elsewhere).
#ifndef KAVEXDB_SQL_HEAP_LIMIT_H
#define KAVEXDB_SQL_HEAP_LIMIT_H

#include <cstdint>

namespace kavexdb {
namespace detail {

// Sets the limit at the first call; ORA-00096 there and at every later call when
// KAVEX_MEMORY_LIMIT holds a value it cannot take.
void applyHeapLimit();

// The limit in force; 0 for none.
std::int64_t heapLimit();

}  // namespace detail
}  // namespace kavexdb

#endif
