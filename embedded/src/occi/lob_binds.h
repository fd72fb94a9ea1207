// Binding a LOB whose bytes are not in memory without building it there: the statement stores
// a zeroblob of the LOB's size, and the bytes are then written into the stored value with
// SQLite's incremental blob I/O, inside the statement's transaction. That needs to know where
// the value goes: the column of a rowid table that an INSERT ... VALUES or an UPDATE ... SET
// writes the parameter into whole. A CLOB goes so into a CLOB or NCLOB column only, where it is
// kept as a blob of its UTF-8 bytes: SQLite cannot make a text value without building it, and
// everything that reads the column takes such a blob for the text it holds.
#ifndef KAVEXDB_LOB_BINDS_H
#define KAVEXDB_LOB_BINDS_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include <sqlite3.h>

#include "storage/lob_content.h"

namespace kavexdb {
namespace detail {

struct LobTarget {
    bool known = false;
    bool clob = false;                  // a CLOB or NCLOB column
    std::string schema, table, column;  // schema: "main", "temp", ... as SQLite names it

    // Whether content, not in memory, is bound as a zeroblob and written after the step.
    bool streams(const LobContent& content) const {
        return known && !content.inMemory() && (!content.isClob || clob);
    }
};

// By SQLite parameter index of stmt (0 unused). sql is the statement's SQLite text.
std::vector<LobTarget> findLobTargets(sqlite3* db, sqlite3_stmt* stmt, const std::string& sql);

// Collects the rows one step stores and then writes the LOBs bound as zeroblobs into them.
class LobRowWriter {
public:
    explicit LobRowWriter(sqlite3* db) : db_(db) {}
    ~LobRowWriter();
    LobRowWriter(const LobRowWriter&) = delete;
    LobRowWriter& operator=(const LobRowWriter&) = delete;

    bool empty() const { return pending_.empty(); }
    // Binds a zeroblob of the content's size to parameter index and notes what goes there.
    int bind(sqlite3_stmt* stmt, int index, const LobTarget& target, const LobContent* content);
    // Call around the step: notes the rows it inserts or updates.
    void watch();
    void unwatch();
    // After a successful step: writes each content into its column of the rows noted.
    void write();
    // Forgets the bound contents and rows (after each iteration).
    void clear();

private:
    struct Pending {
        LobTarget target;
        const LobContent* content;
    };
    struct Row {
        std::string schema, table;
        std::int64_t rowid;
    };
    static void noteRow(void* self, int op, const char* schema, const char* table,
                        sqlite3_int64 rowid);

    sqlite3* db_;
    std::vector<Pending> pending_;
    std::vector<Row> rows_;
    bool watching_ = false;
};

}  // namespace detail
}  // namespace kavexdb

#endif
