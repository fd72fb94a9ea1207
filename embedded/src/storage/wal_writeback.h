// Early write-back of a session's write-ahead log.
//
// A LOB is inserted as a zeroblob and then filled in, so within one transaction each of its pages
// reaches the log twice: as zeros when the page cache spills, then with the bytes, written over
// the first frame in place. At the commit the log's sync then writes the whole LOB to the disk
// while the committing thread waits. The VFS here is SQLite's default one, except that in a
// write-ahead log it hands bytes written over again since the last sync to the disk in pieces as
// they come (Linux's sync_file_range, which only starts the writing), from a thread the log's
// file starts at the first such piece and joins when it closes. The commit still syncs the log
// as before, and so is as durable; the disk has then done most of the work. Bytes written once
// (the zeros, or a transaction of new rows) are left to the sync, so that zeros about to be
// overwritten never go to the disk.
//
// The same VFS counts the temporary files SQLite opens during a session's call against the
// session's temporary disk limit (temp_files.h).
#ifndef KAVEXDB_WAL_WRITEBACK_H
#define KAVEXDB_WAL_WRITEBACK_H

namespace kavexdb {
namespace detail {

// The name of that VFS, registered (not as the default) at the first call; null where the
// platform cannot start write-back early, which leaves a connection on SQLite's default VFS. A
// URI connect string's own vfs parameter still takes precedence.
const char* writebackVfsName();

}  // namespace detail
}  // namespace kavexdb

#endif
