#include "storage/lob_storage.h"

#include <climits>
#include <vector>

#include "base/errors.h"
#include "base/ora_messages.h"
#include "sql/sqlite_errors.h"

namespace kavexdb {
namespace detail {

namespace {

[[noreturn]] void nonexistentValue() { raise(ora::kNonexistentLobValue); }

void checkBlob(sqlite3* db, int rc) {
    if (rc != SQLITE_OK) raiseSqlite(db, rc);
}

}  // namespace

// ---- LobStorage ------------------------------------------------------------------------------

LobStorage::~LobStorage() {
    closeReader();
    insert_.reset();
    delete_.reset();
}

// An empty file name is SQLite's private temporary database: a file that goes with the handle.
// Large pages and no journal make chunk rows cheap to write; nothing in it needs to survive a
// crash.
sqlite3* LobStorage::db() {
    if (db_) return db_.get();
    sqlite3* raw = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE |
                      (unmutexed_ ? SQLITE_OPEN_NOMUTEX : SQLITE_OPEN_FULLMUTEX);
    const int rc = sqlite3_open_v2("", &raw, flags, nullptr);
    SqliteDb db(raw);
    if (rc != SQLITE_OK) raiseSqlite(raw, rc);
    execSql(raw,
            "PRAGMA page_size=65536; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
            "PRAGMA secure_delete=OFF; PRAGMA locking_mode=EXCLUSIVE; PRAGMA cache_size=-4096; "
            "CREATE TABLE chunk(data BLOB)");
    insert_ = prepareSql(raw, "INSERT INTO chunk(data) VALUES (?1)");
    delete_ = prepareSql(raw, "DELETE FROM chunk WHERE rowid = ?1");
    db_ = std::move(db);
    return db_.get();
}

void LobStorage::closeReader() {
    if (reader_) sqlite3_blob_close(reader_);
    reader_ = nullptr;
}

std::int64_t LobStorage::insert(const char* data, std::size_t size) {
    if (!free_.empty()) {
        const std::int64_t reused = free_.back();
        write(reused, 0, data, size);
        free_.pop_back();
        ++live_;
        return reused;
    }
    sqlite3* d = db();
    closeReader();
    sqlite3_stmt* s = insert_.get();
    int rc = sqlite3_bind_blob64(s, 1, data, size, SQLITE_STATIC);
    if (rc == SQLITE_OK) rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    if (rc != SQLITE_DONE) raiseSqlite(d, rc);
    ++live_;
    return sqlite3_last_insert_rowid(d);
}

void LobStorage::read(std::int64_t chunk, std::size_t offset, char* out, std::size_t size) {
    sqlite3* d = db();
    int rc = reader_ ? sqlite3_blob_reopen(reader_, chunk)
                     : sqlite3_blob_open(d, "main", "chunk", "data", chunk, 0, &reader_);
    if (rc != SQLITE_OK) {
        closeReader();
        raiseSqlite(d, rc);
    }
    checkBlob(d, sqlite3_blob_read(reader_, out, static_cast<int>(size), static_cast<int>(offset)));
}

void LobStorage::write(std::int64_t chunk, std::size_t offset, const char* data, std::size_t size) {
    sqlite3* d = db();
    closeReader();
    sqlite3_blob* blob = nullptr;
    int rc = sqlite3_blob_open(d, "main", "chunk", "data", chunk, 1, &blob);
    if (rc == SQLITE_OK)
        rc = sqlite3_blob_write(blob, data, static_cast<int>(size), static_cast<int>(offset));
    sqlite3_blob_close(blob);
    checkBlob(d, rc);
}

void LobStorage::remove(std::int64_t chunk) noexcept {
    if (!db_) return;
    --live_;
    try {
        free_.push_back(chunk);
        return;
    } catch (...) {
    }
    closeReader();
    sqlite3_stmt* s = delete_.get();
    sqlite3_bind_int64(s, 1, chunk);
    sqlite3_step(s);
    sqlite3_reset(s);
}

// ---- LobSession ------------------------------------------------------------------------------

std::shared_ptr<LobContent> LobSession::lazyContent(bool isClob, const LobRow& row) {
    // Values up to this size are read whole at once, which costs less than reading them later.
    constexpr std::size_t kReadAtOnce = 64 * 1024;
    auto content = std::make_shared<LobContent>(isClob, false);
    content->useStorage(storage_);
    const std::size_t size = rowSize(row);
    if (size <= kReadAtOnce) {
        content->bytes.resize(size);
        readRow(row, 0, &content->bytes[0], size);
        return content;
    }
    content->readFrom(shared_from_this(), row, size);
    lazy_.insert(content.get());
    return content;
}

void LobSession::detachAll(bool closing) {
    release();
    // Detaching forgets the content, so iterate over a copy.
    const std::vector<LobContent*> contents(lazy_.begin(), lazy_.end());
    for (LobContent* content : contents) {
        try {
            content->detach();
        } catch (...) {
            // A value that cannot be copied (its row is gone, no memory or disk left) is read
            // from its row for as long as the session lasts.
        }
    }
    release();
    if (closing) db_ = nullptr;
}

void LobSession::release() {
    if (handle_) sqlite3_blob_close(handle_);
    handle_ = nullptr;
}

sqlite3_blob* LobSession::handleFor(const LobRow& row) {
    if (!db_) raise(ora::kInvalidLobLocator);
    if (handle_ && handleRow_.table == row.table && handleRow_.column == row.column &&
        handleRow_.schema == row.schema) {
        if (handleRow_.rowid == row.rowid) return handle_;
        if (sqlite3_blob_reopen(handle_, row.rowid) == SQLITE_OK) {
            handleRow_.rowid = row.rowid;
            return handle_;
        }
        release();  // a handle that failed to move cannot be used again
        nonexistentValue();
    }
    release();
    const int rc = sqlite3_blob_open(db_, row.schema.c_str(), row.table.c_str(),
                                     row.column.c_str(), row.rowid, 0, &handle_);
    if (rc != SQLITE_OK) {
        release();
        nonexistentValue();
    }
    handleRow_ = row;
    return handle_;
}

std::size_t LobSession::rowSize(const LobRow& row) {
    const int size = sqlite3_blob_bytes(handleFor(row));
    done();
    return static_cast<std::size_t>(size);
}

void LobSession::readRow(const LobRow& row, std::size_t offset, char* out, std::size_t size) {
    const int rc =
        sqlite3_blob_read(handleFor(row), out, static_cast<int>(size), static_cast<int>(offset));
    if (rc != SQLITE_OK) {
        release();
        nonexistentValue();
    }
    done();
}

}  // namespace detail
}  // namespace kavexdb
