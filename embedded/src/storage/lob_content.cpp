// The bytes of a LOB wherever they are: in memory, in whole chunks in the session's temporary
// storage followed by a tail in memory, or in a table row read lazily. Every access goes
// through ranges, so nothing needs the whole value in memory.
#include <algorithm>
#include <vector>

#include "base/faults.h"
#include "base/utf8.h"
#include "storage/lob_storage.h"

namespace kavexdb {
namespace detail {

LobContent::LobContent(bool clob, bool temp) : isClob(clob), temporary(temp) {
    liveAdd(Live::LobContent, 1);
}

LobContent::~LobContent() {
    if (session_) session_->forget(this);
    if (storage_)
        for (const Chunk& c : chunks_) storage_->remove(c.id);
    liveAdd(Live::LobContent, -1);
}

void LobContent::readFrom(std::shared_ptr<LobSession> session, const LobRow& row,
                          std::size_t size) {
    session_ = std::move(session);
    row_ = std::make_unique<LobRow>(row);
    rowSize_ = size;
}

std::size_t LobContent::size() const {
    if (row_) return rowSize_;
    return stored_ + bytes.size();
}

void LobContent::read(std::size_t at, char* out, std::size_t n) const {
    if (n == 0) return;
    if (row_) {
        session_->readRow(*row_, at, out, n);
        return;
    }
    const std::size_t inChunks = inEachChunk(at, n, [&](const Chunk& c, std::size_t offset,
                                                        std::size_t done, std::size_t piece) {
        storage_->read(c.id, offset, out + done, piece);
    });
    if (inChunks < n) std::copy_n(bytes.data() + (at + inChunks - stored_), n - inChunks, out + inChunks);
}

template <class F>
std::size_t LobContent::inEachChunk(std::size_t at, std::size_t n, F f) const {
    // Chunks are found by walking their sizes (a few hundred at most).
    std::size_t start = 0, done = 0;
    for (const Chunk& c : chunks_) {
        if (done == n) break;
        if (at + done < start + c.size) {
            const std::size_t offset = at + done - start;
            const std::size_t piece = std::min(n - done, c.size - offset);
            f(c, offset, done, piece);
            done += piece;
        }
        start += c.size;
    }
    return done;
}

std::string LobContent::slice(std::size_t at, std::size_t n) const {
    std::string out(n, '\0');
    read(at, &out[0], n);
    return out;
}

template <class F>
void LobContent::scan(std::size_t from, std::size_t to, F f) const {
    if (inMemory()) {
        if (from < to) f(bytes.data() + from, to - from);
        return;
    }
    std::string piece;
    while (from < to) {
        const std::size_t n = std::min(kLobChunk, to - from);
        piece.resize(n);
        read(from, &piece[0], n);
        if (!f(piece.data(), n)) return;
        from += n;
    }
}

void LobContent::append(const char* data, std::size_t n) {
    if (row_) detach();
    bytes.append(data, n);
    if (storage_ && bytes.size() >= 2 * kLobChunk) store();
}

void LobContent::store() {
    std::size_t taken = 0;
    while (bytes.size() - taken >= kLobChunk) {
        const std::int64_t id = storage_->insert(bytes.data() + taken, kLobChunk);
        chunks_.push_back(Chunk{id, kLobChunk});
        stored_ += kLobChunk;
        taken += kLobChunk;
    }
    bytes.erase(0, taken);
}

void LobContent::load() {
    if (row_) detach();
    if (chunks_.empty()) return;
    std::string all(stored_, '\0');
    read(0, &all[0], stored_);
    all += bytes;
    for (const Chunk& c : chunks_) storage_->remove(c.id);
    chunks_.clear();
    stored_ = 0;
    bytes.swap(all);
}

void LobContent::replace(std::size_t at, std::size_t removed, const char* data, std::size_t n) {
    if (row_) detach();
    if (at >= stored_) {
        bytes.replace(at - stored_, removed, data, n);
        if (storage_ && bytes.size() >= 2 * kLobChunk) store();
        return;
    }
    if (removed != n) {
        // A change of length inside the stored chunks is rare (a CLOB character overwritten
        // by one of another width): the bytes come back into memory for it.
        load();
        bytes.replace(at, removed, data, n);
        return;
    }
    const std::size_t inChunks = inEachChunk(at, n, [&](const Chunk& c, std::size_t offset,
                                                        std::size_t done, std::size_t piece) {
        storage_->write(c.id, offset, data + done, piece);
    });
    if (inChunks < n) bytes.replace(at + inChunks - stored_, n - inChunks, data + inChunks, n - inChunks);
}

std::size_t LobContent::advance(std::size_t from, std::size_t count) const {
    const std::size_t end = size();
    if (inMemory()) return utf8::advanceCharacters(bytes, from, count);
    // Each character ends where the next lead byte after its first byte is.
    if (count == 0) return from;
    std::size_t position = from, seen = 0, found = end;
    scan(from, end, [&](const char* data, std::size_t n) {
        for (std::size_t i = position == from ? 1 : 0; i < n; ++i) {
            if (utf8::isContinuation(static_cast<unsigned char>(data[i]))) continue;
            if (++seen == count) {
                found = position + i;
                return false;
            }
        }
        position += n;
        return true;
    });
    return found;
}

std::size_t LobContent::countCharacters(std::size_t from, std::size_t to) const {
    std::size_t count = 0;
    scan(from, to, [&](const char* data, std::size_t n) {
        count += utf8::countCharacters(data, n);
        return true;
    });
    return count;
}

void LobContent::detach() {
    if (!row_) return;
    const std::size_t total = size();
    std::string piece;
    try {
        for (std::size_t at = 0; at < total; at += kLobChunk) {
            const std::size_t n = std::min(kLobChunk, total - at);
            piece.resize(n);
            session_->readRow(*row_, at, &piece[0], n);
            bytes.append(piece);
            if (storage_ && bytes.size() >= 2 * kLobChunk) store();
        }
    } catch (...) {
        // Nothing half-copied stays: the content goes on reading its row.
        for (const Chunk& c : chunks_) storage_->remove(c.id);
        chunks_.clear();
        stored_ = 0;
        bytes.clear();
        throw;
    }
    session_->forget(this);
    session_.reset();
    row_.reset();
}

}  // namespace detail
}  // namespace kavexdb
