// A small per-thread cache of parsed format models. A fetch renders every value of a column
// with the same model, so parsing it once per thread rather than once per value saves most of
// the work; being per thread, a lookup takes no lock.
#ifndef KAVEXDB_FORMAT_CACHE_H
#define KAVEXDB_FORMAT_CACHE_H

#include <array>
#include <cstddef>
#include <string>
#include <type_traits>
#include <utility>

namespace kavexdb {
namespace detail {

// Keeps the last Capacity models parsed, replacing the oldest entry when full. Models longer
// than kMaxKey are parsed every time, so the memory held stays small whatever the callers pass.
template <typename Model, std::size_t Capacity = 8>
class FormatCache {
    static_assert(std::is_nothrow_move_assignable<Model>::value,
                  "storing a parsed model must not fail half way");

public:
    static constexpr std::size_t kMaxKey = 128;

    // The parsed form of `model`; `parse(model)` makes it when it is not cached. A parse that
    // throws leaves the cache as it was. The reference stays valid until the next call.
    template <typename Parse>
    const Model& get(const std::string& model, Parse&& parse) {
        if (last_ < size_ && entries_[last_].key == model) return entries_[last_].model;
        for (std::size_t i = 0; i < size_; ++i) {
            if (entries_[i].key == model) {
                last_ = i;
                return entries_[i].model;
            }
        }
        if (model.size() > kMaxKey) {
            uncached_ = parse(model);
            last_ = Capacity;
            return uncached_;
        }
        // Everything that may throw comes before the cache changes.
        Model parsed = parse(model);
        std::string key(model);
        const std::size_t slot = size_ < Capacity ? size_++ : next_;
        if (size_ == Capacity) next_ = (slot + 1) % Capacity;
        entries_[slot].key.swap(key);
        entries_[slot].model = std::move(parsed);
        last_ = slot;
        return entries_[slot].model;
    }

    std::size_t size() const { return size_; }

private:
    struct Entry {
        std::string key;
        Model model;
    };
    std::array<Entry, Capacity> entries_{};
    Model uncached_{};
    std::size_t size_ = 0;
    std::size_t next_ = 0;  // the entry to replace once full
    std::size_t last_ = Capacity;  // the entry found last: most lookups ask for it again
};

}  // namespace detail
}  // namespace kavexdb

#endif
