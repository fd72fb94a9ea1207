// A session on one SQLite database: its schema, its statements and its transaction.
#ifndef KAVEXDB_CONNECTION_H
#define KAVEXDB_CONNECTION_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/charset.h"
#include "base/temp_space.h"
#include "catalog/authorizer.h"
#include "occi/bind_values_table.h"
#include "occi/call_cancel.h"
#include "plsql/output_buffer.h"
#include "plsql/packages.h"
#include "sql/sqlite_util.h"
#include "storage/lob_content.h"
#include "storage/lob_storage.h"
#include "storage/wal_checkpointer.h"

// What OCIBreak reaches through the service context handle: the connection's cancelling.
struct OCISvcCtx {
    kavexdb::detail::CallCancel* cancel;
};

namespace kavexdb {
namespace detail {

class StatementImpl;
class TriggerFiring;

class ConnectionImpl final : public occi::Connection {
public:
    // Opens the database the connect string names and logs on; ORA-12154 when it cannot be
    // opened, ORA-01017 when the database's accounts refuse the user. Nothing is left behind
    // on failure.
    static std::unique_ptr<ConnectionImpl> open(const std::string& user,
                                                const std::string& password,
                                                const std::string& connectString,
                                                Charset charset, bool unmutexed);
    // Terminates the statements still open, newest first, commits what is open and closes.
    ~ConnectionImpl() override;

    occi::Statement* createStatement(const std::string& sql) override;
    void terminateStatement(occi::Statement* statement) override;
    void commit() override;
    void rollback() override;
    occi::MetaData getMetaData(const std::string& object,
                               occi::MetaData::ParamType prmtyp) const override;
    OCISvcCtx* getOCIServiceContext() const override { return &serviceContext_; }

    sqlite3* db() const { return db_.get(); }
    const std::string& schema() const { return schema_; }
    Charset charset() const { return charset_; }
    Authorizer& authorizer() { return authorizer_; }
    // Cancelling the running call from another thread (OCIBreak).
    CallCancel& cancel() { return cancel_; }
    // What the temporary files of the session's calls may hold at once (temp_limit).
    TempSpace& tempSpace() { return tempSpace_; }
    // The session's temporary LOB storage and lazily read LOB values.
    const std::shared_ptr<LobSession>& lobs() const { return lobs_; }
    // DBMS_OUTPUT's lines of the session's PL/SQL.
    plsql::OutputBuffer& output() { return output_; }
    // The session's instances of packages, with their variables' values.
    plsql::PackageSession& packages() { return packages_; }
    // The host binds the session's last anonymous block assigned (TABLE(KAVEX$BIND_VALUES)).
    AssignedBinds& assignedBinds() { return assignedBinds_; }
    // The session's triggers: compiled ones, and the rows they wrote for running statements.
    TriggerFiring& triggers() { return *triggers_; }
    // Before a statement changes data: LOB values read lazily keep what they were read with.
    void keepLobValues() { lobs_->detachAll(false); }

    // Opens a write transaction unless one is open (DML runs inside it until COMMIT).
    void beginWork();
    void commitWork();
    // Also ends the refusal that a lost transaction left (see requireIntactTransaction).
    void rollbackWork();
    bool inTransaction() const;

    // Statement-level atomicity. After some failures (disk full, I/O error, out of memory)
    // SQLite rolls back the whole open transaction, where Oracle undoes only the failing
    // statement. Once that happened to work the session had done, DML, DDL and COMMIT fail with
    // ORA-02091 until ROLLBACK, so what is left of the transaction is never committed.
    //
    // Call after a statement of the open transaction changed data.
    void workDone() { pendingWork_ = true; }
    bool hasPendingWork() const { return pendingWork_; }
    // True when earlier work of the session was lost since the last call; the refusal starts.
    bool transactionLost();
    // ORA-02091 while the refusal lasts.
    void requireIntactTransaction();
    // The failure of a statement, with a note when the transaction was lost with it.
    occi::SQLException withLossNoted(const occi::SQLException& failure);

private:
    ConnectionImpl(SqliteDb db, std::unique_ptr<WalCheckpointer> checkpointer,
                   std::string schema, Charset charset, bool unmutexed, std::int64_t tempLimit);

    // The temporary disk of the session's calls; before db_, so that it outlives the
    // temporary files counted against it.
    TempSpace tempSpace_;
    SqliteDb db_;
    CallCancel cancel_;  // after db_: its progress handler goes before the database closes
    mutable OCISvcCtx serviceContext_{&cancel_};
    // Checkpoints db_'s write-ahead log off the committing thread; null where SQLite's
    // automatic checkpoint stays (in memory, read-only, not WAL). Ends before db_ closes.
    std::unique_ptr<WalCheckpointer> checkpointer_;
    Authorizer authorizer_;  // after db_: removed before the database closes
    std::string schema_;
    Charset charset_;
    std::shared_ptr<LobSession> lobs_;
    std::vector<std::unique_ptr<StatementImpl>> statements_;
    plsql::OutputBuffer output_;
    // Before triggers_ and statements_ go: a package's prepared statements are the session's.
    plsql::PackageSession packages_;
    AssignedBinds assignedBinds_;
    std::unique_ptr<TriggerFiring> triggers_;  // its statements go before statements_
    bool pendingWork_ = false;  // the open transaction holds changes
    bool lost_ = false;         // ORA-02091 until ROLLBACK
};

}  // namespace detail
}  // namespace kavexdb

#endif
