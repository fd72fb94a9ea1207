// Where large LOB bytes live outside memory.
//
// LobStorage: a session's temporary LOB storage, a private temporary SQLite database of its own
// (so that the session's transactions never touch a temporary LOB, as in Oracle), holding
// chunks of kLobChunk bytes as rows, read and written in place with SQLite's incremental blob
// I/O. It is opened on the first chunk and lives while a session or a LOB content still uses
// it; the rows of freed chunks are reused.
//
// LobSession: what the LOB values of one session share: the session's database while it is
// open, its LobStorage, and the LOB contents that still read a table row lazily (those are
// copied into the storage before the session changes data or closes, so that a locator keeps
// the value it was read with).
#ifndef KAVEXDB_LOB_STORAGE_H
#define KAVEXDB_LOB_STORAGE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sql/sqlite_util.h"
#include "storage/lob_content.h"

namespace kavexdb {
namespace detail {

// Bytes per stored chunk, and the piece in which LOB bytes move between SQLite and memory.
constexpr std::size_t kLobChunk = std::size_t(1) << 20;

class LobStorage {
public:
    explicit LobStorage(bool unmutexed) : unmutexed_(unmutexed) {}
    ~LobStorage();
    LobStorage(const LobStorage&) = delete;
    LobStorage& operator=(const LobStorage&) = delete;

    // Stores a new chunk of kLobChunk bytes and returns its row id.
    std::int64_t insert(const char* data, std::size_t size);
    void read(std::int64_t chunk, std::size_t offset, char* out, std::size_t size);
    // Overwrites bytes inside a chunk; its size stays.
    void write(std::int64_t chunk, std::size_t offset, const char* data, std::size_t size);
    // Frees a chunk. Its row is kept for the next chunk: deleting a row reads all its pages,
    // and the storage's file goes with the session anyway.
    void remove(std::int64_t chunk) noexcept;

private:
    sqlite3* db();
    void closeReader();

    bool unmutexed_;
    SqliteDb db_;
    SqliteStmt insert_, delete_;
    sqlite3_blob* reader_ = nullptr;  // kept open between reads, closed before any change
    std::size_t live_ = 0;              // chunks in use
    std::vector<std::int64_t> free_;    // rows of freed chunks
};

// The row a lazily read LOB value comes from.
struct LobRow {
    std::string schema, table, column;
    std::int64_t rowid = 0;
};

class LobSession : public std::enable_shared_from_this<LobSession> {
public:
    LobSession(sqlite3* db, bool unmutexed)
        : db_(db), storage_(std::make_shared<LobStorage>(unmutexed)) {}
    ~LobSession() { release(); }

    sqlite3* db() const { return db_; }
    const std::shared_ptr<LobStorage>& storage() const { return storage_; }

    // The value in `row`: read at once when it is small, else read from the row when asked for
    // until the content is changed or detached.
    std::shared_ptr<LobContent> lazyContent(bool isClob, const LobRow& row);
    void forget(LobContent* content) { lazy_.erase(content); }
    // Copies every lazily read value into the temporary storage: called before the session
    // changes data. With closing, the session's database is gone afterwards.
    void detachAll(bool closing);

    // Reads bytes of a row's value; ORA-22922 when the row is gone.
    std::size_t rowSize(const LobRow& row);
    void readRow(const LobRow& row, std::size_t offset, char* out, std::size_t size);

    // While a result set with lazily read columns is being walked, the blob handle of the last
    // row read stays open and moves to the next row (a new handle per value costs more than
    // the read). Otherwise none is left open: an open handle holds a read transaction.
    void hold() { ++holding_; }
    void letGo() {
        if (holding_ > 0 && --holding_ == 0) release();
    }

private:
    sqlite3_blob* handleFor(const LobRow& row);
    void done() {
        if (holding_ == 0) release();
    }
    void release();

    sqlite3* db_;  // null once the session closed
    std::shared_ptr<LobStorage> storage_;
    std::set<LobContent*> lazy_;
    sqlite3_blob* handle_ = nullptr;
    LobRow handleRow_;
    int holding_ = 0;
};

}  // namespace detail
}  // namespace kavexdb

#endif
