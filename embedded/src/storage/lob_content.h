// The content behind LOB locators: bytes in memory, in a session's temporary storage, or read
// lazily from a row; and the locators that share it.
#ifndef KAVEXDB_STORAGE_LOB_CONTENT_H
#define KAVEXDB_STORAGE_LOB_CONTENT_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/charset.h"
#include "kavexdb/occi.h"

namespace kavexdb {
namespace detail {

namespace occi = oracle::occi;

// ---- LOBs (lob.cpp, lob_content.cpp, streams.cpp, lob_storage.cpp) ------------------------
class LobSession;
class LobStorage;
struct LobRow;

// Content shared by every locator that refers to it. Counted as Live::LobContent while alive.
// Its bytes are in memory (`bytes`), or, for a session's temporary LOB, the first ones in
// whole chunks in the session's temporary storage and the rest in `bytes`, or, for a value
// read from a row, in that row until the content is changed or detached.
class LobContent {
public:
    LobContent(bool isClob, bool temporary);
    ~LobContent();
    LobContent(const LobContent&) = delete;
    LobContent& operator=(const LobContent&) = delete;

    bool isClob;
    bool temporary;
    std::string bytes;  // CLOB: UTF-8 text; BLOB: raw bytes (those after the stored chunks)

    // Lets the content keep its bytes in storage as it grows.
    void useStorage(std::shared_ptr<LobStorage> storage) { storage_ = std::move(storage); }
    // Makes the content read a row of the session, of `size` bytes, until it is changed or
    // detached.
    void readFrom(std::shared_ptr<LobSession> session, const LobRow& row, std::size_t size);

    // True when every byte is in `bytes`.
    bool inMemory() const { return chunks_.empty() && !row_; }
    std::size_t size() const;
    // Copies [at, at + n) out; the range must lie inside the content.
    void read(std::size_t at, char* out, std::size_t n) const;
    std::string slice(std::size_t at, std::size_t n) const;
    // Adds bytes at the end.
    void append(const char* data, std::size_t n);
    // Replaces `removed` bytes at `at` (inside the content) with n bytes.
    void replace(std::size_t at, std::size_t removed, const char* data, std::size_t n);
    // Character positions of a CLOB: the byte offset `count` characters after byte `from` (the
    // size when the text ends first), and the characters in [from, to).
    std::size_t advance(std::size_t from, std::size_t count) const;
    std::size_t countCharacters(std::size_t from, std::size_t to) const;
    // A lazily read content takes a copy of its row's value into the temporary storage.
    void detach();

private:
    struct Chunk {
        std::int64_t id;
        std::size_t size;
    };
    // Moves whole chunks from the front of `bytes` to the storage.
    void store();
    // Brings every stored byte back into `bytes`.
    void load();
    // Calls f(chunk, offset in it, bytes done before, piece) for the stored part of [at, at + n)
    // and returns its length (what follows is in `bytes`).
    template <class F>
    std::size_t inEachChunk(std::size_t at, std::size_t n, F f) const;
    // Visits [from, to) in pieces: f(data, size) returns false to stop.
    template <class F>
    void scan(std::size_t from, std::size_t to, F f) const;

    std::shared_ptr<LobStorage> storage_;
    std::vector<Chunk> chunks_;
    std::size_t stored_ = 0;  // bytes in chunks_
    std::shared_ptr<LobSession> session_;
    std::unique_ptr<LobRow> row_;
    std::size_t rowSize_ = 0;
};

struct LobLocator {
    std::shared_ptr<LobContent> content;  // null for a NULL locator
    Charset charset = Charset::AL32UTF8;
    int charSetForm = occi::OCCI_SQLCS_IMPLICIT;
    bool isOpen = false;
    bool isBfile = false;
    std::string bfileName;  // BFILE locators only
    std::vector<std::unique_ptr<occi::Stream>> streams;  // open streams, owned
};

occi::Clob makeClob(std::shared_ptr<LobContent> content, Charset cs);
occi::Blob makeBlob(std::shared_ptr<LobContent> content);
occi::Bfile makeBfile(const std::string& name);
// The content a locator refers to (null for a NULL locator); used when binding setClob/setBlob.
std::shared_ptr<LobContent> contentOf(const occi::Clob& lob);
std::shared_ptr<LobContent> contentOf(const occi::Blob& lob);

}  // namespace detail
}  // namespace kavexdb

#endif
