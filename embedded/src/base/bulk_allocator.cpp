#include "base/bulk_allocator.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kavexdb {
namespace detail {

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

// Under AddressSanitizer every block is an ordinary allocation, which it watches.
#if defined(__SANITIZE_ADDRESS__)
#define KAVEXDB_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAVEXDB_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(__linux__) && defined(MADV_HUGEPAGE) && !defined(KAVEXDB_ADDRESS_SANITIZER)
constexpr bool kHugePages = true;

std::size_t hugeSize(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

// A mapping of whole huge pages at a huge-page boundary, marked for huge pages (a hint the
// kernel may ignore: the memory works the same either way).
void* mapHuge(std::size_t bytes) {
    if (bytes > SIZE_MAX - 2 * kHugePage) throw std::bad_alloc();
    const std::size_t size = hugeSize(bytes);
    const std::size_t mapped = size + kHugePage;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start) munmap(raw, aligned - start);
    if (start + mapped > aligned + size)
        munmap(reinterpret_cast<void*>(aligned + size), start + mapped - (aligned + size));
    void* memory = reinterpret_cast<void*>(aligned);
    madvise(memory, size, MADV_HUGEPAGE);
    return memory;
}

void unmapHuge(void* memory, std::size_t bytes) { munmap(memory, hugeSize(bytes)); }
#else
constexpr bool kHugePages = false;
void* mapHuge(std::size_t) { throw std::bad_alloc(); }
void unmapHuge(void*, std::size_t) {}
#endif

}  // namespace

void* bulkAllocate(std::size_t bytes) {
    if (kHugePages && bytes >= kHugePage) return mapHuge(bytes);
    return ::operator new(bytes);
}

void bulkFree(void* memory, std::size_t bytes) noexcept {
    if (!memory) return;
    if (kHugePages && bytes >= kHugePage)
        unmapHuge(memory, bytes);
    else
        ::operator delete(memory);
}

}  // namespace detail
}  // namespace kavexdb
