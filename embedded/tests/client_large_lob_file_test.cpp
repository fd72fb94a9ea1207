// LOBs many times the page cache, inserted into a file database: the log the session writes is
// one plain SQLite reads (another program on the same file, and the file after the session
// closed), with the committed value whole and nothing of a value rolled back.
#include <sqlite3.h>

#include "client_fixture.h"

namespace clienttest {
namespace {

std::string pattern(std::size_t size, unsigned seed) {
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>((i * seed) >> 7 ^ seed);
    return out;
}

// Opened with SQLite's default VFS, as another program would.
class PlainReader {
public:
    explicit PlainReader(const std::string& path) {
        EXPECT_EQ(SQLITE_OK, sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr));
    }
    ~PlainReader() { sqlite3_close(db_); }

    std::string blob(int id) {
        std::string out;
        sqlite3_stmt* q = nullptr;
        sqlite3_prepare_v2(db_, "SELECT B FROM T WHERE ID = ?", -1, &q, nullptr);
        sqlite3_bind_int(q, 1, id);
        if (sqlite3_step(q) == SQLITE_ROW)
            out.assign(static_cast<const char*>(sqlite3_column_blob(q, 0)),
                       static_cast<std::size_t>(sqlite3_column_bytes(q, 0)));
        sqlite3_finalize(q);
        return out;
    }

    std::string check() {
        sqlite3_stmt* q = nullptr;
        sqlite3_prepare_v2(db_, "PRAGMA integrity_check", -1, &q, nullptr);
        std::string out = sqlite3_step(q) == SQLITE_ROW
                              ? reinterpret_cast<const char*>(sqlite3_column_text(q, 0))
                              : "no row";
        sqlite3_finalize(q);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};

void insert(Session& s, int id, const Blob& b, const std::string& after) {
    Statement* ins = s.conn()->createStatement("insert into t values (:1, :2, :3)");
    ins->setInt(1, id);
    ins->setBlob(2, b);
    ins->setString(3, after);
    ins->execute();
    s.conn()->terminateStatement(ins);
}

TEST(ClientLargeLobFile, CommittedValuesAreWholeToPlainSqliteAndRolledBackOnesAreGone) {
    FileDb file;
    const std::string first = pattern(40 << 20, 131), second = pattern((24 << 20) + 5, 77),
                      discarded = pattern(30 << 20, 3);
    {
        Session s(file.create());
        s.exec("create table t (id number(10), b blob, after varchar2(10))");
        insert(s, 1, temporaryLob<Blob>(s.conn(), OCCIBLOB, first, 1 << 20), "");
        s.exec("commit");
        {
            PlainReader other(file.path);
            EXPECT_TRUE(other.blob(1) == first);
        }
        insert(s, 2, temporaryLob<Blob>(s.conn(), OCCIBLOB, second, 999999), "");
        insert(s, 3, temporaryLob<Blob>(s.conn(), OCCIBLOB, discarded, 1 << 20), "");
        s.exec("rollback");
        insert(s, 2, temporaryLob<Blob>(s.conn(), OCCIBLOB, second, 65536), "x");
        s.exec("commit");
        EXPECT_EQ("1", s.one("select count(*) from t where id = 2 and dbms_lob.getlength(b) = " +
                             std::to_string(second.size())));
        EXPECT_EQ("<none>", s.one("select id from t where id = 3"));
    }
    PlainReader after(file.path);
    EXPECT_EQ("ok", after.check());
    EXPECT_TRUE(after.blob(1) == first);
    EXPECT_TRUE(after.blob(2) == second);
    EXPECT_TRUE(after.blob(3).empty());
}

}  // namespace
}  // namespace clienttest
