// The threads the database starts for work of its own (checkpoints, asking the disk to write)
// take no signals. A signal sent to the whole process, such as Ctrl-C at a terminal, then always
// reaches one of the host's threads, which may keep it blocked until it is ready for it; were a
// thread of ours to take it, the handler would run there, and a host waiting for it in pselect or
// sigwait would not wake.
#ifndef KAVEXDB_BASE_QUIET_THREAD_H
#define KAVEXDB_BASE_QUIET_THREAD_H

#include <functional>
#include <thread>

namespace kavexdb {
namespace detail {

// Starts work on a thread with every signal blocked; the caller's own mask is left as it was.
// Throws std::system_error as std::thread does.
std::thread startQuietThread(std::function<void()> work);

}  // namespace detail
}  // namespace kavexdb

#endif
