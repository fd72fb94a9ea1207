// Memory for the columns of values an array DML execution buffers (a million rows make tens of
// MiB): where the platform offers huge pages, a large request is taken in whole 2 MiB pages, so
// filling it costs one page fault per 2 MiB instead of one per 4 KiB. Small requests are
// ordinary allocations.
#ifndef KAVEXDB_BULK_ALLOCATOR_H
#define KAVEXDB_BULK_ALLOCATOR_H

#include <cstddef>
#include <memory>

namespace kavexdb {
namespace detail {

// bytes of memory, or std::bad_alloc; bulkFree takes the same size back.
void* bulkAllocate(std::size_t bytes);
void bulkFree(void* memory, std::size_t bytes) noexcept;

// Frees a bulkAllocate block of bytes.
struct BulkFree {
    std::size_t bytes = 0;
    void operator()(char* memory) const noexcept { bulkFree(memory, bytes); }
};
// A block of bytes of memory; get_deleter().bytes is its size.
using BulkBlock = std::unique_ptr<char, BulkFree>;
inline BulkBlock bulkBlock(std::size_t bytes) {
    return BulkBlock(static_cast<char*>(bulkAllocate(bytes)), BulkFree{bytes});
}

template <class T>
struct BulkAllocator {
    using value_type = T;

    BulkAllocator() = default;
    template <class U>
    BulkAllocator(const BulkAllocator<U>&) {}

    T* allocate(std::size_t n) { return static_cast<T*>(bulkAllocate(n * sizeof(T))); }
    void deallocate(T* memory, std::size_t n) noexcept { bulkFree(memory, n * sizeof(T)); }

    template <class U>
    bool operator==(const BulkAllocator<U>&) const { return true; }
    template <class U>
    bool operator!=(const BulkAllocator<U>&) const { return false; }
};

}  // namespace detail
}  // namespace kavexdb

#endif
