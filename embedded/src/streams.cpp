// LOB streams. Appends go straight onto the content (amortised growth, no copy of what is
// already there). A CLOB writer may split a character between buffers: at the end of the
// content the next buffer completes it in place; inside the content the unfinished tail waits
// for the next buffer before it overwrites anything.
#include "streams.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "utf8.h"

namespace kavexdb {
namespace detail {

namespace {

// Grows the content geometrically, so that appends cost amortised constant time per byte. On
// Linux a large buffer asks for huge pages: first touches of fresh memory dominate the cost of
// streaming hundreds of megabytes, and huge pages cut their number by 512.
void reserveFor(std::string& bytes, std::size_t extra) {
    const std::size_t needed = bytes.size() + extra;
    if (needed <= bytes.capacity()) return;
    std::string grown;
    grown.reserve(std::max(needed, 2 * bytes.capacity()));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    if (grown.capacity() >= 4 * kHugePage) {
        const auto begin = reinterpret_cast<std::uintptr_t>(grown.data());
        const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t last = (begin + grown.capacity()) & ~(kHugePage - 1);
        if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
    grown.append(bytes);
    bytes.swap(grown);
}

}  // namespace

void checkLobGrowth(std::size_t size, std::size_t extra) {
    if (extra > kMaxLobBytes || size > kMaxLobBytes - extra)
        raise(22925, "operation would exceed maximum size allowed for a LOB value");
}

LobStream::LobStream(std::shared_ptr<LobContent> content, Charset cs, std::size_t offset,
                     std::size_t amount)
    : content_(std::move(content)), charset_(cs), limited_(amount != 0), remaining_(amount) {
    if (offset == 0) raise(21560, "argument 1 is null, invalid, or out of range");
    const std::string& bytes = content_->bytes;
    const std::size_t skip = offset - 1;
    if (content_->isClob) {
        position_ = utf8::advanceCharacters(bytes, 0, skip);
        const std::size_t before = utf8::countCharacters(bytes.data(), position_);
        gap_ = skip - before;
    } else {
        position_ = std::min(skip, bytes.size());
        gap_ = skip - position_;
    }
}

int LobStream::readBuffer(char* buffer, unsigned int size) {
    checkFault("Stream::readBuffer");
    return read(buffer, size);
}

int LobStream::readLastBuffer(char* buffer, unsigned int size) {
    checkFault("Stream::readLastBuffer");
    const int n = read(buffer, size);
    status_ = INACTIVE;
    return n;
}

void LobStream::writeBuffer(char* buffer, unsigned int size) {
    checkFault("Stream::writeBuffer");
    write(buffer, size);
}

void LobStream::writeLastBuffer(char* buffer, unsigned int size) {
    checkFault("Stream::writeLastBuffer");
    write(buffer, size);
    finish();
    status_ = INACTIVE;
}

void LobStream::finish() {
    if (pending_.empty()) return;
    std::string rest;
    rest.swap(pending_);
    put(rest.data(), rest.size());  // a malformed tail is kept as it came
}

int LobStream::read(char* buffer, std::size_t size) {
    if (size == 0 || status_ == INACTIVE) return 0;
    if (buffer == nullptr) raise(21560, "argument 1 is null, invalid, or out of range");
    const std::string& bytes = content_->bytes;
    if (position_ >= bytes.size() || (limited_ && remaining_ == 0)) return 0;
    std::size_t n = 0;
    if (content_->isClob) {
        n = readClob(buffer, size);
    } else {
        n = std::min(size, bytes.size() - position_);
        if (limited_) n = std::min(n, remaining_);
        std::memcpy(buffer, bytes.data() + position_, n);
        position_ += n;
        if (limited_) remaining_ -= n;
    }
    return static_cast<int>(n);
}

std::size_t LobStream::readClob(char* buffer, std::size_t size) {
    const std::string& bytes = content_->bytes;
    const char* start = bytes.data() + position_;
    const std::size_t available = bytes.size() - position_;
    // The longest run of whole characters that fits, before any conversion.
    std::size_t take = std::min(size, available);
    if (take < available) {
        while (take > 0 && utf8::isContinuation(static_cast<unsigned char>(start[take]))) --take;
    }
    std::size_t characters = limited_ ? utf8::countCharacters(start, take) : 0;
    if (limited_ && characters > remaining_) {
        take = utf8::advanceCharacters(bytes, position_, remaining_) - position_;
        characters = remaining_;
    }
    const bool expands =
        charset_ == Charset::UTF8 &&
        std::any_of(start, start + take, [](char c) { return static_cast<unsigned char>(c) >= 0xF0; });
    std::size_t written = 0;
    if (!expands) {
        std::memcpy(buffer, start, take);
        written = take;
    } else {
        // A supplementary character grows from 4 to 6 bytes; stop before one that no longer fits.
        std::string out;
        std::size_t used = 0;
        characters = 0;
        while (used < take) {
            std::size_t next = utf8::advanceCharacters(bytes, position_ + used, 1) - position_;
            std::size_t before = out.size();
            utf8::appendFromStorage(out, start + used, next - used, charset_);
            if (out.size() > size) {
                out.resize(before);
                break;
            }
            used = next;
            ++characters;
        }
        take = used;
        std::memcpy(buffer, out.data(), out.size());
        written = out.size();
    }
    if (take == 0)
        raise(6502, "PL/SQL: numeric or value error: character string buffer too small");
    position_ += take;
    if (limited_) remaining_ -= characters;
    return written;
}

void LobStream::write(const char* data, std::size_t size) {
    if (status_ == INACTIVE) raise(32139, "Cannot write to the stream");
    if (size > 0 && data == nullptr) raise(21560, "argument 1 is null, invalid, or out of range");
    status_ = READY_FOR_WRITE;
    if (!content_->isClob) {
        put(data, size);
        return;
    }
    if (pending_.empty() && gap_ == 0 && position_ == content_->bytes.size()) {
        append(data, size);
        return;
    }
    appending_ = false;
    if (pending_.empty()) {
        const std::size_t complete = utf8::completePrefix(data, size, charset_);
        put(data, complete);
        pending_.assign(data + complete, size - complete);
        return;
    }
    std::string joined = pending_;
    joined.append(data, size);
    pending_.clear();
    const std::size_t complete = utf8::completePrefix(joined.data(), joined.size(), charset_);
    put(joined.data(), complete);
    pending_.assign(joined, complete, std::string::npos);
}

// Appends CLOB text as it comes, without waiting for characters split between buffers: the
// next buffer completes them in place. Under UTF8 the surrogate pairs of what is complete are
// joined in place (a pair is 6 bytes, its standard form 4), so text is copied only when it
// holds pairs.
void LobStream::append(const char* data, std::size_t size) {
    std::string& bytes = content_->bytes;
    if (!appending_) {
        appending_ = true;
        unconverted_ = position_;
    }
    checkLobGrowth(bytes.size(), size);
    reserveFor(bytes, size);
    bytes.append(data, size);
    if (charset_ == Charset::UTF8) {
        const std::size_t from = std::min(unconverted_, bytes.size());
        const std::size_t complete = utf8::completePrefix(bytes.data() + from, bytes.size() - from, charset_);
        if (std::memchr(bytes.data() + from, 0xED, complete) != nullptr) {
            std::string joined;
            utf8::appendToStorage(joined, bytes.data() + from, complete, charset_);
            bytes.replace(from, complete, joined);
            unconverted_ = from + joined.size();
        } else {
            unconverted_ = from + complete;
        }
    }
    position_ = bytes.size();
}

// Writes whole characters (CLOB) or bytes (BLOB) at the stream position: appends at the end,
// overwrites as many characters or bytes as it brings anywhere else.
void LobStream::put(const char* data, std::size_t size) {
    std::string& bytes = content_->bytes;
    // Checked before anything changes: the gap and the new bytes must fit together.
    if (position_ == bytes.size() || gap_ > 0) checkLobGrowth(bytes.size(), gap_ + size);
    if (gap_ > 0) {
        // Oracle fills the space before a write beyond the end: blanks in a CLOB, zeros in a BLOB.
        bytes.append(gap_, content_->isClob ? ' ' : '\0');
        position_ = bytes.size();
        gap_ = 0;
    }
    if (size == 0) return;
    if (position_ == bytes.size()) {
        reserveFor(bytes, size);
        const std::size_t before = bytes.size();
        if (content_->isClob) {
            utf8::appendToStorage(bytes, data, size, charset_);
        } else {
            bytes.append(data, size);
        }
        position_ += bytes.size() - before;
        return;
    }
    std::string piece;
    std::size_t replaced = 0;
    if (content_->isClob) {
        utf8::appendToStorage(piece, data, size, charset_);
        const std::size_t characters = utf8::countCharacters(piece.data(), piece.size());
        replaced = utf8::advanceCharacters(bytes, position_, characters) - position_;
    } else {
        piece.assign(data, size);
        replaced = std::min(size, bytes.size() - position_);
    }
    if (piece.size() > replaced) checkLobGrowth(bytes.size(), piece.size() - replaced);
    bytes.replace(position_, replaced, piece);
    position_ += piece.size();
}

}  // namespace detail
}  // namespace kavexdb
