// LOBs larger than memory chunks: temporary LOBs kept in temporary storage, binds written into
// their rows, values read lazily from rows, and what transactions do to them.
#include "client_fixture.h"

namespace clienttest {
namespace {

namespace kt = kavexdb::testing;

const char* const kBlock = "begin dbms_lob.createtemporary(:p1, FALSE); end;";
// More than the storage's chunks (1 MiB), with a piece that ends mid-chunk.
const std::size_t kLarge = 5 * 1024 * 1024 + 12345;

std::string bytesOf(std::size_t size, int seed) {
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>((i * 131 + seed) >> 3);
    return out;
}

std::string textOf(std::size_t size) {
    std::string out;
    for (int i = 0; out.size() < size; ++i) out += "line " + std::to_string(i) + " caf\xC3\xA9 \xE2\x82\xAC\n";
    return out;
}

class LobStorage : public ::testing::Test {
protected:
    LobStorage() : s(db.create()) {
        s.exec("create table t (id number(10), c clob, b blob, b2 blob)");
    }

    template <class Lob>
    Lob temporary(Type type, const std::string& data, std::size_t chunk = 65521) {
        Statement* block = s.conn()->createStatement(kBlock);
        block->registerOutParam(1, type);
        block->execute();
        Lob lob;
        if constexpr (std::is_same<Lob, Clob>::value)
            lob = block->getClob(1);
        else
            lob = block->getBlob(1);
        s.conn()->terminateStatement(block);
        Stream* out = lob.getStream(1, 0);
        std::string copy = data;
        for (std::size_t at = 0; at < copy.size(); at += chunk)
            out->writeBuffer(&copy[at], static_cast<unsigned>(std::min(chunk, copy.size() - at)));
        out->writeLastBuffer(nullptr, 0);
        lob.closeStream(out);
        return lob;
    }

    template <class Lob>
    static std::string read(Lob lob, unsigned offset = 1, unsigned amount = 0,
                            unsigned piece = 100000) {
        std::string out;
        Stream* in = lob.getStream(offset, amount);
        std::string buffer(piece, '\0');
        for (int n; (n = in->readBuffer(&buffer[0], piece)) > 0;) out.append(buffer.data(), n);
        lob.closeStream(in);
        return out;
    }

    Statement* query(const std::string& sql) {
        Statement* q = s.conn()->createStatement(sql);
        q->execute();
        return q;
    }

    void insert(int id, const Clob& c, const Blob& b) {
        Statement* ins = s.conn()->createStatement("insert into t (id, c, b) values (:1, :2, :3)");
        ins->setInt(1, id);
        ins->setClob(2, c);
        ins->setBlob(3, b);
        ins->execute();
        s.conn()->terminateStatement(ins);
    }

    FileDb db;
    Session s;
};

TEST_F(LobStorage, LargeTemporaryLobsArriveWholeInTheirRows) {
    const std::string text = textOf(kLarge), bytes = bytesOf(kLarge, 1);
    Clob c = temporary<Clob>(OCCICLOB, text);
    Blob b = temporary<Blob>(OCCIBLOB, bytes);
    EXPECT_EQ(bytes.size(), b.length());
    std::size_t characters = 0;
    for (char ch : text) characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    EXPECT_EQ(characters, c.length());
    EXPECT_EQ(read(c), text);
    EXPECT_EQ(read(b, 1048570, 20), bytes.substr(1048569, 20));  // across a chunk boundary
    insert(1, c, b);
    s.conn()->commit();
    EXPECT_EQ(std::to_string(bytes.size()), s.one("select length(b) from t"));
    EXPECT_EQ("text", s.one("select typeof(c) from t")) << "a CLOB is stored as text";
    EXPECT_EQ(std::to_string(characters), s.one("select length(c) from t"));
    Statement* q = query("select c, b from t where id = 1");
    ResultSet* rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_TRUE(read(rs->getClob(1)) == text);
    EXPECT_TRUE(read(rs->getBlob(2)) == bytes);
    EXPECT_EQ(c.length(), rs->getClob(1).length());
    s.conn()->terminateStatement(q);
}

TEST_F(LobStorage, WritesInsideStoredChunks) {
    std::string bytes = bytesOf(3 * 1024 * 1024, 2);
    Blob b = temporary<Blob>(OCCIBLOB, bytes);
    Stream* w = b.getStream(1048575, 0);  // across the first chunk's end
    char patch[] = "PATCH";
    w->writeBuffer(patch, 5);
    b.closeStream(w);
    bytes.replace(1048574, 5, "PATCH");
    EXPECT_TRUE(read(b) == bytes);

    // A character overwritten by one of another width, deep inside a CLOB.
    std::string text(3 * 1024 * 1024, 'a');
    Clob c = temporary<Clob>(OCCICLOB, text);
    w = c.getStream(2000000, 0);
    char euro[] = "\xE2\x82\xAC";
    w->writeBuffer(euro, 3);
    c.closeStream(w);
    EXPECT_EQ(text.size(), c.length());
    text.replace(1999999, 1, euro);
    EXPECT_TRUE(read(c) == text);
    EXPECT_EQ(euro, read(c, 2000000, 1));
}

TEST_F(LobStorage, RowsReadLazilyGiveWhatIsAskedFor) {
    const std::string text = textOf(kLarge), bytes = bytesOf(kLarge, 3);
    insert(1, temporary<Clob>(OCCICLOB, text), temporary<Blob>(OCCIBLOB, bytes));
    insert(2, Clob(), temporary<Blob>(OCCIBLOB, ""));
    s.exec("update t set b2 = b where id = 1");
    s.conn()->commit();
    // Every select list form that names the LOB columns, with and without aliases.
    for (const char* sql :
         {"select id, c, b, b2 from t order by id", "select * from t order by 1",
          "select x.id, x.c, x.b as bb, x.b2 from t x where x.id > 0 order by x.id",
          "select id, c, b, b2 from t where id in (select id from t) order by id",
          "select a.id, a.c, a.b, b.b2 from t a join t b on a.id = b.id order by 1"}) {
        SCOPED_TRACE(sql);
        Statement* q = query(sql);
        q->setPrefetchRowCount(10);
        ResultSet* rs = q->getResultSet();
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        Blob b = rs->getBlob(3);
        EXPECT_EQ(bytes.size(), b.length());
        EXPECT_EQ(bytes.substr(0, 2000), read(b, 1, 2000, 128));
        EXPECT_EQ(bytes.substr(kLarge - 10), read(b, kLarge - 9, 0, 7));
        EXPECT_EQ(text.substr(0, 9), read(rs->getClob(2), 1, 9, 128));
        EXPECT_EQ("line 0 caf\xC3\xA9", read(rs->getClob(2), 1, 11, 128));
        EXPECT_TRUE(rs->getString(2) == text);
        EXPECT_EQ(bytes.size(), rs->getBytes(4).length());
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        EXPECT_TRUE(rs->isNull(2));
        EXPECT_FALSE(rs->isNull(3)) << "an empty BLOB is not NULL";
        EXPECT_EQ(0u, rs->getBlob(3).length());
        EXPECT_TRUE(rs->getClob(2).isNull());
        EXPECT_EQ(ResultSet::END_OF_FETCH, rs->next());
        // Still readable after the cursor moved on.
        EXPECT_EQ(bytes.substr(100, 5), read(b, 101, 5));
        s.conn()->terminateStatement(q);
        EXPECT_EQ(bytes.substr(200, 5), read(b, 201, 5));
    }
}

TEST_F(LobStorage, LocatorsKeepTheValueTheyWereReadWith) {
    const std::string bytes = bytesOf(kLarge, 4);
    insert(1, Clob(), temporary<Blob>(OCCIBLOB, bytes));
    s.conn()->commit();
    Statement* q = query("select b from t");
    ResultSet* rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    Blob before = rs->getBlob(1);
    s.conn()->terminateStatement(q);
    s.exec("update t set b = hextoraw('00')");
    s.exec("delete from t");
    s.conn()->commit();
    EXPECT_EQ(bytes.size(), before.length());
    EXPECT_TRUE(read(before) == bytes);
    s.exec("insert into t (id, b) values (2, hextoraw('0102'))");
    q = query("select b from t");
    rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    Blob small = rs->getBlob(1);
    s.conn()->terminateStatement(q);
    s.close();  // the session goes; the locator keeps its value
    EXPECT_EQ(std::string("\x01\x02"), read(small));
}

TEST_F(LobStorage, RollbackDropsTheWrittenLobAndKeepsTheTemporary) {
    const std::string bytes = bytesOf(kLarge, 5);
    Blob b = temporary<Blob>(OCCIBLOB, bytes);
    insert(1, Clob(), b);
    EXPECT_EQ(std::to_string(bytes.size()), s.one("select length(b) from t"));
    s.conn()->rollback();
    EXPECT_EQ("<none>", s.one("select length(b) from t"));
    EXPECT_EQ(bytes.size(), b.length()) << "a temporary LOB is outside transactions";
    insert(2, Clob(), b);
    s.conn()->commit();
    s.conn()->rollback();
    Statement* q = query("select b from t where id = 2");
    ResultSet* rs = q->getResultSet();
    ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
    EXPECT_TRUE(read(rs->getBlob(1)) == bytes);
    s.conn()->terminateStatement(q);
}

TEST_F(LobStorage, OneTemporaryBoundTwiceAndInUpdates) {
    const std::string bytes = bytesOf(kLarge, 6), other = bytesOf(kLarge + 7, 7);
    Blob b = temporary<Blob>(OCCIBLOB, bytes);
    Statement* ins = s.conn()->createStatement("insert into t (id, b, b2) values (:1, :2, :3)");
    ins->setInt(1, 1);
    ins->setBlob(2, b);
    ins->setBlob(3, b);
    ins->execute();
    ins->setInt(1, 2);
    ins->execute();  // the same binds again
    s.conn()->terminateStatement(ins);
    EXPECT_EQ("2", s.one("select count(*) from t where b = b2 and length(b) = " +
                         std::to_string(bytes.size())));
    EXPECT_EQ("0", s.one("select count(*) from t where substr(b, 5000000, 3) = zeroblob(3)"));

    Statement* up = s.conn()->createStatement("update t set b2 = :v where id >= :k");
    up->setBlob(1, temporary<Blob>(OCCIBLOB, other));
    up->setInt(2, 1);
    EXPECT_EQ(2u, up->executeUpdate());
    s.conn()->terminateStatement(up);
    s.conn()->commit();
    Statement* q = query("select b, b2 from t order by id");
    ResultSet* rs = q->getResultSet();
    for (int row = 0; row < 2; ++row) {
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        EXPECT_TRUE(read(rs->getBlob(1)) == bytes);
        EXPECT_TRUE(read(rs->getBlob(2)) == other);
    }
    s.conn()->terminateStatement(q);
}

TEST_F(LobStorage, ContentsAreFreedWithTheirLastLocator) {
    const long before = kt::liveCounts().lobContents;
    {
        Blob b = temporary<Blob>(OCCIBLOB, bytesOf(kLarge, 8));
        Clob c = temporary<Clob>(OCCICLOB, textOf(kLarge));
        insert(1, c, b);
        Statement* q = query("select c, b from t");
        ResultSet* rs = q->getResultSet();
        ASSERT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        Clob lazy = rs->getClob(1);
        EXPECT_EQ(before + 3, kt::liveCounts().lobContents);
        s.conn()->terminateStatement(q);
        EXPECT_GT(lazy.length(), 0u);
    }
    EXPECT_EQ(before, kt::liveCounts().lobContents);
    // A temporary bound and dropped many times leaves nothing behind.
    for (int i = 0; i < 20; ++i) insert(10 + i, Clob(), temporary<Blob>(OCCIBLOB, bytesOf(2500000, i)));
    EXPECT_EQ(before, kt::liveCounts().lobContents);
    EXPECT_EQ("20", s.one("select count(*) from t where id >= 10 and length(b) = 2500000"));
}

}  // namespace
}  // namespace clienttest
