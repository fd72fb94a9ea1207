#include "storage/wal_writeback.h"

#include <sqlite3.h>

#if defined(__linux__)

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "base/quiet_thread.h"
#include "storage/temp_files.h"
#include "storage/wrapped_file.h"

namespace kavexdb {
namespace detail {

namespace {

// Rewritten bytes gathered before the disk is asked to write them: large enough that the
// requests stay few, small enough that the disk starts well before the commit.
constexpr sqlite3_int64 kWritebackBytes = 8 << 20;

sqlite3_vfs* base = nullptr;
sqlite3_vfs shim;

// Bytes [lo, hi) of a file, grown to cover each range added; empty when lo == hi.
struct ByteRange {
    sqlite3_int64 lo = 0, hi = 0;

    bool empty() const { return hi <= lo; }
    bool contains(sqlite3_int64 at) const { return !empty() && at >= lo && at < hi; }
    sqlite3_int64 size() const { return hi - lo; }
    void add(sqlite3_int64 from, sqlite3_int64 to) {
        lo = empty() ? from : std::min(lo, from);
        hi = std::max(hi, to);
    }
    void clear() { lo = hi = 0; }
};

// Asks the disk to write ranges of one file on a thread of its own: queueing the writes costs
// the kernel some time, which the writing thread then does not wait for. A range asked for while
// the previous one is still being queued is merged with any other waiting.
class WritebackThread {
public:
    // fd must stay open until the destructor returns.
    explicit WritebackThread(int fd) : fd_(fd), thread_(startQuietThread([this] { run(); })) {}

    // Queues what was asked for and joins the thread.
    ~WritebackThread() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    void request(const ByteRange& range) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            waiting_.add(range.lo, range.hi);
        }
        wake_.notify_one();
    }

private:
    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stop_ || !waiting_.empty(); });
            if (!waiting_.empty()) {
                const ByteRange range = waiting_;
                waiting_.clear();
                lock.unlock();
                // Only starts the writing; a failure leaves the bytes to the sync, as before.
                sync_file_range(fd_, range.lo, range.size(), SYNC_FILE_RANGE_WRITE);
                lock.lock();
            } else if (stop_) {
                return;
            }
        }
    }

    const int fd_;
    std::mutex mutex_;
    std::condition_variable wake_;
    ByteRange waiting_;
    bool stop_ = false;
    std::thread thread_;  // last: it starts with everything above in place
};

// A write-ahead log opened through the shim: this header, then the base VFS's own file object.
// Every other file is the base VFS's object alone, with its own methods, so that it costs
// nothing.
struct WalFile : WrappedFile {
    // A second descriptor of the same log, for sync_file_range; -1 when it could not be opened,
    // which leaves every byte to the sync.
    int fd = -1;
    // The bytes written since the last sync, and those of them written over again that are not
    // handed to the disk yet.
    ByteRange written, rewritten;
    // Started at the first range handed over; null until then, or when it could not start.
    std::unique_ptr<WritebackThread> writer;
    bool writerFailed = false;

    ~WalFile() {
        writer.reset();
        if (fd >= 0) ::close(fd);
    }

    void noteWrite(sqlite3_int64 at, int n) {
        const sqlite3_int64 end = at + n;
        if (written.contains(at)) {
            rewritten.add(at, end);
            if (rewritten.size() >= kWritebackBytes) {
                handOver(rewritten);
                rewritten.clear();
            }
        }
        written.add(at, end);
    }

    void handOver(const ByteRange& range) {
        if (!writer && !writerFailed) {
            try {
                writer = std::make_unique<WritebackThread>(fd);
            } catch (...) {
                writerFailed = true;
            }
        }
        if (writer)
            writer->request(range);
        else
            sync_file_range(fd, range.lo, range.size(), SYNC_FILE_RANGE_WRITE);
    }

    void forget() {
        written.clear();
        rewritten.clear();
    }
};

// Where the base VFS's file object starts within a file opened through the shim: past the
// larger of the two headers, a WAL's or a counted temporary file's (temp_files.h).
const std::size_t kInnerOffset = (std::max(sizeof(WalFile), tempFileHeaderSize()) + 15) / 16 * 16;

WalFile* wal(sqlite3_file* f) { return reinterpret_cast<WalFile*>(f); }
sqlite3_file* inner(sqlite3_file* f) { return wal(f)->inner; }
const sqlite3_io_methods* io(sqlite3_file* f) { return inner(f)->pMethods; }

int walClose(sqlite3_file* f) {
    sqlite3_file* file = inner(f);
    wal(f)->~WalFile();
    return file->pMethods->xClose(file);
}

int walWrite(sqlite3_file* f, const void* data, int n, sqlite3_int64 at) {
    const int rc = io(f)->xWrite(inner(f), data, n, at);
    if (rc == SQLITE_OK && wal(f)->fd >= 0) wal(f)->noteWrite(at, n);
    return rc;
}

int walTruncate(sqlite3_file* f, sqlite3_int64 size) {
    wal(f)->forget();
    return io(f)->xTruncate(inner(f), size);
}

int walSync(sqlite3_file* f, int flags) {
    wal(f)->forget();
    return io(f)->xSync(inner(f), flags);
}

const sqlite3_io_methods walMethods = [] {
    sqlite3_io_methods m = passThroughMethods(3);
    m.xClose = walClose;
    m.xWrite = walWrite;
    m.xTruncate = walTruncate;
    m.xSync = walSync;
    return m;
}();

int shimOpen(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    if (countsAsTemp(flags)) return openTempFile(base, kInnerOffset, name, f, flags, outFlags);
    if (!(flags & SQLITE_OPEN_WAL) || !name)
        return base->xOpen(base, name, f, flags, outFlags);
    sqlite3_file* file = nullptr;
    const int rc = openInnerFile(base, kInnerOffset, name, f, flags, outFlags, &file);
    if (rc != SQLITE_OK) return rc;
    WalFile* w = new (f) WalFile;
    w->inner = file;
    w->fd = ::open(name, O_RDONLY | O_CLOEXEC);
    f->pMethods = &walMethods;
    return SQLITE_OK;
}

void registerShim() {
    base = sqlite3_vfs_find(nullptr);
    if (!base || base->iVersion < 3) {
        base = nullptr;
        return;
    }
    shim = *base;
    shim.zName = "kavex-writeback";
    shim.szOsFile = static_cast<int>(kInnerOffset) + base->szOsFile;
    shim.pNext = nullptr;
    shim.xOpen = shimOpen;
    // The rest stay the base VFS's own, called with the base VFS as SQLite calls them.
    shim.xDelete = [](sqlite3_vfs*, const char* name, int syncDir) {
        return base->xDelete(base, name, syncDir);
    };
    shim.xAccess = [](sqlite3_vfs*, const char* name, int flags, int* out) {
        return base->xAccess(base, name, flags, out);
    };
    shim.xFullPathname = [](sqlite3_vfs*, const char* name, int n, char* out) {
        return base->xFullPathname(base, name, n, out);
    };
    shim.xDlOpen = [](sqlite3_vfs*, const char* name) { return base->xDlOpen(base, name); };
    shim.xDlError = [](sqlite3_vfs*, int n, char* out) { base->xDlError(base, n, out); };
    shim.xDlSym = [](sqlite3_vfs*, void* handle, const char* symbol) {
        return base->xDlSym(base, handle, symbol);
    };
    shim.xDlClose = [](sqlite3_vfs*, void* handle) { base->xDlClose(base, handle); };
    shim.xRandomness = [](sqlite3_vfs*, int n, char* out) { return base->xRandomness(base, n, out); };
    shim.xSleep = [](sqlite3_vfs*, int micros) { return base->xSleep(base, micros); };
    shim.xCurrentTime = [](sqlite3_vfs*, double* out) { return base->xCurrentTime(base, out); };
    shim.xGetLastError = [](sqlite3_vfs*, int n, char* out) {
        return base->xGetLastError(base, n, out);
    };
    shim.xCurrentTimeInt64 = [](sqlite3_vfs*, sqlite3_int64* out) {
        return base->xCurrentTimeInt64(base, out);
    };
    shim.xSetSystemCall = [](sqlite3_vfs*, const char* name, sqlite3_syscall_ptr call) {
        return base->xSetSystemCall(base, name, call);
    };
    shim.xGetSystemCall = [](sqlite3_vfs*, const char* name) {
        return base->xGetSystemCall(base, name);
    };
    shim.xNextSystemCall = [](sqlite3_vfs*, const char* name) {
        return base->xNextSystemCall(base, name);
    };
    if (sqlite3_vfs_register(&shim, 0) != SQLITE_OK) base = nullptr;
}

}  // namespace

const char* writebackVfsName() {
    static std::once_flag once;
    std::call_once(once, registerShim);
    return base ? shim.zName : nullptr;
}

}  // namespace detail
}  // namespace kavexdb

#else

namespace kavexdb {
namespace detail {

const char* writebackVfsName() { return nullptr; }

}  // namespace detail
}  // namespace kavexdb

#endif
