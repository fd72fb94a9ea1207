#include "occi/connection.h"
#include "occi/trigger_firing.h"
#include "occi/output_lines_table.h"
#include "occi/plsql_port.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include "base/access.h"
#include "base/byte_size.h"
#include "base/faults.h"
#include "base/ora_messages.h"
#include "catalog/accounts.h"
#include "exec/describe.h"
#include "occi/session_functions.h"
#include "occi/statement.h"
#include "rewrite/sql_rewrite.h"
#include "sql/heap_limit.h"
#include "sql/sql_lexer.h"
#include "sql/sqlite_errors.h"
#include "storage/wal_writeback.h"

namespace kavexdb {
namespace detail {

namespace {

// Long enough for another session's short transaction to end; a lock held longer is reported
// as ORA-00054, as Oracle reports a row lock it cannot get.
const int kBusyTimeoutMs = 5000;

bool isUri(const std::string& connectString) { return connectString.compare(0, 5, "file:") == 0; }

[[noreturn]] void unresolvable() { raise(ora::kUnresolvableConnectIdentifier); }

// SQLite open flags for a connect string. A plain path must name an existing database, as a
// TNS alias must exist; a file: URI decides with its own mode= parameter.
int openFlags(const std::string& connectString, bool unmutexed) {
    int flags = SQLITE_OPEN_READWRITE | (unmutexed ? SQLITE_OPEN_NOMUTEX : SQLITE_OPEN_FULLMUTEX);
    if (connectString == ":memory:") return flags | SQLITE_OPEN_CREATE;
    if (isUri(connectString)) {
        flags |= SQLITE_OPEN_URI;
        std::size_t query = connectString.find('?');
        if (query != std::string::npos) {
            std::string params = "&" + connectString.substr(query + 1);
            if (params.find("&mode=") != std::string::npos ||
                params.find("&vfs=memdb") != std::string::npos)
                flags |= SQLITE_OPEN_CREATE;
        }
    }
    return flags;
}

// A file name as a URI without parameters.
std::string fileUri(const std::string& path) {
    std::string uri = "file:";
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static const char hex[] = "0123456789ABCDEF";
            uri += '%';
            uri += hex[static_cast<unsigned char>(c) >> 4];
            uri += hex[static_cast<unsigned char>(c) & 15];
        } else {
            uri += c;
        }
    }
    return uri;
}

// The connect string as a URI that opens the same file read-only and immutable: what a WAL
// database on read-only media needs, since its shared-memory index cannot be created there.
std::string immutableUri(const std::string& connectString) {
    if (isUri(connectString))
        return connectString + (connectString.find('?') == std::string::npos ? "?" : "&") +
               "mode=ro&immutable=1";
    return fileUri(connectString) + "?mode=ro&immutable=1";
}

// Opens the database and reads its schema, the first access that touches the file. Returns
// SQLite's code; db holds the handle (for its message) either way.
int openAndRead(const std::string& name, int flags, SqliteDb& db) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(name.c_str(), &raw, flags, writebackVfsName());
    db.reset(raw);
    if (rc != SQLITE_OK) return rc;
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    return sqlite3_exec(db.get(), "PRAGMA schema_version", nullptr, nullptr, nullptr);
}

// A read of the write-ahead log while another session restarts it comes up short: such an
// open is tried again, with growing pauses, for as long as a lock would be waited for.
int openRetryingShortReads(const std::string& name, int flags, SqliteDb& db, int& waitedMs) {
    const auto start = std::chrono::steady_clock::now();
    std::chrono::milliseconds pause(1);
    for (;;) {
        const int rc = openAndRead(name, flags, db);
        const auto waited = std::chrono::steady_clock::now() - start;
        waitedMs = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(waited).count());
        if (rc != SQLITE_IOERR_SHORT_READ ||
            waited + pause > std::chrono::milliseconds(kBusyTimeoutMs))
            return rc;
        db.reset();
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

// The Oracle error of a connect string that cannot be opened as a database.
[[noreturn]] void raiseOpenFailure(sqlite3* db, int rc, int waitedMs) {
    switch (rc & 0xff) {
    case SQLITE_CANTOPEN:
    case SQLITE_MISUSE:
        unresolvable();
    case SQLITE_IOERR:
        if (rc == SQLITE_IOERR_SHORT_READ) raise(ora::kShortReadWhileOpening, waitedMs);
        break;
    default:
        break;
    }
    raiseSqlite(db, rc);  // not a database, corrupt, out of memory, ...
}

// WAL lets readers of other sessions see committed data while one session writes. It is set
// only where it changes something: a writable file that is not in WAL yet (an in-memory
// database keeps its own journal).
void useWriteAheadLog(sqlite3* db) {
    if (sqlite3_db_readonly(db, "main") != 0) return;
    SqliteStmt mode = prepareSql(db, "PRAGMA journal_mode");
    const int rc = sqlite3_step(mode.get());
    if (rc != SQLITE_ROW) raiseSqlite(db, rc);
    const unsigned char* current = sqlite3_column_text(mode.get(), 0);
    if (current && (upperAscii(reinterpret_cast<const char*>(current)) == "WAL" ||
                    upperAscii(reinterpret_cast<const char*>(current)) == "MEMORY"))
        return;
    mode.reset();
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
}

// The value of a URI connect string's parameter name; nullopt when it has none.
std::optional<std::string> uriParameter(const std::string& connectString, const std::string& name) {
    if (!isUri(connectString)) return std::nullopt;
    const std::size_t query = connectString.find('?');
    if (query == std::string::npos) return std::nullopt;
    const std::string params = "&" + connectString.substr(query + 1, connectString.find('#') - query - 1);
    const std::size_t at = params.find("&" + name + "=");
    if (at == std::string::npos) return std::nullopt;
    const std::size_t from = at + name.size() + 2;
    return params.substr(from, params.find('&', from) - from);
}

// The session's temporary disk limit: the connect string's temp_limit, else the default.
std::int64_t tempLimitOf(const std::string& connectString) {
    const std::optional<std::string> text = uriParameter(connectString, "temp_limit");
    std::int64_t limit = TempSpace::kDefaultLimit;
    if (text && !parseByteSize(*text, limit))
        raise(ora::kInvalidParameterValue, *text, "temp_limit", kByteSizeForms);
    return limit;
}

// SQLite's memdb opens a session's temporary files on the platform's VFS, where they would
// count against nothing: a database in memory keeps its temporary data in memory too.
void keepTemporaryDataCounted(sqlite3* db) {
    sqlite3_vfs* vfs = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_VFS_POINTER, &vfs) == SQLITE_OK && vfs &&
        std::string(vfs->zName) == "memdb")
        execSql(db, "PRAGMA temp_store=MEMORY");
}

// Whether the main database lives in a file (not in memory, nor in SQLite's memdb).
bool onDisk(sqlite3* db) {
    const char* file = sqlite3_db_filename(db, "main");
    if (!file || !*file) return false;
    char* vfs = nullptr;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_VFSNAME, &vfs);
    const bool memdb = vfs && std::strncmp(vfs, "memdb", 5) == 0;
    sqlite3_free(vfs);
    return !memdb;
}

// A new database file gets SQLite's largest page. A LOB then spans a sixteenth of the pages, each
// a cache entry, a write and a write-ahead log frame of their own, which makes writing one
// several times faster; scans and batches of short rows run about as fast, while lookups of
// single rows in a file much larger than the page cache cost some more (a whole page is read
// for each). A database that has pages keeps the size it was made with.
void useLargePagesIfNew(sqlite3* db) {
    if (!onDisk(db) || sqlite3_db_readonly(db, "main") != 0) return;
    SqliteStmt count = prepareSql(db, "PRAGMA page_count");
    if (sqlite3_step(count.get()) != SQLITE_ROW || sqlite3_column_int64(count.get(), 0) != 0)
        return;
    count.reset();
    execSql(db, "PRAGMA page_size=65536");
    // SQLite sized the page cache in pages of the old size: setting the cache size again
    // brings it back to the bytes it had.
    SqliteStmt cache = prepareSql(db, "PRAGMA cache_size");
    if (sqlite3_step(cache.get()) != SQLITE_ROW) return;
    const std::string size = std::to_string(sqlite3_column_int64(cache.get(), 0));
    cache.reset();
    execSql(db, ("PRAGMA cache_size=" + size).c_str());
}

// How the checkpointer opens the session's database again: the same file by its full name
// (whatever the working directory has become), with the connect string's URI parameters (its VFS
// among them), the same flags, busy timeout and synchronous setting; then read, which opens the
// write-ahead log.
WalCheckpointer::Opener sameDatabase(sqlite3* db, const std::string& connectString, int flags) {
    std::string name = sqlite3_db_filename(db, "main");
    if (isUri(connectString)) {
        name = fileUri(name);
        const std::size_t query = connectString.find('?');
        if (query != std::string::npos)
            name += connectString.substr(query, connectString.find('#', query) - query);
    }
    SqliteStmt current = prepareSql(db, "PRAGMA main.synchronous");
    const std::string synchronous =
        "PRAGMA main.synchronous=" +
        std::to_string(sqlite3_step(current.get()) == SQLITE_ROW
                           ? sqlite3_column_int(current.get(), 0)
                           : 2);
    return [name, flags, synchronous] {
        SqliteDb again;
        int waitedMs = 0;
        if (openRetryingShortReads(name, flags, again, waitedMs) != SQLITE_OK ||
            sqlite3_exec(again.get(), synchronous.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            again.reset();
        return again;
    };
}

}  // namespace

std::unique_ptr<ConnectionImpl> ConnectionImpl::open(const std::string& user,
                                                     const std::string& password,
                                                     const std::string& connectString,
                                                     Charset charset, bool unmutexed) {
    if (connectString.empty()) unresolvable();
    applyHeapLimit();
    const std::int64_t tempLimit = tempLimitOf(connectString);
    const int flags = openFlags(connectString, unmutexed);
    SqliteDb db;
    int waitedMs = 0;
    int rc = openRetryingShortReads(connectString, flags, db, waitedMs);
    if ((rc & 0xff) == SQLITE_CANTOPEN && db && sqlite3_db_readonly(db.get(), "main") == 1) {
        // Opened read-only, yet not readable: a WAL file on read-only media.
        rc = openRetryingShortReads(immutableUri(connectString), flags | SQLITE_OPEN_URI, db,
                                    waitedMs);
    }
    if (rc != SQLITE_OK) raiseOpenFailure(db.get(), rc, waitedMs);
    // Nothing is written before the logon succeeded.
    execSql(db.get(), "PRAGMA foreign_keys=ON");
    keepTemporaryDataCounted(db.get());  // first: it drops what the temporary database holds
    registerSessionFunctions(db.get(), upperAscii(user));
    AccountStore(db.get(), upperAscii(user)).verifyLogon(user, password);
    useLargePagesIfNew(db.get());
    useWriteAheadLog(db.get());
    std::unique_ptr<WalCheckpointer> checkpointer;
    if (onDisk(db.get()))
        checkpointer =
            WalCheckpointer::attach(db.get(), sameDatabase(db.get(), connectString, flags));
    return std::unique_ptr<ConnectionImpl>(new ConnectionImpl(
        std::move(db), std::move(checkpointer), upperAscii(user), charset, unmutexed, tempLimit));
}

ConnectionImpl::ConnectionImpl(SqliteDb db, std::unique_ptr<WalCheckpointer> checkpointer,
                               std::string schema, Charset charset, bool unmutexed,
                               std::int64_t tempLimit)
    : tempSpace_(tempLimit),
      db_(std::move(db)),
      cancel_(db_.get()),
      checkpointer_(std::move(checkpointer)),
      authorizer_(db_.get()),
      schema_(std::move(schema)),
      charset_(charset),
      lobs_(std::make_shared<LobSession>(db_.get(), unmutexed)) {
    registerOutputLinesTable(db_.get(), output_);
    registerBindValuesTable(db_.get(), assignedBinds_);
    registerPlSqlCalls(db_.get(), *this);
    triggers_ = std::make_unique<TriggerFiring>(*this);
    registerTriggerFiring(db_.get(), *this);
    liveAdd(Live::Connection, 1);
}

ConnectionImpl::~ConnectionImpl() {
    packages_.clear();
    triggers_.reset();
    while (!statements_.empty()) statements_.pop_back();
    // Its thread and connection end first: the logoff's commit checkpoints as SQLite's own, and
    // the session's close below stays the last one, which checkpoints and removes the log.
    checkpointer_.reset();
    // A normal logoff commits, as Oracle's client does; if that fails nothing half-done stays.
    if (inTransaction() &&
        sqlite3_exec(db_.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    // LOB locators the host still holds outlive the session with the values they were read with.
    lobs_->detachAll(true);
    liveAdd(Live::Connection, -1);
}

occi::Statement* ConnectionImpl::createStatement(const std::string& sql) {
    checkFault("Connection::createStatement");
    statements_.push_back(std::make_unique<StatementImpl>(*this, sql));
    return statements_.back().get();
}

void ConnectionImpl::terminateStatement(occi::Statement* statement) {
    checkFault("Connection::terminateStatement");
    auto it = std::find_if(statements_.begin(), statements_.end(),
                           [&](const auto& s) { return s.get() == statement; });
    if (it == statements_.end()) return;  // not ours: nothing to release
    std::unique_ptr<StatementImpl> doomed = std::move(*it);
    statements_.erase(it);
}

void ConnectionImpl::commit() {
    checkFault("Connection::commit");
    requireIntactTransaction();
    try {
        commitWork();
    } catch (const occi::SQLException& e) {
        throw withLossNoted(e);
    }
}

void ConnectionImpl::rollback() {
    checkFault("Connection::rollback");
    keepLobValues();
    rollbackWork();
}

occi::MetaData ConnectionImpl::getMetaData(const std::string& object,
                                           occi::MetaData::ParamType) const {
    checkFault("Connection::getMetaData");
    try {
        return describeObject(db_.get(), schema_, object);
    } catch (const occi::SQLException& e) {
        // The authorizer hid it: describe it as the missing object it is to the session.
        if (e.getErrorCode() != 942) throw;
        std::string shown = upperOutsideQuotes(object);
        const std::size_t first = shown.find_first_not_of(" \t\r\n");
        shown = first == std::string::npos
                    ? std::string()
                    : shown.substr(first, shown.find_last_not_of(" \t\r\n") + 1 - first);
        raise(ora::kObjectDoesNotExist, shown);
    }
}

bool ConnectionImpl::inTransaction() const { return sqlite3_get_autocommit(db_.get()) == 0; }

void ConnectionImpl::beginWork() {
    // IMMEDIATE takes the write lock now, waiting out other writers, so a transaction never
    // fails half-way for want of the lock.
    if (inTransaction()) return;
    if (checkpointer_) checkpointer_->awaitCheckpoint();
    execSql(db_.get(), "BEGIN IMMEDIATE");
}

void ConnectionImpl::commitWork() {
    if (inTransaction()) execSql(db_.get(), "COMMIT");
    pendingWork_ = false;
}

void ConnectionImpl::rollbackWork() {
    if (inTransaction()) execSql(db_.get(), "ROLLBACK");
    pendingWork_ = false;
    lost_ = false;
}

bool ConnectionImpl::transactionLost() {
    if (!pendingWork_ || inTransaction()) return false;
    pendingWork_ = false;
    lost_ = true;
    return true;
}

void ConnectionImpl::requireIntactTransaction() {
    transactionLost();
    if (lost_) raise(ora::kTransactionLostEarlier);
}

occi::SQLException ConnectionImpl::withLossNoted(const occi::SQLException& failure) {
    if (!transactionLost()) return failure;
    // An Oracle error stack: the statement's own error, then what it did to the transaction.
    const occi::SQLException note = makeError(ora::kTransactionLostHere);
    return Access::error(failure.getErrorCode(), std::string(failure.what()) + note.what());
}

}  // namespace detail
}  // namespace kavexdb
