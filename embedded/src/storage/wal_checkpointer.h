// Checkpoints of a session's write-ahead log on a thread of its own, the way a database writer
// writes data files in the background while a commit waits only for its log.
//
// SQLite checkpoints in the committing thread once a commit leaves its usual threshold of pages
// in the log; for a large transaction that is about half of the commit. Instead, the session's
// commit only wakes the checkpointer, which runs a passive checkpoint through a connection of its
// own to the same file. The log stays bounded: the session's next write transaction waits for a
// checkpoint still under way, so that it starts the log over; and when the checkpointer falls
// behind (the log at four times the threshold while it is still at work, or after its last
// checkpoint failed) or cannot run at all, the committing connection checkpoints itself, as
// SQLite would.
#ifndef KAVEXDB_WAL_CHECKPOINTER_H
#define KAVEXDB_WAL_CHECKPOINTER_H

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "sql/sqlite_util.h"

namespace kavexdb {
namespace detail {

class WalCheckpointer {
public:
    // Past this many times the threshold the committing connection stops relying on a
    // checkpointer that is behind.
    static const int kBehindFactor = 4;

    // Opens the database file again, the way the session's connection was opened, and reads it;
    // a null handle when that fails. Runs on the checkpointer's thread.
    using Opener = std::function<SqliteDb()>;

    // Takes over the checkpoints of db's main database when it is a writable file in WAL mode
    // that other connections share (normal locking), SQLite may be used from several threads and
    // its automatic checkpoint is on; otherwise returns null and leaves that as it is. The
    // threshold stays SQLite's (1000 pages unless configured otherwise). The thread starts at the
    // first commit that needs a checkpoint. db must outlive the checkpointer.
    static std::unique_ptr<WalCheckpointer> attach(sqlite3* db, Opener openAgain);

    // Before a write transaction of db begins: waits for the checkpoint asked for or in progress.
    // A transaction that begins after a complete checkpoint writes the log from its start again;
    // one that begins during it adds to the log, which would then grow with every commit.
    void awaitCheckpoint();

    // Gives db back SQLite's automatic checkpoint, lets the thread finish the checkpoint in
    // progress and the one asked for, and joins it; its connection is closed by then.
    ~WalCheckpointer();

    WalCheckpointer(const WalCheckpointer&) = delete;
    WalCheckpointer& operator=(const WalCheckpointer&) = delete;

private:
    WalCheckpointer(sqlite3* db, Opener openAgain, int threshold);

    static int onCommit(void* self, sqlite3* db, const char* schema, int pages);
    // Hands the checkpoint after a commit that left `pages` in the log to the thread; false when
    // the committing connection must checkpoint itself (after the thread finished its own).
    bool handOver(int pages);
    void run();
    bool checkpointAsked(std::unique_lock<std::mutex>& lock);

    sqlite3* db_;
    Opener openAgain_;
    const int threshold_;  // pages in the log that call for a checkpoint
    std::mutex mutex_;
    std::condition_variable wake_;  // a checkpoint asked for, or the end
    std::condition_variable idle_;  // a checkpoint finished
    bool asked_ = false;
    bool working_ = false;
    bool lastFailed_ = false;
    bool unusable_ = false;  // the thread could not start or open its connection
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace detail
}  // namespace kavexdb

#endif
