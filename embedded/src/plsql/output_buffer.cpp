#include "plsql/output_buffer.h"

#include "base/ora_messages.h"

namespace kavexdb {
namespace detail {
namespace plsql {

namespace {
constexpr long long kLeastBuffer = 2000, kMostBuffer = 1000000;
constexpr std::size_t kMostLine = 32767;
}  // namespace

void OutputBuffer::enable(long long bufferSize) {
    // Oracle takes a size below 2,000 as 2,000 and one above 1,000,000 as 1,000,000; NULL
    // (here 0 or less) is no limit.
    if (bufferSize <= 0)
        limit_ = 0;
    else
        limit_ = bufferSize < kLeastBuffer ? kLeastBuffer
                                           : (bufferSize > kMostBuffer ? kMostBuffer : bufferSize);
    enabled_ = true;
}

void OutputBuffer::disable() {
    enabled_ = false;
    lines_.clear();
    partial_.clear();
    used_ = 0;
}

void OutputBuffer::reserve(std::size_t bytes) {
    if (limit_ > 0 && used_ + static_cast<long long>(bytes) > limit_)
        raise(ora::kOutputBufferOverflow, std::to_string(limit_));
    used_ += static_cast<long long>(bytes);
}

void OutputBuffer::put(const std::string& text) {
    if (!enabled_) return;
    if (partial_.size() + text.size() > kMostLine) raise(ora::kOutputLineOverflow);
    reserve(text.size());
    partial_ += text;
}

void OutputBuffer::newLine() {
    if (!enabled_) return;
    lines_.push_back(std::move(partial_));
    partial_.clear();
}

bool OutputBuffer::getLine(std::string& line) {
    if (lines_.empty()) return false;
    line = std::move(lines_.front());
    lines_.pop_front();
    used_ -= static_cast<long long>(line.size());
    if (used_ < 0) used_ = 0;
    return true;
}

}  // namespace plsql
}  // namespace detail
}  // namespace kavexdb
