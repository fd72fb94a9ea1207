// A session's temporary disk: the bytes SQLite's temporary files (sorts spilled to disk,
// materialised subqueries and views, statement journals, the temporary database) hold at once,
// bounded by the session's limit, so that one statement cannot fill the disk. Past the limit the
// write that needed more fails (SQLite reports SQLITE_FULL) and the statement ends with
// ORA-01652.
//
// Temporary files carry no session, so a call that runs on a session makes its TempSpace the
// thread's (Scope); a temporary file opened on the thread counts against that TempSpace for as
// long as it is open. Files opened with no Scope on the thread count against nothing.
#ifndef KAVEXDB_BASE_TEMP_SPACE_H
#define KAVEXDB_BASE_TEMP_SPACE_H

#include <atomic>
#include <cstdint>

namespace kavexdb {
namespace detail {

class TempSpace {
public:
    // The limit when a connect string names none: 4 GiB.
    static constexpr std::int64_t kDefaultLimit = std::int64_t{4} << 30;

    // limit in bytes (at least 0). The files counted against it must be closed before it goes.
    explicit TempSpace(std::int64_t limit = kDefaultLimit) : limit_(limit) {}
    TempSpace(const TempSpace&) = delete;
    TempSpace& operator=(const TempSpace&) = delete;

    std::int64_t limit() const { return limit_; }
    std::int64_t used() const { return used_.load(std::memory_order_relaxed); }

    // Counts bytes more; false, counting nothing and noting the refusal, when they would pass the
    // limit.
    bool reserve(std::int64_t bytes);
    void release(std::int64_t bytes) { used_.fetch_sub(bytes, std::memory_order_relaxed); }
    // The bytes of the last reserve refused since the last call, 0 when none; clears the note.
    std::int64_t takeRefusal() { return refused_.exchange(0, std::memory_order_relaxed); }

    // The TempSpace of the call running on this thread; null when none.
    static TempSpace* current();

    // Makes space the thread's until the end of the scope; scopes nest.
    class Scope {
    public:
        explicit Scope(TempSpace& space);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        TempSpace* outer_;
    };

private:
    const std::int64_t limit_;
    std::atomic<std::int64_t> used_{0};
    std::atomic<std::int64_t> refused_{0};
};

}  // namespace detail
}  // namespace kavexdb

#endif
