#include "storage/wal_checkpointer.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>

#include "base/quiet_thread.h"

namespace kavexdb {
namespace detail {

namespace {

// The value of a pragma that reads one setting of the main database; empty when it gives none.
std::string setting(sqlite3* db, const char* pragma) {
    SqliteStmt stmt = prepareSql(db, std::string("PRAGMA main.") + pragma);
    if (sqlite3_step(stmt.get()) != SQLITE_ROW) return std::string();
    const unsigned char* value = sqlite3_column_text(stmt.get(), 0);
    return value ? upperAscii(reinterpret_cast<const char*>(value)) : std::string();
}

}  // namespace

std::unique_ptr<WalCheckpointer> WalCheckpointer::attach(sqlite3* db, Opener openAgain) {
    if (sqlite3_threadsafe() == 0 || sqlite3_db_readonly(db, "main") != 0) return nullptr;
    // In exclusive locking mode no other connection reaches the log.
    if (setting(db, "journal_mode") != "WAL" || setting(db, "locking_mode") != "NORMAL")
        return nullptr;
    const int threshold = std::atoi(setting(db, "wal_autocheckpoint").c_str());
    if (threshold <= 0) return nullptr;  // SQLite was told not to checkpoint: neither do we
    std::unique_ptr<WalCheckpointer> checkpointer(
        new WalCheckpointer(db, std::move(openAgain), threshold));
    sqlite3_wal_hook(db, &WalCheckpointer::onCommit, checkpointer.get());
    return checkpointer;
}

WalCheckpointer::WalCheckpointer(sqlite3* db, Opener openAgain, int threshold)
    : db_(db), openAgain_(std::move(openAgain)), threshold_(threshold) {}

WalCheckpointer::~WalCheckpointer() {
    sqlite3_wal_autocheckpoint(db_, threshold_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

int WalCheckpointer::onCommit(void* self, sqlite3* db, const char* schema, int pages) {
    auto* checkpointer = static_cast<WalCheckpointer*>(self);
    if (pages < checkpointer->threshold_) return SQLITE_OK;
    if (std::strcmp(schema, "main") == 0 && checkpointer->handOver(pages)) return SQLITE_OK;
    // SQLite's own automatic checkpoint: passive, in the committing thread, its result ignored
    // (the commit succeeded whatever it gives).
    sqlite3_wal_checkpoint(db, schema);
    return SQLITE_OK;
}

bool WalCheckpointer::handOver(int pages) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (unusable_) return false;
    if (pages >= kBehindFactor * threshold_ && (working_ || asked_ || lastFailed_)) {
        // Behind: what it is doing ends first (a passive checkpoint waits for no lock), then the
        // committing connection checkpoints while it writes nothing new.
        asked_ = false;
        idle_.wait(lock, [this] { return !working_; });
        return false;
    }
    asked_ = true;
    if (!thread_.joinable()) {
        try {
            thread_ = startQuietThread([this] { run(); });
        } catch (const std::system_error&) {
            unusable_ = true;
            asked_ = false;
            return false;
        }
    }
    wake_.notify_one();
    return true;
}

void WalCheckpointer::awaitCheckpoint() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return !(asked_ || working_) || unusable_; });
}

bool WalCheckpointer::checkpointAsked(std::unique_lock<std::mutex>& lock) {
    wake_.wait(lock, [this] { return asked_ || stopping_; });
    return asked_;  // when stopping, the checkpoint asked for still runs
}

void WalCheckpointer::run() {
    SqliteDb own;
    try {
        own = openAgain_();
    } catch (...) {
        own.reset();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (!own) {
        // The committing connection checkpoints itself from now on.
        unusable_ = true;
        asked_ = false;
        idle_.notify_all();
        return;
    }
    while (checkpointAsked(lock)) {
        asked_ = false;
        working_ = true;
        lock.unlock();
        const int rc = sqlite3_wal_checkpoint_v2(own.get(), "main", SQLITE_CHECKPOINT_PASSIVE,
                                                 nullptr, nullptr);
        lock.lock();
        working_ = false;
        lastFailed_ = rc != SQLITE_OK;
        idle_.notify_all();
    }
    lock.unlock();
    own.reset();  // before the session's connection closes: that close stays the last one
}

}  // namespace detail
}  // namespace kavexdb
