// libFuzzer target: SQL text as a careless or hostile host might send it. Each input is one or
// more statements (split at NUL bytes) run through the flat exports on one session of a fresh
// in-memory database, with a few rows of every query fetched and read as text, each statement
// committed as it ends. Errors are the expected answer to most inputs; a crash, a sanitizer
// report or a call that cancelling does not stop is a fault. Built with
// -fsanitize=fuzzer,address,undefined (the fuzz preset); seeded from the statements of the SQL
// corpus (tests/sql) and guided by a dictionary of Oracle's keywords (oracle_sql.dict).
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "kavex_oracleociw.h"

namespace {

// A call that runs past its budget is cancelled, as a host with a timeout cancels it: SQL that
// is merely slow (a loop without end, a join of millions of rows) is no fault, but a call that
// does not stop once cancelled is one, and the fuzzer's -timeout reports it.
class Watchdog {
public:
    Watchdog() : thread_([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

    // Between arm and disarm, the session's call is cancelled once the budget has passed.
    void arm(int session) {
        std::lock_guard<std::mutex> lock(mutex_);
        session_ = session;
        deadline_ = std::chrono::steady_clock::now() + kBudget;
        armed_ = true;
        wake_.notify_all();
    }
    void disarm() {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = false;
    }

private:
    static constexpr std::chrono::milliseconds kBudget{1000};

    void watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stop_) {
            if (!armed_) {
                wake_.wait(lock);
            } else if (std::chrono::steady_clock::now() >= deadline_) {
                SetIntSessionProperty(session_, KAVEX_PROPERTY_CANCEL, 1);
                armed_ = false;
            } else {
                wake_.wait_until(lock, deadline_);
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool armed_ = false;
    int session_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;
};

Watchdog& watchdog() {
    static Watchdog w;
    return w;
}

// Runs one statement and reads up to three rows of what it returns, each call on a budget.
void runStatement(int session, const std::string& sql) {
    Watchdog& w = watchdog();
    w.arm(session);
    const int result = ExecuteQuery(session, sql.c_str(), 1);
    w.disarm();
    if (result < 0) return;
    const int columns = GetColumnsCount(session);
    for (int row = 0; row < 3 && columns > 0; ++row) {
        w.arm(session);
        const int next = NextRow(session);
        w.disarm();
        if (next != 1) break;
        KavexPointerRecord value;
        for (int column = 0; column < columns; ++column) GetString(session, column, &value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 64 * 1024) return 0;  // statement size has its own tests
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int session = OpenConnection("file:/sql_fuzz?vfs=memdb", "scott", "tiger");
    if (session < 0) return 0;
    std::size_t start = 0;
    for (int statements = 0; start <= text.size() && statements < 8; ++statements) {
        std::size_t end = text.find('\0', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) runStatement(session, text.substr(start, end - start));
        start = end + 1;
    }
    CloseConnection(session);
    return 0;
}
