// The temporary-LOB block and LOB binds: empty, small and large values written in chunks.
#include "client_fixture.h"

namespace clienttest {
namespace {

namespace kt = kavexdb::testing;

class ClientTempLob : public ::testing::Test {
protected:
    ClientTempLob() : s(memdb(), "u", "p", "utf8") {
        s.exec("create table t (id integer, c clob, b blob)");
    }

    template <class Lob>
    Lob temporary(Type type, const std::string& data, std::size_t chunk) {
        return temporaryLob<Lob>(s.conn(), type, data, chunk);
    }

    void insert(int id, const Clob& c, const Blob& b) {
        Statement* ins = s.conn()->createStatement("insert into t values (:1, :2, :3)");
        ins->setInt(1, id);
        ins->setClob(2, c);
        ins->setBlob(3, b);
        ins->execute();
        s.conn()->terminateStatement(ins);
    }

    template <class Lob>
    static std::string readAll(Lob lob) {
        std::string out;
        if (lob.isNull()) return out;
        Stream* in = lob.getStream(1, 0);
        char buf[65536];
        int n;
        while ((n = in->readBuffer(buf, sizeof buf)) > 0) out.append(buf, n);
        lob.closeStream(in);
        return out;
    }

    std::pair<std::string, std::string> row(int id) {
        Statement* q =
            s.conn()->createStatement("select c, b from t where id = " + std::to_string(id));
        q->execute();
        ResultSet* rs = q->getResultSet();
        EXPECT_EQ(ResultSet::DATA_AVAILABLE, rs->next());
        auto out = std::make_pair(readAll(rs->getClob(1)), readAll(rs->getBlob(2)));
        s.conn()->terminateStatement(q);
        return out;
    }

    Session s;
};

TEST_F(ClientTempLob, EmptySmallAndLargeValues) {
    std::string text, bytes;
    for (int i = 0; text.size() < 3 * 1024 * 1024; ++i) text += "line " + std::to_string(i) + " \xC3\xA9\xE2\x82\xAC\n";
    for (int i = 0; i < 2 * 1024 * 1024; ++i) bytes += static_cast<char>(i * 7);
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"abc", std::string("\0\1\2", 3)}, {text, bytes}};
    int id = 0;
    for (const auto& c : cases) {
        ++id;
        // Odd chunk sizes split the two- and three-byte characters between writes.
        insert(id, temporary<Clob>(OCCICLOB, c.first, 65535),
               temporary<Blob>(OCCIBLOB, c.second, 65535));
        auto got = row(id);
        EXPECT_EQ(c.first.size(), got.first.size()) << id;
        EXPECT_TRUE(c.first == got.first) << id;
        EXPECT_TRUE(c.second == got.second) << id;
    }
    EXPECT_EQ("0", s.one("select length(c) from t where id = 1")) << "empty, not NULL";
}

TEST_F(ClientTempLob, CharactersSplitAcrossEveryChunkBoundary) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // 1-, 2-, 3-, 4-byte
    for (std::size_t chunk = 1; chunk <= 4; ++chunk) {
        insert(static_cast<int>(chunk), temporary<Clob>(OCCICLOB, text, chunk), Blob());
        const std::string id = std::to_string(chunk);
        EXPECT_EQ("5", s.one("select length(c) from t where id = " + id)) << chunk;
        EXPECT_EQ("F09F9880", s.one("select hex(substr(c, 4, 1)) from t where id = " + id));
        // Delivered under "utf8": the supplementary character as a surrogate pair.
        EXPECT_EQ("a\xC3\xA9\xE2\x82\xAC\xED\xA0\xBD\xED\xB8\x80z", row(static_cast<int>(chunk)).first);
    }
}

TEST_F(ClientTempLob, NullLocatorsBindNull) {
    insert(1, Clob(), Blob());
    EXPECT_EQ("<null>", s.one("select c from t"));
}

TEST_F(ClientTempLob, BlockIsCaseAndSpacingFree) {
    Statement* block =
        s.conn()->createStatement("BEGIN\n  DBMS_LOB.CreateTemporary( :lob ,false ) ;\nEND ;");
    block->registerOutParam(1, OCCIBLOB);
    block->executeUpdate();
    EXPECT_FALSE(block->getBlob(1).isNull());
    EXPECT_EQ(0u, block->getBlob(1).length());
    EXPECT_EQ(932, oraCode([&] { block->getClob(1); }));
    s.conn()->terminateStatement(block);
}

TEST_F(ClientTempLob, BfileAndBytesFailAsOracleDoes) {
    for (Type type : {OCCIBFILE, OCCIBYTES}) {
        Statement* block = s.conn()->createStatement(kTemporaryLobBlock);
        block->registerOutParam(1, type);
        std::string msg = oraMessage([&] { block->executeUpdate(); });
        EXPECT_EQ(0u, msg.find("ORA-06550: line 1, column 7:\nPLS-00306: wrong number or types "
                               "of arguments in call to 'CREATETEMPORARY'\n"))
            << msg;
        EXPECT_NE(0, oraCode([&] { block->getBfile(1); }));
        s.conn()->terminateStatement(block);
    }
    Statement* unregistered = s.conn()->createStatement(kTemporaryLobBlock);
    EXPECT_EQ(1008, oraCode([&] { unregistered->executeUpdate(); }));
    s.conn()->terminateStatement(unregistered);
}

TEST_F(ClientTempLob, TemporaryContentLivesUntilItsLastLocator) {
    const long before = kt::liveCounts().lobContents;
    {
        Clob c = temporary<Clob>(OCCICLOB, "abc", 2);
        Clob copy = c;
        EXPECT_EQ(before + 1, kt::liveCounts().lobContents);
        insert(1, copy, Blob());
    }
    EXPECT_EQ(before, kt::liveCounts().lobContents);
    EXPECT_EQ("abc", row(1).first);
}

}  // namespace
}  // namespace clienttest
