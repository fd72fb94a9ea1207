// LOB streams over the content's byte ranges. Appends go straight onto the content. A CLOB
// writer may split a character between buffers: at the end of the content the next buffer
// completes it in place (under UTF8 a character waits until it is complete, since a surrogate
// pair is stored joined); inside the content the unfinished tail waits for the next buffer
// before it overwrites anything.
#include "occi/streams.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "base/faults.h"
#include "base/ora_messages.h"
#include "base/utf8.h"

namespace kavexdb {
namespace detail {

namespace {

// What a stream reads ahead of its position from content that is not in memory.
constexpr std::size_t kReadAhead = 64 * 1024;
// The blanks or zeros of a gap are appended in pieces of at most this size.
constexpr std::size_t kMaxFillPiece = std::size_t(1) << 20;

// Byte offset in data[0, size) that follows `count` characters from `from` (size at the end).
std::size_t advanceIn(const char* data, std::size_t size, std::size_t from, std::size_t count) {
    std::size_t pos = from;
    while (count > 0 && pos < size) {
        ++pos;
        while (pos < size && utf8::isContinuation(static_cast<unsigned char>(data[pos]))) ++pos;
        --count;
    }
    return std::min(pos, size);
}

}  // namespace

void checkLobGrowth(std::size_t size, std::size_t extra) {
    if (extra > kMaxLobBytes || size > kMaxLobBytes - extra) raise(ora::kLobTooLarge);
}

LobStream::LobStream(std::shared_ptr<LobContent> content, Charset cs, std::size_t offset,
                     std::size_t amount)
    : content_(std::move(content)), charset_(cs), limited_(amount != 0), remaining_(amount) {
    if (offset == 0) raise(ora::kArgumentNullOrOutOfRange, 1);
    const std::size_t skip = offset - 1;
    if (content_->isClob) {
        position_ = content_->advance(0, skip);
        const std::size_t before = content_->countCharacters(0, position_);
        gap_ = skip - before;
    } else {
        position_ = std::min(skip, content_->size());
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
    if (!carry_.empty()) {
        window_.clear();
        content_->append(carry_.data(), carry_.size());  // a malformed tail is kept as it came
        position_ = content_->size();
        carry_.clear();
    }
    if (pending_.empty()) return;
    std::string rest;
    rest.swap(pending_);
    put(rest.data(), rest.size());  // a malformed tail is kept as it came
}

int LobStream::read(char* buffer, std::size_t size) {
    if (size == 0 || status_ == INACTIVE) return 0;
    if (buffer == nullptr) raise(ora::kArgumentNullOrOutOfRange, 1);
    const std::size_t total = content_->size();
    if (position_ >= total || (limited_ && remaining_ == 0)) return 0;
    std::size_t n = 0;
    if (content_->isClob) {
        n = readClob(buffer, size);
    } else {
        n = std::min(size, total - position_);
        if (limited_) n = std::min(n, remaining_);
        std::memcpy(buffer, fetch(position_, n), n);
        position_ += n;
        if (limited_) remaining_ -= n;
    }
    return static_cast<int>(n);
}

const char* LobStream::fetch(std::size_t at, std::size_t n) {
    if (content_->inMemory()) return content_->bytes.data() + at;
    if (at >= windowAt_ && at + n <= windowAt_ + window_.size()) return window_.data() + (at - windowAt_);
    // Enough for what is still to be read when an amount was given (a character has at most
    // four bytes), never more than the read-ahead unless the caller asks for more.
    std::size_t want = kReadAhead;
    if (limited_) want = std::min(want, content_->isClob ? 4 * remaining_ + 4 : remaining_);
    want = std::min(std::max(want, n), content_->size() - at);
    window_.resize(want);
    content_->read(at, &window_[0], want);
    windowAt_ = at;
    return window_.data();
}

std::size_t LobStream::readClob(char* buffer, std::size_t size) {
    const std::size_t available = content_->size() - position_;
    // The longest run of whole characters that fits, before any conversion.
    std::size_t take = std::min(size, available);
    const std::size_t seen = take < available ? take + 1 : take;  // with the byte after it
    const char* start = fetch(position_, seen);
    if (take < available) {
        while (take > 0 && utf8::isContinuation(static_cast<unsigned char>(start[take]))) --take;
    }
    std::size_t characters = limited_ ? utf8::countCharacters(start, take) : 0;
    if (limited_ && characters > remaining_) {
        take = advanceIn(start, take, 0, remaining_);
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
            std::size_t next = advanceIn(start, take, used, 1);
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
    if (take == 0) raise(ora::kBufferTooSmall);
    position_ += take;
    if (limited_) remaining_ -= characters;
    return written;
}

void LobStream::write(const char* data, std::size_t size) {
    if (status_ == INACTIVE) raise(ora::kCannotWriteStream);
    if (size > 0 && data == nullptr) raise(ora::kArgumentNullOrOutOfRange, 1);
    status_ = READY_FOR_WRITE;
    window_.clear();
    if (!content_->isClob) {
        put(data, size);
        return;
    }
    if (pending_.empty() && gap_ == 0 && position_ == content_->size()) {
        append(data, size);
        return;
    }
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

// Appends CLOB text as it comes. Storage text is the client's text except under UTF8, whose
// surrogate pairs are joined: there whole characters are converted and what is left of the
// buffer waits for the next one.
void LobStream::append(const char* data, std::size_t size) {
    if (charset_ != Charset::UTF8) {
        checkLobGrowth(content_->size(), size);
        content_->append(data, size);
        position_ = content_->size();
        return;
    }
    std::string joined;
    joined.swap(carry_);
    joined.append(data, size);
    const std::size_t complete = utf8::completePrefix(joined.data(), joined.size(), charset_);
    std::string converted;
    utf8::appendToStorage(converted, joined.data(), complete, charset_);
    checkLobGrowth(content_->size(), converted.size() + (joined.size() - complete));
    content_->append(converted.data(), converted.size());
    carry_.assign(joined, complete, std::string::npos);
    position_ = content_->size();
}

// Writes whole characters (CLOB) or bytes (BLOB) at the stream position: appends at the end,
// overwrites as many characters or bytes as it brings anywhere else.
void LobStream::put(const char* data, std::size_t size) {
    const std::size_t total = content_->size();
    // Checked before anything changes: the gap and the new bytes must fit together.
    if (position_ == total || gap_ > 0) checkLobGrowth(total, gap_ + size);
    if (gap_ > 0) {
        // Oracle fills the space before a write beyond the end: blanks in a CLOB, zeros in a BLOB.
        const std::string fill(std::min(gap_, kMaxFillPiece), content_->isClob ? ' ' : '\0');
        for (std::size_t left = gap_; left > 0;) {
            const std::size_t n = std::min(left, fill.size());
            content_->append(fill.data(), n);
            left -= n;
        }
        position_ = content_->size();
        gap_ = 0;
    }
    if (size == 0) return;
    if (position_ == content_->size()) {
        if (content_->isClob) {
            std::string text;
            utf8::appendToStorage(text, data, size, charset_);
            content_->append(text.data(), text.size());
            position_ += text.size();
        } else {
            content_->append(data, size);
            position_ += size;
        }
        return;
    }
    std::string piece;
    std::size_t replaced = 0;
    if (content_->isClob) {
        utf8::appendToStorage(piece, data, size, charset_);
        const std::size_t characters = utf8::countCharacters(piece.data(), piece.size());
        replaced = content_->advance(position_, characters) - position_;
    } else {
        piece.assign(data, size);
        replaced = std::min(size, content_->size() - position_);
    }
    if (piece.size() > replaced) checkLobGrowth(content_->size(), piece.size() - replaced);
    content_->replace(position_, replaced, piece.data(), piece.size());
    position_ += piece.size();
}

}  // namespace detail
}  // namespace kavexdb
