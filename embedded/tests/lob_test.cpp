// LOB locators and streams over shared content.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/charset.h"
#include "kavexdb/occi.h"
#include "kavexdb/test_support.h"
#include "occi/streams.h"
#include "storage/lob_content.h"
#include "test_util.h"

namespace {

using clienttest::oraCode;
using kavexdb::detail::Charset;
using kavexdb::detail::LobContent;
using oracle::occi::Bfile;
using oracle::occi::Blob;
using oracle::occi::Clob;
using oracle::occi::Stream;

long liveContents() { return kavexdb::testing::liveCounts().lobContents; }

Clob temporaryClob(Charset cs = Charset::AL32UTF8) {
    return kavexdb::detail::makeClob(std::make_shared<LobContent>(true, true), cs);
}

Blob temporaryBlob() {
    return kavexdb::detail::makeBlob(std::make_shared<LobContent>(false, true));
}

template <class Lob>
void writeAll(Lob& lob, const std::string& data, std::size_t chunk) {
    Stream* s = lob.getStream(1, 0);
    std::string copy = data;
    for (std::size_t at = 0; at < copy.size(); at += chunk)
        s->writeBuffer(&copy[at], static_cast<unsigned>(std::min(chunk, copy.size() - at)));
    char none = 0;
    s->writeLastBuffer(&none, 0);
    EXPECT_EQ(s->status(), Stream::INACTIVE);
    lob.closeStream(s);
}

// Reads through a stream with the given buffer size; every piece must end on a character.
template <class Lob>
std::vector<std::string> readPieces(Lob& lob, unsigned offset, unsigned amount, unsigned size) {
    std::vector<std::string> pieces;
    Stream* s = lob.getStream(offset, amount);
    std::vector<char> buffer(size);
    for (int n; (n = s->readBuffer(buffer.data(), size)) > 0;) pieces.emplace_back(buffer.data(), n);
    lob.closeStream(s);
    return pieces;
}

template <class Lob>
std::string readAll(Lob& lob, unsigned offset = 1, unsigned amount = 0, unsigned size = 7) {
    std::string all;
    for (const std::string& p : readPieces(lob, offset, amount, size)) all += p;
    return all;
}

const std::string kMixed = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z

TEST(Lob, WriteThenReadAcrossBufferBoundaries) {
    Clob clob = temporaryClob();
    std::string text;
    for (int i = 0; i < 50; ++i) text += kMixed;
    writeAll(clob, text, 1);  // every multi-byte character arrives split
    EXPECT_EQ(clob.length(), 250u);
    for (unsigned size : {4u, 5u, 7u, 64u, 4096u}) {
        std::string joined;
        for (const std::string& piece : readPieces(clob, 1, 0, size)) {
            ASSERT_FALSE(piece.empty());
            EXPECT_LE(piece.size(), size);
            EXPECT_NE(static_cast<unsigned char>(piece[0]) & 0xC0, 0x80u) << "starts mid-character";
            joined += piece;
        }
        EXPECT_EQ(joined, text) << size;
    }
    Stream* s = clob.getStream();
    char small[3];
    EXPECT_EQ(s->readBuffer(small, 3), 3);  // "a" and "é"
    EXPECT_EQ(s->readBuffer(small, 3), 3);  // "€"
    EXPECT_EQ(oraCode([&] { s->readBuffer(small, 3); }), 6502);  // "😀" needs 4
    EXPECT_EQ(oraCode([&] { s->readBuffer(small, 3); }), 6502);
    clob.closeStream(s);
}

TEST(Lob, OffsetAndAmountCountCharacters) {
    Clob clob = temporaryClob();
    writeAll(clob, "h\xC3\xA9llo w\xC3\xB6rld", 4);
    EXPECT_EQ(clob.length(), 11u);
    EXPECT_EQ(readAll(clob, 2, 4), "\xC3\xA9llo");
    EXPECT_EQ(readAll(clob, 8, 0), "\xC3\xB6rld");
    EXPECT_EQ(readAll(clob, 11, 5), "d");
    EXPECT_EQ(readAll(clob, 12, 0), "");
    EXPECT_EQ(readAll(clob, 100, 0), "");
    Stream* s = clob.getStream(1, 3);
    char one;
    EXPECT_EQ(s->readBuffer(&one, 1), 1);
    EXPECT_EQ(oraCode([&] { s->readBuffer(&one, 1); }), 6502);  // one byte cannot hold "é"
    clob.closeStream(s);
}

TEST(Lob, BlobCountsBytes) {
    Blob blob = temporaryBlob();
    std::string bytes("\0\1\2\3\4\5\6\7", 8);
    writeAll(blob, bytes, 3);
    EXPECT_EQ(blob.length(), 8u);
    EXPECT_EQ(readAll(blob, 3, 4, 3), bytes.substr(2, 4));
    EXPECT_EQ(readAll(blob), bytes);
    Stream* last = blob.getStream(7, 0);
    char buffer[8];
    EXPECT_EQ(last->readLastBuffer(buffer, 8), 2);
    EXPECT_EQ(last->status(), Stream::INACTIVE);
    EXPECT_EQ(last->readBuffer(buffer, 8), 0);
    blob.closeStream(last);
}

TEST(Lob, WritesInsideAndBeyondTheEnd) {
    Blob blob = temporaryBlob();
    writeAll(blob, "abcdef", 6);
    Stream* s = blob.getStream(3, 0);
    char xy[] = "XY";
    s->writeBuffer(xy, 2);
    blob.closeStream(s);
    EXPECT_EQ(readAll(blob), "abXYef");
    s = blob.getStream(9, 0);
    s->writeBuffer(xy, 2);
    blob.closeStream(s);
    EXPECT_EQ(readAll(blob), std::string("abXYef\0\0XY", 10));

    Clob clob = temporaryClob();
    writeAll(clob, "\xC3\xA9t\xC3\xA9", 5);
    s = clob.getStream(2, 0);
    char euro[] = "\xE2\x82\xAC";
    s->writeBuffer(euro, 3);
    clob.closeStream(s);
    EXPECT_EQ(readAll(clob), "\xC3\xA9\xE2\x82\xAC\xC3\xA9");
    s = clob.getStream(6, 0);
    char bang[] = "!";
    s->writeBuffer(bang, 1);
    clob.closeStream(s);
    EXPECT_EQ(readAll(clob), "\xC3\xA9\xE2\x82\xAC\xC3\xA9  !");
}

TEST(Lob, EmptyLobs) {
    Clob clob = temporaryClob();
    EXPECT_EQ(clob.length(), 0u);
    EXPECT_EQ(readAll(clob), "");
    writeAll(clob, "", 1);
    EXPECT_EQ(clob.length(), 0u);
    Blob blob = temporaryBlob();
    EXPECT_EQ(blob.length(), 0u);
    Stream* s = blob.getStream();
    EXPECT_EQ(s->status(), Stream::READY_FOR_READ);
    char c;
    EXPECT_EQ(s->readBuffer(&c, 1), 0);
    blob.closeStream(s);
}

TEST(Lob, CopiesShareContentAndTemporariesLiveWhileReferenced) {
    const long before = liveContents();
    {
        Clob original = temporaryClob();
        EXPECT_EQ(liveContents(), before + 1);
        Clob copy(original);
        Clob assigned;
        assigned = copy;
        EXPECT_EQ(liveContents(), before + 1);
        writeAll(copy, "shared", 2);
        EXPECT_EQ(original.length(), 6u);
        EXPECT_EQ(readAll(assigned), "shared");
        EXPECT_EQ(kavexdb::detail::contentOf(original), kavexdb::detail::contentOf(assigned));
        original.setNull();
        copy = original;
        EXPECT_TRUE(copy.isNull());
        EXPECT_EQ(liveContents(), before + 1);
        EXPECT_EQ(assigned.length(), 6u);
        Stream* open = assigned.getStream();  // a stream left open goes with its locator
        (void)open;
    }
    EXPECT_EQ(liveContents(), before);
}

TEST(Lob, Utf8ClientCharacterSet) {
    Clob clob = temporaryClob(Charset::UTF8);
    const std::string pair = "\xED\xA0\xBD\xED\xB8\x80";  // U+1F600 as JNI would send it
    writeAll(clob, "x" + pair + "y" + pair, 1);
    auto content = kavexdb::detail::contentOf(clob);
    EXPECT_EQ(content->bytes, "x\xF0\x9F\x98\x80y\xF0\x9F\x98\x80");
    EXPECT_EQ(clob.length(), 4u);
    EXPECT_EQ(readAll(clob, 1, 0, 6), "x" + pair + "y" + pair);
    EXPECT_EQ(readAll(clob, 2, 1, 64), pair);
    for (const std::string& piece : readPieces(clob, 1, 0, 7)) EXPECT_NE(piece.size() % 6, 5u);
}

TEST(Lob, StreamOwnershipErrors) {
    Clob a = temporaryClob();
    Clob b = temporaryClob();
    Stream* s = a.getStream();
    EXPECT_EQ(oraCode([&] { b.closeStream(s); }), 32140);
    a.closeStream(s);
    EXPECT_EQ(oraCode([&] { a.closeStream(s); }), 32140);
    a.closeStream(nullptr);
    Clob none;
    EXPECT_EQ(oraCode([&] { none.closeStream(reinterpret_cast<Stream*>(&a)); }), 32140);

    Stream* w = a.getStream();
    char c = 'q';
    w->writeLastBuffer(&c, 1);
    EXPECT_EQ(oraCode([&] { w->writeBuffer(&c, 1); }), 32139);
    a.closeStream(w);
    EXPECT_EQ(oraCode([&] { a.getStream(0, 0); }), 21560);
}

TEST(Lob, OpenCloseAndNullLocators) {
    Clob clob = temporaryClob();
    EXPECT_EQ(oraCode([&] { clob.close(); }), 22289);
    clob.open(oracle::occi::OCCI_LOB_READONLY);
    EXPECT_EQ(oraCode([&] { clob.open(); }), 22293);
    clob.close();
    clob.setCharSetForm(oracle::occi::OCCI_SQLCS_NCHAR);

    Clob nullClob;
    Blob nullBlob(static_cast<const oracle::occi::Connection*>(nullptr));
    EXPECT_TRUE(nullClob.isNull());
    EXPECT_TRUE(nullBlob.isNull());
    EXPECT_EQ(oraCode([&] { nullClob.length(); }), 22275);
    EXPECT_EQ(oraCode([&] { nullClob.getStream(); }), 22275);
    EXPECT_EQ(oraCode([&] { nullClob.open(); }), 22275);
    EXPECT_EQ(oraCode([&] { nullBlob.length(); }), 22275);
    EXPECT_EQ(oraCode([&] { nullBlob.getStream(); }), 22275);
    nullClob.setCharSetForm(oracle::occi::OCCI_SQLCS_NCHAR);
    EXPECT_TRUE(nullClob.isNull());
    EXPECT_EQ(kavexdb::detail::contentOf(nullClob), nullptr);
}

TEST(Lob, BfilesCannotBeOpened) {
    Bfile none;
    EXPECT_TRUE(none.isNull());
    none.closeStream(nullptr);
    EXPECT_EQ(oraCode([&] { none.length(); }), 22275);
    EXPECT_EQ(oraCode([&] { none.open(); }), 22275);
    EXPECT_EQ(oraCode([&] { none.getStream(); }), 22275);
    Bfile file = kavexdb::detail::makeBfile("DIR/file.txt");
    EXPECT_FALSE(file.isNull());
    Bfile copy(file);
    EXPECT_FALSE(copy.isNull());
    EXPECT_EQ(oraCode([&] { file.open(); }), 22285);
    EXPECT_EQ(oraCode([&] { file.getStream(1, 0); }), 22285);
    EXPECT_EQ(oraCode([&] { file.length(); }), 22285);
    EXPECT_EQ(oraCode([&] { file.close(); }), 22289);
    file.closeStream(nullptr);
    file.setNull();
    EXPECT_TRUE(file.isNull());
    EXPECT_TRUE(kavexdb::detail::makeBfile("").isNull());
}

TEST(Lob, InjectedStreamFault) {
    Blob blob = temporaryBlob();
    Stream* s = blob.getStream();
    kavexdb::testing::injectFault("Stream::writeBuffer", 2, kavexdb::testing::FaultKind::SqlException,
                                  1234, "ORA-01234: injected\n");
    char data[] = "abc";
    s->writeBuffer(data, 3);
    EXPECT_EQ(oraCode([&] { s->writeBuffer(data, 3); }), 1234);
    kavexdb::testing::clearFaults();
    s->writeBuffer(data, 3);  // a failed write leaves the stream usable
    blob.closeStream(s);
    EXPECT_EQ(blob.length(), 6u);
}

TEST(Lob, ManyMegabytesInChunks) {
    Clob clob = temporaryClob(Charset::UTF8);
    std::string chunk(64 * 1024, 'x');
    chunk[chunk.size() - 1] = '\xC3';  // "é" straddles every chunk boundary
    chunk[0] = '\xA9';
    Stream* s = clob.getStream(1, 0);
    std::string first = chunk.substr(1);
    s->writeBuffer(&first[0], static_cast<unsigned>(first.size()));
    for (int i = 0; i < 63; ++i) s->writeBuffer(&chunk[0], static_cast<unsigned>(chunk.size()));
    char tail = '\xA9';
    s->writeLastBuffer(&tail, 1);
    clob.closeStream(s);
    const std::size_t expectedBytes = 64u * 64 * 1024;
    EXPECT_EQ(kavexdb::detail::contentOf(clob)->bytes.size(), expectedBytes);
    EXPECT_EQ(clob.length(), expectedBytes - 64);
    std::size_t total = 0;
    for (const std::string& piece : readPieces(clob, 1, 0, 1 << 20)) total += piece.size();
    EXPECT_EQ(total, expectedBytes);
}

// A LOB may not outgrow SQLite's one-value limit: the write that would cross it is refused
// before anything is kept, and what was written stays. (A write beyond the end crosses the limit
// with the gap Oracle fills, so no gigabyte is needed to reach it.)
TEST(Lob, WritesPastTheValueLimitAreRefused) {
    const unsigned limit = static_cast<unsigned>(kavexdb::detail::kMaxLobBytes);
    Blob blob = temporaryBlob();
    writeAll(blob, "abc", 3);
    char data[16] = "0123456789";
    Stream* s = blob.getStream(limit - 4, 0);
    EXPECT_EQ(oraCode([&] { s->writeBuffer(data, 10); }), 22925);
    blob.closeStream(s);
    EXPECT_EQ(blob.length(), 3u);

    Clob clob = temporaryClob();
    s = clob.getStream(limit, 0);
    EXPECT_EQ(oraCode([&] { s->writeBuffer(data, 2); }), 22925);
    clob.closeStream(s);
    EXPECT_EQ(clob.length(), 0u);
}

}  // namespace
