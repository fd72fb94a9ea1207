// Streaming parameter values into temporary LOBs in chunks, and the states of a streamed
// parameter: streaming, broken, posted.
#include <gtest/gtest.h>
#include <kavexdb/test_support.h>

#include <algorithm>
#include <string>

#include "flat_host.h"
#include "kavex_oracleociw.h"

namespace {

using flathost::errorText;
namespace kt = kavexdb::testing;

std::string streamText(int index) {
    return "Cannot stream BLOB/CLOB type value of [" + std::to_string(index) +
           "] parameter to server";
}

std::string postText(int index) {
    return "Cannot post BLOB/CLOB type value of [" + std::to_string(index) + "] parameter";
}

class LobStreamingTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = flathost::open(flathost::memoryDatabase());
        flathost::run(session, "create table l (k NUMBER(10), c CLOB, b BLOB, r LONG RAW)");
        ASSERT_EQ(SetIntSessionProperty(session, 1, 1 << 20), 0);
    }
    void TearDown() override {
        kt::clearFaults();
        CloseConnection(session);
    }
    // Sends `value` in chunks of `chunk` bytes; returns false on the first failure.
    bool stream(int index, int kind, const std::string& value, std::size_t chunk) {
        for (std::size_t at = 0; at < value.size(); at += chunk) {
            const std::size_t size = std::min(chunk, value.size() - at);
            const int written =
                StreamParameterToLob(session, index, kind, value.data() + at, unsigned(size));
            if (written != static_cast<int>(size)) {
                ADD_FAILURE() << written << ": " << errorText(written);
                return false;
            }
        }
        return true;
    }
    std::string readBack(const std::string& columnName, bool asBytes) {
        const std::string sql = "select " + columnName + " from l where k = 1";
        EXPECT_EQ(ExecuteQuery(session, sql.c_str(), 0), 0);
        EXPECT_EQ(NextRow(session), 1);
        return asBytes ? flathost::bytes(session, 0) : flathost::text(session, 0);
    }

    int session = 0;
};

TEST_F(LobStreamingTest, ChunksOfEveryKindArriveWhole) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "caf\xC3\xA9 \xE2\x82\xAC" + std::to_string(i) + " ";  // multi-byte across chunks
    }
    std::string binary;
    for (int i = 0; i < 70000; ++i) {
        binary += static_cast<char>(i * 7 % 256);
    }
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, c, b, r) values (1, :1, :2, :3)", 0), 0);
    ASSERT_TRUE(stream(1, 112, text, 4093));
    ASSERT_TRUE(stream(2, 113, binary, 8191));
    ASSERT_TRUE(stream(3, 24, binary.substr(0, 30000), 7000));
    EXPECT_EQ(StreamParameterToLobLast(session, 1), 0);
    EXPECT_EQ(StreamParameterToLobLast(session, 2), 0);
    EXPECT_EQ(StreamParameterToLobLast(session, 3), 0);
    ASSERT_EQ(Execute(session), 1) << errorText(Execute(session));
    EXPECT_EQ(readBack("c", false), text);
    EXPECT_EQ(readBack("b", true), binary);
    EXPECT_EQ(readBack("r", true), binary.substr(0, 30000));
}

TEST_F(LobStreamingTest, LaterChunksIgnoreTheirKind) {
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, c, r, b) values (:1, :2, :3, :4)", 0), 0);
    ASSERT_EQ(SetInt(session, 1, 1, 0), 0);
    ASSERT_EQ(SetNull(session, 2, 112), 0);
    ASSERT_EQ(SetNull(session, 3, 24), 0);
    const std::string first(1000, 'a');
    const std::string second(500, 'b');
    EXPECT_EQ(StreamParameterToLob(session, 4, 113, first.data(), 1000), 1000);
    EXPECT_EQ(StreamParameterToLob(session, 4, 2, second.data(), 500), 500);
    EXPECT_EQ(StreamParameterToLob(session, 4, 113, nullptr, 0), 0);
    EXPECT_EQ(StreamParameterToLobLast(session, 4), 0);
    // Posted: nothing more until the statement is replaced; a rerun does not reset it.
    EXPECT_EQ(errorText(StreamParameterToLob(session, 4, 113, "x", 1)), streamText(4));
    EXPECT_EQ(errorText(StreamParameterToLobLast(session, 4)), postText(4));
    ASSERT_EQ(Execute(session), 1) << errorText(-12);
    EXPECT_EQ(errorText(StreamParameterToLob(session, 4, 113, "x", 1)), streamText(4));
    EXPECT_EQ(readBack("b", true), first + second);
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, c, r, b) values (:1, :2, :3, :4)", 0), 0);
    EXPECT_EQ(StreamParameterToLob(session, 4, 113, "x", 1), 1);
}

TEST_F(LobStreamingTest, KindThatIsNoLobBreaksTheIndex) {
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, b) values (1, :4)", 0), 0);
    EXPECT_EQ(errorText(StreamParameterToLob(session, 4, 2, "abc", 3)), streamText(4));
    EXPECT_EQ(errorText(StreamParameterToLob(session, 4, 113, "abc", 3)), streamText(4));
    EXPECT_EQ(errorText(StreamParameterToLobLast(session, 4)), postText(4));
    EXPECT_EQ(errorText(StreamParameterToLobLast(session, 5)), postText(5));  // never started
    EXPECT_EQ(kt::liveCounts().lobContents, 0);
}

TEST_F(LobStreamingTest, FailedSetUpKeepsItsStatementAndPostsANullLob) {
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, b) values (1, :1)", 0), 0);
    kt::injectFault("Statement::executeUpdate", 1, kt::FaultKind::SqlException, 6550,
                    "ORA-06550: line 1, column 7\n");
    EXPECT_EQ(errorText(StreamParameterToLob(session, 1, 113, "abc", 3)),
              "ORA-06550: line 1, column 7\n");
    EXPECT_EQ(errorText(StreamParameterToLob(session, 1, 113, "abc", 3)), streamText(1));
    EXPECT_EQ(StreamParameterToLobLast(session, 1), 0);
    ASSERT_EQ(Execute(session), 1);
    EXPECT_EQ(flathost::rowCount(session, "select * from l where b is null"), 1);
}

TEST_F(LobStreamingTest, BfileRecordPostsAndBindsNothing) {
    ASSERT_EQ(PrepareQuery(session, "insert into l (k) values (:1)", 0), 0);
    const int failed = StreamParameterToLob(session, 2, 114, "abc", 3);
    ASSERT_LT(failed, 0);  // the client has no temporary BFILE
    EXPECT_EQ(errorText(failed).rfind("ORA-", 0), 0u) << errorText(failed);
    EXPECT_EQ(StreamParameterToLobLast(session, 2), 0);
    EXPECT_EQ(errorText(StreamParameterToLobLast(session, 2)), postText(2));
}

TEST_F(LobStreamingTest, ReplacingTheStatementReleasesStreamsInProgress) {
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, b) values (1, :1)", 0), 0);
    ASSERT_EQ(StreamParameterToLob(session, 1, 113, "abc", 3), 3);
    const long statementsWhileStreaming = kt::liveCounts().statements;
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, b) values (1, :1)", 0), 0);
    EXPECT_EQ(kt::liveCounts().statements, statementsWhileStreaming - 1);
    EXPECT_EQ(kt::liveCounts().lobContents, 0);
    EXPECT_EQ(errorText(StreamParameterToLobLast(session, 1)), postText(1));
    ASSERT_EQ(SetNull(session, 1, 113), 0);
    ASSERT_EQ(Execute(session), 1);
    EXPECT_EQ(flathost::rowCount(session, "select * from l where b is null"), 1);
}

TEST_F(LobStreamingTest, BadChunksAreRefusedBeforeAnythingIsSetUp) {
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, b) values (1, :1)", 0), 0);
    EXPECT_EQ(errorText(StreamParameterToLob(session, 1, 113, nullptr, 5)), streamText(1));
    EXPECT_EQ(errorText(StreamParameterToLob(session, 1, 113, "abc", 0x80000000u)),
              streamText(1));
    EXPECT_EQ(kt::liveCounts().lobContents, 0);
    EXPECT_EQ(StreamParameterToLob(session, 1, 113, "abc", 3), 3);  // the index is still fresh
}

TEST_F(LobStreamingTest, FailedChunkLeavesTheStreamOpen) {
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, b) values (1, :1)", 0), 0);
    ASSERT_EQ(StreamParameterToLob(session, 1, 113, "abc", 3), 3);
    kt::injectFault("Stream::writeBuffer", 1, kt::FaultKind::RuntimeError);
    EXPECT_EQ(errorText(StreamParameterToLob(session, 1, 113, "zzz", 3)), streamText(1));
    ASSERT_EQ(StreamParameterToLob(session, 1, 113, "def", 3), 3);
    ASSERT_EQ(StreamParameterToLobLast(session, 1), 0);
    ASSERT_EQ(Execute(session), 1);
    EXPECT_EQ(readBack("b", true), "abcdef");
}

TEST_F(LobStreamingTest, PostingWithoutStatementFails) {
    const int fresh = flathost::open(flathost::memoryDatabase());
    ASSERT_EQ(StreamParameterToLob(fresh, 1, 112, "abc", 3), 3);
    EXPECT_EQ(errorText(StreamParameterToLobLast(fresh, 1)), postText(1));
    CloseConnection(fresh);
}

// Values of several megabytes, larger than the client's storage chunks: whole after Execute, and
// read back cut to the session's maximum column size or whole.
TEST_F(LobStreamingTest, LargeValuesRoundTripAndReadsAreCut) {
    std::string binary(6 * 1024 * 1024 + 333, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131 >> 5);
    std::string text;
    for (int i = 0; text.size() < 3 * 1024 * 1024; ++i) text += "\xC3\xA9t\xC3\xA9 " + std::to_string(i) + "\n";
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, c, b) values (1, :1, :2)", 0), 0);
    ASSERT_TRUE(stream(1, 112, text, 999983));
    ASSERT_TRUE(stream(2, 113, binary, 1 << 20));
    EXPECT_EQ(StreamParameterToLobLast(session, 1), 0);
    EXPECT_EQ(StreamParameterToLobLast(session, 2), 0);
    ASSERT_EQ(Execute(session), 1);
    const std::string cutBytes = readBack("b", true);
    EXPECT_TRUE(cutBytes == binary.substr(0, 1 << 20)) << cutBytes.size();
    const std::string cutText = readBack("c", false);
    EXPECT_EQ(cutText.compare(0, 1000, text, 0, 1000), 0);
    ASSERT_EQ(SetIntSessionProperty(session, 1, 64 << 20), 0);
    EXPECT_TRUE(readBack("b", true) == binary);
    EXPECT_TRUE(readBack("c", false) == text);
    EXPECT_EQ(flathost::rowCount(session, "select * from l where length(b) = 6291789"), 1);
}

// In a database file, streamed values several storage chunks long go into their rows whole, a
// CLOB as character data: LENGTH, SUBSTR and INSTR count characters, as Oracle's do for a CLOB,
// right across the points where the chunks were cut. A second row from the same statement and an
// UPDATE get their own values.
TEST(LobStreamingFile, StreamedValuesAreWholeAndClobsAreCharacterData) {
    const int session = flathost::open(flathost::fileDatabase());
    flathost::run(session, "create table l (k NUMBER(10), c CLOB, b BLOB)");
    std::string text;
    std::size_t characters = 0;
    for (int i = 0; text.size() < 2500000; ++i, characters += 6) text += "\xC3\xA9t\xE2\x82\xAC 1 ";
    const std::size_t markAt = characters + 1;  // character position of the marker
    text += "MARK";
    characters += 4;
    for (int i = 0; text.size() < 3200000; ++i, characters += 2) text += "\xF0\x9F\x98\x80.";
    std::string binary(3 * 1024 * 1024 + 77, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 131 >> 5);
    auto stream = [&](int index, int kind, const std::string& value, std::size_t chunk) {
        for (std::size_t at = 0; at < value.size(); at += chunk) {
            const unsigned size = static_cast<unsigned>(std::min(chunk, value.size() - at));
            ASSERT_EQ(StreamParameterToLob(session, index, kind, value.data() + at, size),
                      static_cast<int>(size));
        }
        ASSERT_EQ(StreamParameterToLobLast(session, index), 0);
    };
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, c, b) values (:1, :2, :3)", 0), 0);
    ASSERT_EQ(SetInt(session, 1, 1, 0), 0);
    stream(2, 112, text, 65537);
    stream(3, 113, binary, 1 << 20);
    ASSERT_EQ(Execute(session), 1) << errorText(Execute(session));
    ASSERT_EQ(SetInt(session, 1, 2, 0), 0);
    ASSERT_EQ(Execute(session), 1);
    ASSERT_EQ(PrepareQuery(session, "update l set b = :1 where k = 2", 0), 0);
    const std::string other = binary.substr(1000) + "tail";
    stream(1, 113, other, 999999);
    ASSERT_EQ(Execute(session), 1);

    const std::string n = std::to_string(characters), mark = std::to_string(markAt);
    EXPECT_EQ(flathost::rowCount(session, "select * from l where length(c) = " + n), 2);
    EXPECT_EQ(flathost::rowCount(session, "select * from l where k = 1 and instr(c, 'MARK') = " +
                                              mark),
              1);
    EXPECT_EQ(flathost::column(session, "select substr(c, " + std::to_string(markAt - 2) +
                                            ", 8) from l where k = 1"),
              "1 MARK\xF0\x9F\x98\x80.");
    EXPECT_EQ(flathost::rowCount(session, "select * from l where k = 1 and length(b) = " +
                                              std::to_string(binary.size())),
              1);
    EXPECT_EQ(flathost::rowCount(session, "select * from l where k = 2 and length(b) = " +
                                              std::to_string(other.size())),
              1);
    ASSERT_EQ(SetIntSessionProperty(session, 1, 64 << 20), 0);
    EXPECT_TRUE(flathost::column(session, "select c from l where k = 2") == text);
    ASSERT_EQ(ExecuteQuery(session, "select b from l order by k", 0), 0);
    ASSERT_EQ(NextRow(session), 1);
    EXPECT_TRUE(flathost::bytes(session, 0) == binary);
    ASSERT_EQ(NextRow(session), 1);
    EXPECT_TRUE(flathost::bytes(session, 0) == other);
    CloseConnection(session);
}

// A streamed CLOB in a column with another after it is the text it holds to every SQL reader:
// functions, operators, comparisons and sorting with short texts, copies, an UPDATE of itself,
// and the result set's reads, whole and cut.
TEST(LobStreamingFile, StreamedClobIsTextToSql) {
    const int session = flathost::open(flathost::fileDatabase());
    flathost::run(session, "create table l (k NUMBER(10), c CLOB, v VARCHAR2(10))");
    std::string text;
    std::size_t characters = 0;
    for (int i = 0; text.size() < 2200000; ++i, characters += 7) text += "d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC ";
    text += "FIN";
    characters += 3;
    ASSERT_EQ(PrepareQuery(session, "insert into l (k, c, v) values (1, :1, 'after')", 0), 0);
    for (std::size_t at = 0; at < text.size(); at += 65537) {
        const unsigned size = static_cast<unsigned>(std::min<std::size_t>(65537, text.size() - at));
        ASSERT_EQ(StreamParameterToLob(session, 1, 112, text.data() + at, size), static_cast<int>(size));
    }
    ASSERT_EQ(StreamParameterToLobLast(session, 1), 0);
    ASSERT_EQ(Execute(session), 1);
    flathost::run(session, "insert into l (k, c, v) values (2, 'd\xC3\xA9k', 'short')");

    const std::string n = std::to_string(characters);
    EXPECT_EQ(flathost::column(session, "select to_char(length(c)) from l order by k"), n + "|3");
    EXPECT_EQ(flathost::column(session, "select v from l order by k"), "after|short");
    EXPECT_EQ(flathost::column(session, "select substr(c, 1, 9) || '|' || substr(c, -4) from l where k = 1"),
              "d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC d\xC3\xA9| FIN");
    EXPECT_EQ(flathost::column(session, "select upper(substr(c, 1, 1)) from l order by k"), "D|D");
    EXPECT_EQ(flathost::rowCount(session, "select * from l where c like '%\xE2\x82\xAC FIN'"), 1);
    EXPECT_EQ(flathost::rowCount(session, "select * from l where instr(c, 'FIN') = " +
                                              std::to_string(characters - 2)),
              1);
    // 'd\xC3\xA9j...' sorts before 'd\xC3\xA9k' as texts.
    EXPECT_EQ(flathost::column(session, "select k from l order by substr(c, 1, 3) desc"), "2|1");
    EXPECT_EQ(flathost::rowCount(session, "select * from l where substr(c, 1, 2) = 'd\xC3\xA9'"), 2);
    EXPECT_EQ(flathost::column(session, "select to_char(count(*)) from l group by substr(c, 1, 2)"), "2");

    // Read as a CLOB, whole and cut to the maximum column size.
    ASSERT_EQ(ExecuteQuery(session, "select c from l where k = 1", 0), 0);
    EXPECT_EQ(GetColumnType(session, 0), KAVEX_SQLT_CLOB);
    ASSERT_EQ(NextRow(session), 1);
    const std::string cut = flathost::text(session, 0);
    EXPECT_FALSE(cut.empty());
    EXPECT_EQ(text.compare(0, cut.size(), cut), 0);
    ASSERT_EQ(SetIntSessionProperty(session, 1, 64 << 20), 0);
    EXPECT_TRUE(flathost::column(session, "select c from l where k = 1") == text);

    // Copies read back the same, and the value updated from itself grows by what was added.
    flathost::run(session, "create table l2 (k NUMBER(10), c CLOB)");
    flathost::run(session, "insert into l2 select k, c from l");
    flathost::run(session, "create table l3 as select k, c from l");
    for (const char* table : {"l2", "l3"}) {
        SCOPED_TRACE(table);
        EXPECT_TRUE(flathost::column(session, std::string("select c from ") + table +
                                                  " where k = 1") == text);
        EXPECT_EQ(flathost::column(session, std::string("select to_char(length(c)) from ") + table +
                                                " order by k"),
                  n + "|3");
    }
    flathost::run(session, "update l set c = c || 'x' where k = 1");
    EXPECT_EQ(flathost::column(session, "select length(c) || substr(c, -2) from l where k = 1"),
              std::to_string(characters + 1) + "Nx");
    CloseConnection(session);
}

}  // namespace
