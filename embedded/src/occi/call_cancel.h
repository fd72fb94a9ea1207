// Cancelling the call a session runs, from another thread: what OCIBreak does here. A request
// reaches the call through SQLite's progress handler, which stops the running statement with
// ORA-01013; the session stays usable.
//
// SQLite undoes an interrupted write by rolling back the whole open transaction, where Oracle
// undoes only the cancelled statement. So a call that writes in a transaction already holding
// changes is not stopped inside a statement: it looks at requested() between its statements
// (between the iterations of an array DML) and stops there.
#ifndef KAVEXDB_OCCI_CALL_CANCEL_H
#define KAVEXDB_OCCI_CALL_CANCEL_H

#include <sqlite3.h>

#include <atomic>
#include <mutex>

namespace kavexdb {
namespace detail {

class CallCancel {
public:
    // Where the running call can be stopped.
    enum class Reach {
        Idle,        // no call runs: a request is dropped
        Anywhere,    // inside any statement: losing what it changed loses nothing earlier
        Boundaries,  // only where the call asks requested()
    };

    // Installs the progress handler on db, which must outlive this object.
    explicit CallCancel(sqlite3* db);
    ~CallCancel();
    CallCancel(const CallCancel&) = delete;
    CallCancel& operator=(const CallCancel&) = delete;

    // Any thread: cancels the running call, if there is one.
    void request();
    // The session's thread: a request came for the running call.
    bool requested() const { return requested_.load(std::memory_order_acquire); }
    // Throws ORA-01013 when a request came.
    void stopIfRequested() const;
    // Between two iterations of a write: ORA-01013 when a request came; once the transaction
    // holds changes (the earlier iterations'), SQLite must not stop the next one.
    void betweenIterations(bool transactionHoldsChanges) {
        stopIfRequested();
        if (transactionHoldsChanges) setReach(Reach::Boundaries);
    }
    // Within a Scope: where the running call can be stopped from now on.
    void setReach(Reach reach) { reach_.store(reach, std::memory_order_release); }

    // One call on the session, from start to end. Scopes nest: an inner one sets the reach for
    // its part and gives the outer one's back; when the outermost ends, a request that came
    // too late to stop anything is dropped.
    class Scope {
    public:
        Scope(CallCancel& cancel, Reach reach);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        void setReach(Reach reach) { cancel_.setReach(reach); }

    private:
        CallCancel& cancel_;
        Reach outer_;
    };

private:
    static int onProgress(void* self);

    sqlite3* db_;
    std::mutex mutex_;  // orders requests against calls starting and ending
    std::atomic<Reach> reach_{Reach::Idle};
    std::atomic<bool> requested_{false};
};

}  // namespace detail
}  // namespace kavexdb

#endif
