// A SQLite VFS for tests that fails like a filling disk or a racing writer: "kavex-failing",
// the platform's default VFS underneath. Name it in a connect string:
// "file:/path/x.db?vfs=kavex-failing&mode=rwc".
#ifndef KAVEXDB_TESTS_FAILING_VFS_H
#define KAVEXDB_TESTS_FAILING_VFS_H

namespace clienttest {

// Registers the VFS once; returns its name.
const char* failingVfs();

// From now, writes (to any file of the VFS) fail with SQLITE_FULL once `bytes` more bytes were
// written; a negative value lifts the limit.
void failWritesAfter(long long bytes);
// The next `count` reads of a write-ahead log fail with SQLITE_IOERR_SHORT_READ, as reads of a
// log that another session is restarting do.
void failNextReads(int count);
// Lifts both limits.
void resetFailingVfs();

}  // namespace clienttest

#endif
