#include "Spool.h"

#include <cerrno>
#include <cstring>

#include "DbError.h"

namespace kavexsql {

int TeeBuffer::overflow(int c) {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    const bool first = first_->sputc(ch) != traits_type::eof();
    second_->sputc(ch);  // a full disk must not silence the terminal
    return first ? c : traits_type::eof();
}

std::streamsize TeeBuffer::xsputn(const char* text, std::streamsize count) {
    const std::streamsize written = first_->sputn(text, count);
    second_->sputn(text, count);
    return written;
}

int TeeBuffer::sync() {
    const int first = first_->pubsync();
    second_->pubsync();
    return first;
}

Spool::Spool(std::ostream& out, std::ostream& err)
    : out_(out), err_(err), outBuffer_(out.rdbuf()), errBuffer_(err.rdbuf()) {}

Spool::~Spool() { stop(); }

void Spool::start(const std::string& path, bool append) {
    stop();
    file_.open(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
    if (!file_) {
        const int error = errno;
        file_.clear();
        throw UsageError("cannot open " + path + " for SPOOL: " + std::strerror(error));
    }
    outTee_ = std::make_unique<TeeBuffer>(screen(), file_.rdbuf());
    errTee_ = std::make_unique<TeeBuffer>(errBuffer_, file_.rdbuf());
    out_.flush();
    err_.flush();
    out_.rdbuf(outTee_.get());
    err_.rdbuf(errTee_.get());
    path_ = path;
}

bool Spool::stop() {
    if (path_.empty()) return false;
    out_.flush();
    err_.flush();
    out_.rdbuf(screen());
    err_.rdbuf(errBuffer_);
    outTee_.reset();
    errTee_.reset();
    file_.close();
    file_.clear();
    path_.clear();
    return true;
}

void Spool::setTerminal(bool on) {
    if (on == terminal_) return;
    out_.flush();
    terminal_ = on;
    if (path_.empty()) {
        out_.rdbuf(screen());
        return;
    }
    auto tee = std::make_unique<TeeBuffer>(screen(), file_.rdbuf());
    out_.rdbuf(tee.get());
    outTee_ = std::move(tee);
}

}  // namespace kavexsql
