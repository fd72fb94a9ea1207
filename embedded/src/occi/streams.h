// The Stream behind Clob::getStream and Blob::getStream: reads and writes the shared content
// of a LOB from a position, in characters for a CLOB and bytes for a BLOB.
#ifndef KAVEXDB_STREAMS_H
#define KAVEXDB_STREAMS_H

#include <cstddef>
#include <memory>
#include <string>

#include "base/charset.h"
#include "storage/lob_content.h"

namespace kavexdb {
namespace detail {

// The largest LOB value the client keeps: SQLite's limit on one value (SQLITE_MAX_LENGTH as
// Debian builds it), so that a LOB that could never be stored is refused while it is written.
constexpr std::size_t kMaxLobBytes = 1000000000;
// Throws ORA-22925 when a LOB of size bytes would grow by extra bytes past kMaxLobBytes.
void checkLobGrowth(std::size_t size, std::size_t extra);

class LobStream : public occi::Stream {
public:
    // offset is 1-based (characters or bytes); amount 0 reads to the end.
    LobStream(std::shared_ptr<LobContent> content, Charset cs, std::size_t offset,
              std::size_t amount);

    int readBuffer(char* buffer, unsigned int size) override;
    int readLastBuffer(char* buffer, unsigned int size) override;
    void writeBuffer(char* buffer, unsigned int size) override;
    void writeLastBuffer(char* buffer, unsigned int size) override;
    Status status() const override { return status_; }

    // Stores what a writer left of an unfinished character; called when the stream is closed.
    void finish();

private:
    int read(char* buffer, std::size_t size);
    std::size_t readClob(char* buffer, std::size_t size);
    // n bytes of the content from byte `at`, through a read-ahead window for content that is
    // not in memory.
    const char* fetch(std::size_t at, std::size_t n);
    void write(const char* data, std::size_t size);
    void append(const char* data, std::size_t size);
    void put(const char* data, std::size_t size);

    std::shared_ptr<LobContent> content_;
    Charset charset_;
    std::size_t position_ = 0;   // byte offset into the content
    std::size_t gap_ = 0;        // positions the stream starts beyond the end of the content
    bool limited_ = false;       // an amount was given
    std::size_t remaining_ = 0;  // characters or bytes still to read when limited
    std::string pending_;        // the unfinished last character of a CLOB overwrite
    std::string carry_;          // under UTF8, appended text whose character is not complete
    std::string window_;         // read ahead from windowAt_
    std::size_t windowAt_ = 0;
    Status status_ = READY_FOR_READ;
};

}  // namespace detail
}  // namespace kavexdb

#endif
