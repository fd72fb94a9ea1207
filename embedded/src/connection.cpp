#include "connection.h"

#include <algorithm>

#include "accounts.h"
#include "sql_rewrite.h"
#include "statement.h"

namespace kavexdb {
namespace detail {

namespace {

// Long enough for another session's short transaction to end; a lock held longer is reported
// as ORA-00054, as Oracle reports a row lock it cannot get.
const int kBusyTimeoutMs = 5000;

[[noreturn]] void unresolvable() {
    raise(12154, "TNS:could not resolve the connect identifier specified");
}

// SQLite open flags for a connect string. A plain path must name an existing database, as a
// TNS alias must exist; a file: URI decides with its own mode= parameter.
int openFlags(const std::string& connectString, bool unmutexed) {
    int flags = SQLITE_OPEN_READWRITE | (unmutexed ? SQLITE_OPEN_NOMUTEX : SQLITE_OPEN_FULLMUTEX);
    if (connectString == ":memory:") return flags | SQLITE_OPEN_CREATE;
    if (connectString.compare(0, 5, "file:") == 0) {
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

}  // namespace

std::unique_ptr<ConnectionImpl> ConnectionImpl::open(const std::string& user,
                                                     const std::string& password,
                                                     const std::string& connectString,
                                                     Charset charset, bool unmutexed) {
    if (connectString.empty()) unresolvable();
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(connectString.c_str(), &raw, openFlags(connectString, unmutexed),
                             nullptr);
    SqliteDb db(raw);
    if (rc != SQLITE_OK) {
        if (rc == SQLITE_CANTOPEN || rc == SQLITE_NOTADB || rc == SQLITE_MISUSE ||
            (rc & 0xff) == SQLITE_CANTOPEN)
            unresolvable();
        raiseSqlite(db.get(), rc);
    }
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    // Reading the schema is the first real access: a file that is not a database fails here.
    rc = sqlite3_exec(db.get(), "PRAGMA schema_version", nullptr, nullptr, nullptr);
    if (rc == SQLITE_NOTADB) unresolvable();
    if (rc != SQLITE_OK) raiseSqlite(db.get(), rc);
    // WAL lets readers of other sessions see committed data while one session writes. An
    // in-memory database keeps its own journal mode: the pragma answers and changes nothing.
    sqlite3_exec(db.get(), "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    execSql(db.get(), "PRAGMA foreign_keys=ON");
    registerSessionFunctions(db.get());
    AccountStore(db.get(), upperAscii(user)).verifyLogon(user, password);
    return std::unique_ptr<ConnectionImpl>(
        new ConnectionImpl(std::move(db), upperAscii(user), charset));
}

ConnectionImpl::ConnectionImpl(SqliteDb db, std::string schema, Charset charset)
    : db_(std::move(db)), authorizer_(db_.get()), schema_(std::move(schema)), charset_(charset) {
    liveAdd(Live::Connection, 1);
}

ConnectionImpl::~ConnectionImpl() {
    while (!statements_.empty()) statements_.pop_back();
    // A normal logoff commits, as Oracle's client does; if that fails nothing half-done stays.
    if (inTransaction() &&
        sqlite3_exec(db_.get(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
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
    rollbackWork();
}

occi::MetaData ConnectionImpl::getMetaData(const std::string& object,
                                           occi::MetaData::ParamType) const {
    checkFault("Connection::getMetaData");
    return describeObject(db_.get(), schema_, object);
}

bool ConnectionImpl::inTransaction() const { return sqlite3_get_autocommit(db_.get()) == 0; }

void ConnectionImpl::beginWork() {
    // IMMEDIATE takes the write lock now, waiting out other writers, so a transaction never
    // fails half-way for want of the lock.
    if (!inTransaction()) execSql(db_.get(), "BEGIN IMMEDIATE");
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
    if (lost_)
        raise(2091, "transaction rolled back: an earlier failure lost the whole transaction; "
                    "ROLLBACK to go on");
}

occi::SQLException ConnectionImpl::withLossNoted(const occi::SQLException& failure) {
    if (!transactionLost()) return failure;
    // An Oracle error stack: the statement's own error, then what it did to the transaction.
    return Access::error(failure.getErrorCode(),
                         std::string(failure.what()) + makeError(2091, "transaction rolled back: the whole "
                                                          "transaction was lost with this "
                                                          "statement; DML and COMMIT fail until "
                                                          "ROLLBACK")
                                              .what());
}

}  // namespace detail
}  // namespace kavexdb
