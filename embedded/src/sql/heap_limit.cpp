#include "sql/heap_limit.h"

#include <sqlite3.h>

#include <cstdlib>
#include <mutex>
#include <string>

#if defined(__unix__)
#include <unistd.h>
#endif

#include "base/byte_size.h"
#include "base/errors.h"
#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {

namespace {

std::int64_t halfOfPhysicalMemory() {
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
    const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGESIZE);
    if (pages > 0 && size > 0) return static_cast<std::int64_t>(pages) * size / 2;
#endif
    return 0;
}

struct Setting {
    std::int64_t limit = 0;
    std::string invalid;  // the environment's value when it could not be read
};

const Setting& setting() {
    static const Setting s = [] {
        Setting out;
        const char* text = std::getenv("KAVEX_MEMORY_LIMIT");
        if (text && *text) {
            if (!parseByteSize(text, out.limit)) out.invalid = text;
        } else {
            out.limit = halfOfPhysicalMemory();
        }
        if (out.invalid.empty() && out.limit > 0) sqlite3_hard_heap_limit64(out.limit);
        return out;
    }();
    return s;
}

}  // namespace

void applyHeapLimit() {
    const Setting& s = setting();
    if (!s.invalid.empty())
        raise(ora::kInvalidParameterValue, s.invalid, "KAVEX_MEMORY_LIMIT", kByteSizeForms);
}

std::int64_t heapLimit() { return setting().limit; }

}  // namespace detail
}  // namespace kavexdb
