// The process-wide store of failure messages under negative error ids (-10, -11, ...).
#ifndef KAVEX_SESSION_ERRORSTORE_H
#define KAVEX_SESSION_ERRORSTORE_H

#include <cstdint>
#include <string>

namespace errors {

std::int32_t storeError(const std::string& message);
// The text delivered for errorId (the last delivered text when the id is not stored), copied
// under the store's lock. With markRead the id is erased at the next marked fetch.
std::string fetchError(std::int32_t errorId, bool markRead);

}  // namespace errors

#endif
